// Reading the rows of a report-style list view as ListRow texts, as any
// other program would see them.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "view/ListRow.h"

int RowCount(HWND list);
int SelectedRow(HWND list); // -1 when no row is selected
std::string RowText(HWND list, int row, int column);
int RowImage(HWND list, int row);
ListRow ReadRow(HWND list, int row);

// Answers a list that holds no texts of its own (LVN_GETDISPINFO) from the
// rows it shows.
void FillDisplayInfo(const std::vector<ListRow>& rows, LVITEMA& item);
