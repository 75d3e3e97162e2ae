#include "dialogs/ExtensionPage.h"

#include <utility>

#include "ui/FormKit.h"
#include "ui/resource.h"

namespace {
constexpr const char* kLockedReason = "Windows が変更を禁じている種類のため、表示だけです。";
constexpr const char* kReservedReason = "Windows が自身で使うプロトコルのため、表示だけです。";

// The texts of the page that differ for a scheme; a null one hides the
// control there.
struct SchemeText {
    int control;
    const char* extension;
    const char* scheme;
};
constexpr SchemeText kSchemeTexts[] = {
    {IDC_ASSOC_GROUP_NAME, "拡張子の設定", "プロトコルの設定"},
    {IDC_ASSOC_LABEL_NAME, "拡張子 ：", "プロトコル ："},
    {IDC_ASSOC_GROUP_CREATOR, "拡張子に関連付けるクリエーター", "プロトコルを開くもの"},
    {IDC_ASSOC_LABEL_CREATOR, "クリエーター ：", "キー ："},
    {IDC_ASSOC_GROUP_EXTENSIONS, "このクリエーターに関連付けられている拡張子", nullptr},
    {IDC_ASSOC_LABEL12, nullptr, nullptr},
};

constexpr FieldControl kFields[] = {
    {&AssociationFields::Extension, IDC_ASSOC_EDIT10}, {&AssociationFields::ContentType, IDC_ASSOC_EDIT2},
    {&AssociationFields::Creator, IDC_ASSOC_EDIT9},    {&AssociationFields::Kind, IDC_ASSOC_EDIT3},
    {&AssociationFields::ExtensionText, IDC_ASSOC_LABEL12},
};
// Only the creator the dialog opened with locks the creator's name.
constexpr LockedControl kLockedEdits[] = {
    {IDC_ASSOC_EDIT2, &EditLocks::ContentType},
    {IDC_ASSOC_EDIT9, &EditLocks::WholeDialog},
    {IDC_ASSOC_EDIT3, &EditLocks::Kind},
};
constexpr LockedControl kLockedPickers[] = {{IDC_ASSOC_BUTTON6, &EditLocks::WholeDialog}};

constexpr PageTables kTables{IDD_ASSOCIATION_PAGE1, "拡張子とｸﾘｴｰﾀ-の関連", "プロトコル", kFields, kLockedEdits, kLockedPickers};
} // namespace

ExtensionPage::ExtensionPage(AssociationVariant variant) : AssociationPage(kTables, variant) {}

void ExtensionPage::PageCreate()
{
    Edit10 = Item(IDC_ASSOC_EDIT10), Edit2 = Item(IDC_ASSOC_EDIT2), Image1 = Item(IDC_ASSOC_IMAGE1);
    Edit9 = Item(IDC_ASSOC_EDIT9), Button6 = Item(IDC_ASSOC_BUTTON6), Edit3 = Item(IDC_ASSOC_EDIT3);
    Label12 = Item(IDC_ASSOC_LABEL12);
    // An edit changes the extension it was opened on, never another one.
    if (variant_ == AssociationVariant::Edit)
        SendMessageA(Edit10, EM_SETREADONLY, TRUE, 0);
    if (variant_ == AssociationVariant::Delete)
        ShowWindow(Button6, SW_HIDE);
}

void ExtensionPage::PageCommand(int id, int code)
{
    if (id == IDC_ASSOC_EDIT9 && code == EN_CHANGE)
        Edit9Change();
    else if (id == IDC_ASSOC_BUTTON6 && code == BN_CLICKED)
        Button6Click();
}

void ExtensionPage::Edit9Change()
{
    if (CreatorChanged)
        CreatorChanged();
}

void ExtensionPage::Button6Click()
{
    if (ChooseCreator && variant_ != AssociationVariant::Delete)
        ChooseCreator();
}

std::string ExtensionPage::Creator() const { return Edit9 ? WindowText(Edit9) : std::string(); }

void ExtensionPage::ShowScheme(bool scheme)
{
    scheme_ = scheme;
    for (const SchemeText& text : kSchemeTexts) {
        const char* shown = scheme ? text.scheme : text.extension;
        if (shown)
            SetWindowTextA(Item(text.control), shown);
        ShowWindow(Item(text.control), shown || !scheme ? SW_SHOWNA : SW_HIDE);
    }
    EnableWindow(Edit2, !scheme);
    EnableWindow(Edit9, !scheme);
    ShowWindow(Button6, scheme || variant_ == AssociationVariant::Delete ? SW_HIDE : SW_SHOWNA);
}

void ExtensionPage::ApplyLocks(const EditLocks& locks)
{
    AssociationPage::ApplyLocks(locks);
    HWND reason = Item(IDC_ASSOC_LABEL_LOCKED);
    SetWindowTextA(reason, locks.Reserved ? kReservedReason : locks.WholeDialog ? kLockedReason : "");
    ShowWindow(reason, locks.WholeDialog ? SW_SHOWNA : SW_HIDE);
}

// The old picture goes once no longer shown.
void ExtensionPage::SetPicture(ScopedIcon picture)
{
    SendMessageA(Image1, STM_SETICON, reinterpret_cast<WPARAM>(picture.Get()), 0);
    picture_ = std::move(picture);
}
