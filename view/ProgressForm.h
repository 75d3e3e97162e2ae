// The small window that shows how far a registry scan has got. Created
// once at start-up; the scan shows it, moves its bar and hides it again.
#pragma once
#include <windows.h>

#include <cstddef>

#include "ui/Dialog.h"
#include "ui/ScopedGdi.h"

inline constexpr const char* kScanningText = "レジストリをスキャンしています。";

class TForm3;

// Moves the progress bar and lets waiting window messages run. The bar only
// shows whole steps, and the messages are let through at least every few
// milliseconds, which looks the same to the user as once per item but costs
// a fraction on a registry with tens of thousands of keys.
class ScanProgressReporter {
public:
    explicit ScanProgressReporter(TForm3* form = nullptr) : form_(form) {}

    // position = index / count * span + offset, truncated toward zero.
    void Report(size_t index, size_t count, double span, double offset);

private:
    TForm3* form_;
    int position_ = -1;
    ULONGLONG lastPump_ = 0;
};

class TForm3 : public Dialog<TForm3> {
public:
    TForm3();

    // Shows the window with the bar at 0.
    void ShowProgress();
    // Moves the bar; position 0 to 100.
    void SetPosition(int position);
    void HideProgress();

    HWND Image1 = nullptr;
    HWND Label1 = nullptr;
    HWND ProgressBar1 = nullptr;

private:
    friend class Dialog<TForm3>;
    INT_PTR HandleDialogMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void FormCreate();
    // The scan ends the window's showing, not the user: Alt+F4 is ignored.
    void FormClose() {}
    void LayoutControls();

    ScopedFont font_;
    ScopedIcon picture_;
};
