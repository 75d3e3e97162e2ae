// The icon picker of the association dialog's second page: every icon of
// one file, each captioned with its number, and the preview on page 1.
#include <string>

#include "dialogs/AssociationForm.h"
#include "view/ShellServices.h"

int TAssociationForm::FillIconList(const std::string& file)
{
    // An empty name asks the shell about no file at all.
    const int count = file.empty() ? 0 : IconCountOf(file);
    SendMessageA(ListView1, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(ListView1);
    ImageList_RemoveAll(ImageList1);
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
        item.iImage = icon ? ImageList_AddIcon(ImageList1, icon.Get()) : -1;
        SendMessageA(ListView1, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
    SendMessageA(ListView1, WM_SETREDRAW, TRUE, 0);
    return count;
}

void TAssociationForm::ShowListIcon(int row)
{
    // The row's own image: after a failed extraction the list's positions
    // no longer follow the icon numbers.
    LVITEMA item{};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    const bool present = SendMessageA(ListView1, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)) && item.iImage >= 0;
    SetPicture(present ? ImageList_GetIcon(ImageList1, item.iImage, ILD_NORMAL) : nullptr);
}

void TAssociationForm::ShowFileIcon(const std::string& file, int number)
{
    // As everywhere else, -1 shows the first icon, not the icon count.
    SetPicture(ExtractIconFromFile(file, IconNumberToExtract(number)));
}
