#include "view/ListControl.h"

#include <vector>

namespace {

// Reads one cell into buffer, which grows until the text fits with room
// left (the control gives no length), and keeps its size for the next cell.
std::string CellText(HWND list, int row, int column, std::vector<char>& buffer)
{
    if (buffer.size() < 260)
        buffer.resize(260);
    for (;;) {
        LVITEMA item{};
        item.iSubItem = column;
        item.pszText = buffer.data();
        item.cchTextMax = static_cast<int>(buffer.size());
        const auto length = static_cast<size_t>(
            SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)));
        if (length + 1 < buffer.size())
            return std::string(buffer.data(), length);
        buffer.resize(buffer.size() * 4);
    }
}

} // namespace

int RowCount(HWND list)
{
    return ListView_GetItemCount(list);
}

int SelectedRow(HWND list)
{
    return ListView_GetNextItem(list, -1, LVNI_SELECTED);
}

std::string RowText(HWND list, int row, int column)
{
    std::vector<char> buffer;
    return CellText(list, row, column, buffer);
}

int RowImage(HWND list, int row)
{
    LVITEMA item{};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return item.iImage;
}

ListRow ReadRow(HWND list, int row)
{
    std::vector<char> buffer;
    ListRow result;
    result.Caption = CellText(list, row, 0, buffer);
    for (int column = 1; column < kListColumnCount; ++column)
        result.SubItems[column - 1] = CellText(list, row, column, buffer);
    result.Image = RowImage(list, row);
    return result;
}

void FillDisplayInfo(const std::vector<ListRow>& rows, LVITEMA& item)
{
    if (item.iItem < 0 || static_cast<size_t>(item.iItem) >= rows.size())
        return;
    const ListRow& row = rows[static_cast<size_t>(item.iItem)];
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0 && item.iSubItem >= 0 &&
        item.iSubItem < kListColumnCount)
        lstrcpynA(item.pszText, row.Column(item.iSubItem).c_str(), item.cchTextMax);
    if (item.mask & LVIF_IMAGE)
        item.iImage = row.Image;
}
