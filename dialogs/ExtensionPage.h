// Page 1 of the association dialog, "拡張子とｸﾘｴｰﾀ-の関連": the
// extension, its content type and the creator it names, with the creator's
// picture and kind, and the line that says why a locked dialog is only
// shown. What the creator's name sets off is the dialog's to decide.
#pragma once
#include <functional>
#include <string>

#include "dialogs/AssociationPage.h"
#include "ui/ScopedGdi.h"

class ExtensionPage : public AssociationPage {
public:
    explicit ExtensionPage(AssociationVariant variant);

    void ApplyLocks(const EditLocks& locks) override;
    // Shows the picture, which the page keeps until the next one is shown.
    void SetPicture(ScopedIcon picture);
    std::string Creator() const;
    // Shows a URL scheme instead of an extension: its name in the
    // extension's place, no content type, and no creator to choose, as the
    // scheme's key is its own creator.
    void ShowScheme(bool scheme);

    // The creator's name was typed or filled in.
    std::function<void()> CreatorChanged;
    // The browse button asks for a creator from the chooser.
    std::function<void()> ChooseCreator;

    HWND Edit10 = nullptr, Edit2 = nullptr, Image1 = nullptr, Edit9 = nullptr, Button6 = nullptr;
    HWND Edit3 = nullptr, Label12 = nullptr;

private:
    void PageCreate() override;
    void PageCommand(int id, int code) override;
    void Edit9Change();
    void Button6Click();

    ScopedIcon picture_;
    bool scheme_ = false;
};
