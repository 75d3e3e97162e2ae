#include "tests/support/MessageBoxHook.h"

#include <cstring>

namespace {
constexpr int kTextId = 0xFFFF;

thread_local MessageBoxHook* currentHook = nullptr;

bool HasVisibleButton(HWND box, int id)
{
    // The style bit, not IsWindowVisible: the box itself is not shown yet
    // when the hook sees it.
    HWND button = GetDlgItem(box, id);
    return button && (GetWindowLongA(button, GWL_STYLE) & WS_VISIBLE);
}

// The icons a message box can show, with the flag that asks for each.
struct SystemIcon {
    LPCSTR id;
    UINT flag;
};
const SystemIcon kSystemIcons[] = {{IDI_HAND, MB_ICONERROR},
                                   {IDI_QUESTION, MB_ICONQUESTION},
                                   {IDI_EXCLAMATION, MB_ICONWARNING},
                                   {IDI_ASTERISK, MB_ICONINFORMATION}};

// The 32 x 32 pixels that paint draws into a fresh bitmap.
template <typename Paint>
std::vector<DWORD> PaintedPixels(Paint paint)
{
    std::vector<DWORD> pixels(32 * 32);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = 32;
    info.bmiHeader.biHeight = -32;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap && bits) {
        HGDIOBJ old = SelectObject(dc, bitmap);
        paint(dc, screen);
        GdiFlush();
        memcpy(pixels.data(), bits, pixels.size() * sizeof(DWORD));
        SelectObject(dc, old);
    }
    if (bitmap)
        DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return pixels;
}

// Icons of another process have other handles: compare what they draw.
std::vector<DWORD> IconPixels(HICON icon, COLORREF background = RGB(255, 255, 255))
{
    return PaintedPixels([&](HDC dc, HDC) {
        HBRUSH brush = CreateSolidBrush(background);
        RECT all{0, 0, 32, 32};
        FillRect(dc, &all, brush);
        DeleteObject(brush);
        DrawIconEx(dc, 0, 0, icon, 32, 32, 0, nullptr, DI_NORMAL);
    });
}

// What the screen shows in a 32 x 32 square at (x, y).
std::vector<DWORD> ScreenPixels(int x, int y)
{
    return PaintedPixels([&](HDC dc, HDC screen) { BitBlt(dc, 0, 0, 32, 32, screen, x, y, SRCCOPY); });
}

struct IconSearch {
    HWND control = nullptr;
};

