#include "view/AssociationListView.h"

#include <windowsx.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <numeric>
#include <utility>

#include "model/TextConversion.h"
#include "model/UserChoice.h"
#include "view/ListControl.h"
#include "view/OriginTexts.h"
#include "view/ShellServices.h"

namespace {

struct ListColumn {
    const char* caption;
    int width; // design width; the settings file gives the one in force
};

constexpr ListColumn kColumns[kListColumnCount] = {
    {"拡張子", 80},     {"内容の種類 (MIME)", 100}, {"ｸﾘｴｰﾀｰ", 100}, {"ﾌｧｲﾙの種類", 100},
    {"ｱｲｺﾝﾌｧｲﾙ&No.", 100}, {"実行ﾌﾟﾛｸﾞﾗﾑ", 100},  {"場所", 100},   {"ユーザーの選択", 100},
};

// Sub-items as numbered in rows: column 1 is sub-item 0.
constexpr int kContentTypeColumn = 1, kCreatorColumn = 2, kKindColumn = 3, kIconColumn = 4, kProgramColumn = 5,
              kOriginColumn = 6, kChoiceColumn = 7;

// The first column's title in the protocol view.
constexpr const char* kSchemeColumn = "プロトコル";

// The marker of a row whose user's choice overrides its creator.
constexpr COLORREF kChoiceDiffersColour = RGB(192, 0, 0);

ClassesOrigin Union(ClassesOrigin a, ClassesOrigin b)
{
    const auto bits = [](ClassesOrigin origin) {
        return (origin == ClassesOrigin::User || origin == ClassesOrigin::Both ? 1 : 0) |
               (origin == ClassesOrigin::Machine || origin == ClassesOrigin::Both ? 2 : 0);
    };
    constexpr ClassesOrigin kByBits[] = {ClassesOrigin::None, ClassesOrigin::User, ClassesOrigin::Machine,
                                         ClassesOrigin::Both};
    return kByBits[bits(a) | bits(b)];
}

// Where the row's extension and creator keys live, and whose choice opens
// the file: columns that follow the registry, not the edits.
void ShowLayers(ListRow& row, const ExtensionEntry& extension, const CreatorEntry* creator)
{
    row.SubItems[kOriginColumn - 1] = OriginText(Union(extension.Origin, creator ? creator->Origin : ClassesOrigin::None));
    row.SubItems[kChoiceColumn - 1] = extension.UserChoice;
    row.ChoiceDiffers = ChoiceDiffersFromCreator(extension.UserChoice, extension.Creator);
}

constexpr DWORD kViewStyles[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};

// Icons already taken from the shell, by expanded file and number: creators
// that share an icon share its image-list position.
using IconCache = std::map<std::pair<std::string, int>, int>;

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

bool AssociationListView::Create(HWND parent, int id, std::function<void(WORD)> keyUp,
                                 std::function<void(HWND)> headerCursor)
{
    keyUp_ = std::move(keyUp);
    headerCursor_ = std::move(headerCursor);
    // The list only borrows the image lists: the scan and the workflows
    // rebuild their contents.
    ImageList1.Reset(ImageList_Create(32, 32, ILC_COLOR32 | ILC_MASK, 16, 16));
    ImageList2.Reset(ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 16, 16));
    ListView1 = CreateWindowExA(
        WS_EX_CLIENTEDGE, WC_LISTVIEWA, "",
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHAREIMAGELISTS | LVS_AUTOARRANGE |
            LVS_OWNERDATA,
        0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
    if (!ImageList1 || !ImageList2 || !ListView1)
        return false;
    ListView_SetExtendedListViewStyle(ListView1, LVS_EX_FULLROWSELECT);
    ListView_SetBkColor(ListView1, RGB(255, 255, 255));
    ListView_SetTextBkColor(ListView1, RGB(255, 255, 255));
    ListView_SetImageList(ListView1, ImageList1.Get(), LVSIL_NORMAL);
    ListView_SetImageList(ListView1, ImageList2.Get(), LVSIL_SMALL);
    for (int index = 0; index < kListColumnCount; ++index) {
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = const_cast<char*>(kColumns[index].caption);
        column.cx = kColumns[index].width;
        column.iSubItem = index;
        SendMessageA(ListView1, LVM_INSERTCOLUMNA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
    }
    SetSubclasses(true);
    return true;
}

void AssociationListView::ResetImageLists(HICON deletedMarker)
{
    ImageList_RemoveAll(ImageList1.Get());
    ImageList_RemoveAll(ImageList2.Get());
    creatorImages_.clear();
    // Every row relies on positions 0 and 1, so position 0 gets a stand-in
    // should the shell library give no icon.
    ScopedIcon shellIcon(ExtractIconFromFile(SystemShellLibraryPath(), 0));
    DefaultIconIndex = 0;
    AppendImage(shellIcon ? shellIcon.Get() : LoadIconA(nullptr, IDI_APPLICATION));
    DeletedIconIndex = AppendImage(deletedMarker);
}

int AssociationListView::AppendImage(HICON icon)
{
    const int position = ImageList_AddIcon(ImageList1.Get(), icon);
    if (position < 0)
        return DefaultIconIndex;
    // A position that only one list holds would show another icon, or none,
    // in the other view styles.
    const int small = ImageList_AddIcon(ImageList2.Get(), icon);
    if (small == position)
        return position;
    if (small >= 0)
        ImageList_Remove(ImageList2.Get(), small);
    ImageList_Remove(ImageList1.Get(), position);
    return DefaultIconIndex;
}

int AssociationListView::LoadCreatorImage(const CreatorEntry& creator)
{
    if (creator.IconSource.empty())
        return DefaultIconIndex;
    ScopedIcon icon(ExtractIconFromFile(creator.IconFile, IconNumberToExtract(creator.IconNumber)));
    return icon ? AppendImage(icon.Get()) : DefaultIconIndex;
}

void AssociationListView::CreatorIconChanged(const CreatorEntry& creator)
{
    creatorImages_[creator.Name] = LoadCreatorImage(creator);
}

int AssociationListView::ImageOf(const std::string& creator) const
{
    const auto found = creatorImages_.find(creator);
    return found == creatorImages_.end() ? DefaultIconIndex : found->second;
}

void AssociationListView::LoadIcons(const AssociationCatalog& catalog, const RowProgress& progress)
{
    IconCache icons;
    creatorImages_.reserve(catalog.CreatorMap.size());
    const size_t count = catalog.CreatorMap.size();
    size_t index = 0;
    for (const auto& [name, creator] : catalog.CreatorMap) {
        progress(index++, count);
        if (creator.IconSource.empty())
            continue;
        const int number = IconNumberToExtract(creator.IconNumber);
        auto [cached, isNew] = icons.try_emplace({ExpandEnvironmentText(creator.IconFile), number}, DefaultIconIndex);
        if (isNew) {
            // The shell call expands the name itself; handing it the expanded
            // one would expand a second time.
            ScopedIcon icon(ExtractIconFromFile(creator.IconFile, number));
            if (icon)
                cached->second = AppendImage(icon.Get());
        }
        if (cached->second != DefaultIconIndex)
            creatorImages_.emplace(name, cached->second);
    }
}

void AssociationListView::FillRows(const AssociationCatalog& catalog, const RowProgress& progress)
{
    const size_t count = catalog.ExtensionMap.size();
    Rows.reserve(count);
    size_t index = 0;
    for (const auto& [key, extension] : catalog.ExtensionMap) {
        progress(index++, count);
        Rows.push_back(RowOf(catalog, key, extension));
    }
    RowsChanged();
}

void AssociationListView::Clear()
{
    Rows.clear();
    RowsChanged();
}

void AssociationListView::BeginRefill(HICON deletedMarker)
{
    ResetImageLists(deletedMarker);
    ShowWindow(ListView1, SW_HIDE);
    SendMessageA(ListView1, WM_SETREDRAW, FALSE, 0);
    SuspendSubclasses();
    Clear();
}

void AssociationListView::EndRefill()
{
    ResumeSubclasses();
    SendMessageA(ListView1, WM_SETREDRAW, TRUE, 0);
    ShowWindow(ListView1, SW_SHOW);
}

POINT AssociationListView::ContextMenuPoint(LPARAM position) const
{
    if (position != -1)
        return POINT{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    RECT rect{};
    const int focused = ListView_GetNextItem(ListView1, -1, LVNI_FOCUSED);
    if (focused < 0 || !ListView_GetItemRect(ListView1, focused, &rect, LVIR_LABEL))
        rect = RECT{};
    POINT point{rect.left, rect.bottom};
    ClientToScreen(ListView1, &point);
    return point;
}

ListRow AssociationListView::RowOf(const AssociationCatalog& catalog, const std::string& key,
                                   const ExtensionEntry& extension) const
{
    ListRow row;
    row.Caption = key;
    const CreatorEntry* creator = extension.Creator.empty() ? nullptr : Find(catalog.CreatorMap, extension.Creator);
    if (extension.Creator.empty()) {
        // The scan and the add write single spaces here; only the refresh
        // of a changed row writes empty cells.
        row.SubItems = {extension.ContentType, " ", " ", " ", " "};
        row.Image = DefaultIconIndex;
    } else if (creator) {
        row.SubItems = {extension.ContentType, extension.Creator, creator->Kind, creator->IconSource, creator->Command};
        row.Image = ImageOf(extension.Creator);
    } else {
        row.SubItems = {extension.ContentType, extension.Creator, "", "", ""};
        row.Image = DefaultIconIndex;
    }
    ShowLayers(row, extension, creator);
    return row;
}

void AssociationListView::FillSchemeRows(const AssociationCatalog& catalog)
{
    Rows.clear();
    Rows.reserve(catalog.SchemeMap.size());
    for (const auto& [key, scheme] : catalog.SchemeMap) {
        if (!scheme.IconSource.empty() && !creatorImages_.count(scheme.Name))
            creatorImages_.emplace(scheme.Name, LoadCreatorImage(scheme));
        ListRow& row = Rows.emplace_back();
        row.Caption = key;
        row.SubItems = {"", "", scheme.Kind, scheme.IconSource, scheme.Command, OriginText(scheme.Origin),
                        scheme.UserChoice};
        row.Image = scheme.State == esDeleted ? DeletedIconIndex : ImageOf(scheme.Name);
        // What opens the scheme is then the chosen type, not its own command.
        row.ChoiceDiffers = ChoiceDiffersFromCreator(scheme.UserChoice, scheme.Name);
    }
    RowsChanged();
}

void AssociationListView::FillExtensionRows(const AssociationCatalog& catalog)
{
    Rows.clear();
    FillRows(catalog, [](size_t, size_t) {});
    RefreshListItems(catalog);
}

void AssociationListView::ShowSchemeColumns(bool schemes)
{
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT;
    column.pszText = const_cast<char*>(schemes ? kSchemeColumn : kColumns[0].caption);
    SendMessageA(ListView1, LVM_SETCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    // The selection belongs to rows that are about to go.
    ListView_SetItemState(ListView1, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
}

void AssociationListView::AddRow(const AssociationCatalog& catalog, const std::string& key)
{
    const ExtensionEntry* extension = Find(catalog.ExtensionMap, key);
    if (!extension)
        return;
    // One new row, then the whole list in extension order, whatever the
    // user sorted by last.
    Rows.push_back(RowOf(catalog, key, *extension));
    RowsChanged();
    SortByExtension();
}

void AssociationListView::RefreshListItems(const AssociationCatalog& catalog)
{
    for (ListRow& row : Rows) {
        auto& cells = row.SubItems;
        const ExtensionEntry* extension = Find(catalog.ExtensionMap, row.Caption);
        if (!extension)
            continue;
        ShowLayers(row, *extension,
                   extension->Creator.empty() ? nullptr : Find(catalog.CreatorMap, extension->Creator));
        if (extension->State == esModified || extension->State == esAdded) {
            cells[kContentTypeColumn - 1] = extension->ContentType;
            cells[kCreatorColumn - 1] = extension->Creator;
        }
        if (extension->State == esDeleted) {
            cells[kContentTypeColumn - 1].clear();
            cells[kCreatorColumn - 1].clear();
            row.Image = DeletedIconIndex;
        }
        if (!extension->Creator.empty()) {
            // A creator the catalog does not hold shows as an empty one.
            static const CreatorEntry kNoCreator;
            const CreatorEntry* found = Find(catalog.CreatorMap, extension->Creator);
            const CreatorEntry& creator = found ? *found : kNoCreator;
            const bool creatorChanged = creator.State == esModified || creator.State == esAdded;
            if (extension->State != esUnchanged || creatorChanged) {
                cells[kKindColumn - 1] = creator.Kind;
                cells[kIconColumn - 1] = creator.IconSource;
                cells[kProgramColumn - 1] = creator.Command;
                row.Image = ImageOf(extension->Creator);
            }
            if (creator.State == esDeleted) {
                for (int column : {kKindColumn, kIconColumn, kProgramColumn})
                    cells[column - 1].clear();
                row.Image = DeletedIconIndex;
            }
        } else {
            for (int column : {kKindColumn, kIconColumn, kProgramColumn})
                cells[column - 1].clear();
            if (row.Image != DeletedIconIndex)
                row.Image = DefaultIconIndex;
        }
    }
    InvalidateRect(ListView1, nullptr, FALSE);
}

void AssociationListView::FillChooserRows(const AssociationCatalog& catalog)
{
    ChooserRows.clear();
    for (const ListRow& row : Rows) {
        const ExtensionEntry* extension = Find(catalog.ExtensionMap, row.Caption);
        if (extension && !extension->Creator.empty())
            ChooserRows.push_back(row);
    }
}

void AssociationListView::RowsChanged()
{
    ListView_SetItemCountEx(ListView1, static_cast<int>(Rows.size()), LVSICF_NOSCROLL);
    InvalidateRect(ListView1, nullptr, FALSE);
}

void AssociationListView::SortByColumn(int column)
{
    if (column < 0 || column >= kListColumnCount)
        return;
    SortDirection[column] = -SortDirection[column];
    SortRows(ListView1, Rows, column, SortDirection[column]);
}

void AssociationListView::SortByExtension() { SortRows(ListView1, Rows, 0, 1); }

const ListRow* AssociationListView::Selected() const
{
    const int row = SelectedRow(ListView1);
    return row >= 0 && static_cast<size_t>(row) < Rows.size() ? &Rows[static_cast<size_t>(row)] : nullptr;
}

void AssociationListView::SetViewStyle(int style)
{
    // The list knows only four styles; anything else shows large icons.
    if (style < 0 || style >= static_cast<int>(std::size(kViewStyles)))
        style = 0;
    const LONG_PTR bits = GetWindowLongPtrA(ListView1, GWL_STYLE);
    SetWindowLongPtrA(ListView1, GWL_STYLE, (bits & ~static_cast<LONG_PTR>(LVS_TYPEMASK)) | kViewStyles[style]);
    InvalidateRect(ListView1, nullptr, TRUE);
}

int AssociationListView::ViewStyle() const
{
    const DWORD type = static_cast<DWORD>(GetWindowLongPtrA(ListView1, GWL_STYLE)) & LVS_TYPEMASK;
    for (size_t i = 0; i < std::size(kViewStyles); ++i)
        if (kViewStyles[i] == type)
            return static_cast<int>(i);
    return 0;
}

int AssociationListView::ColumnWidth(int column) const
{
    LVCOLUMNA info{};
    info.mask = LVCF_WIDTH;
    return SendMessageA(ListView1, LVM_GETCOLUMNA, column, reinterpret_cast<LPARAM>(&info)) ? info.cx : 0;
}

// Through the column itself, which the list keeps in every view style; the
// plain width message is refused outside the report view.
void AssociationListView::SetColumnWidth(int column, int width)
{
    LVCOLUMNA info{};
    info.mask = LVCF_WIDTH;
    info.cx = width;
    SendMessageA(ListView1, LVM_SETCOLUMNA, column, reinterpret_cast<LPARAM>(&info));
}

LRESULT AssociationListView::CustomDraw(NMLVCUSTOMDRAW& draw) const
{
    switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: {
        const size_t row = draw.nmcd.dwItemSpec;
        if (row < Rows.size() && Rows[row].ChoiceDiffers)
            draw.clrText = kChoiceDiffersColour;
        return CDRF_DODEFAULT;
    }
    }
    return CDRF_DODEFAULT;
}

void AssociationListView::GetDispInfo(NMLVDISPINFOA& info) const { FillDisplayInfo(Rows, info.item); }

int AssociationListView::FindItem(const NMLVFINDITEMA& find, bool wide) const
{
    const LVFINDINFOA& wanted = find.lvfi;
    if (!(wanted.flags & (LVFI_STRING | LVFI_PARTIAL)) || !wanted.psz || Rows.empty())
        return -1;
    const std::string text =
        wide ? NarrowText(reinterpret_cast<const wchar_t*>(wanted.psz)) : std::string(wanted.psz);
    const size_t count = Rows.size();
    const size_t start = find.iStart >= 0 && static_cast<size_t>(find.iStart) < count ? find.iStart : 0;
    for (size_t step = 0; step < count; ++step) {
        const size_t at = (start + step) % count;
        if (at < start && !(wanted.flags & LVFI_WRAP))
            break;
        const std::string& caption = Rows[at].Caption;
        const std::string compared = (wanted.flags & LVFI_PARTIAL) ? caption.substr(0, text.size()) : caption;
        if (lstrcmpiA(compared.c_str(), text.c_str()) == 0)
            return static_cast<int>(at);
    }
    return -1;
}

// The list's key releases reach the window through a subclass. The column
// header sets its own cursor without asking its parents, so the hint has to
// be told about the mouse there directly, through one more.
void AssociationListView::SetSubclasses(bool attached)
{
    HWND header = ListView_GetHeader(ListView1);
    if (attached) {
        SetWindowSubclass(ListView1, ListSubclass, 0, reinterpret_cast<DWORD_PTR>(this));
        if (header)
            SetWindowSubclass(header, HeaderSubclass, 0, reinterpret_cast<DWORD_PTR>(this));
    } else {
        RemoveWindowSubclass(ListView1, ListSubclass, 0);
        if (header)
            RemoveWindowSubclass(header, HeaderSubclass, 0);
    }
}

void AssociationListView::SuspendSubclasses()
{
    if (subclassesSuspended_++ == 0 && ListView1)
        SetSubclasses(false);
}

void AssociationListView::ResumeSubclasses()
{
    if (--subclassesSuspended_ == 0 && ListView1)
        SetSubclasses(true);
}

LRESULT CALLBACK AssociationListView::ListSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                                   UINT_PTR id, DWORD_PTR self)
{
    switch (message) {
    case WM_KEYUP:
        if (const auto& keyUp = reinterpret_cast<AssociationListView*>(self)->keyUp_)
            keyUp(static_cast<WORD>(wParam));
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(window, ListSubclass, id);
        reinterpret_cast<AssociationListView*>(self)->ListView1 = nullptr;
        break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

LRESULT CALLBACK AssociationListView::HeaderSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                                     UINT_PTR id, DWORD_PTR self)
{
    switch (message) {
    case WM_SETCURSOR:
        if (const auto& cursor = reinterpret_cast<AssociationListView*>(self)->headerCursor_)
            cursor(window);
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(window, HeaderSubclass, id);
        break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}
