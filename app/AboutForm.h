// The about window: the version line in its caption and a picture that
// fills it. Created once at start-up, shown modally on request.
#pragma once
#include <windows.h>

#include "ui/Window.h"
#include "ui/ScopedGdi.h"

inline constexpr const char* kAboutCaptionTail = "Windowsの関連づけを変えるソフト";

class TForm6 : public Window<TForm6> {
public:
    // Creates the hidden window, owned by `owner`; false on failure.
    bool Create(HWND owner);
    // Shows the window and returns when it has been closed.
    void ShowModal();

    HWND Image1 = nullptr;

private:
    friend class Window<TForm6>;
    INT_PTR HandleDialogMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void FormCreate();
    void LayoutControls();
    void Image1Click();
    void CloseWindow();

    UINT dpi_ = 96;
    bool closed_ = true;
    ScopedBitmap picture_;
};
