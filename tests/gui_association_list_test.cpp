#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "app/MainForm.h"
#include "ui/resource.h"
#include "model/AssociationCatalog.h"
#include "tests/support/MessageBoxHook.h"
#include "tests/support/ScratchRegistry.h"
#include "view/ListControl.h"
#include "view/ProgressForm.h"
#include "view/ShellServices.h"

namespace {

std::vector<std::string> Column(HWND list, int column)
{
    std::vector<std::string> texts;
    for (int row = 0; row < RowCount(list); ++row)
        texts.push_back(RowText(list, row, column));
    return texts;
}

int FindRow(HWND list, const std::string& caption)
{
    for (int row = 0; row < RowCount(list); ++row)
        if (RowText(list, row, 0) == caption)
            return row;
    return -1;
}

void Select(HWND list, int row)
{
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
    ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

std::string Text(HWND window)
{
    char buffer[1024] = {};
    GetWindowTextA(window, buffer, sizeof buffer);
    return buffer;
}

} // namespace

// The main window over a seeded scratch registry, as start-up builds it.
class AssociationListTest : public RegistryTest {
protected:
    void SetUp() override
    {
        SetText(".TXT", "", "txtfile");
        SetText(".TXT", "Content Type", "text/plain");
        SetText(".log", "", "txtfile");
        SetText(".b", "", "bfile");
        SetText(".a", "Content Type", "application/x-a");
        SetText(".ab", "", "Abfile");
        SetText(".none", "", "missing.type");
        SetText("txtfile", "", "テキスト文書");
        SetText("txtfile\\DefaultIcon", "", "%SystemRoot%\\system32\\shell32.dll,-1", REG_EXPAND_SZ);
        SetText("txtfile\\shell\\open\\command", "", "C:\\Windows\\System32\\notepad.exe \"%1\"");
        SetText("bfile", "", "B file");
        SetText("bfile\\DefaultIcon", "", "C:\\no\\such\\file.dll,3");
        SetText("Abfile", "", "AB file");
        SetText("Abfile\\DefaultIcon", "", "shell32.dll,4");
        SetText("NotAnExtension", "", "never listed");
    }

    void Open()
    {
        ASSERT_TRUE(form.Create());
        ASSERT_TRUE(progress.Create(form.Handle()));
        form.Form3 = &progress;
        form.Editor().Modified = false;
        form.ReloadFromRegistry(false);
        SetWindowPos(form.Handle(), nullptr, 0, 0, 900, 500, SWP_NOZORDER | SWP_NOMOVE);
        form.SetViewStyle(3);
        ShowWindow(form.Handle(), SW_SHOW);
        PumpMessages();
    }

