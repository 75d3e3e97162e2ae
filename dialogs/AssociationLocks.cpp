// What a creator's EditFlags lock in the association dialog.
#include "dialogs/AssociationForm.h"

#include "ui/FormKit.h"
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
    openedCreator_ = Edit9 ? WindowText(Edit9) : std::string();
    openedLocks_ = locks;
    SetLocks(locks, true);
}

// The creator the dialog will write decides what is locked: typed or taken
// from the chooser, another creator brings its own flags.
void TAssociationForm::Edit9Change()
{
    if (!LocksFor || !hwnd_)
        return;
    const std::string creator = WindowText(Edit9);
    const bool opened = creator == openedCreator_;
    SetLocks(opened ? openedLocks_ : LocksFor(creator), opened);
}

void TAssociationForm::SetLocks(const EditLocks& locks, bool openedCreator)
{
    if (Variant == AssociationVariant::Delete || !hwnd_)
        return;
    // Only the creator the dialog opened with keeps the dialog from changing
    // anything: pointing the extension at a locked creator changes the
    // extension, not the creator.
    EditLocks applied = locks;
    applied.WholeDialog = locks.WholeDialog && openedCreator;
    for (const LockedControl& edit : kLockedEdits)
        SendMessageA(Control(edit.id), EM_SETREADONLY, applied.*edit.lock, 0);
    for (const LockedControl& picker : kLockedPickers)
        EnableWindow(Control(picker.id), !(applied.*picker.lock));
    EnableDdeGroup(!locks.Dde && SendMessageA(CheckBox1, BM_GETCHECK, 0, 0) == BST_CHECKED);
    EnableWindow(Button2, !applied.WholeDialog);

    HWND reason = GetDlgItem(TabSheets[0], IDC_ASSOC_LABEL_LOCKED);
    SetWindowTextA(reason, applied.WholeDialog ? kLockedReason : "");
    ShowWindow(reason, applied.WholeDialog ? SW_SHOWNA : SW_HIDE);
}
