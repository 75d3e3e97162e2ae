#include "app/MainForm.h"

#include <algorithm>
#include <numeric>
#include <vector>

#include "view/ListControl.h"

namespace {

// The rows in ascending (direction 1) or descending (-1) order of one text
// of each, each text converted once; texts, images and the selection move
// with their rows. Rows that compare equal end up in no particular order.
void SortRows(HWND list, std::vector<ListRow>& rows, int column, int direction)
{
    std::vector<std::wstring> texts;
    texts.reserve(rows.size());
    for (const ListRow& row : rows)
        texts.push_back(PreparedForComparison(row.Column(column)));
    std::vector<size_t> order(rows.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::sort(order.begin(), order.end(),
              [&](size_t a, size_t b) { return ComparePrepared(texts[a], texts[b]) * direction < 0; });
    std::vector<ListRow> sorted;
    sorted.reserve(rows.size());
    std::vector<int> position(rows.size());
    for (size_t at = 0; at < order.size(); ++at) {
        sorted.push_back(std::move(rows[order[at]]));
        position[order[at]] = static_cast<int>(at);
    }
    rows = std::move(sorted);

    // One row at most is selected. Clearing all rows' states at once would
    // visit every row of the list.
    const int selected = ListView_GetNextItem(list, -1, LVNI_SELECTED);
    const int focused = ListView_GetNextItem(list, -1, LVNI_FOCUSED);
    for (const auto& [row, state] : {std::pair{selected, LVIS_SELECTED}, std::pair{focused, LVIS_FOCUSED}}) {
        if (row < 0 || static_cast<size_t>(row) >= position.size())
            continue;
        ListView_SetItemState(list, row, 0, state);
        ListView_SetItemState(list, position[static_cast<size_t>(row)], state, state);
    }
    InvalidateRect(list, nullptr, FALSE);
}

} // namespace

void TForm1::SortByColumn(int column)
{
    if (column < 0 || column >= kListColumnCount)
        return;
    SortDirection[column] = -SortDirection[column];
    SortRows(ListView1, Rows, column, SortDirection[column]);
}

void TForm1::SortByExtension()
{
    SortRows(ListView1, Rows, 0, 1);
}
