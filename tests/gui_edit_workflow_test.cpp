// The edit workflow through the real windows: the commands that open the
// edit dialog, its buttons, the creator chooser and the icon list, and what
// the list, the detail panel and the registry show afterwards. The rules
// themselves are tested on the catalog alone.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "app/AboutForm.h"
#include "app/Application.h"
#include "app/MainForm.h"
#include "app/resource.h"
#include "dialogs/AssociationForm.h"
#include "dialogs/CreatorChooser.h"
#include "model/AssociationCatalog.h"
#include "tests/support/DataFoldersOverride.h"
#include "tests/support/GuiDriver.h"
#include "tests/support/MessageBoxHook.h"
#include "tests/support/PlatformTools.h"
#include "tests/support/ScratchRegistry.h"
#include "view/ListControl.h"
#include "view/ProgressForm.h"

namespace {
int FindRow(HWND list, const std::string& caption)
{
    for (int row = 0; row < RowCount(list); ++row)
        if (RowText(list, row, 0) == caption)
            return row;
    return -1;
}

bool Checked(HWND button) { return SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }
bool ReadOnly(HWND edit) { return (GetWindowLongA(edit, GWL_STYLE) & ES_READONLY) != 0; }
HICON ShownIcon(HWND picture) { return reinterpret_cast<HICON>(SendMessageA(picture, STM_GETICON, 0, 0)); }
} // namespace

// The program's windows, connected as start-up connects them, over a
// scratch registry whose creators have icons other than the default one.
class EditWorkflowTest : public RegistryTest {
protected:
    void SetUp() override
    {
        SetText(".txt", "", "txtfile");
        SetText(".txt", "Content Type", "text/plain");
        SetText(".log", "", "txtfile");
        SetText(".htm", "", "htmlfile");
        SetText(".xyz", "Content Type", "application/x-xyz");
        SetText("txtfile", "", "テキスト文書");
        SetText("txtfile\\DefaultIcon", "", "shell32.dll,3");
        SetText("txtfile\\shell\\open\\command", "", "notepad.exe %1");
        SetText("htmlfile", "", "HTML 文書");
        SetText("htmlfile\\DefaultIcon", "", "shell32.dll,4");
        SetText("htmlfile\\shell\\open\\ddeexec", "", "\"file:%1\"");
        SetText("htmlfile\\shell\\open\\ddeexec\\topic", "", "WWW_OpenURL");
        ASSERT_TRUE(form1.Create());
        ASSERT_TRUE(form3.Create(form1.Handle()) && form5.Create(form1.Handle()) && form6.Create(form1.Handle()) &&
                    form7.Create(form1.Handle()) && form10.Create(form1.Handle()) && form11.Create(form1.Handle()));
        form1.Form3 = &form3;
        ConnectForms(form1, form5, form6, form7, form10, form11);
        form1.ReloadFromRegistry(false);
        form1.SetViewStyle(3);
        SetWindowPos(form1.Handle(), nullptr, 0, 0, 900, 500, SWP_NOZORDER | SWP_NOMOVE);
        ShowWindow(form1.Handle(), SW_SHOW);
        PumpMessages();
    }
    void TearDown() override { form1.Modified = false; }

    int Row(const std::string& caption) { return FindRow(form1.ListView1, caption); }
    ListRow ReadRowOf(const std::string& caption) { return ReadRow(form1.ListView1, Row(caption)); }
    void SelectRow(const std::string& caption)
    {
        SetFocus(form1.ListView1);
        ClickListRow(form1.ListView1, Row(caption));
    }
    void Press(HWND button) { SendMessageA(button, BM_CLICK, 0, 0); }

    MessageBoxHook hook;
    TForm1 form1;
    TForm3 form3;
    TForm5 form5;
    TForm6 form6;
    TForm7 form7;
    TForm10 form10;
    TForm11 form11;
};

