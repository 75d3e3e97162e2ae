// Page 4 of the association dialog, 動作: the creator's verbs, open among
// them, with the one a double click runs marked, and the buttons that add,
// edit and delete a verb or make it the default. Open's command is page 3's:
// the list shows what page 3 holds, and editing open here changes page 3.
#pragma once
#include <functional>

#include "dialogs/AssociationPage.h"
#include "dialogs/VerbForm.h"

class VerbsPage : public AssociationPage {
public:
    explicit VerbsPage(AssociationVariant variant);

    void Place(const RECT& area, UINT dpi) override;
    void ShowFields(const AssociationFields& fields, bool creatorOnly) override;
    void ReadFields(AssociationFields& fields) const override;
    void ApplyLocks(const EditLocks& locks) override;

    // Lists the verbs again with page 3's command, as the page comes in front.
    void Refresh();

    // The dialog's values as its pages hold them now, and the values to show
    // again on the other pages after open's command changed here.
    std::function<AssociationFields()> CurrentFields;
    std::function<void(const AssociationFields&)> OpenCommandChanged;

    HWND ListView2 = nullptr, Label13 = nullptr;
    HWND Button7 = nullptr, Button8 = nullptr, Button9 = nullptr, Button10 = nullptr; // add, edit, delete, default
    TForm8 Form8; // the verb dialog, made for each showing

private:
    void PageCreate() override;
    void PageCommand(int id, int code) override;
    bool PageNotify(const NMHDR& header) override;
    void Button7Click();
    void Button8Click();
    void Button9Click();
    void Button10Click();

    // Lists the verbs, with the verb of that name selected.
    void FillList(const AssociationFields& fields, const std::string& selected);
    void SelectionChanged();
    // The selected verb's name; empty without a selection.
    std::string SelectedName() const;
    // Runs a verb rule over the dialog's current values and shows the result.
    void Change(const std::function<void(AssociationFields&)>& rule, const std::string& select);

    AssociationFields verbs_; // only the verbs' part counts
    EditLocks locks_;
};
