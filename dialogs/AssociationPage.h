// A page of the association dialog: a child dialog made from its own
// template inside the dialog's page control. A page shows and reads back
// only its own fields, applies the locks of its own controls and answers
// its own controls; the dialog around it keeps the frame, OK and Cancel.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <span>
#include <string>

#include "model/AssociationFields.h"
#include "model/EditFlags.h"

enum class AssociationVariant { Edit, Add, Delete };

// A text of the dialog's values and the control of the page that shows it.
struct FieldControl {
    std::string AssociationFields::*text;
    int control;
};
// A control of the page and the lock that stops it changing its field.
struct LockedControl {
    int control;
    bool EditLocks::*lock;
};

// What a page is made of, as data.
struct PageTables {
    int templateId;
    const char* caption; // its tab's
    const char* schemeCaption; // its tab's in the protocol view
    std::span<const FieldControl> fields;
    // Locked edits become read-only, so their text can still be selected
    // and copied; locked buttons and lists, which would change a locked
    // field, are disabled.
    std::span<const LockedControl> lockedEdits;
    std::span<const LockedControl> lockedPickers;
};

class AssociationPage {
public:
    AssociationPage(const PageTables& tables, AssociationVariant variant);
    virtual ~AssociationPage() = default;
    AssociationPage(const AssociationPage&) = delete;
    AssociationPage& operator=(const AssociationPage&) = delete;

    // Makes the page, hidden, inside the dialog `frame`; false on failure.
    bool Create(HWND frame);
    HWND Handle() const { return hwnd_; }
    const char* Caption(bool scheme = false) const { return scheme ? tables_.schemeCaption : tables_.caption; }

    // Moves the page onto `area` of the frame's client area.
    virtual void Place(const RECT& area, UINT dpi);
    // Shows the page's values, or only the creator's part of them.
    virtual void ShowFields(const AssociationFields& fields, bool creatorOnly);
    // Puts what the page's controls hold into the page's own fields.
    virtual void ReadFields(AssociationFields& fields) const;
    // The locks as the dialog applies them: every call sets every state.
    virtual void ApplyLocks(const EditLocks& locks);
    // The control that shows the field; nullptr when not on this page.
    HWND ControlOf(std::string AssociationFields::*text) const;

protected:
    // WM_INITDIALOG: find and prepare the controls.
    virtual void PageCreate() = 0;
    // A command or notification of the page's controls; PageNotify
    // answers false for those it leaves alone.
    virtual void PageCommand(int id, int code) = 0;
    virtual bool PageNotify(const NMHDR& header);

    HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
    HWND Frame() const { return GetParent(hwnd_); }

    const AssociationVariant variant_;
    HWND hwnd_ = nullptr;

private:
    static INT_PTR CALLBACK PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

    const PageTables tables_;
};