TEST_F(EditWorkflowTest, DoubleClickOpensTheEditorAndOkRewritesEveryRowOfTheCreator)
{
    SelectRow(".txt");
    struct Seen {
        std::string caption, ok, cancel, extension, creator, extensions;
        bool firstPage = false, focusOnCancel = false, extensionReadOnly = false, ddeGroupEnabled = true;
        int icons = 0;
    } seen;
    ModalSteps steps;
    steps.Then([&] {
        seen.caption = WindowText(form5.Handle());
        seen.ok = WindowText(form5.Button2);
        seen.cancel = WindowText(form5.Button3);
        seen.firstPage = IsWindowVisible(form5.TabSheets[0]) && !IsWindowVisible(form5.TabSheets[2]);
        seen.focusOnCancel = GetFocus() == form5.Button3;
        seen.extension = WindowText(form5.Edit10);
        seen.extensionReadOnly = ReadOnly(form5.Edit10);
        seen.creator = WindowText(form5.Edit9);
        seen.extensions = WindowText(form5.Label12);
        seen.ddeGroupEnabled = IsWindowEnabled(form5.Edit7);
        seen.icons = ListView_GetItemCount(form5.ListView1);
        SetWindowTextA(form5.Edit2, "text/x-edited");
        SetWindowTextA(form5.Edit3, "編集した種類");
        SetWindowTextA(form5.Edit4, "\"C:\\Tools\\editor.exe\" \"%1\"");
    }).Then([&] { Press(form5.Button2); });
    steps.Start();
    DoubleClickListRow(form1.ListView1, Row(".txt"));
    ASSERT_TRUE(steps.Done());

    EXPECT_EQ(seen.caption, "関連付けの編集");
    EXPECT_EQ(seen.ok, "変更する");
    EXPECT_EQ(seen.cancel, "変更しない");
    EXPECT_TRUE(seen.firstPage);
    EXPECT_TRUE(seen.focusOnCancel);
    EXPECT_EQ(seen.extension, ".txt");
    EXPECT_TRUE(seen.extensionReadOnly);
    EXPECT_EQ(seen.creator, "txtfile");
    EXPECT_EQ(seen.extensions, ".log .txt ");
    EXPECT_FALSE(seen.ddeGroupEnabled);
    EXPECT_GT(seen.icons, 4) << "the icons of shell32.dll";

    EXPECT_TRUE(form1.Modified);
    EXPECT_EQ(ReadRowOf(".txt").SubItems[0], "text/x-edited");
    EXPECT_EQ(ReadRowOf(".log").SubItems[2], "編集した種類") << "the shared creator shows on every row";
    EXPECT_EQ(ReadRowOf(".log").SubItems[4], "\"C:\\Tools\\editor.exe\" \"%1\"");
    EXPECT_EQ(WindowText(form1.GroupBox1), "拡張子 .txt について");
    EXPECT_EQ(WindowText(form1.Label3), "編集した種類");
    EXPECT_EQ(GetValue(".txt", "Content Type").Text(), "text/plain") << "nothing reaches the registry yet";
    EXPECT_EQ(GetValue("txtfile", "").Text(), "テキスト文書");
}

TEST_F(EditWorkflowTest, EnterEscapeDetailIconAndCloseBoxLeaveEverythingAsItWas)
{
    SelectRow(".htm");
    const ListRow before = ReadRowOf(".htm");
    std::vector<bool> openedOnFirstPage;
    auto typeAndLeave = [&](std::function<void()> leave) {
        return [&, leave] {
            openedOnFirstPage.push_back(IsWindowVisible(form5.TabSheets[0]));
            SetWindowTextA(form5.Edit2, "text/x-typed");
            SendMessageA(form5.PageControl2, TCM_SETCURSEL, 2, 0);
            NMHDR change{form5.PageControl2, IDC_ASSOC_PAGECONTROL2, TCN_SELCHANGE};
            SendMessageA(form5.Handle(), WM_NOTIFY, change.idFrom, reinterpret_cast<LPARAM>(&change));
            leave();
        };
    };
    ModalSteps steps;
    steps.Then(typeAndLeave([&] { PostKey(form5.Edit7, VK_ESCAPE); }));
    steps.Start();
    PostKey(form1.ListView1, VK_RETURN);
    PumpMessages();
    while (!steps.Done())
        PumpMessages();
    PumpMessages();

    ModalSteps more;
    more.Then(typeAndLeave([&] { Press(form5.Button3); })).Then([] {});
    more.Then(typeAndLeave([&] { PostMessageA(form5.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); }));
    more.Start();
    SendMessageA(form1.GroupBox1, WM_COMMAND, MAKEWPARAM(IDC_FORM1_IMAGE1, STN_CLICKED),
                 reinterpret_cast<LPARAM>(form1.Image1));
    SendMessageA(form1.Handle(), WM_COMMAND, IDM_EDIT, 0);
    EXPECT_TRUE(more.Done());

    EXPECT_EQ(openedOnFirstPage, (std::vector<bool>{true, true, true})) << "every showing starts on page 1";
    EXPECT_FALSE(form1.Modified);
    EXPECT_EQ(ReadRowOf(".htm").SubItems, before.SubItems);
    EXPECT_EQ(FindOrAdd(Catalog().ExtensionMap, std::string(".htm")).State, esUnchanged);
}

