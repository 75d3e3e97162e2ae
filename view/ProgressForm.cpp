#include "view/ProgressForm.h"

#include <commctrl.h>

#include <utility>

#include "ui/FormKit.h"
#include "ui/resource.h"
#include "model/RegText.h"

namespace {
// Places and sizes in pixels at 96 DPI.
constexpr int kClientWidth = 308, kClientHeight = 78;
constexpr int kPictureLeft = 8, kPictureTop = 16, kPictureSize = 32;
constexpr int kLabelLeft = 56, kLabelTop = 16, kLabelWidth = 244, kLabelHeight = 16;
constexpr int kBarLeft = 56, kBarTop = 40, kBarWidth = 233, kBarHeight = 16;
constexpr ULONGLONG kPumpIntervalMs = 15;

void PumpPendingMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Leave the quit for the message loop that owns it.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}
} // namespace

void ScanProgressReporter::Report(size_t index, size_t count, double span, double offset)
{
    const int position = static_cast<int>(static_cast<double>(index) / static_cast<double>(count) * span + offset);
    const ULONGLONG now = GetTickCount64();
    if (position == position_ && now - lastPump_ < kPumpIntervalMs)
        return;
    if (position != position_ && form_)
        form_->SetPosition(position);
    position_ = position;
    lastPump_ = now;
    PumpPendingMessages();
}

TForm3::TForm3() : Dialog(IDD_FORM3) {}

void TForm3::ShowProgress()
{
    SetPosition(0);
    ShowWindow(hwnd_, SW_SHOW);
    UpdateWindow(hwnd_);
}

void TForm3::SetPosition(int position) { SendMessageA(ProgressBar1, PBM_SETPOS, position, 0); }

void TForm3::HideProgress() { ShowWindow(hwnd_, SW_HIDE); }

// Escape is ignored as Alt+F4 is.
INT_PTR TForm3::HandleDialogMessage(UINT message, WPARAM, LPARAM) { return message == WM_COMMAND; }

void TForm3::FormCreate()
{
    Image1 = GetDlgItem(hwnd_, IDC_FORM3_IMAGE1);
    Label1 = GetDlgItem(hwnd_, IDC_FORM3_LABEL1);
    ProgressBar1 = GetDlgItem(hwnd_, IDC_FORM3_PROGRESSBAR1);
    SetWindowTextA(hwnd_, kVersionLine);
    SetWindowTextA(Label1, kScanningText);
    SendMessageA(ProgressBar1, PBM_SETRANGE32, 0, 100);
    LayoutControls();
    CenterOnDesktop(hwnd_);
}

void TForm3::LayoutControls()
{
    // Old font and picture go only once the controls no longer use them.
    ScopedFont font(CreateFormFont(dpi_));
    SetFontOfTree(hwnd_, font.Get());
    font_ = std::move(font);
    const int pictureSize = ScaleToDpi(kPictureSize, dpi_);
    ScopedIcon picture(static_cast<HICON>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_MORVIDO), IMAGE_ICON, pictureSize, pictureSize, 0)));
    SendMessageA(Image1, STM_SETICON, reinterpret_cast<WPARAM>(picture.Get()), 0);
    picture_ = std::move(picture);

    SetClientSize(hwnd_, kClientWidth, kClientHeight, dpi_);
    PlaceChild(Image1, kPictureLeft, kPictureTop, kPictureSize, kPictureSize, dpi_);
    PlaceChild(Label1, kLabelLeft, kLabelTop, kLabelWidth, kLabelHeight, dpi_);
    PlaceChild(ProgressBar1, kBarLeft, kBarTop, kBarWidth, kBarHeight, dpi_);
}
