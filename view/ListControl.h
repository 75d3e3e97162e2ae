// Reading the rows of a report-style list view as ListRow texts, as any
// other program would see them.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "view/ListRow.h"

int RowCount(HWND list);
int SelectedRow(HWND list); // -1 when no row is selected
std::string RowText(HWND list, int row, int column);
int RowImage(HWND list, int row);
ListRow ReadRow(HWND list, int row);
