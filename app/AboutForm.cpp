#include "app/AboutForm.h"

#include <string>
#include <utility>

#include "ui/FormKit.h"
#include "ui/resource.h"
#include "model/RegText.h"

namespace {
// Client area and picture, in pixels at 96 DPI. The picture overlaps the
// client area by a few pixels on every side so that no edge shows.
constexpr int kClientWidth = 627, kClientHeight = 157;
constexpr int kPictureLeft = -3, kPictureTop = -3, kPictureWidth = 636, kPictureHeight = 166;

// The picture drawn for the nearer of 100 % and 200 %, resampled smoothly
// when the window's size lies in between.
HBITMAP LoadPicture(int width, int height, UINT dpi)
{
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    ScopedBitmap source(static_cast<HBITMAP>(
        LoadImageA(instance, MAKEINTRESOURCEA(dpi > 144 ? IDB_ABOUT_2X : IDB_ABOUT), IMAGE_BITMAP, 0, 0, 0)));
    BITMAP info{};
    if (!source || !GetObjectA(source.Get(), sizeof info, &info))
        return nullptr;
    if (info.bmWidth == width && info.bmHeight == height)
        return source.Release();
    HDC screen = GetDC(nullptr);
    HDC from = CreateCompatibleDC(screen);
    HDC to = CreateCompatibleDC(screen);
    HBITMAP scaled = CreateCompatibleBitmap(screen, width, height);
    if (from && to && scaled) {
        const HGDIOBJ oldFrom = SelectObject(from, source.Get());
        const HGDIOBJ oldTo = SelectObject(to, scaled);
        SetStretchBltMode(to, HALFTONE);
        SetBrushOrgEx(to, 0, 0, nullptr);
        StretchBlt(to, 0, 0, width, height, from, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
        SelectObject(to, oldTo);
        SelectObject(from, oldFrom);
    }
    if (to)
        DeleteDC(to);
    if (from)
        DeleteDC(from);
    ReleaseDC(nullptr, screen);
    return scaled;
}
} // namespace

TForm6::TForm6() : Dialog(IDD_FORM6) {}

INT_PTR TForm6::HandleDialogMessage(UINT message, WPARAM wParam, LPARAM)
{
    if (message != WM_COMMAND)
        return FALSE;
    if (LOWORD(wParam) == IDC_FORM6_IMAGE1 && HIWORD(wParam) == STN_CLICKED)
        Image1Click();
    else if (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDOK)
        FormClose();
    return TRUE;
}

void TForm6::FormCreate()
{
    Image1 = GetDlgItem(hwnd_, IDC_FORM6_IMAGE1);
    const std::string caption = std::string(kVersionLine) + " ： " + kAboutCaptionTail;
    SetWindowTextA(hwnd_, caption.c_str());
    LayoutControls();
    CenterOnDesktop(hwnd_);
}

void TForm6::LayoutControls()
{
    SetClientSize(hwnd_, kClientWidth, kClientHeight, dpi_);
    // The old picture goes only once the control no longer shows it.
    ScopedBitmap picture(LoadPicture(ScaleToDpi(kPictureWidth, dpi_), ScaleToDpi(kPictureHeight, dpi_), dpi_));
    SendMessageA(Image1, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture.Get()));
    picture_ = std::move(picture);
    // After the picture: a static control takes its picture's size.
    PlaceChild(Image1, kPictureLeft, kPictureTop, kPictureWidth, kPictureHeight, dpi_);
}

void TForm6::Image1Click() { FormClose(); }
