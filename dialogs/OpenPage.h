// Page 3 of the association dialog, "ｸﾘｴｰﾀｰの設定("開く"動作)": the
// program that opens the file and, when ticked, its DDE conversation.
#pragma once
#include "dialogs/AssociationPage.h"

class OpenPage : public AssociationPage {
public:
    explicit OpenPage(AssociationVariant variant);

    void ShowFields(const AssociationFields& fields, bool creatorOnly) override;
    void ReadFields(AssociationFields& fields) const override;
    void ApplyLocks(const EditLocks& locks) override;

    HWND Edit4 = nullptr, Button4 = nullptr, CheckBox1 = nullptr, GroupBox3 = nullptr;
    HWND Edit5 = nullptr, Edit6 = nullptr, Edit8 = nullptr, Edit7 = nullptr;

private:
    void PageCreate() override;
    void PageCommand(int id, int code) override;
    void Button4Click();
    void CheckBox1Click();

    bool UsesDde() const;
    void EnableDdeGroup(bool enabled);
};
