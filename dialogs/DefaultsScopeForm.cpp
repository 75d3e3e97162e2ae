#include "dialogs/DefaultsScopeForm.h"

#include "ui/resource.h"

bool TForm12::ShowModal(HWND owner, bool hasSelection, bool hasChanges)
{
    hasSelection_ = hasSelection;
    hasChanges_ = hasChanges;
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_FORM12), owner, DialogProc,
                           reinterpret_cast<LPARAM>(this)) == IDOK;
}

INT_PTR TForm12::HandleDialogMessage(UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        FormCreate();
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK)
            Button1Click();
        else if (LOWORD(wParam) == IDCANCEL)
            EndDialog(hwnd_, IDCANCEL);
        return TRUE;
    }
    return FALSE;
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
    EndDialog(hwnd_, IDOK);
}