TEST_F(EditWorkflowTest, ChooserDoubleClickCopiesTheCreatorIntoTheDialog)
{
    SelectRow(".xyz");
    const int htmlImage = ReadRowOf(".htm").Image;
    ASSERT_GT(htmlImage, form1.DeletedIconIndex);
    struct Seen {
        int tag = 0, rows = 0;
        std::string creator, kind, contentType, topic;
        bool dde = false, iconShown = false;
    } seen;
    ModalSteps steps;
    steps.Then([&] { PostMessageA(form5.Button6, BM_CLICK, 0, 0); })
        .Then([&] {
            seen.tag = form7.Tag;
            seen.rows = ListView_GetItemCount(form7.ListView1);
            int htm = -1;
            for (int row = 0; row < seen.rows; ++row)
                if (form1.ChooserRows[static_cast<size_t>(row)].Caption == ".htm")
                    htm = row;
            DoubleClickListRow(form7.ListView1, htm);
        })
        .Then([&] {
            seen.creator = WindowText(form5.Edit9);
            seen.kind = WindowText(form5.Edit3);
            seen.contentType = WindowText(form5.Edit2);
            seen.topic = WindowText(form5.Edit7);
            seen.dde = Checked(form5.CheckBox1) && IsWindowEnabled(form5.Edit7);
            seen.iconShown = ShownIcon(form5.Image1) != nullptr;
            Press(form5.Button2);
        });
    steps.Start();
    SendMessageA(form1.Handle(), WM_COMMAND, IDM_EDIT, 0);
    ASSERT_TRUE(steps.Done());

    EXPECT_EQ(seen.tag, 5);
    EXPECT_EQ(seen.rows, 3) << "one row per extension that has a creator";
    EXPECT_EQ(seen.creator, "htmlfile");
    EXPECT_EQ(seen.kind, "HTML 文書");
    EXPECT_EQ(seen.contentType, "application/x-xyz") << "the chooser leaves the extension's part";
    EXPECT_EQ(seen.topic, "WWW_OpenURL");
    EXPECT_TRUE(seen.dde);
    EXPECT_TRUE(seen.iconShown);
    EXPECT_FALSE(IsWindowVisible(form7.Handle()));

    const ListRow xyz = ReadRowOf(".xyz");
    EXPECT_EQ(xyz.SubItems[1], "htmlfile");
    EXPECT_EQ(xyz.SubItems[2], "HTML 文書");
    EXPECT_EQ(xyz.Image, htmlImage);
    EXPECT_EQ(FindOrAdd(Catalog().CreatorMap, std::string("htmlfile")).State, esUnchanged);
    EXPECT_EQ(form1.ChooserRows.size(), 4u) << "the chooser is refilled";
}

TEST_F(EditWorkflowTest, IconListClickSetsTheIconSourceAndOkGivesTheCreatorANewImage)
{
    SelectRow(".log");
    const int imagesBefore = ImageList_GetImageCount(form1.ImageList1);
    std::string source;
    HICON preview = nullptr;
    ModalSteps steps;
    steps.Then([&] {
             SendMessageA(form5.PageControl2, TCM_SETCURSEL, 1, 0);
             ClickListRow(form5.ListView1, 2);
         })
        .Then([&] {
            source = WindowText(form5.Edit1);
            preview = ShownIcon(form5.Image1);
            Press(form5.Button2);
        });
    steps.Start();
    SendMessageA(form1.Handle(), WM_COMMAND, IDM_EDIT, 0);
    ASSERT_TRUE(steps.Done());

    EXPECT_EQ(source, "shell32.dll,2");
    EXPECT_NE(preview, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(form1.ImageList1), imagesBefore + 1);
    EXPECT_EQ(ImageList_GetImageCount(form1.ImageList2), imagesBefore + 1);
    EXPECT_EQ(ReadRowOf(".log").Image, imagesBefore) << "the appended image";
    EXPECT_EQ(ReadRowOf(".txt").Image, imagesBefore) << "on every row of the creator";
    EXPECT_EQ(ReadRowOf(".txt").SubItems[3], "shell32.dll,2");
}

