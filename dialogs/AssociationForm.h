// The association dialog. One class serves the three variants that start-up
// creates once each: TForm5 edits, TForm11 adds and TForm10 confirms a
// deletion. The dialog is a frame of pages, each a class of its own; it
// only shows values and helps pick an icon, a program and a creator, and
// the workflows fill it and read it back.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <array>
#include <functional>
#include <string>

#include "ui/Dialog.h"
#include "dialogs/AssociationPage.h"
#include "dialogs/ExtensionPage.h"
#include "dialogs/IconPage.h"
#include "dialogs/OpenPage.h"
#include "dialogs/VerbsPage.h"
#include "model/AssociationFields.h"
#include "model/CatalogEdits.h"
#include "model/EditFlags.h"

class TForm7;

class TAssociationForm : public Dialog<TAssociationForm> {
public:
    explicit TAssociationForm(AssociationVariant variant);
    // The window goes while the pages that answer its children are there.
    ~TAssociationForm();
    TAssociationForm(const TAssociationForm&) = delete;
    TAssociationForm& operator=(const TAssociationForm&) = delete;

    // Shows the dialog modally on its first page; true when it closed with OK.
    bool ShowModal();

    // Puts every value into its control and fills the icon list from the
    // remembered icon file; Image1 shows a copy of `picture` (or nothing).
    void ShowFields(const AssociationFields& fields, HICON picture);
    // Only the creator's part, from Edit9 down (a creator from the chooser).
    void ShowCreatorFields(const AssociationFields& fields);
    AssociationFields ReadFields() const;
    // Shows the fields that follow as a URL scheme's, or again as an
    // extension's; the caption says which.
    void ShowScheme(bool scheme);
    // Makes the fields a creator's EditFlags lock read-only and their
    // buttons unusable; with WholeDialog nothing can change and a line on
    // page 1 says why. Every call sets every state. These are the locks of
    // the creator the dialog opened with; once another creator is typed or
    // chosen, LocksFor gives that one's, which lock its fields but never the
    // creator's name or OK. The delete variant has no locks.
    void ApplyLocks(const EditLocks& locks);
    std::function<EditLocks(const std::string& creator)> LocksFor;

    // Image1 shows icon `number` of file, as an icon source names it.
    void ShowFileIcon(const std::string& file, int number);

    // Asked on OK; a problem keeps the dialog open with its field focused.
    std::function<NameProblem(const AssociationFields&)> CheckNames;
    TForm7* Form7 = nullptr;

    const AssociationVariant Variant;

    HWND PageControl2 = nullptr;
    std::array<HWND, 4> TabSheets{}; // TabSheet4, TabSheet5, TabSheet6, TabSheet7
    HWND Button2 = nullptr, Button3 = nullptr;
    // The pages' controls, as the workflows and their tests reach them.
    HWND Edit10 = nullptr, Edit2 = nullptr, Edit9 = nullptr, Edit3 = nullptr, Label12 = nullptr;
    HWND Edit1 = nullptr, Edit4 = nullptr, Edit5 = nullptr, Edit6 = nullptr, Edit7 = nullptr, Edit8 = nullptr;
    HWND Image1 = nullptr, Button1 = nullptr, Button4 = nullptr, Button6 = nullptr;
    HWND CheckBox1 = nullptr, GroupBox3 = nullptr, ListView1 = nullptr;
    HWND ListView2 = nullptr, Label13 = nullptr, Button7 = nullptr, Button8 = nullptr, Button9 = nullptr,
         Button10 = nullptr;
    TForm8* Form8 = nullptr; // the verb dialog of page 4, while it shows

private:
    friend class Dialog<TAssociationForm>;
    INT_PTR HandleDialogMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void FormCreate();
    void FormShow();
    void LayoutControls();
    void DpiChanged(const RECT& suggested);
    void PageControl2Change();
    void Button2Click();
    void Button3Click();
    void CreatorChanged();
    void ChooseCreator();

    void CreatePages();
    void ShowPage(size_t index);
    void SetLocks(const EditLocks& locks, bool openedCreator);

    ExtensionPage extensionPage_;
    IconPage iconPage_;
    OpenPage openPage_;
    VerbsPage verbsPage_;
    const std::array<AssociationPage*, 4> pages_; // in the order of their tabs
    std::string openedCreator_; // the creator the locks of ApplyLocks belong to
    EditLocks openedLocks_;
    EditLocks appliedLocks_; // what SetLocks last applied
};

// The message for a typed name that CheckTypedNames or CheckTypedSchemeName
// refuses in these fields.
std::string NameProblemMessage(const NameProblem& problem, const AssociationFields& fields);

class TForm5 : public TAssociationForm {
public:
    TForm5() : TAssociationForm(AssociationVariant::Edit) {}
};
class TForm10 : public TAssociationForm {
public:
    TForm10() : TAssociationForm(AssociationVariant::Delete) {}
};
class TForm11 : public TAssociationForm {
public:
    TForm11() : TAssociationForm(AssociationVariant::Add) {}
};
