// Asks whose associations go into the default associations file, with
// what it carries for Windows 11 and which deployment files go beside it.
// It only returns the choices; the command that opened it does the saving.
#pragma once
#include <windows.h>

#include "persist/DefaultAssociations.h"
#include "ui/Dialog.h"

enum class DefaultsScope { Selected, Changed };

class TForm12 : public Dialog<TForm12> {
public:
    TForm12();
    // Shows the dialog modally over owner, offering only the choices that
    // have something to save; true when it closed with OK, with the choices
    // in Scope and Options.
    bool ShowModal(HWND owner, bool hasSelection, bool hasChanges);

    DefaultsScope Scope = DefaultsScope::Selected;
    DefaultsOptions Options;
    HWND RadioButton1 = nullptr; // the selected row
    HWND RadioButton2 = nullptr; // every changed association
    HWND Edit1 = nullptr;        // Version, empty for none
    HWND CheckBox1 = nullptr;    // Suggested: applied once
    HWND CheckBox2 = nullptr;    // the base64 for Intune
    HWND CheckBox3 = nullptr;    // the Group Policy script
    HWND Edit2 = nullptr;        // the path the policy names

private:
    friend class Dialog<TForm12>;
    INT_PTR HandleDialogMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void FormCreate();
    void Button1Click();
    void CheckBox3Click();

    bool hasSelection_ = false;
    bool hasChanges_ = false;
};