TEST_F(EditWorkflowTest, CreatorNamedByANewRegistryPathIsRefusedAndTheDialogStaysOpen)
{
    SelectRow(".txt");
    bool stillOpen = false;
    HWND focused = nullptr;
    ModalSteps steps;
    steps.Then([&] {
             SetWindowTextA(form5.Edit9, "new\\creator");
             PostMessageA(form5.Button2, BM_CLICK, 0, 0);
         })
        .Then([&] {
            stillOpen = IsWindowVisible(form5.Handle());
            focused = GetFocus();
            Press(form5.Button3);
        });
    steps.Start();
    SendMessageA(form1.Handle(), WM_COMMAND, IDM_EDIT, 0);
    ASSERT_TRUE(steps.Done());

    ASSERT_EQ(hook.Records().size(), 1u);
    EXPECT_EQ(hook.Records()[0].caption, "エラー");
    EXPECT_EQ(hook.Records()[0].text, "新しいクリエーターの名前に「\\」を使うことはできません。");
    EXPECT_EQ(hook.Records()[0].buttons, static_cast<UINT>(MB_OK));
    EXPECT_EQ(hook.Records()[0].icon, static_cast<UINT>(MB_ICONERROR));
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(focused, form5.Edit9);
    EXPECT_FALSE(form1.Modified);
    EXPECT_EQ(Find(Catalog().CreatorMap, std::string("new\\creator")), nullptr);
}

