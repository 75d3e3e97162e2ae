#include "app/MainForm.h"

#include <vector>

#include "view/ListControl.h"

namespace {

// What the list control's sort needs: each row's text of the sorted column,
// found through the row's item data, and the comparison to apply.
struct SortContext {
    std::vector<ListRow> rows;
    int column;
    int direction;
    bool byExtension;
};

int CALLBACK CompareRows(LPARAM first, LPARAM second, LPARAM parameter)
{
    const auto* context = reinterpret_cast<const SortContext*>(parameter);
    const ListRow& a = context->rows[static_cast<size_t>(first)];
    const ListRow& b = context->rows[static_cast<size_t>(second)];
    return context->byExtension ? CompareByExtension(a, b) : CompareByColumn(a, b, context->column, context->direction);
}

// Reads the column's texts once, numbers the rows through their item data,
// and lets the control reorder them; texts, images and the selection move
// with their rows.
void SortList(HWND list, SortContext& context)
{
    const int count = RowCount(list);
    context.rows.resize(static_cast<size_t>(count));
    for (int row = 0; row < count; ++row) {
        ListRow& texts = context.rows[static_cast<size_t>(row)];
        if (context.column == 0)
            texts.Caption = RowText(list, row, 0);
        else
            texts.SubItems[context.column - 1] = RowText(list, row, context.column);
        LVITEMA item{};
        item.mask = LVIF_PARAM;
        item.iItem = row;
        item.lParam = row;
        SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
    SendMessageA(list, LVM_SORTITEMS, reinterpret_cast<WPARAM>(&context), reinterpret_cast<LPARAM>(CompareRows));
}

} // namespace

void TForm1::SortByColumn(int column)
{
    if (column < 0 || column >= kListColumnCount)
        return;
    SortDirection[column] = -SortDirection[column];
    ListSubclassesSuspended direct(*this);
    SortContext context{{}, column, SortDirection[column], false};
    SortList(ListView1, context);
}

void TForm1::SortByExtension()
{
    ListSubclassesSuspended direct(*this);
    SortContext context{{}, 0, 1, true};
    SortList(ListView1, context);
}
