#include "ui/FormKit.h"

#include <algorithm>

#include <commdlg.h>

UINT WindowDpi(HWND window)
{
    const UINT dpi = window ? GetDpiForWindow(window) : 0;
    return dpi ? dpi : 96;
}

HFONT CreateFormFont(UINT dpi)
{
    LOGFONTA font{};
    // A negative height asks for the character height, as the font's
    // design size is meant, not the cell height.
    font.lfHeight = -ScaleToDpi(kFormFontHeight, dpi);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = SHIFTJIS_CHARSET;
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = DEFAULT_QUALITY;
    font.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    lstrcpynA(font.lfFaceName, kFormFontName, LF_FACESIZE);
    return CreateFontIndirectA(&font);
}

namespace {
BOOL CALLBACK SetFontOfChild(HWND child, LPARAM font)
{
    SendMessageA(child, WM_SETFONT, static_cast<WPARAM>(font), FALSE);
    return TRUE;
}
} // namespace

void SetFontOfTree(HWND window, HFONT font)
{
    SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    EnumChildWindows(window, SetFontOfChild, reinterpret_cast<LPARAM>(font));
    InvalidateRect(window, nullptr, TRUE);
}

void PlaceChild(HWND child, int x, int y, int width, int height, UINT dpi)
{
    SetWindowPos(child, nullptr, ScaleToDpi(x, dpi), ScaleToDpi(y, dpi), ScaleToDpi(width, dpi),
                 ScaleToDpi(height, dpi), SWP_NOZORDER | SWP_NOACTIVATE);
}

void SetClientSize(HWND window, int width, int height, UINT dpi)
{
    RECT rect{0, 0, ScaleToDpi(width, dpi), ScaleToDpi(height, dpi)};
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_EXSTYLE));
    AdjustWindowRectExForDpi(&rect, style, GetMenu(window) != nullptr, exStyle, dpi);
    SetWindowPos(window, nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CenterOnDesktop(HWND window)
{
    RECT work{};
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0))
        work = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    RECT rect{};
    GetWindowRect(window, &rect);
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    const int left = work.left + (work.right - work.left - width) / 2;
    const int top = work.top + (work.bottom - work.top - height) / 2;
    SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void RunModal(HWND window, HWND owner, bool& closed)
{
    closed = false;
    const bool ownerWasEnabled = owner && IsWindowEnabled(owner);
    if (ownerWasEnabled)
        EnableWindow(owner, FALSE);
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    MSG msg;
    while (!closed && IsWindow(window)) {
        const BOOL result = GetMessageA(&msg, nullptr, 0, 0);
        if (result <= 0) {
            // The quit request belongs to the outer loop.
            if (result == 0)
                PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (!IsDialogMessageA(window, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    // The owner comes back before the window hides, or Windows would
    // activate some other program's window in between.
    if (ownerWasEnabled)
        EnableWindow(owner, TRUE);
    if (IsWindow(window))
        ShowWindow(window, SW_HIDE);
    if (owner && IsWindowVisible(owner))
        SetActiveWindow(owner);
}

bool ChooseFile(FileDialog kind, HWND owner, const char* title, const char* filter, const char* defaultExtension,
                std::string& path)
{
    // The dialog wants each piece ended by a zero and the list by another.
    std::string filters = filter ? filter : "";
    for (char& c : filters)
        if (c == '|')
            c = '\0';
    filters.append(2, '\0');
    // Room for the longest path the system can hand back.
    std::string file(32768, '\0');
    path.copy(file.data(), file.size() - 1);
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filters.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrTitle = title;
    dialog.lpstrDefExt = defaultExtension;
    dialog.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR |
                   (kind == FileDialog::Open ? OFN_FILEMUSTEXIST : OFN_OVERWRITEPROMPT);
    if (!(kind == FileDialog::Open ? GetOpenFileNameA(&dialog) : GetSaveFileNameA(&dialog)))
        return false;
    path.assign(file.c_str());
    return true;
}

std::string WindowText(HWND window)
{
    const int length = GetWindowTextLengthA(window);
    std::string text(static_cast<size_t>(std::max(length, 0)) + 1, '\0');
    const int copied = GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<size_t>(std::max(copied, 0)));
    return text;
}
