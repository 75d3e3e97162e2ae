// The small window that shows how far a registry scan has got. Created
// once at start-up; the scan shows it, moves its bar and hides it again.
#pragma once
#include <windows.h>

#include "ui/Window.h"
#include "ui/ScopedGdi.h"

inline constexpr const char* kScanningText = "レジストリをスキャンしています。";

class TForm3 : public Window<TForm3> {
public:
    // Creates the hidden window, owned by `owner`; false on failure.
    bool Create(HWND owner);

    // Shows the window with the bar at 0.
    void ShowProgress();
    // Moves the bar; position 0 to 100.
    void SetPosition(int position);
    void HideProgress();

    HWND Image1 = nullptr;
    HWND Label1 = nullptr;
    HWND ProgressBar1 = nullptr;

private:
    friend class Window<TForm3>;
    INT_PTR HandleDialogMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void FormCreate();
    void LayoutControls();

    UINT dpi_ = 96;
    ScopedFont font_;
    ScopedIcon picture_;
};
