// The about window: the version line in its caption and a picture that
// fills it. Created once at start-up, shown modally on request.
#pragma once
#include <windows.h>

#include "ui/Dialog.h"
#include "ui/ScopedGdi.h"

inline constexpr const char* kAboutCaptionTail = "Windowsの関連づけを変えるソフト";

class TForm6 : public Dialog<TForm6> {
public:
    TForm6();
    // Shows the window and returns when it has been closed.
    void ShowModal() { ShowModalOver(); }

    HWND Image1 = nullptr;

private:
    friend class Dialog<TForm6>;
    INT_PTR HandleDialogMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void FormCreate();
    void LayoutControls();
    void Image1Click();

    ScopedBitmap picture_;
};
