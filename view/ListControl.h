// Reading and writing rows of a report-style list view as ListRow texts.
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

void SetRowText(HWND list, int row, int column, const std::string& text);
void SetRowImage(HWND list, int row, int image);
// Inserts the row at index (or appends with INT_MAX); returns its index.
int InsertRow(HWND list, int index, const ListRow& row);