    MessageBoxHook hook;
    TForm1 form;
    TForm3 progress;
};

TEST_F(AssociationListTest, ScanListsEveryExtensionInCatalogOrder)
{
    Open();
    HWND list = form.List().ListView1;
    EXPECT_EQ(Column(list, 0), (std::vector<std::string>{".a", ".ab", ".b", ".log", ".none", ".txt"}));
    EXPECT_TRUE(IsWindowVisible(list));
    EXPECT_FALSE(IsWindowVisible(progress.Handle()));
    EXPECT_TRUE(hook.Records().empty()) << "the first load asks nothing";

    const ListRow a = ReadRow(list, FindRow(list, ".a"));
    EXPECT_EQ(a.SubItems, (std::array<std::string, 7>{"application/x-a", " ", " ", " ", " ", "コンピューター", ""}))
        << "an extension without creator shows single spaces";
    EXPECT_EQ(a.Image, form.List().DefaultIconIndex);

    const ListRow txt = ReadRow(list, FindRow(list, ".txt"));
    EXPECT_EQ(txt.SubItems, (std::array<std::string, 7>{"text/plain", "txtfile", "テキスト文書",
                                                         "%SystemRoot%\\system32\\shell32.dll,-1",
                                                         "C:\\Windows\\System32\\notepad.exe \"%1\"", "コンピューター", ""}));
    EXPECT_GT(txt.Image, form.List().DeletedIconIndex) << "icon -1 of an expandable path shows the file's first icon";
    EXPECT_EQ(ReadRow(list, FindRow(list, ".log")).Image, txt.Image) << "one creator, one icon";
    EXPECT_EQ(ReadRow(list, FindRow(list, ".b")).Image, form.List().DefaultIconIndex) << "a missing icon file";
    EXPECT_GT(ReadRow(list, FindRow(list, ".ab")).Image, form.List().DeletedIconIndex);
    const ListRow none = ReadRow(list, FindRow(list, ".none"));
    EXPECT_EQ(none.SubItems[1], "missing.type");
    EXPECT_EQ(none.SubItems[2], "") << "a creator key that does not exist has no kind";
    EXPECT_EQ(none.Image, form.List().DefaultIconIndex);

    const CreatorEntry* shared = Find(form.Editor().Catalog.CreatorMap, std::string("txtfile"));
    ASSERT_NE(shared, nullptr);
    EXPECT_EQ(shared->ExtensionText, ".log .txt ");
    EXPECT_EQ(Find(form.Editor().Catalog.CreatorMap, std::string("NotAnExtension")), nullptr);
    EXPECT_EQ(ImageList_GetImageCount(form.List().ImageList1.Get()), ImageList_GetImageCount(form.List().ImageList2.Get()));
    EXPECT_EQ(form.List().ChooserRows.size(), 5u) << "the chooser offers the rows that have a creator";
}

TEST_F(AssociationListTest, ReloadWithPendingChangesAsksFirst)
{
    Open();
    SetText(".new", "", "txtfile");
    form.Editor().Modified = true;

    hook.Answer(IDNO);
    SendMessageA(form.Handle(), WM_COMMAND, IDM_RELOAD, 0);
    ASSERT_EQ(hook.Records().size(), 1u);
    EXPECT_EQ(hook.Records()[0].caption, "確認");
    EXPECT_EQ(hook.Records()[0].text, "変更した情報があります。\n変更した情報を破棄してレジストリーを読み込みますか。");
    EXPECT_EQ(hook.Records()[0].buttons, static_cast<UINT>(MB_YESNO));
    EXPECT_EQ(hook.Records()[0].icon, static_cast<UINT>(MB_ICONQUESTION));
    EXPECT_TRUE(form.Editor().Modified) << "No keeps the changes";
    EXPECT_EQ(FindRow(form.List().ListView1, ".new"), -1);

    hook.Answer(IDYES);
    SendMessageA(form.Handle(), WM_COMMAND, IDM_RELOAD, 0);
    EXPECT_EQ(hook.Records().size(), 2u);
    EXPECT_FALSE(form.Editor().Modified);
    EXPECT_NE(FindRow(form.List().ListView1, ".new"), -1);
}

TEST_F(AssociationListTest, SortingAlternatesPerColumnAndMenuSharesTheHeaderDirection)
{
    Open();
    HWND list = form.List().ListView1;
    auto clickHeader = [&](int column) {
        NMLISTVIEW click{};
        click.hdr.hwndFrom = list;
        click.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(list));
        click.hdr.code = LVN_COLUMNCLICK;
        click.iSubItem = column;
        SendMessageA(form.Handle(), WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
    };
    const std::vector<std::string> ascending{".a", ".ab", ".b", ".log", ".none", ".txt"};
    const std::vector<std::string> descending(ascending.rbegin(), ascending.rend());

    clickHeader(0);
    EXPECT_EQ(Column(list, 0), ascending) << "the first request sorts ascending";
    clickHeader(0);
    EXPECT_EQ(Column(list, 0), descending);
    SendMessageA(form.Handle(), WM_COMMAND, IDM_SORT_EXTENSION, 0);
    EXPECT_EQ(Column(list, 0), ascending) << "the menu continues the header's direction";

    auto sortedBy = [&](int column) {
        const std::vector<std::string> texts = Column(list, column);
        return std::is_sorted(texts.begin(), texts.end(), [](const std::string& x, const std::string& y) {
            return lstrcmpA(x.c_str(), y.c_str()) < 0;
        });
    };
    SendMessageA(form.Handle(), WM_COMMAND, IDM_SORT_KIND, 0);
    EXPECT_TRUE(sortedBy(3));
    clickHeader(4);
    EXPECT_TRUE(sortedBy(4)) << "icon sources sort by their header";

    SendMessageA(form.Handle(), WM_COMMAND, IDM_RELOAD, 0);
    EXPECT_EQ(Column(list, 0), ascending) << "a reload shows catalog order";
    SendMessageA(form.Handle(), WM_COMMAND, IDM_SORT_EXTENSION, 0);
    EXPECT_EQ(Column(list, 0), descending) << "and the next request continues the column's direction";
}

TEST_F(AssociationListTest, DetailPanelShowsTheSelectedRow)
{
    SetText("txtfile\\shell\\open\\command", "",
            "C:\\Program Files\\Very Long Folder Name For Tools\\Another Long Folder\\editor.exe \"%1\"");
    Open();
    // Narrow enough that the program line cannot fit its label.
    SetWindowPos(form.Handle(), nullptr, 0, 0, 500, 400, SWP_NOZORDER | SWP_NOMOVE);
    HWND list = form.List().ListView1;
    EXPECT_EQ(Text(form.Detail().GroupBox1), "拡張子");
    EXPECT_EQ(Text(form.Detail().Label2), "");

    form.ShowSelectedDetail();
    EXPECT_EQ(Text(form.Detail().GroupBox1), "拡張子") << "nothing selected, nothing shown";

    Select(list, FindRow(list, ".txt"));
    form.ShowSelectedDetail();
    EXPECT_EQ(Text(form.Detail().GroupBox1), "拡張子 .txt について");
    EXPECT_EQ(Text(form.Detail().Label2), "txtfile");
    EXPECT_EQ(Text(form.Detail().Label3), "テキスト文書");
    const std::string program = Text(form.Detail().Label4);
    EXPECT_EQ(program.substr(0, 7), "C:\\...\\") << program;
    EXPECT_NE(program.find("editor.exe \"%1\""), std::string::npos) << program;

    // The panel keeps the last row when the selection moves without a click.
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
    form.ShowSelectedDetail();
    EXPECT_EQ(Text(form.Detail().GroupBox1), "拡張子 .txt について");
}

TEST_F(AssociationListTest, RefreshShowsMarksOfTheCatalog)
{
    Open();
    HWND list = form.List().ListView1;
    AssociationCatalog& catalog = form.Editor().Catalog;

    CreatorEntry& creator = FindOrAdd(catalog.CreatorMap, std::string("txtfile"));
    creator.Kind = "変更した種類";
    creator.Command = "new.exe";
    creator.State = esModified;
    ExtensionEntry& b = FindOrAdd(catalog.ExtensionMap, std::string(".b"));
    b.Creator.clear();
    b.ContentType.clear();
    b.State = esDeleted;
    ExtensionEntry& a = FindOrAdd(catalog.ExtensionMap, std::string(".a"));
    a.ContentType = "text/a";
    a.State = esModified;
    form.List().RefreshListItems(form.Editor().Catalog);

    const ListRow log = ReadRow(list, FindRow(list, ".log"));
    EXPECT_EQ(log.SubItems[2], "変更した種類") << "an unchanged extension shows its modified creator";
    EXPECT_EQ(log.SubItems[4], "new.exe");
    const ListRow deleted = ReadRow(list, FindRow(list, ".b"));
    EXPECT_EQ(deleted.Image, form.List().DeletedIconIndex);
    EXPECT_EQ(deleted.SubItems, (std::array<std::string, 7>{"", "", "", "", "", "コンピューター", ""}));
    const ListRow changed = ReadRow(list, FindRow(list, ".a"));
    EXPECT_EQ(changed.SubItems[0], "text/a");
    EXPECT_EQ(changed.Image, form.List().DefaultIconIndex);

    form.List().RefreshListItems(form.Editor().Catalog);
    EXPECT_EQ(ReadRow(list, FindRow(list, ".b")).Image, form.List().DeletedIconIndex) << "the marker stays";
}
