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

void SetRowText(HWND list, int row, int column, const std::string& text)
{
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text.c_str());
    SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void SetRowImage(HWND list, int row, int image)
{
    LVITEMA item{};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    item.iImage = image;
    SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

int InsertRow(HWND list, int index, const ListRow& row)
{
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = index;
    item.pszText = const_cast<char*>(row.Caption.c_str());
    item.iImage = row.Image;
    const int inserted = static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    if (inserted < 0)
        return inserted;
    for (int column = 1; column < kListColumnCount; ++column)
        if (!row.SubItems[column - 1].empty())
            SetRowText(list, inserted, column, row.SubItems[column - 1]);
    return inserted;
}

ListSubclassBypass::ListSubclassBypass(HWND list)
    : list_(Bypass(list)), header_(Bypass(list ? ListView_GetHeader(list) : nullptr))
{
}

ListSubclassBypass::~ListSubclassBypass()
{
    Restore(header_);
    Restore(list_);
}

ListSubclassBypass::Swap ListSubclassBypass::Bypass(HWND window)
{
    Swap swap;
    if (!window || !IsWindow(window))
        return swap;
    swap.saved = GetWindowLongPtrW(window, GWLP_WNDPROC);
    swap.direct = static_cast<LONG_PTR>(GetClassLongPtrW(window, GCLP_WNDPROC));
    // Nothing to pass by (also when an outer bypass is in force).
    if (!swap.saved || !swap.direct || swap.saved == swap.direct)
        return swap;
    swap.window = window;
    SetWindowLongPtrW(window, GWLP_WNDPROC, swap.direct);
    return swap;
}

void ListSubclassBypass::Restore(const Swap& swap)
{
    // A window that is gone, or whose procedure someone else has replaced
    // meanwhile, is left as it is.
    if (swap.window && IsWindow(swap.window) && GetWindowLongPtrW(swap.window, GWLP_WNDPROC) == swap.direct)
        SetWindowLongPtrW(swap.window, GWLP_WNDPROC, swap.saved);
}
