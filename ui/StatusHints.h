// Status bar hints: each control may carry a hint "tooltip|status text";
// the status bar shows the status text of the control under the mouse, or
// of its nearest enclosing control that has one.
#pragma once
#include <windows.h>

#include <map>
#include <string>

class StatusHints {
public:
    void Attach(HWND statusBar) { statusBar_ = statusBar; }
    std::map<HWND, std::string>& Hints() { return hints_; }
    void Clear();
    // What the bar shows while the mouse is over no control with a hint.
    void SetIdleText(const std::string& text);

    // Looks up the control under the mouse below top and shows its hint.
    // Labels and group boxes let the mouse through to what lies below them,
    // so the window a message names is not always the control under it.
    void ShowForMouse(HWND top);

private:
    void ShowHintOf(HWND control, HWND top);

    HWND statusBar_ = nullptr;
    std::map<HWND, std::string> hints_;
    std::string shown_;
    std::string idle_;
};
