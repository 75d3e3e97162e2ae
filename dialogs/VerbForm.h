// The verb dialog, 動作の編集: one verb's name (typed only for a new one),
// its menu text, its program and DDE conversation, and whether it shows
// only with Shift. It edits a copy and hands it back; the page of verbs
// applies it through the verb rules.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "ui/Dialog.h"
#include "model/EditFlags.h"
#include "model/VerbEdits.h"
#include "model/VerbEntry.h"

class TForm8 : public Dialog<TForm8> {
public:
    TForm8();
    // Shows verb modally over owner; a new verb's name can be typed, an
    // existing one's cannot (renaming its key would lose the values this
    // dialog does not show). True on OK, with the values in verb.
    bool ShowModal(HWND owner, VerbEntry& verb, bool newVerb, const EditLocks& locks);
    // Asked on OK for a new verb's name; a problem keeps the dialog open.
    std::function<VerbNameProblem(const std::string&)> CheckName;

    HWND Edit1 = nullptr, Edit2 = nullptr, Label1 = nullptr, Edit3 = nullptr, Button1 = nullptr;
    HWND CheckBox1 = nullptr, Edit4 = nullptr, Edit5 = nullptr, Edit6 = nullptr, Edit7 = nullptr;
    HWND CheckBox2 = nullptr;

private:
    friend class Dialog<TForm8>;
    INT_PTR HandleDialogMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void FormCreate();
    void Button1Click();
    void OkClick();
    void EnableDdeGroup();

    VerbEntry* verb_ = nullptr;
    bool newVerb_ = false;
    EditLocks locks_;
};

// The message for a verb name the verb dialog refuses.
const char* VerbNameProblemMessage(VerbNameProblem problem);
