// The association list of the main window: an owner-data list view that
// draws its rows from memory, the two image lists its rows and the dialogs
// borrow, the creators' images, sorting and the rows the creator chooser
// offers. It reads the catalog; it never changes it.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <array>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "model/AssociationCatalog.h"
#include "ui/ScopedGdi.h"
#include "view/ListRow.h"

// Called with the index of the item about to be handled and the count of its
// pass; see ScanProgressReporter.
using RowProgress = std::function<void(size_t index, size_t count)>;

class AssociationListView {
public:
    AssociationListView() = default;
    AssociationListView(const AssociationListView&) = delete;
    AssociationListView& operator=(const AssociationListView&) = delete;

    // Creates the list with its columns and image lists as a child of
    // parent; false on failure. keyUp hears the list's key releases and
    // headerCursor the mouse over its column header.
    bool Create(HWND parent, int id, std::function<void(WORD key)> keyUp, std::function<void(HWND)> headerCursor);

    HWND ListView1 = nullptr;
    ScopedImageList ImageList1; // 32 x 32
    ScopedImageList ImageList2; // 16 x 16
    int DefaultIconIndex = 0;
    int DeletedIconIndex = 1;
    // The rows in list order. The list holds no texts of its own: it asks
    // for each cell it draws, so a refresh or a sort of thousands of rows is
    // work on this vector, not thousands of messages.
    std::vector<ListRow> Rows;
    // Rows offered by the creator chooser: copies of the list's rows whose
    // extension has a creator, in list order.
    std::vector<ListRow> ChooserRows;
    // Sort sign of each column: +1 ascending, -1 descending.
    std::array<int, kListColumnCount> SortDirection{};

    // Empties both image lists but for the shell's default icon and the
    // deleted marker, at positions 0 and 1.
    void ResetImageLists(HICON deletedMarker);
    // Adds the icon to both image lists; its position, or DefaultIconIndex
    // when either list refuses it (then neither keeps it).
    int AppendImage(HICON icon);
    // A new image for a creator, from its icon source.
    int LoadCreatorImage(const CreatorEntry& creator);
    // Gives the creator a new image after a workflow set its icon source.
    void CreatorIconChanged(const CreatorEntry& creator);
    // The image of the creator's rows.
    int ImageOf(const std::string& creator) const;

    // After a scan: the creators' icons, then one row per extension.
    void LoadIcons(const AssociationCatalog& catalog, const RowProgress& progress);
    void FillRows(const AssociationCatalog& catalog, const RowProgress& progress);
    void Clear();
    // Around a refill of every row: the list hides, draws nothing and has
    // its subclasses off (the hidden list gets no key or mouse message), its
    // rows and images go; afterwards it shows again.
    void BeginRefill(HICON deletedMarker);
    void EndRefill();
    // Where the context menu opens for a WM_CONTEXTMENU position: the mouse,
    // or from the keyboard at the focused row or the list's corner.
    POINT ContextMenuPoint(LPARAM position) const;
    // The row the scan and the add workflow make for an extension.
    ListRow RowOf(const AssociationCatalog& catalog, const std::string& key, const ExtensionEntry& extension) const;
    // Appends the row of a new extension, then sorts by extension.
    void AddRow(const AssociationCatalog& catalog, const std::string& key);
    // The protocol view: one row per scheme in place of the extensions,
    // with the scheme's key first, then its friendly name, icon, command,
    // where it lives and the user's choice; the images of schemes are
    // loaded as their rows are first made. Rebuilt whole, marks and all:
    // there are few schemes.
    void FillSchemeRows(const AssociationCatalog& catalog);
    // The rows of the extensions again, marks and all.
    void FillExtensionRows(const AssociationCatalog& catalog);
    // The first column's title for the view.
    void ShowSchemeColumns(bool schemes);
    // Shows the marks of the catalog in the rows.
    void RefreshListItems(const AssociationCatalog& catalog);
    void FillChooserRows(const AssociationCatalog& catalog);
    // Tells the list how many rows there are now and redraws them.
    void RowsChanged();

    void SortByColumn(int column);
    // Ascending by extension, leaving SortDirection as it is.
    void SortByExtension();

    // The selected row, or nullptr; its extension, or nothing.
    const ListRow* Selected() const;
    std::string SelectedKey() const { return Selected() ? Selected()->Caption : std::string(); }

    void SetViewStyle(int style); // 0 large icons, 1 small icons, 2 list, 3 report
    int ViewStyle() const;
    int ColumnWidth(int column) const;
    void SetColumnWidth(int column, int width);

    void GetDispInfo(NMLVDISPINFOA& info) const;
    // Rows whose user's choice overrides the creator are drawn in another colour.
    LRESULT CustomDraw(NMLVCUSTOMDRAW& draw) const;
    // Typing a name selects the next row whose extension begins with it;
    // some lists ask in wide text whatever the window's text format.
    int FindItem(const NMLVFINDITEMA& find, bool wide) const;

    // The list's and its header's subclasses cost the window server a few
    // round trips per message under Wine: while the hidden list is refilled
    // they are taken off. Calls nest; the last resume puts them back.
    void SuspendSubclasses();
    void ResumeSubclasses();
    class SubclassesSuspended {
    public:
        explicit SubclassesSuspended(AssociationListView& list) : list_(list) { list_.SuspendSubclasses(); }
        ~SubclassesSuspended() { list_.ResumeSubclasses(); }
        SubclassesSuspended(const SubclassesSuspended&) = delete;
        SubclassesSuspended& operator=(const SubclassesSuspended&) = delete;

    private:
        AssociationListView& list_;
    };

private:
    void SetSubclasses(bool attached);
    static LRESULT CALLBACK ListSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR self);
    static LRESULT CALLBACK HeaderSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                           DWORD_PTR self);

    std::unordered_map<std::string, int> creatorImages_;
    std::function<void(WORD)> keyUp_;
    std::function<void(HWND)> headerCursor_;
    int subclassesSuspended_ = 0;
};
