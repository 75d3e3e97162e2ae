#include "app/MainForm.h"

#include <array>

#include "dialogs/CreatorChooser.h"
#include "model/AssociationCatalog.h"
#include "model/TextConversion.h"
#include "view/ListControl.h"
#include "view/PathShortening.h"
#include "view/ShellServices.h"

namespace {

struct ListColumn {
    const char* caption;
    int width; // design width; the settings file gives the one in force
};

constexpr ListColumn kColumns[kListColumnCount] = {
    {"拡張子", 80},     {"内容の種類 (MIME)", 100}, {"ｸﾘｴｰﾀｰ", 100},
    {"ﾌｧｲﾙの種類", 100}, {"ｱｲｺﾝﾌｧｲﾙ&No.", 100},    {"実行ﾌﾟﾛｸﾞﾗﾑ", 100},
};

constexpr const char* kGroupCaption = "拡張子";

// Sub-items as numbered in rows: column 1 is sub-item 0.
constexpr int kContentTypeColumn = 1, kCreatorColumn = 2, kKindColumn = 3, kIconColumn = 4, kProgramColumn = 5;

int TextWidth(HWND control, const std::string& text)
{
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return size.cx;
}

} // namespace

void TForm1::CreateListColumns()
{
    for (int index = 0; index < kListColumnCount; ++index) {
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = const_cast<char*>(kColumns[index].caption);
        column.cx = kColumns[index].width;
        column.iSubItem = index;
        SendMessageA(ListView1, LVM_INSERTCOLUMNA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
    }
}

void TForm1::ResetImageLists()
{
    ImageList_RemoveAll(ImageList1);
    ImageList_RemoveAll(ImageList2);
    // Every row relies on positions 0 and 1, so position 0 gets a stand-in
    // should the shell library give no icon.
    ScopedIcon shellIcon(ExtractIconFromFile(SystemShellLibraryPath(), 0));
    DefaultIconIndex = 0;
    AppendImage(shellIcon ? shellIcon.Get() : LoadIconA(nullptr, IDI_APPLICATION));
    DeletedIconIndex = AppendImage(Image3);
}

int TForm1::AppendImage(HICON icon)
{
    const int position = ImageList_AddIcon(ImageList1, icon);
    if (position < 0)
        return DefaultIconIndex;
    // A position that only one list holds would show another icon, or none,
    // in the other view styles.
    const int small = ImageList_AddIcon(ImageList2, icon);
    if (small == position)
        return position;
    if (small >= 0)
        ImageList_Remove(ImageList2, small);
    ImageList_Remove(ImageList1, position);
    return DefaultIconIndex;
}

int TForm1::LoadCreatorImage(const CreatorEntry& creator)
{
    if (creator.IconSource.empty())
        return DefaultIconIndex;
    ScopedIcon icon(ExtractIconFromFile(creator.IconFile, IconNumberToExtract(creator.IconNumber)));
    return icon ? AppendImage(icon.Get()) : DefaultIconIndex;
}

ListRow TForm1::RowOf(const std::string& key, const ExtensionEntry& extension)
{
    ListRow row;
    row.Caption = key;
    if (extension.Creator.empty()) {
        // The scan and the add write single spaces here; only the refresh
        // of a changed row writes empty cells.
        row.SubItems = {extension.ContentType, " ", " ", " ", " "};
        row.Image = DefaultIconIndex;
    } else {
        const CreatorEntry& creator = FindOrAdd(Catalog().CreatorMap, extension.Creator);
        row.SubItems = {extension.ContentType, extension.Creator, creator.Kind, creator.IconSource, creator.Command};
        row.Image = creator.ImageIndex;
    }
    return row;
}

void TForm1::ShowSelectedDetail()
{
    const int selected = SelectedRow(ListView1);
    if (selected < 0 || static_cast<size_t>(selected) >= Rows.size())
        return;
    const ListRow& row = Rows[static_cast<size_t>(selected)];
    SetWindowTextA(GroupBox1, (std::string("拡張子 ") + row.Caption + " について").c_str());
    DetailIcon.Reset(ImageList_GetIcon(ImageList1, row.Image, ILD_NORMAL));
    SendMessageA(Image1, STM_SETICON, reinterpret_cast<WPARAM>(DetailIcon.Get()), 0);
    SetWindowTextA(Label2, row.Column(kCreatorColumn).c_str());
    SetWindowTextA(Label3, row.Column(kKindColumn).c_str());
    RECT bounds{};
    GetClientRect(Label4, &bounds);
    const std::string program = ShortenPath(row.Column(kProgramColumn), bounds.right - bounds.left,
                                            [this](const std::string& text) { return TextWidth(Label4, text); });
    SetWindowTextA(Label4, program.c_str());
}

void TForm1::ClearDetailPanel()
{
    SetWindowTextA(GroupBox1, kGroupCaption);
    SendMessageA(Image1, STM_SETICON, reinterpret_cast<WPARAM>(Image2), 0);
    DetailIcon.Reset();
    SetWindowTextA(Label2, "");
    SetWindowTextA(Label3, "");
    SetWindowTextA(Label4, "");
}

void TForm1::RefreshListItems()
{
    AssociationCatalog& catalog = Catalog();
    for (ListRow& row : Rows) {
        std::array<std::string, 5>& cells = row.SubItems;
        const ExtensionEntry& extension = FindOrAdd(catalog.ExtensionMap, row.Caption);
        if (extension.State == esModified || extension.State == esAdded) {
            cells[kContentTypeColumn - 1] = extension.ContentType;
            cells[kCreatorColumn - 1] = extension.Creator;
        }
        if (extension.State == esDeleted) {
            cells[kContentTypeColumn - 1].clear();
            cells[kCreatorColumn - 1].clear();
            row.Image = DeletedIconIndex;
        }
        if (!extension.Creator.empty()) {
            const CreatorEntry& creator = FindOrAdd(catalog.CreatorMap, extension.Creator);
            const bool creatorChanged = creator.State == esModified || creator.State == esAdded;
            if (extension.State != esUnchanged || creatorChanged) {
                cells[kKindColumn - 1] = creator.Kind;
                cells[kIconColumn - 1] = creator.IconSource;
                cells[kProgramColumn - 1] = creator.Command;
                row.Image = creator.ImageIndex;
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

void TForm1::FillCreatorChooser()
{
    AssociationCatalog& catalog = Catalog();
    ChooserRows.clear();
    for (const ListRow& row : Rows)
        if (!FindOrAdd(catalog.ExtensionMap, row.Caption).Creator.empty())
            ChooserRows.push_back(row);
    if (Form7)
        Form7->ShowRows(&ChooserRows, ImageList1, ImageList2);
}

void TForm1::RowsChanged()
{
    ListView_SetItemCountEx(ListView1, static_cast<int>(Rows.size()), LVSICF_NOSCROLL);
    InvalidateRect(ListView1, nullptr, FALSE);
}

void TForm1::ListView1GetDispInfo(NMLVDISPINFOA& info) const { FillDisplayInfo(Rows, info.item); }

// Typing a name selects the next row whose extension begins with it, as in
// any list; the list asks, as it holds no texts.
int TForm1::ListView1FindItem(const NMLVFINDITEMA& find, bool wide) const
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
