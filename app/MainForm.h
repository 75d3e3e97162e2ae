// The main window: detail panel with toolbar, association list, status bar.
// Its layout, commands and settings live in app/; the list, icons, scan and
// sorting operations live in view/.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <array>
#include <string>

#include "app/Window.h"

inline constexpr const char* kMainFormClass = "TForm1";

class TForm3;
class TForm6;

class TForm1 : public Window<TForm1> {
public:
    // Creates the (hidden) window with all its controls; false on failure.
    bool Create();

    // Windows made at start-up that this one shows.
    TForm3* Form3 = nullptr; // scan progress
    TForm6* Form6 = nullptr; // about

    // Uncommitted changes exist in the catalog.
    bool Modified = false;
    // A scan is running; commands that would start another or change the
    // catalog are ignored meanwhile.
    bool Scanning = false;

    // Sort sign of each column: +1 ascending, -1 descending.
    std::array<int, 10> SortDirection{};
    int DefaultIconIndex = 0;
    int DeletedIconIndex = 1;

    // Controls. Image2 (placeholder) and Image3 (deleted marker) are never
    // shown: they are the pictures other controls borrow.
    HWND Panel1 = nullptr;
    HWND Panel2 = nullptr;
    HWND GroupBox1 = nullptr;
    HWND Image1 = nullptr;
    HWND Label1 = nullptr, Label2 = nullptr, Label3 = nullptr, Label4 = nullptr, Label5 = nullptr, Label6 = nullptr;
    HICON Image2 = nullptr;
    HICON Image3 = nullptr;
    HWND ListView1 = nullptr;
    HWND StatusBar1 = nullptr;
    HIMAGELIST ImageList1 = nullptr; // 32 x 32
    HIMAGELIST ImageList2 = nullptr; // 16 x 16
    // Rows offered by the creator chooser; kept hidden until the chooser exists.
    HWND ChooserList = nullptr;

    // Scan and reload (view/ScanRegistry.cpp).
    void ReloadFromRegistry(bool notifyShell);
    void ScanRegistry();

    // Association list and detail panel (view/AssociationList.cpp).
    void ResetImageLists();
    void ShowSelectedDetail();
    void ClearDetailPanel();
    void RefreshListItems();
    void FillCreatorChooser();
    // Appends the list columns; called once while the list is created.
    void CreateListColumns();

    // Sorting (view/Sorting.cpp).
    void SortByColumn(int column);

    // Settings file (app/Settings.cpp).
    void LoadSettings();
    void SaveSettings();

    // Commands.
    void SetViewStyle(int style); // 0 large icons, 1 small icons, 2 list, 3 report
    int ViewStyle() const;
    void EditAssociation();
    void AddAssociation();
    void DeleteAssociation();
    bool CommitChanges();
    void ExportSelected();
    void ExportChanges();
    void ShowHelp();
    void ShowAbout();

private:
    friend class Window<TForm1>;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void FormCreate();
    bool FormCloseQuery();
};