// Corrections to the main window: one selected row, sorts held back while a
// scan runs, toolbar buttons that leave the focus on the list, and image
// lists that never fall out of step.
TEST_F(EditWorkflowTest, MainWindowKeepsOneSelectionTheFocusAndItsImageListsInStep)
{
    HWND list = form1.ListView1;
    ListView_SetItemState(list, 0, LVIS_SELECTED, LVIS_SELECTED);
    ListView_SetItemState(list, 1, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(ListView_GetSelectedCount(list), 1u);

    SetFocus(list);
    RECT button{};
    GetClientRect(form1.SpeedButton[2], &button);
    const LPARAM middle = MAKELPARAM(button.right / 2, button.bottom / 2);
    SendMessageA(form1.SpeedButton[2], WM_LBUTTONDOWN, MK_LBUTTON, middle);
    SendMessageA(form1.SpeedButton[2], WM_LBUTTONUP, 0, middle);
    EXPECT_EQ(form1.ViewStyle(), 1) << "the click still works";
    EXPECT_EQ(GetFocus(), list);

    SCOPED_TRACE("sorts carry the selection along, and typing a name finds its row");
    SelectRow(".log");
    SendMessageA(form1.Handle(), WM_COMMAND, IDM_SORT_CREATOR, 0);
    SendMessageA(form1.Handle(), WM_COMMAND, IDM_SORT_CREATOR, 0);
    ASSERT_GE(SelectedRow(list), 0);
    EXPECT_EQ(RowText(list, SelectedRow(list), 0), ".log");
    EXPECT_EQ(RowText(list, 0, 2), "txtfile") << "descending by creator";
    for (char typed : {'.', 'X'})
        SendMessageA(list, WM_CHAR, typed, 1);
    ASSERT_GE(SelectedRow(list), 0);
    EXPECT_EQ(RowText(list, SelectedRow(list), 0), ".xyz");
    form1.SortDirection.fill(-1);

    form1.Scanning = true;
    SendMessageA(form1.Handle(), WM_COMMAND, IDM_SORT_EXTENSION, 0);
    NMLISTVIEW click{};
    click.hdr = NMHDR{list, IDC_FORM1_LISTVIEW1, LVN_COLUMNCLICK};
    click.iSubItem = 2;
    SendMessageA(form1.Handle(), WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
    form1.Scanning = false;
    EXPECT_EQ(form1.SortDirection[0], -1);
    EXPECT_EQ(form1.SortDirection[2], -1);

    // A small list that has fallen behind the large one refuses the icon.
    const int count = ImageList_GetImageCount(form1.ImageList1);
    HIMAGELIST small = form1.ImageList2;
    form1.ImageList2 = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 1);
    CreatorEntry creator = FindOrAdd(Catalog().CreatorMap, std::string("txtfile"));
    EXPECT_EQ(form1.LoadCreatorImage(creator), form1.DefaultIconIndex);
    EXPECT_EQ(ImageList_GetImageCount(form1.ImageList1), count);
    EXPECT_EQ(ImageList_GetImageCount(form1.ImageList2), 0);
    ImageList_Destroy(form1.ImageList2);
    form1.ImageList2 = small;
    EXPECT_EQ(form1.LoadCreatorImage(creator), count) << "in step, the icon is appended";
}

// The add and delete dialogs through the Insert and Delete keys, the
// toolbar and the context menu.
TEST_F(EditWorkflowTest, AddAndDeleteThroughKeysToolbarAndContextMenu)
{
    HWND list = form1.ListView1;
    auto shortcut = [&](WORD key) {
        MSG msg{list, WM_KEYDOWN, key, 0, 0, {}};
        form1.TranslateShortcut(msg);
    };
    auto column = [&] {
        std::vector<std::string> texts;
        for (int row = 0; row < RowCount(list); ++row)
            texts.push_back(RowText(list, row, 0));
        return texts;
    };
    SendMessageA(form1.Handle(), WM_COMMAND, IDM_SORT_CONTENT_TYPE, 0);
    SelectRow(".xyz");
    const int images = ImageList_GetImageCount(form1.ImageList1);
    std::string caption, okText, emptyCreator;
    RECT outer{};
    ModalSteps steps;
    steps.Then([&] {
        caption = WindowText(form11.Handle());
        okText = WindowText(form11.Button2) + "/" + WindowText(form11.Button3);
        emptyCreator = WindowText(form11.Edit9);
        GetWindowRect(form11.Handle(), &outer);
        SetWindowTextA(form11.Edit10, "ABC");
        SetWindowTextA(form11.Edit9, "abcfile");
        SetWindowTextA(form11.Edit1, "shell32.dll,7");
        Press(form11.Button2);
    });
    steps.Start();
    shortcut(VK_INSERT);
    ASSERT_TRUE(steps.Done());
    EXPECT_EQ(caption, "関連づけの追加");
    EXPECT_EQ(okText, "追加する/追加しない");
    EXPECT_EQ(emptyCreator, "");
    EXPECT_EQ(outer.right - outer.left, 420);
    EXPECT_EQ(outer.bottom - outer.top, 311);
    EXPECT_EQ(column(), (std::vector<std::string>{".abc", ".htm", ".log", ".txt", ".xyz"}))
        << "a new row, the list sorted by extension";
    EXPECT_EQ(ReadRowOf(".abc").Image, images) << "the new creator's own icon";
    EXPECT_EQ(ReadRowOf(".abc").SubItems[1], "abcfile");
    EXPECT_EQ(SelectedRow(list), Row(".xyz")) << "the selection stays";
    EXPECT_TRUE(form1.Modified);

    SCOPED_TRACE("delete from the toolbar, with the only extension of its creator");
    SelectRow(".htm");
    bool readOnly = false;
    ModalSteps deleting;
    deleting.Then([&] {
        caption = WindowText(form10.Handle());
        okText = WindowText(form10.Button2) + "/" + WindowText(form10.Button3);
        readOnly = ReadOnly(form10.Edit9) && !IsWindowEnabled(form10.CheckBox1) && Checked(form10.CheckBox1) &&
                   !IsWindowVisible(form10.Button6) && GetFocus() == form10.Button3;
        Press(form10.Button2);
    });
    deleting.Start();
    SendMessageA(form1.SpeedButton[8], BM_CLICK, 0, 0);
    ASSERT_TRUE(deleting.Done());
    EXPECT_EQ(caption, "関連づけの削除");
    EXPECT_EQ(okText, "削除する/削除しない");
    EXPECT_TRUE(readOnly);
    const ListRow deleted = ReadRowOf(".htm");
    EXPECT_EQ(deleted.Image, form1.DeletedIconIndex);
    EXPECT_EQ(deleted.SubItems, (std::array<std::string, 5>{"", "", "", "", ""}));
    EXPECT_EQ(FindOrAdd(Catalog().CreatorMap, std::string("htmlfile")).State, esDeleted);

    SCOPED_TRACE("the Delete key and the context menu's item, both cancelled");
    SelectRow(".log");
    int shown = 0;
    ModalSteps cancelled;
    cancelled.Then([&] { shown += IsWindowVisible(form10.Handle()), PostKey(form10.Button3, VK_ESCAPE); })
        .Then([&] { PostMessageA(list, WM_KEYDOWN, 'D', 0), PostMessageA(list, WM_CHAR, 'd', 0); })
        .Then([&] { shown += IsWindowVisible(form10.Handle()), Press(form10.Button3); });
    cancelled.Start();
    shortcut(VK_DELETE);
    SendMessageA(list, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), -1);
    PumpMessages();
    EXPECT_TRUE(cancelled.Done());
    EXPECT_EQ(shown, 2) << "the delete dialog opened from the key and from the menu";
    EXPECT_EQ(FindOrAdd(Catalog().ExtensionMap, std::string(".log")).State, esUnchanged);
}

