#include "dialogs/OpenPage.h"

#include <string>

#include "ui/FormKit.h"
#include "ui/resource.h"

namespace {
constexpr FieldControl kFields[] = {
    {&AssociationFields::Command, IDC_ASSOC_EDIT4},        {&AssociationFields::DdeMessage, IDC_ASSOC_EDIT5},
    {&AssociationFields::DdeApplication, IDC_ASSOC_EDIT6}, {&AssociationFields::DdeIfExec, IDC_ASSOC_EDIT8},
    {&AssociationFields::DdeTopic, IDC_ASSOC_EDIT7},
};
constexpr LockedControl kLockedEdits[] = {
    {IDC_ASSOC_EDIT4, &EditLocks::Command}, {IDC_ASSOC_EDIT5, &EditLocks::Dde}, {IDC_ASSOC_EDIT6, &EditLocks::Dde},
    {IDC_ASSOC_EDIT8, &EditLocks::Dde},     {IDC_ASSOC_EDIT7, &EditLocks::Dde},
};
constexpr LockedControl kLockedPickers[] = {
    {IDC_ASSOC_BUTTON4, &EditLocks::Command},
    {IDC_ASSOC_CHECKBOX1, &EditLocks::Dde},
};
constexpr PageTables kTables{IDD_ASSOCIATION_PAGE3, "ｸﾘｴｰﾀｰの設定(\"開く\"動作)", "\"開く\"動作", kFields, kLockedEdits,
                             kLockedPickers};

// The DDE group: what CheckBox1 enables.
constexpr int kDdeGroup[] = {IDC_ASSOC_GROUPBOX3,    IDC_ASSOC_LABEL_EDIT5, IDC_ASSOC_EDIT5, IDC_ASSOC_LABEL_EDIT6,
                             IDC_ASSOC_EDIT6,        IDC_ASSOC_LABEL_EDIT8, IDC_ASSOC_EDIT8, IDC_ASSOC_LABEL_EDIT7,
                             IDC_ASSOC_EDIT7};

struct ProgramBrowse {
    const char* filter;
    const char* extension;
    const char* title; // nullptr: the dialog's own title
};
// Indexed by AssociationVariant. The delete variant browses nothing.
constexpr ProgramBrowse kProgramBrowses[] = {
    {"ﾌﾟﾛｸﾞﾗﾑﾌｧｲﾙ(*.exe)|*.exe|すべてのﾌｧｲﾙ(*.*)|*.*", "exe", nullptr},
    // A default extension is appended to a typed name: "*.exe" would
    // make "name.*.exe" of it.
    {"ﾌﾟﾛｸﾞﾗﾑ(*.exe)|*.exe", "exe", "実行プログラムの選択"},
    {nullptr, nullptr, nullptr},
};
} // namespace

OpenPage::OpenPage(AssociationVariant variant) : AssociationPage(kTables, variant) {}

void OpenPage::PageCreate()
{
    Edit4 = Item(IDC_ASSOC_EDIT4), Button4 = Item(IDC_ASSOC_BUTTON4), CheckBox1 = Item(IDC_ASSOC_CHECKBOX1);
    GroupBox3 = Item(IDC_ASSOC_GROUPBOX3), Edit5 = Item(IDC_ASSOC_EDIT5), Edit6 = Item(IDC_ASSOC_EDIT6);
    Edit8 = Item(IDC_ASSOC_EDIT8), Edit7 = Item(IDC_ASSOC_EDIT7);
    if (variant_ == AssociationVariant::Delete) {
        EnableWindow(CheckBox1, FALSE);
        ShowWindow(Button4, SW_HIDE);
    }
}

void OpenPage::PageCommand(int id, int code)
{
    if (id == IDC_ASSOC_BUTTON4 && code == BN_CLICKED)
        Button4Click();
    else if (id == IDC_ASSOC_CHECKBOX1 && code == BN_CLICKED)
        CheckBox1Click();
}

void OpenPage::ShowFields(const AssociationFields& fields, bool creatorOnly)
{
    AssociationPage::ShowFields(fields, creatorOnly);
    SendMessageA(CheckBox1, BM_SETCHECK, fields.UsesDde ? BST_CHECKED : BST_UNCHECKED, 0);
    EnableDdeGroup(fields.UsesDde);
}

void OpenPage::ReadFields(AssociationFields& fields) const
{
    AssociationPage::ReadFields(fields);
    fields.UsesDde = UsesDde();
}

void OpenPage::ApplyLocks(const EditLocks& locks)
{
    AssociationPage::ApplyLocks(locks);
    EnableDdeGroup(!locks.Dde && UsesDde());
}

void OpenPage::Button4Click()
{
    const ProgramBrowse& browse = kProgramBrowses[static_cast<int>(variant_)];
    std::string path;
    if (!browse.filter || !ChooseFile(FileDialog::Open, Frame(), browse.title, browse.filter, browse.extension, path))
        return;
    SetWindowTextA(Edit4, ("\"" + path + "\" \"%1\"").c_str());
}

void OpenPage::CheckBox1Click() { EnableDdeGroup(UsesDde()); }

bool OpenPage::UsesDde() const { return SendMessageA(CheckBox1, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void OpenPage::EnableDdeGroup(bool enabled)
{
    for (int id : kDdeGroup)
        EnableWindow(Item(id), enabled);
}
