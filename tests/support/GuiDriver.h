// Drives real windows the way a user does: clicks and keys sent to the
// controls themselves, and steps that run inside the modal loops that the
// code under test starts.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/FormKit.h" // WindowText

// Clicks or double-clicks the middle of a list row's label.
void ClickListRow(HWND list, int row);
void DoubleClickListRow(HWND list, int row);
// A key pressed on the control, through the message queue, as the keyboard
// delivers it (dialogs see it in their modal loop).
void PostKey(HWND control, WORD key);

// Runs queued steps one per timer tick on this thread, so that they also
// run inside modal loops. One object at a time.
class ModalSteps {
public:
    ModalSteps();
    ~ModalSteps();
    ModalSteps(const ModalSteps&) = delete;
    ModalSteps& operator=(const ModalSteps&) = delete;

    ModalSteps& Then(std::function<void()> step);
    // Starts the timer; the caller then runs what opens the modal loops.
    void Start();
    bool Done() const { return next_ >= steps_.size(); }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    std::vector<std::function<void()>> steps_;
    size_t next_ = 0;
    UINT_PTR timer_ = 0;
};
