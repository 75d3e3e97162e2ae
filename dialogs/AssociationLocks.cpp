// What a creator's EditFlags lock in the association dialog.
#include "dialogs/AssociationForm.h"

#include "ui/resource.h"

namespace {
constexpr const char* kLockedReason = "Windows が変更を禁じている種類のため、表示だけです。";

struct LockedControl {
    int id;
    bool EditLocks::*lock;
};
// Edits become read-only, so their text can still be selected and copied.
constexpr LockedControl kLockedEdits[] = {
    {IDC_ASSOC_EDIT2, &EditLocks::ContentType}, {IDC_ASSOC_EDIT9, &EditLocks::WholeDialog},
    {IDC_ASSOC_EDIT3, &EditLocks::Kind},        {IDC_ASSOC_EDIT1, &EditLocks::Icon},
    {IDC_ASSOC_EDIT4, &EditLocks::Command},     {IDC_ASSOC_EDIT5, &EditLocks::Dde},
    {IDC_ASSOC_EDIT6, &EditLocks::Dde},         {IDC_ASSOC_EDIT8, &EditLocks::Dde},
    {IDC_ASSOC_EDIT7, &EditLocks::Dde},
};
// Buttons and the icon list, which would change a locked field, are disabled.
constexpr LockedControl kLockedPickers[] = {
    {IDC_ASSOC_BUTTON6, &EditLocks::WholeDialog}, {IDC_ASSOC_BUTTON1, &EditLocks::Icon},
    {IDC_ASSOC_LISTVIEW1, &EditLocks::Icon},      {IDC_ASSOC_BUTTON4, &EditLocks::Command},
    {IDC_ASSOC_CHECKBOX1, &EditLocks::Dde},
};
} // namespace

void TAssociationForm::ApplyLocks(const EditLocks& locks)
{
    if (Variant != AssociationVariant::Edit || !hwnd_)
        return;
    for (const LockedControl& edit : kLockedEdits)
        SendMessageA(Control(edit.id), EM_SETREADONLY, locks.*edit.lock, 0);
    for (const LockedControl& picker : kLockedPickers)
        EnableWindow(Control(picker.id), !(locks.*picker.lock));
    EnableDdeGroup(!locks.Dde && SendMessageA(CheckBox1, BM_GETCHECK, 0, 0) == BST_CHECKED);
    EnableWindow(Button2, !locks.WholeDialog);

    HWND reason = GetDlgItem(TabSheets[0], IDC_ASSOC_LABEL_LOCKED);
    SetWindowTextA(reason, locks.WholeDialog ? kLockedReason : "");
    ShowWindow(reason, locks.WholeDialog ? SW_SHOWNA : SW_HIDE);
}
