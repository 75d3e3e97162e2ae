// The three-page association dialog. One class serves the three variants
// that start-up creates once each: TForm5 edits, TForm11 adds and TForm10
// confirms a deletion. The dialog only shows values and helps pick an icon,
// a program and a creator; the workflows fill it and read it back.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <array>
#include <functional>
#include <map>
#include <string>

#include "ui/Dialog.h"
#include "model/AssociationFields.h"
#include "model/CatalogEdits.h"
#include "model/EditFlags.h"
#include "ui/ScopedGdi.h"

class TForm7;

enum class AssociationVariant { Edit, Add, Delete };

class TAssociationForm : public Dialog<TAssociationForm> {
public:
    explicit TAssociationForm(AssociationVariant variant);
    TAssociationForm(const TAssociationForm&) = delete;
    TAssociationForm& operator=(const TAssociationForm&) = delete;

    // Shows the dialog modally on its first page; true when it closed with OK.
    bool ShowModal();

    // Puts every value into its control and fills the icon list from the
    // remembered icon file; Image1 shows a copy of `picture` (or nothing).
    void ShowFields(const AssociationFields& fields, HICON picture);
    // Only the creator's part, from Edit9 down (the creator chooser).
    void ShowCreatorFields(const AssociationFields& fields);
    AssociationFields ReadFields() const;
    // Makes the fields a creator's EditFlags lock read-only and their
    // buttons unusable; with WholeDialog nothing can change and a line on
    // page 1 says why. Every call sets every state. These are the locks of
    // the creator the dialog opened with; once another creator is typed or
    // chosen, LocksFor gives that one's, which lock its fields but never the
    // creator's name or OK. The delete variant has no locks.
    void ApplyLocks(const EditLocks& locks);
    std::function<EditLocks(const std::string& creator)> LocksFor;

    // Icon picker of page 2.
    int FillIconList(const std::string& file);
    void ShowListIcon(int row); // the picture of that row of the list
    void ShowFileIcon(const std::string& file, int number);

    // The value given to the creator chooser's Tag: 5 edit, 11 add.
    int ChooserTag() const;

    // Asked on OK; a problem keeps the dialog open with its field focused.
    std::function<NameProblem(const AssociationFields&)> CheckNames;
    TForm7* Form7 = nullptr;

    const AssociationVariant Variant;
    std::string SelectedIconFile;

    HWND PageControl2 = nullptr;
    std::array<HWND, 3> TabSheets{}; // TabSheet4, TabSheet5, TabSheet6
    HWND Button2 = nullptr, Button3 = nullptr;
    HWND Edit10 = nullptr, Edit2 = nullptr, Edit9 = nullptr, Edit3 = nullptr, Label12 = nullptr;
    HWND Edit1 = nullptr, Edit4 = nullptr, Edit5 = nullptr, Edit6 = nullptr, Edit7 = nullptr, Edit8 = nullptr;
    HWND Image1 = nullptr, Button1 = nullptr, Button4 = nullptr, Button6 = nullptr;
    HWND CheckBox1 = nullptr, GroupBox3 = nullptr, ListView1 = nullptr;
    HIMAGELIST ImageList1 = nullptr; // the icons of SelectedIconFile, 32 x 32

    // The control of a table entry or button, on whichever page it sits.
    HWND Control(int id) const;

private:
    friend class Dialog<TAssociationForm>;
    INT_PTR HandleDialogMessage(UINT message, WPARAM wParam, LPARAM lParam);
    static INT_PTR CALLBACK PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

    void FormCreate();
    void FormShow();
    void LayoutControls();
    void DpiChanged(const RECT& suggested);
    void PageControl2Change();
    void Button2Click();
    void Button3Click();
    void CheckBox1Click();
    void Edit9Change();
    void Button1Click();
    void Button4Click();
    void Button6Click();
    void ListView1Click();

    void ShowPage(int index);
    void EnableDdeGroup(bool enabled);
    void ShowBindings(const AssociationFields& fields, bool withExtension);
    void SetPicture(HICON picture);

    void SetLocks(const EditLocks& locks, bool openedCreator);

    std::map<int, HWND> controls_;
    std::string openedCreator_; // the creator the locks of ApplyLocks belong to
    EditLocks openedLocks_;
    ScopedImageList imageList_;
    ScopedIcon picture_;
};

// The message for a typed name that CheckTypedNames refuses.
const char* NameProblemMessage(const NameProblem& problem);

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
