#include "dialogs/DefaultsScopeForm.h"

#include "ui/resource.h"

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
    return TRUE;
}

void TForm12::FormCreate()
{
    RadioButton1 = GetDlgItem(hwnd_, IDC_FORM12_RADIOBUTTON1);
    RadioButton2 = GetDlgItem(hwnd_, IDC_FORM12_RADIOBUTTON2);
    EnableWindow(RadioButton1, hasSelection_);
    EnableWindow(RadioButton2, hasChanges_);
    // The last choice again where it is still offered.
    if (!hasSelection_)
        Scope = DefaultsScope::Changed;
    else if (!hasChanges_)
        Scope = DefaultsScope::Selected;
    CheckRadioButton(hwnd_, IDC_FORM12_RADIOBUTTON1, IDC_FORM12_RADIOBUTTON2,
                     Scope == DefaultsScope::Selected ? IDC_FORM12_RADIOBUTTON1 : IDC_FORM12_RADIOBUTTON2);
}

void TForm12::Button1Click()
{
    Scope = IsDlgButtonChecked(hwnd_, IDC_FORM12_RADIOBUTTON2) == BST_CHECKED ? DefaultsScope::Changed
                                                                              : DefaultsScope::Selected;
    EndModal(true);
}
