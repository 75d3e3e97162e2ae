// The main window: detail panel with toolbar, association list, status bar.
// Its layout, commands and settings live in app/; the list, icons, scan and
// sorting operations live in view/.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <array>
#include <map>
#include <string>
#include <vector>

#include "app/Window.h"
#include "view/ListRow.h"
#include "view/ScopedGdi.h"

inline constexpr const char* kMainFormClass = "TForm1";

class TForm3;
class TForm6;
class TForm7;
class TAssociationForm;
struct AssociationFields;
struct CreatorEntry;
struct ExtensionEntry;

class TForm1 : public Window<TForm1> {
public:
    TForm1() = default;
    TForm1(const TForm1&) = delete;
    TForm1& operator=(const TForm1&) = delete;
    ~TForm1();

    // Creates the (hidden) window with all its controls; false on failure.
    bool Create();
    // Runs the keyboard shortcuts for a message of the message loop; true
    // when the message was one and has been handled.
    bool TranslateShortcut(MSG& msg);

    // Windows made at start-up that this one shows.
    TForm3* Form3 = nullptr;            // scan progress
    TAssociationForm* Form5 = nullptr;  // edit dialog
    TForm6* Form6 = nullptr;            // about
    TForm7* Form7 = nullptr;            // creator chooser
    TAssociationForm* Form10 = nullptr; // delete dialog
    TAssociationForm* Form11 = nullptr; // add dialog

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
    // The rows of ListView1 in list order. The list holds no texts of its
    // own: it asks for each cell it draws, so a refresh or a sort of
    // thousands of rows is work on this vector, not thousands of messages.
    std::vector<ListRow> Rows;
    // Rows offered by the creator chooser: copies of the list's rows whose
    // extension has a creator, in list order.
    std::vector<ListRow> ChooserRows;
    // The copy of the selected row's icon that Image1 shows.
    ScopedIcon DetailIcon;
    // Toolbar buttons by number: SpeedButton[1] to SpeedButton[12] (0 unused).
    std::array<HWND, 13> SpeedButton{};
    HWND ToolTip1 = nullptr;     // tooltips of the toolbar buttons
    HMENU PopupMenu1 = nullptr;  // context menu of the list
    // SaveDialog1 of both exports opens with the file name chosen last
    // (persist/SaveCommands.cpp).
    std::string SaveDialog1FileName;

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
    // The row the scan and the add workflow make for an extension.
    ListRow RowOf(const std::string& key, const ExtensionEntry& extension);
    // Adds the icon to both image lists; its position, or DefaultIconIndex
    // when either list refuses it (then neither keeps it).
    int AppendImage(HICON icon);
    // A new image for a creator whose icon source a workflow set.
    int LoadCreatorImage(const CreatorEntry& creator);

    // The list's and its header's subclasses cost the window server a few
    // round trips per message under Wine: while the hidden list is refilled
    // they are taken off. Calls nest; the last resume puts them back.
    void SuspendListSubclasses();
    void ResumeListSubclasses();
    class ListSubclassesSuspended {
    public:
        explicit ListSubclassesSuspended(TForm1& form) : form_(form) { form_.SuspendListSubclasses(); }
        ~ListSubclassesSuspended() { form_.ResumeListSubclasses(); }
        ListSubclassesSuspended(const ListSubclassesSuspended&) = delete;
        ListSubclassesSuspended& operator=(const ListSubclassesSuspended&) = delete;

    private:
        TForm1& form_;
    };

    // Sorting (view/Sorting.cpp).
    void SortByColumn(int column);
    // Ascending by extension, leaving SortDirection as it is.
    void SortByExtension();
    // Tells the list how many rows there are now and redraws them.
    void RowsChanged();

    // Settings file (app/Settings.cpp).
    void LoadSettings();
    void SaveSettings();

    // Commands.
    void SetViewStyle(int style); // 0 large icons, 1 small icons, 2 list, 3 report
    int ViewStyle() const;
    // Workflows (dialogs/AssociationCommands.cpp).
    void EditAssociation();
    void FillEditDialog();
    bool ApplyEditDialog();
    void AddAssociation();
    void PrepareAddDialog();
    bool ApplyAddDialog();
    void DeleteAssociation();
    void FillDeleteDialog();
    bool ApplyDeleteDialog();
    // Marks the catalog changed and shows the changes in the list, the
    // chooser and the detail panel.
    void WorkflowApplied();
    bool CommitChanges();
    void ExportSelected();
    void ExportChanges();
    // The default associations file of the selected row or of the changes
    // (app/DefaultsCommand.h).
    void ExportDefaultAssociations();
    void ShowHelp();
    void ShowAbout();

private:
    friend class Window<TForm1>;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // Events.
    bool FormCreate();
    void FormDestroy();
    void FormResize();
    bool FormCloseQuery();
    void FormDpiChanged(UINT dpi, const RECT& suggested);
    void CommandReceived(UINT id, UINT code);
    LRESULT NotifyReceived(const NMHDR& header);
    void ContextMenuRequested(HWND source, LPARAM position);
    LRESULT ControlColorRequested(HDC dc);
    bool CursorMoved(HWND target);
    void ListView1Click();
    void ListView1DblClick();
    void ListView1KeyDown(WORD key);
    void ListView1KeyUp(WORD key);
    void ListView1ColumnClick(int column);
    void ListView1GetDispInfo(NMLVDISPINFOA& info) const;
    // Some lists ask in wide text whatever the window's text format.
    int ListView1FindItem(const NMLVFINDITEMA& find, bool wide) const;
    void Image1Click();

    // Building the window.
    bool CreateControls();
    void CreateToolbar();
    void CreateMenus();
    void LoadPictures();
    void ApplyFontsAndPictures();
    void LayoutControls();
    void SetListSubclasses(bool attached);
    int listSubclassesSuspended_ = 0;
    static LRESULT CALLBACK ListView1Subclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                              UINT_PTR id, DWORD_PTR form);
    static LRESULT CALLBACK HeaderSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                           DWORD_PTR form);

    // Fills a dialog and shows the main window's image `image` in it.
    void ShowInDialog(TAssociationForm& dialog, const AssociationFields& fields, int image);

    // Commands: every menu item, shortcut and toolbar button runs one.
    void RunCommand(UINT id);
    void ReloadCommand();
    void CommitCommand();
    void CloseCommand();

    // Status bar hints: the text after "|" of the hint of the control under
    // the mouse, or of its nearest enclosing control that has one.
    void ShowHintOf(HWND control);

    UINT dpi_ = 96;
    ScopedFont font_;
    std::array<ScopedIcon, 13> glyphs_;
    ScopedIcon image2_, image3_;
    HACCEL accelerators_ = nullptr;
    std::map<HWND, std::string> hints_;
    std::string statusText_;
};
