#include "dialogs/VerbForm.h"

#include "ui/FormKit.h"
#include "ui/MessageBox.h"
#include "ui/resource.h"

namespace {
// A text of the verb and the edit that shows it.
struct VerbText {
    std::string VerbEntry::*text;
    int control;
    bool EditLocks::*lock; // nullptr: only WholeDialog locks it
};
constexpr VerbText kTexts[] = {
    {&VerbEntry::Name, IDC_FORM8_EDIT1, nullptr},
    {&VerbEntry::Text, IDC_FORM8_EDIT2, nullptr},
    {&VerbEntry::Command, IDC_FORM8_EDIT3, &EditLocks::Command},
    {&VerbEntry::DdeMessage, IDC_FORM8_EDIT4, &EditLocks::Dde},
    {&VerbEntry::DdeApplication, IDC_FORM8_EDIT5, &EditLocks::Dde},
    {&VerbEntry::DdeIfExec, IDC_FORM8_EDIT6, &EditLocks::Dde},
    {&VerbEntry::DdeTopic, IDC_FORM8_EDIT7, &EditLocks::Dde},
};
// What the DDE check box enables.
constexpr int kDdeGroup[] = {IDC_FORM8_GROUPBOX1,   IDC_FORM8_LABEL_EDIT4, IDC_FORM8_EDIT4, IDC_FORM8_LABEL_EDIT5,
                             IDC_FORM8_EDIT5,       IDC_FORM8_LABEL_EDIT6, IDC_FORM8_EDIT6, IDC_FORM8_LABEL_EDIT7,
                             IDC_FORM8_EDIT7};

// As page 3 browses for the open command.
constexpr const char* kProgramFilter = "ﾌﾟﾛｸﾞﾗﾑﾌｧｲﾙ(*.exe)|*.exe|すべてのﾌｧｲﾙ(*.*)|*.*";
constexpr const char* kNewVerbCaption = "動作の追加";

bool Checked(HWND button) { return SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }
} // namespace

const char* VerbNameProblemMessage(VerbNameProblem problem)
{
    switch (problem) {
    case VerbNameProblem::Empty:
        return "動作名を入力してください。";
    case VerbNameProblem::Duplicate:
        return "同じ名前の動作がすでにあります。";
    case VerbNameProblem::Path:
        return "動作名に「\\」を使うことはできません。";
    case VerbNameProblem::None:
        break;
    }
    return "";
}

TForm8::TForm8() : Dialog(IDD_FORM8) {}

bool TForm8::ShowModal(HWND owner, VerbEntry& verb, bool newVerb, const EditLocks& locks)
{
    verb_ = &verb;
    newVerb_ = newVerb;
    locks_ = locks;
    const bool confirmed = ShowDialogBox(owner);
    verb_ = nullptr;
    return confirmed;
}

INT_PTR TForm8::HandleDialogMessage(UINT message, WPARAM wParam, LPARAM)
{
    if (message != WM_COMMAND)
        return FALSE;
    switch (LOWORD(wParam)) {
    case IDOK:
        OkClick();
        break;
    case IDCANCEL:
        EndModal(false);
        break;
    case IDC_FORM8_BUTTON1:
        Button1Click();
        break;
    case IDC_FORM8_CHECKBOX1:
        EnableDdeGroup();
        break;
    }
    return TRUE;
}

void TForm8::FormCreate()
{
    Edit1 = GetDlgItem(hwnd_, IDC_FORM8_EDIT1), Edit2 = GetDlgItem(hwnd_, IDC_FORM8_EDIT2);
    Label1 = GetDlgItem(hwnd_, IDC_FORM8_LABEL1), Edit3 = GetDlgItem(hwnd_, IDC_FORM8_EDIT3);
    Button1 = GetDlgItem(hwnd_, IDC_FORM8_BUTTON1), CheckBox1 = GetDlgItem(hwnd_, IDC_FORM8_CHECKBOX1);
    Edit4 = GetDlgItem(hwnd_, IDC_FORM8_EDIT4), Edit5 = GetDlgItem(hwnd_, IDC_FORM8_EDIT5);
    Edit6 = GetDlgItem(hwnd_, IDC_FORM8_EDIT6), Edit7 = GetDlgItem(hwnd_, IDC_FORM8_EDIT7);
    CheckBox2 = GetDlgItem(hwnd_, IDC_FORM8_CHECKBOX2);
    if (newVerb_)
        SetWindowTextA(hwnd_, kNewVerbCaption);
    const VerbEntry& verb = *verb_;
    for (const VerbText& text : kTexts) {
        HWND edit = GetDlgItem(hwnd_, text.control);
        SetWindowTextA(edit, (verb.*text.text).c_str());
        const bool locked = locks_.WholeDialog || (text.lock && locks_.*text.lock) ||
                            (text.text == &VerbEntry::Name && !newVerb_);
        SendMessageA(edit, EM_SETREADONLY, locked, 0);
    }
    // Windows shows MUIVerb in place of the text where it is set.
    SetWindowTextA(Label1, verb.MuiVerb.empty() ? "" : ("MUIVerb: " + verb.MuiVerb).c_str());
    SendMessageA(CheckBox1, BM_SETCHECK, verb.UsesDde ? BST_CHECKED : BST_UNCHECKED, 0);
    SendMessageA(CheckBox2, BM_SETCHECK, verb.Extended.empty() ? BST_UNCHECKED : BST_CHECKED, 0);
    EnableWindow(Button1, !locks_.WholeDialog && !locks_.Command);
    EnableWindow(CheckBox1, !locks_.WholeDialog && !locks_.Dde);
    EnableWindow(CheckBox2, !locks_.WholeDialog);
    EnableDdeGroup();
    // The name is typed first for a new verb, the text for one that has it.
    focusOnShow_ = newVerb_ ? Edit1 : Edit2;
}

void TForm8::EnableDdeGroup()
{
    const bool enabled = Checked(CheckBox1) && !locks_.WholeDialog && !locks_.Dde;
    for (int id : kDdeGroup)
        EnableWindow(GetDlgItem(hwnd_, id), enabled);
}

void TForm8::Button1Click()
{
    std::string path;
    if (ChooseFile(FileDialog::Open, hwnd_, nullptr, kProgramFilter, "exe", path))
        SetWindowTextA(Edit3, ("\"" + path + "\" \"%1\"").c_str());
}

void TForm8::OkClick()
{
    const std::string name = WindowText(Edit1);
    if (newVerb_ && CheckName) {
        if (const VerbNameProblem problem = CheckName(name); problem != VerbNameProblem::None) {
            ShowError(VerbNameProblemMessage(problem));
            SendMessageA(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Edit1), TRUE);
            return;
        }
    }
    VerbEntry& verb = *verb_;
    for (const VerbText& text : kTexts)
        verb.*text.text = WindowText(GetDlgItem(hwnd_, text.control));
    verb.UsesDde = Checked(CheckBox1);
    verb.Extended = Checked(CheckBox2) ? "1" : "";
    EndModal(true);
}
