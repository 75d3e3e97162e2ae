#include "tests/support/GuiDriver.h"

#include <commctrl.h>

namespace {
ModalSteps* currentSteps = nullptr;

LPARAM RowPoint(HWND list, int row)
{
    RECT rect{};
    ListView_GetItemRect(list, row, &rect, LVIR_LABEL);
    return MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}
} // namespace

void ClickListRow(HWND list, int row)
{
    const LPARAM point = RowPoint(list, row);
    // The button-up waits in the queue: the list's drag detection, which
    // runs inside the button-down, sees it and ends at once.
    PostMessageA(list, WM_LBUTTONUP, 0, point);
    SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, point);
}

void DoubleClickListRow(HWND list, int row)
{
    ClickListRow(list, row);
    const LPARAM point = RowPoint(list, row);
    PostMessageA(list, WM_LBUTTONUP, 0, point);
    SendMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, point);
}

void PostKey(HWND control, WORD key)
{
    PostMessageA(control, WM_KEYDOWN, key, 1);
    PostMessageA(control, WM_KEYUP, key, 0xC0000001);
}

ModalSteps::ModalSteps() { currentSteps = this; }

ModalSteps::~ModalSteps()
{
    if (timer_)
        KillTimer(nullptr, timer_);
    currentSteps = nullptr;
}

ModalSteps& ModalSteps::Then(std::function<void()> step)
{
    steps_.push_back(std::move(step));
    return *this;
}

void ModalSteps::Start() { timer_ = SetTimer(nullptr, 0, 30, Tick); }

void CALLBACK ModalSteps::Tick(HWND, UINT, UINT_PTR, DWORD)
{
    ModalSteps* self = currentSteps;
    if (!self || self->Done())
        return;
    // Counted before it runs: a step that opens a modal loop of its own
    // lets the next steps run inside it.
    self->steps_[self->next_++]();
}