// An edit, an add and a delete made in the dialogs reach the registry with
// the commit from the toolbar, after a backup that can restore every key
// they touch; without a place for the backup nothing is written.
TEST_F(EditWorkflowTest, CommitWritesTheWorkflowsChangesAfterABackup)
{
    ScratchFolder scratch;
    DataFoldersOverride folders(scratch.Path(), scratch.Path());
    SelectRow(".txt");
    ModalSteps steps;
    steps.Then([&] { SetWindowTextA(form5.Edit2, "text/x-committed"), Press(form5.Button2); })
        .Then([&] {
            SetWindowTextA(form11.Edit10, "abc");
            SetWindowTextA(form11.Edit9, "abcfile");
            SetWindowTextA(form11.Edit1, "shell32.dll,7");
            Press(form11.Button2);
        })
        .Then([&] { Press(form10.Button2); });
    steps.Start();
    SendMessageA(form1.Handle(), WM_COMMAND, IDM_EDIT, 0);
    SendMessageA(form1.Handle(), WM_COMMAND, IDM_ADD, 0);
    SelectRow(".htm");
    SendMessageA(form1.Handle(), WM_COMMAND, IDM_DELETE, 0);
    ASSERT_TRUE(steps.Done());
    ASSERT_TRUE(form1.Modified);

    SendMessageA(form1.SpeedButton[11], BM_CLICK, 0, 0);
    EXPECT_TRUE(hook.Records().empty());
    EXPECT_FALSE(form1.Modified);
    EXPECT_EQ(GetValue(".txt", "Content Type").Text(), "text/x-committed");
    EXPECT_EQ(GetValue(".abc", "").Text(), "abcfile");
    EXPECT_EQ(GetValue("abcfile\\DefaultIcon", "").Text(), "shell32.dll,7");
    EXPECT_FALSE(KeyExists(".htm"));
    EXPECT_FALSE(KeyExists("htmlfile")) << "its last extension took it along";
    EXPECT_EQ(Row(".htm"), -1) << "the list is read again";
    EXPECT_NE(Row(".abc"), -1);

    WIN32_FIND_DATAA found{};
    const HANDLE search = FindFirstFileA((scratch.Path() + "backup\\morvido-*.reg").c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    FindClose(search);
    const std::string bytes = ReadFileBytes(scratch.Path() + "backup\\" + found.cFileName);
    const std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2);
    for (const wchar_t* line : {L"[-HKEY_CLASSES_ROOT\\.htm]", L"[HKEY_CLASSES_ROOT\\htmlfile\\shell\\open\\ddeexec]",
                                L"[-HKEY_CLASSES_ROOT\\abcfile]", L"[HKEY_CLASSES_ROOT\\.txt]"})
        EXPECT_NE(text.find(line), std::wstring::npos);

    SCOPED_TRACE("no place for the backup");
    const std::string aFile = scratch.File("backup\\") + found.cFileName + "\\";
    DataFoldersOverride nowhere(aFile, aFile);
    FindOrAdd(Catalog().ExtensionMap, std::string(".txt")).State = esDeleted;
    form1.Modified = true;
    SendMessageA(form1.Handle(), WM_COMMAND, IDM_COMMIT, 0);
    ASSERT_EQ(hook.Records().size(), 1u);
    EXPECT_EQ(hook.Records()[0].text, "バックアップファイルを書き込むことができませんでした。\nレジストリーは変更されていません。");
    EXPECT_EQ(hook.Records()[0].caption, "エラー");
    EXPECT_EQ(hook.Records()[0].icon, static_cast<UINT>(MB_ICONERROR));
    EXPECT_TRUE(form1.Modified);
    EXPECT_EQ(FindOrAdd(Catalog().ExtensionMap, std::string(".txt")).State, esDeleted);
    EXPECT_TRUE(KeyExists(".txt"));
}
