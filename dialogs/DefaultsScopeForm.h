// Asks whose associations go into the default associations file: the
// selected row's, or every changed one. It only returns the choice; the
// command that opened it does the saving.
#pragma once
#include <windows.h>

#include "ui/Dialog.h"

enum class DefaultsScope { Selected, Changed };

class TForm12 : public Dialog<TForm12> {
public:
    TForm12();
    // Shows the dialog modally over owner, offering only the choices that
    // have something to save; true when it closed with OK, with the choice
    // in Scope.
    bool ShowModal(HWND owner, bool hasSelection, bool hasChanges);

    DefaultsScope Scope = DefaultsScope::Selected;
    HWND RadioButton1 = nullptr; // the selected row
    HWND RadioButton2 = nullptr; // every changed association

private:
    friend class Dialog<TForm12>;
    INT_PTR HandleDialogMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void FormCreate();
    void Button1Click();

    bool hasSelection_ = false;
    bool hasChanges_ = false;
};
