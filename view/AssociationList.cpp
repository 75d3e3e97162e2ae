#include "app/MainForm.h"

#include "dialogs/CreatorChooser.h"
#include "model/AssociationCatalog.h"
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
    ScopedIcon icon(ExtractIconFromFile(creator.IconFile, creator.IconNumber == -1 ? 0 : creator.IconNumber));
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
    const int row = SelectedRow(ListView1);
    if (row < 0)
        return;
    SetWindowTextA(GroupBox1, (std::string("拡張子 ") + RowText(ListView1, row, 0) + " について").c_str());
    DetailIcon.Reset(ImageList_GetIcon(ImageList1, RowImage(ListView1, row), ILD_NORMAL));
    SendMessageA(Image1, STM_SETICON, reinterpret_cast<WPARAM>(DetailIcon.Get()), 0);
    SetWindowTextA(Label2, RowText(ListView1, row, kCreatorColumn).c_str());
    SetWindowTextA(Label3, RowText(ListView1, row, kKindColumn).c_str());
    RECT bounds{};
    GetClientRect(Label4, &bounds);
    const std::string program = ShortenPath(RowText(ListView1, row, kProgramColumn), bounds.right - bounds.left,
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
    // No message is dispatched while the rows are rewritten.
    ListSubclassesSuspended direct(*this);
    const int count = RowCount(ListView1);
    for (int row = 0; row < count; ++row) {
        const ExtensionEntry& extension = FindOrAdd(catalog.ExtensionMap, RowText(ListView1, row, 0));
        if (extension.State == esModified || extension.State == esAdded) {
            SetRowText(ListView1, row, kContentTypeColumn, extension.ContentType);
            SetRowText(ListView1, row, kCreatorColumn, extension.Creator);
        }
        if (extension.State == esDeleted) {
            SetRowText(ListView1, row, kContentTypeColumn, "");
            SetRowText(ListView1, row, kCreatorColumn, "");
            SetRowImage(ListView1, row, DeletedIconIndex);
        }
        if (!extension.Creator.empty()) {
            const CreatorEntry& creator = FindOrAdd(catalog.CreatorMap, extension.Creator);
            const bool creatorChanged = creator.State == esModified || creator.State == esAdded;
            if (extension.State != esUnchanged || creatorChanged) {
                SetRowText(ListView1, row, kKindColumn, creator.Kind);
                SetRowText(ListView1, row, kIconColumn, creator.IconSource);
                SetRowText(ListView1, row, kProgramColumn, creator.Command);
                SetRowImage(ListView1, row, creator.ImageIndex);
            }
            if (creator.State == esDeleted) {
                for (int column : {kKindColumn, kIconColumn, kProgramColumn})
                    SetRowText(ListView1, row, column, "");
                SetRowImage(ListView1, row, DeletedIconIndex);
            }
        } else {
            for (int column : {kKindColumn, kIconColumn, kProgramColumn})
                SetRowText(ListView1, row, column, "");
            if (RowImage(ListView1, row) != DeletedIconIndex)
                SetRowImage(ListView1, row, DefaultIconIndex);
        }
    }
}

void TForm1::FillCreatorChooser()
{
    AssociationCatalog& catalog = Catalog();
    ChooserRows.clear();
    // No message is dispatched while the rows are read.
    ListSubclassesSuspended direct(*this);
    const int count = RowCount(ListView1);
    ChooserRows.reserve(static_cast<size_t>(count));
    for (int row = 0; row < count; ++row) {
        const ExtensionEntry& extension = FindOrAdd(catalog.ExtensionMap, RowText(ListView1, row, 0));
        if (!extension.Creator.empty())
            ChooserRows.push_back(ReadRow(ListView1, row));
    }
    if (Form7)
        Form7->ShowRows(&ChooserRows, ImageList1, ImageList2);
}
