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

// While it exists, the list and its column header run on their own window
// procedures, past any subclass, which is put back afterwards. Under Wine
// every message through a common-controls subclass costs three round trips
// to the server (the subclass chain lives in a window property), and the
// list sends its header a message for every cell it sets: adding 20,000
// rows took tens of seconds that way, and under a second without. Use it
// around work on every row, while the list is hidden or no messages are
// dispatched: the subclasses then miss no key or mouse message.
class ListSubclassBypass {
public:
    explicit ListSubclassBypass(HWND list);
    ~ListSubclassBypass();
    ListSubclassBypass(const ListSubclassBypass&) = delete;
    ListSubclassBypass& operator=(const ListSubclassBypass&) = delete;

private:
    struct Swap {
        HWND window = nullptr;
        LONG_PTR saved = 0;  // the procedure found, a subclass or the class's own
        LONG_PTR direct = 0; // the class's own procedure, set meanwhile
    };
    static Swap Bypass(HWND window);
    static void Restore(const Swap& swap);

    Swap list_;
    Swap header_;
};
