// The detail panel of the main window: a group box with the selected row's
// icon, creator, kind and program.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include "model/AssociationCatalog.h"
#include "ui/ScopedGdi.h"
#include "view/ListRow.h"

class DetailPanel {
public:
    // Creates the group box and its contents on parent; false on failure.
    bool Create(HWND parent);
    // Places the group box and the icon for the DPI.
    void Layout(UINT dpi);
    // Fits the group box and its labels to the window's outer width.
    void Resize(int outerWidth, UINT dpi, HFONT font);

    // The row, and in three more lines where its keys live, what really
    // opens the file and the creator's verbs (read before, or not shown).
    void Show(const ListRow& row, HIMAGELIST images, const AssociationCatalog& catalog);
    // A row of the protocol view, with where the scheme's key lives and
    // what really opens it.
    void ShowScheme(const ListRow& row, HIMAGELIST images, const SchemeEntry& scheme);
    // Shows the placeholder picture and no texts.
    void Clear(HICON placeholder);
    // Shows the placeholder while no row has been shown yet.
    void ShowPlaceholder(HICON placeholder);

    HWND GroupBox1 = nullptr;
    HWND Image1 = nullptr;
    HWND Label1 = nullptr, Label2 = nullptr, Label3 = nullptr, Label4 = nullptr, Label5 = nullptr, Label6 = nullptr;
    HWND Label7 = nullptr, Label8 = nullptr; // where the keys live, and the user's choice
    HWND Label9 = nullptr;                   // the creator's verbs, once read

private:
    // The picture, the key name, the kind and the program of the row.
    void ShowRowTexts(const ListRow& row, HIMAGELIST images, const std::string& caption, const std::string& key);
    // The copy of the selected row's icon that Image1 shows.
    ScopedIcon detailIcon_;
};