BOOL CALLBACK FindIconControlProc(HWND child, LPARAM lParam)
{
    char className[32] = {};
    GetClassNameA(child, className, sizeof className);
    if (lstrcmpiA(className, "Static") == 0 && (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        reinterpret_cast<IconSearch*>(lParam)->control = child;
        return FALSE;
    }
    return TRUE;
}

// Icon handles of another process cannot be drawn here (Wine keeps icons in
// the process that loaded them), so compare the pixels on screen with the
// system icons drawn on the same background.
UINT IconShownOnScreen(HWND box)
{
    IconSearch search;
    EnumChildWindows(box, FindIconControlProc, reinterpret_cast<LPARAM>(&search));
    if (!search.control)
        return 0;
    RECT rect;
    GetWindowRect(search.control, &rect);
    for (int attempt = 0; attempt < 20; ++attempt) {
        // Other windows of the program (the progress window, the main
        // window) may open over the box meanwhile.
        SetWindowPos(box, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        const std::vector<DWORD> shown = ScreenPixels(rect.left, rect.top);
        const DWORD corner = shown[0];
        const COLORREF background = RGB((corner >> 16) & 0xFF, (corner >> 8) & 0xFF, corner & 0xFF);
        for (const SystemIcon& candidate : kSystemIcons) {
            const std::vector<DWORD> expected = IconPixels(LoadIconA(nullptr, candidate.id), background);
            int differing = 0;
            for (size_t i = 0; i < shown.size(); ++i)
                differing += (shown[i] & 0xFFFFFF) != (expected[i] & 0xFFFFFF);
            if (differing < 16)
                return candidate.flag;
        }
        Sleep(100); // the box may not be painted yet
    }
    return 0;
}

struct FindBox {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindBoxProc(HWND window, LPARAM lParam)
{
    auto* find = reinterpret_cast<FindBox*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == find->processId && IsWindowVisible(window) && IsMessageBox(window)) {
        find->found = window;
        return FALSE;
    }
    return TRUE;
}
} // namespace

bool IsMessageBox(HWND window)
{
    char className[32] = {};
    GetClassNameA(window, className, sizeof className);
    return lstrcmpA(className, "#32770") == 0 && GetDlgItem(window, kTextId) != nullptr;
}

MessageBoxRecord ReadMessageBox(HWND box)
{
    MessageBoxRecord record;
    char buffer[4096] = {};
    GetWindowTextA(box, buffer, sizeof buffer);
    record.caption = buffer;
    buffer[0] = '\0';
    GetDlgItemTextA(box, kTextId, buffer, sizeof buffer);
    record.text = buffer;

    const bool ok = HasVisibleButton(box, IDOK), cancel = HasVisibleButton(box, IDCANCEL);
    const bool yes = HasVisibleButton(box, IDYES), no = HasVisibleButton(box, IDNO);
    const bool abort = HasVisibleButton(box, IDABORT), retry = HasVisibleButton(box, IDRETRY);
    if (yes && no)
        record.buttons = cancel ? MB_YESNOCANCEL : MB_YESNO;
    else if (abort)
        record.buttons = MB_ABORTRETRYIGNORE;
    else if (retry)
        record.buttons = MB_RETRYCANCEL;
    else if (ok)
        record.buttons = cancel ? MB_OKCANCEL : MB_OK;
    else
        record.buttons = 0xFFFF;

    // By style, as Wine's boxes keep IDOK as the default id (and see CallWndProc).
    for (int id : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO})
        if (HasVisibleButton(box, id) &&
            (GetWindowLongA(GetDlgItem(box, id), GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
            record.defaultButton = id;

    // The icon control's id differs between Windows and Wine: look for the
    // static that shows an icon.
    IconSearch search;
    EnumChildWindows(box, FindIconControlProc, reinterpret_cast<LPARAM>(&search));
    const HICON icon =
        search.control ? reinterpret_cast<HICON>(SendMessageA(search.control, STM_GETICON, 0, 0)) : nullptr;
    if (icon) {
        for (const SystemIcon& candidate : kSystemIcons)
            if (HICON known = LoadIconA(nullptr, candidate.id); known == icon || IconPixels(known) == IconPixels(icon))
                record.icon = candidate.flag;
        if (record.icon == 0)
            record.icon = IconShownOnScreen(box);
        if (record.icon == 0)
            record.icon = 0xFFFF;
    }
    return record;
}

void PressButton(HWND box, int id)
{
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
}

HWND WaitForMessageBox(DWORD processId, DWORD timeoutMs)
{
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    do {
        FindBox find{processId, nullptr};
        EnumWindows(FindBoxProc, reinterpret_cast<LPARAM>(&find));
        if (find.found)
            return find.found;
        Sleep(50);
    } while (GetTickCount64() < end);
    return nullptr;
}

MessageBoxHook::MessageBoxHook()
{
    previous_ = currentHook;
    currentHook = this;
    hook_ = SetWindowsHookExA(WH_CBT, CbtProc, nullptr, GetCurrentThreadId());
    styleHook_ = SetWindowsHookExA(WH_CALLWNDPROC, CallWndProc, nullptr, GetCurrentThreadId());
}

MessageBoxHook::~MessageBoxHook()
{
    if (hook_)
        UnhookWindowsHookEx(hook_);
    if (styleHook_)
        UnhookWindowsHookEx(styleHook_);
    currentHook = previous_;
}

LRESULT CALLBACK MessageBoxHook::CbtProc(int code, WPARAM wParam, LPARAM lParam)
{
    MessageBoxHook* self = currentHook;
    if (code == HCBT_ACTIVATE && self)
        self->OnActivate(reinterpret_cast<HWND>(wParam));
    return CallNextHookEx(self ? self->hook_ : nullptr, code, wParam, lParam);
}

LRESULT CALLBACK MessageBoxHook::CallWndProc(int code, WPARAM wParam, LPARAM lParam)
{
    MessageBoxHook* self = currentHook;
    if (code == HC_ACTION && self && !self->records_.empty()) {
        const auto& call = *reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (call.message == BM_SETSTYLE && (call.wParam & BS_TYPEMASK) == BS_DEFPUSHBUTTON &&
            self->handled_.count(GetParent(call.hwnd)))
            self->records_.back().defaultButton = GetDlgCtrlID(call.hwnd);
    }
    return CallNextHookEx(self ? self->styleHook_ : nullptr, code, wParam, lParam);
}

void MessageBoxHook::OnActivate(HWND window)
{
    if (!IsMessageBox(window) || handled_.count(window))
        return;
    handled_.insert(window);
    records_.push_back(ReadMessageBox(window));
    int answer;
    if (!answers_.empty()) {
        answer = answers_.front();
        answers_.pop_front();
    } else if (HasVisibleButton(window, IDOK)) {
        answer = IDOK;
    } else if (HasVisibleButton(window, IDCANCEL)) {
        answer = IDCANCEL;
    } else {
        answer = IDNO;
    }
    PressButton(window, answer);
}

void PumpMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}
