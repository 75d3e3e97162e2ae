#include "dialogs/AssociationPage.h"

#include "ui/FormKit.h"

namespace {
const FieldBinding* BindingOf(std::string AssociationFields::*text)
{
    for (const FieldBinding& binding : FieldTable())
        if (binding.text == text)
            return &binding;
    return nullptr;
}
} // namespace

AssociationPage::AssociationPage(const PageTables& tables, AssociationVariant variant)
    : variant_(variant), tables_(tables)
{
}

bool AssociationPage::Create(HWND frame)
{
    if (!CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(tables_.templateId), frame, PageProc,
                            reinterpret_cast<LPARAM>(this)))
        return false;
    // Above the page control, which would paint over the page otherwise.
    SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    // A deletion is only confirmed: nothing that would be taken back can
    // be typed into.
    if (variant_ == AssociationVariant::Delete)
        for (const FieldControl& field : tables_.fields)
            if (const FieldBinding* binding = BindingOf(field.text); binding && binding->readBack)
                SendMessageA(Item(field.control), EM_SETREADONLY, TRUE, 0);
    return true;
}

// `this` arrives as the creation parameter of WM_INITDIALOG.
INT_PTR CALLBACK AssociationPage::PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<AssociationPage*>(lParam);
        self->hwnd_ = page;
        SetWindowLongPtrA(page, DWLP_USER, lParam);
        self->PageCreate();
        return FALSE;
    }
    auto* self = reinterpret_cast<AssociationPage*>(GetWindowLongPtrA(page, DWLP_USER));
    if (!self)
        return FALSE;
    switch (message) {
    case WM_COMMAND:
        // The dialog manager's OK and Cancel belong to the dialog.
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)
            SendMessageA(self->Frame(), message, wParam, lParam);
        else
            self->PageCommand(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_NOTIFY:
        if (!self->PageNotify(*reinterpret_cast<const NMHDR*>(lParam)))
            return FALSE;
        SetWindowLongPtrA(page, DWLP_MSGRESULT, 0);
        return TRUE;
    case WM_NCDESTROY:
        SetWindowLongPtrA(page, DWLP_USER, 0);
        self->hwnd_ = nullptr;
        return FALSE;
    }
    return FALSE;
}

bool AssociationPage::PageNotify(const NMHDR& /*header*/) { return false; }

void AssociationPage::Place(const RECT& area, UINT /*dpi*/)
{
    SetWindowPos(hwnd_, nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void AssociationPage::ShowFields(const AssociationFields& fields, bool creatorOnly)
{
    for (const FieldControl& field : tables_.fields) {
        const FieldBinding* binding = BindingOf(field.text);
        if (creatorOnly && !(binding && binding->creatorField))
            continue;
        SetWindowTextA(Item(field.control), (fields.*field.text).c_str());
    }
}

void AssociationPage::ReadFields(AssociationFields& fields) const
{
    for (const FieldControl& field : tables_.fields)
        fields.*field.text = WindowText(Item(field.control));
}

void AssociationPage::ApplyLocks(const EditLocks& locks)
{
    for (const LockedControl& edit : tables_.lockedEdits)
        SendMessageA(Item(edit.control), EM_SETREADONLY, locks.*edit.lock, 0);
    for (const LockedControl& picker : tables_.lockedPickers)
        EnableWindow(Item(picker.control), !(locks.*picker.lock));
}

HWND AssociationPage::ControlOf(std::string AssociationFields::*text) const
{
    for (const FieldControl& field : tables_.fields)
        if (field.text == text)
            return Item(field.control);
    return nullptr;
}
