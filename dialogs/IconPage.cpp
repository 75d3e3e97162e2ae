#include "dialogs/IconPage.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "ui/FormKit.h"
#include "ui/resource.h"
#include "view/ShellServices.h"

namespace {
constexpr FieldControl kFields[] = {{&AssociationFields::IconSource, IDC_ASSOC_EDIT1}};
constexpr LockedControl kLockedEdits[] = {{IDC_ASSOC_EDIT1, &EditLocks::Icon}};
constexpr LockedControl kLockedPickers[] = {
    {IDC_ASSOC_BUTTON1, &EditLocks::Icon},
    {IDC_ASSOC_LISTVIEW1, &EditLocks::Icon},
};
constexpr PageTables kTables{IDD_ASSOCIATION_PAGE2, "ｸﾘｴｰﾀｰの設定(ｱｲｺﾝ)", "ｱｲｺﾝ", kFields, kLockedEdits, kLockedPickers};

// Indexed by AssociationVariant. The delete variant browses nothing.
constexpr const char* kIconFilters[] = {
    "ｱｲｺﾝﾌｧｲﾙ(*.exe,*.dll,*.ico)|*.exe;*.dll;*.ico|すべてのﾌｧｲﾙ(*.*)|*.*",
    "ｱｲｺﾝﾌｧｲﾙ(*.ico,*.exe,*.dll)|*.ico;*.exe;*.dll|すべてのﾌｧｲﾙ(*.*)|*.*",
    nullptr,
};
constexpr const char* kIconBrowseTitle = "アイコンを提供するファイルの選択";
constexpr const char* kIconColumn = "アイコン番号";

constexpr int kListMargin = 8; // around the icon list, in pixels at 96 DPI
} // namespace

IconPage::IconPage(AssociationVariant variant) : AssociationPage(kTables, variant) {}

void IconPage::PageCreate()
{
    Edit1 = Item(IDC_ASSOC_EDIT1), Button1 = Item(IDC_ASSOC_BUTTON1), ListView1 = Item(IDC_ASSOC_LISTVIEW1);
    imageList_.Reset(ImageList_Create(32, 32, ILC_COLOR32 | ILC_MASK, 16, 16));
    ListView_SetImageList(ListView1, imageList_.Get(), LVSIL_NORMAL);
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<char*>(kIconColumn);
    column.cx = 100;
    SendMessageA(ListView1, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    if (variant_ == AssociationVariant::Delete)
        ShowWindow(Button1, SW_HIDE);
}

void IconPage::PageCommand(int id, int code)
{
    if (id == IDC_ASSOC_BUTTON1 && code == BN_CLICKED)
        Button1Click();
}

bool IconPage::PageNotify(const NMHDR& header)
{
    if (header.hwndFrom != ListView1 || header.code != NM_CLICK)
        return false;
    ListView1Click();
    return true;
}

// The icon list fills the page below the icon source.
void IconPage::Place(const RECT& area, UINT dpi)
{
    AssociationPage::Place(area, dpi);
    RECT list{};
    GetWindowRect(ListView1, &list);
    MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&list), 2);
    const int margin = ScaleToDpi(kListMargin, dpi);
    const int width = area.right - area.left - list.left - margin;
    const int height = area.bottom - area.top - list.top - margin;
    SetWindowPos(ListView1, nullptr, 0, 0, std::max(0, width), std::max(0, height),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void IconPage::ShowFields(const AssociationFields& fields, bool creatorOnly)
{
    AssociationPage::ShowFields(fields, creatorOnly);
    SelectedIconFile = fields.SelectedIconFile;
    FillIconList(SelectedIconFile);
}

void IconPage::ReadFields(AssociationFields& fields) const
{
    AssociationPage::ReadFields(fields);
    fields.SelectedIconFile = SelectedIconFile;
}

void IconPage::Button1Click()
{
    const char* filter = kIconFilters[static_cast<int>(variant_)];
    std::string path;
    if (!filter || !ChooseFile(FileDialog::Open, Frame(), kIconBrowseTitle, filter, nullptr, path))
        return;
    SelectedIconFile = path;
    FillIconList(SelectedIconFile);
    SetWindowTextA(Edit1, (SelectedIconFile + ",0").c_str());
    if (IconChosen)
        IconChosen(RowIcon(0));
}

void IconPage::ListView1Click()
{
    if (variant_ == AssociationVariant::Delete)
        return;
    const int row = ListView_GetNextItem(ListView1, -1, LVNI_SELECTED);
    if (row < 0)
        return;
    char caption[16] = {};
    ListView_GetItemText(ListView1, row, 0, caption, sizeof caption);
    const int number = atoi(caption);
    SetWindowTextA(Edit1, (SelectedIconFile + "," + std::to_string(number)).c_str());
    if (IconChosen)
        IconChosen(RowIcon(row));
}

int IconPage::FillIconList(const std::string& file)
{
    // An empty name asks the shell about no file at all.
    const int count = file.empty() ? 0 : IconCountOf(file);
    SendMessageA(ListView1, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(ListView1);
    ImageList_RemoveAll(imageList_.Get());
    for (int number = 0; number < count; ++number) {
        ScopedIcon icon(ExtractIconFromFile(file, number));
        const std::string caption = std::to_string(number);
        LVITEMA item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = number;
        item.pszText = const_cast<char*>(caption.c_str());
        // The position the list gave the icon: the same as its number as
        // long as every icon could be added, and no other icon's picture
        // when one could not.
        item.iImage = icon ? ImageList_AddIcon(imageList_.Get(), icon.Get()) : -1;
        SendMessageA(ListView1, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
    SendMessageA(ListView1, WM_SETREDRAW, TRUE, 0);
    return count;
}

ScopedIcon IconPage::RowIcon(int row) const
{
    // The row's own image: after a failed extraction the list's positions
    // no longer follow the icon numbers.
    LVITEMA item{};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    const bool present = SendMessageA(ListView1, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)) && item.iImage >= 0;
    return ScopedIcon(present ? ImageList_GetIcon(imageList_.Get(), item.iImage, ILD_NORMAL) : nullptr);
}
