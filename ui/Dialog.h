// Base for the program's dialogs, made from their templates: once and shown
// as often as needed, or anew for each showing. The messages all dialogs
// answer alike are handled here, the rest goes to the derived class's
// HandleDialogMessage; it may hide FormClose and DpiChanged.
#pragma once
#include <windows.h>

#include "ui/FormKit.h"
#include "ui/Window.h"

template <typename Derived>
class Dialog : public Window<Derived> {
public:
    explicit Dialog(int templateId) : templateId_(templateId) {}

    // Creates the hidden dialog, owned by `owner`; false on failure.
    bool Create(HWND owner)
    {
        return CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_), owner, DialogProc,
                                  reinterpret_cast<LPARAM>(static_cast<Derived*>(this))) != nullptr;
    }

protected:
    // Shows the dialog modally over `owner` (its own owner when nullptr)
    // until EndModal; true when it ended confirmed.
    bool ShowModalOver(HWND owner = nullptr)
    {
        if (!this->hwnd_)
            return false;
        confirmed_ = false;
        RunModal(this->hwnd_, owner ? owner : GetWindow(this->hwnd_, GW_OWNER), closed_);
        return confirmed_;
    }
    // Makes the dialog for one modal showing over `owner` and destroys it
    // after; true when it ended confirmed.
    bool ShowDialogBox(HWND owner)
    {
        confirmed_ = false;
        dialogBox_ = true;
        DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_), owner, DialogProc,
                        reinterpret_cast<LPARAM>(static_cast<Derived*>(this)));
        dialogBox_ = false;
        return confirmed_;
    }
    void EndModal(bool confirmed)
    {
        confirmed_ = confirmed;
        closed_ = true;
        if (dialogBox_)
            EndDialog(this->hwnd_, 0);
    }

    // Alt+F4 or the caption's close button: a cancel.
    void FormClose() { EndModal(false); }
    void DpiChanged(const RECT& /*suggested*/) { static_cast<Derived*>(this)->LayoutControls(); }

    UINT dpi_ = 96;
    // Takes the focus on each showing, if set.
    HWND focusOnShow_ = nullptr;

private:
    // `this` arrives as the creation parameter of WM_INITDIALOG.
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_INITDIALOG) {
            reinterpret_cast<Derived*>(lParam)->hwnd_ = hwnd;
            SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
        }
        auto* self = reinterpret_cast<Derived*>(GetWindowLongPtrA(hwnd, DWLP_USER));
        if (!self)
            return FALSE;
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrA(hwnd, DWLP_USER, 0);
            self->hwnd_ = nullptr;
            return FALSE;
        }
        return self->Dispatch(message, wParam, lParam);
    }

    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam)
    {
        Derived& self = static_cast<Derived&>(*this);
        switch (message) {
        case WM_INITDIALOG:
            // The dialog manager focuses the first control, unless the
            // dialog places the focus itself on each showing.
            dpi_ = WindowDpi(this->hwnd_);
            self.FormCreate();
            return focusOnShow_ == nullptr;
        case WM_SHOWWINDOW:
            // Posted, so that the dialog manager does not move the focus
            // back to where it was at the last closing.
            if (wParam && focusOnShow_)
                PostMessageA(this->hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(focusOnShow_), TRUE);
            return FALSE;
        case WM_CLOSE:
            self.FormClose();
            return TRUE;
        case WM_DPICHANGED:
            // A dialog laid out by its template alone is left to the system.
            if constexpr (requires { self.LayoutControls(); }) {
                dpi_ = HIWORD(wParam);
                self.DpiChanged(*reinterpret_cast<const RECT*>(lParam));
                return TRUE;
            }
            return FALSE;
        }
        return self.HandleDialogMessage(message, wParam, lParam);
    }

    const int templateId_;
    bool closed_ = true;
    bool confirmed_ = false;
    bool dialogBox_ = false;
};
