#include "dialogs/DefaultsScopeForm.h"

#include <string>

#include "ui/MessageBox.h"
#include "ui/resource.h"

namespace {
constexpr const char* kBadVersion = "バージョンには1から2147483647までの整数を入力してください。";
constexpr const char* kNoPolicyPath = "グループポリシーに指定するXMLファイルのパスを入力してください。";

void SetChecked(HWND box, bool checked) { SendMessageA(box, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0); }
bool Checked(HWND box) { return SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }
} // namespace

TForm12::TForm12() : Dialog(IDD_FORM12) {}

bool TForm12::ShowModal(HWND owner, bool hasSelection, bool hasChanges)
{
    hasSelection_ = hasSelection;
    hasChanges_ = hasChanges;
    return ShowDialogBox(owner);
}

INT_PTR TForm12::HandleDialogMessage(UINT message, WPARAM wParam, LPARAM)
{
    if (message != WM_COMMAND)
        return FALSE;
    if (LOWORD(wParam) == IDOK)
        Button1Click();
    else if (LOWORD(wParam) == IDCANCEL)
        EndModal(false);
    else if (LOWORD(wParam) == IDC_FORM12_CHECKBOX3)
        CheckBox3Click();
    return TRUE;
}

void TForm12::FormCreate()
{
    RadioButton1 = GetDlgItem(hwnd_, IDC_FORM12_RADIOBUTTON1);
    RadioButton2 = GetDlgItem(hwnd_, IDC_FORM12_RADIOBUTTON2);
    Edit1 = GetDlgItem(hwnd_, IDC_FORM12_EDIT1);
    CheckBox1 = GetDlgItem(hwnd_, IDC_FORM12_CHECKBOX1);
    CheckBox2 = GetDlgItem(hwnd_, IDC_FORM12_CHECKBOX2);
    CheckBox3 = GetDlgItem(hwnd_, IDC_FORM12_CHECKBOX3);
    Edit2 = GetDlgItem(hwnd_, IDC_FORM12_EDIT2);
    EnableWindow(RadioButton1, hasSelection_);
    EnableWindow(RadioButton2, hasChanges_);
    // The last choice again where it is still offered.
    if (!hasSelection_)
        Scope = DefaultsScope::Changed;
    else if (!hasChanges_)
        Scope = DefaultsScope::Selected;
    CheckRadioButton(hwnd_, IDC_FORM12_RADIOBUTTON1, IDC_FORM12_RADIOBUTTON2,
                     Scope == DefaultsScope::Selected ? IDC_FORM12_RADIOBUTTON1 : IDC_FORM12_RADIOBUTTON2);
    SetWindowTextA(Edit1, Options.Version > 0 ? std::to_string(Options.Version).c_str() : "");
    SetChecked(CheckBox1, Options.Suggested);
    SetChecked(CheckBox2, Options.IntuneBase64);
    SetChecked(CheckBox3, Options.PolicyScript);
    SetWindowTextA(Edit2, Options.PolicyPath.c_str());
    CheckBox3Click();
}

// The path is asked for only while the script is.
void TForm12::CheckBox3Click() { EnableWindow(Edit2, Checked(CheckBox3)); }

void TForm12::Button1Click()
{
    DefaultsOptions options;
    const std::string version = WindowText(Edit1);
    if (!version.empty()) {
        const std::optional<unsigned> parsed = ParseAssociationsVersion(version);
        if (!parsed) {
            ShowError(kBadVersion);
            SetFocus(Edit1);
            return;
        }
        options.Version = *parsed;
    }
    options.Suggested = Checked(CheckBox1);
    options.IntuneBase64 = Checked(CheckBox2);
    options.PolicyScript = Checked(CheckBox3);
    options.PolicyPath = WindowText(Edit2);
    if (options.PolicyScript && options.PolicyPath.empty()) {
        ShowError(kNoPolicyPath);
        SetFocus(Edit2);
        return;
    }
    Options = std::move(options);
    Scope = Checked(RadioButton2) ? DefaultsScope::Changed : DefaultsScope::Selected;
    EndModal(true);
}
