// Page 2 of the association dialog, "ｸﾘｴｰﾀｰの設定(ｱｲｺﾝ)": the icon source
// and a picker that lists every icon of one file, each captioned with its
// number. A picked icon's picture goes to the dialog, which shows it.
#pragma once
#include <functional>
#include <string>

#include "dialogs/AssociationPage.h"
#include "ui/ScopedGdi.h"

class IconPage : public AssociationPage {
public:
    explicit IconPage(AssociationVariant variant);

    void Place(const RECT& area, UINT dpi) override;
    void ShowFields(const AssociationFields& fields, bool creatorOnly) override;
    void ReadFields(AssociationFields& fields) const override;

    // Fills the list with the icons of file; the count of icons.
    int FillIconList(const std::string& file);

    // An icon was picked from a file or from the list: its picture (which
    // may be empty).
    std::function<void(ScopedIcon picture)> IconChosen;

    std::string SelectedIconFile; // the file whose icons the list shows
    HWND Edit1 = nullptr, Button1 = nullptr, ListView1 = nullptr;

private:
    void PageCreate() override;
    void PageCommand(int id, int code) override;
    bool PageNotify(const NMHDR& header) override;
    void Button1Click();
    void ListView1Click();

    ScopedIcon RowIcon(int row) const;

    ScopedImageList imageList_; // the icons of SelectedIconFile, 32 x 32
};
