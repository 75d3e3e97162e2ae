#include "ui/StatusHints.h"

#include <commctrl.h>

void StatusHints::Clear()
{
    hints_.clear();
    shown_.clear();
    idle_.clear();
    statusBar_ = nullptr;
}

void StatusHints::SetIdleText(const std::string& text)
{
    idle_ = text;
    shown_ = text;
    SendMessageA(statusBar_, SB_SETTEXTA, SB_SIMPLEID, reinterpret_cast<LPARAM>(shown_.c_str()));
}

void StatusHints::ShowForMouse(HWND top)
{
    POINT point{};
    GetCursorPos(&point);
    HWND control = top;
    for (;;) {
        POINT local = point;
        ScreenToClient(control, &local);
        const HWND child = ChildWindowFromPointEx(control, local, CWP_SKIPINVISIBLE);
        if (!child || child == control)
            break;
        control = child;
    }
    ShowHintOf(control, top);
}

void StatusHints::ShowHintOf(HWND control, HWND top)
{
    std::string hint;
    for (HWND window = control; window && window != top; window = GetParent(window)) {
        const auto found = hints_.find(window);
        if (found != hints_.end()) {
            hint = found->second;
            break;
        }
    }
    const size_t bar = hint.find('|');
    const std::string text = hint.empty() ? idle_ : bar == std::string::npos ? hint : hint.substr(bar + 1);
    if (text == shown_)
        return;
    shown_ = text;
    SendMessageA(statusBar_, SB_SETTEXTA, SB_SIMPLEID, reinterpret_cast<LPARAM>(shown_.c_str()));
}
