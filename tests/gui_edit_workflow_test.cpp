// The workflows through the real windows: the commands that open the
// dialogs, their buttons, the creator chooser and the icon list, the commit,
// and what the list, the detail panel and the registry show afterwards. The
// rules themselves are tested on the catalog alone.
#include <windows.h>
#include <commctrl.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/AboutForm.h"
#include "app/Application.h"
#include "app/MainForm.h"
#include "ui/resource.h"
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
bool Checked(HWND button) { return SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

// One line of what a dialog shows: caption, buttons, the fields of page 1,
// the page in front, the focus, the DDE group and the picture.
std::string Describe(const TAssociationForm& form)
{
    std::string text = WindowText(form.Handle()) + "|" + WindowText(form.Button2) + "/" + WindowText(form.Button3);
    for (HWND field : {form.Edit10, form.Edit2, form.Edit9, form.Edit3, form.Label12, form.Edit7})
        text += "|" + WindowText(field);
    for (int page = 0; page < 3; ++page)
        if (IsWindowVisible(form.TabSheets[page]))
            text += "|page " + std::to_string(page + 1);
    if (GetFocus() == form.Button3)
        text += "|focus on cancel";
    if (GetWindowLongA(form.Edit10, GWL_STYLE) & ES_READONLY)
        text += "|extension read-only";
    text += Checked(form.CheckBox1) ? "|dde" : "|no dde";
    if (IsWindowEnabled(form.Edit7))
        text += " fields";
    if (SendMessageA(form.Image1, STM_GETICON, 0, 0))
        text += "|picture";
    return text;
}
// Every key and value below path as sorted lines "sub\key|name=text": the
// enumeration order differs between Wine and Windows.
std::vector<std::string> Tree(HKEY root, const std::string& path, const std::string& below = "")
{
    std::vector<std::string> lines{below + "|"};
    for (const std::string& name : ValueNames(root, path))
        lines.push_back(below + "|" + name + "=" + GetValue(root, path, name).Text());
    for (const std::string& key : SubKeyNames(root, path))
        for (std::string& line : Tree(root, path + "\\" + key, below + "\\" + key))
            lines.push_back(std::move(line));
    std::sort(lines.begin(), lines.end());
    return lines;
}

void ShowPage(TAssociationForm& form, int page)
{
    SendMessageA(form.PageControl2, TCM_SETCURSEL, page, 0);
    NMHDR header{form.PageControl2, static_cast<UINT_PTR>(GetDlgCtrlID(form.PageControl2)), TCN_SELCHANGE};
    SendMessageA(form.Handle(), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}
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
        ASSERT_TRUE(form1.Create() && form3.Create(form1.Handle()) && form5.Create(form1.Handle()) &&
                    form6.Create(form1.Handle()) && form7.Create(form1.Handle()) && form10.Create(form1.Handle()) &&
                    form11.Create(form1.Handle()));
        form1.Form3 = &form3;
        ConnectForms(form1, form5, form6, form7, form10, form11);
        form1.ReloadFromRegistry(false);
        form1.SetViewStyle(3);
        SetWindowPos(form1.Handle(), nullptr, 0, 0, 900, 500, SWP_NOZORDER | SWP_NOMOVE);
        ShowWindow(form1.Handle(), SW_SHOW);
        PumpMessages();
    }
    void TearDown() override { form1.Editor().Modified = false; }

    int Row(const std::string& caption)
    {
        for (int row = 0; row < RowCount(form1.List().ListView1); ++row)
            if (RowText(form1.List().ListView1, row, 0) == caption)
                return row;
        return -1;
    }
    // The row's cells up to its program, and its image, as the list shows
    // them.
    std::string Cells(const std::string& caption)
    {
        const ListRow row = ReadRow(form1.List().ListView1, Row(caption));
        std::string text = row.Caption;
        for (int column = 1; column <= 5; ++column)
            text += "|" + row.Column(column);
        return text + "|image " + std::to_string(row.Image);
    }
    void SelectRow(const std::string& caption)
    {
        SetFocus(form1.List().ListView1);
        ClickListRow(form1.List().ListView1, Row(caption));
    }
    void Press(HWND button) { SendMessageA(button, BM_CLICK, 0, 0); }
    void Command(UINT id) { SendMessageA(form1.Handle(), WM_COMMAND, id, 0); }

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
    const int image = ReadRow(form1.List().ListView1, Row(".log")).Image;
    std::string seen;
    int icons = 0;
    ModalSteps steps;
    steps.Then([&] {
        seen = Describe(form5);
        icons = ListView_GetItemCount(form5.ListView1);
        SetWindowTextA(form5.Edit2, "text/x-edited");
        SetWindowTextA(form5.Edit3, "編集した種類");
        SetWindowTextA(form5.Edit4, "\"C:\\Tools\\editor.exe\" \"%1\"");
        Press(form5.Button2);
    });
    steps.Start();
    DoubleClickListRow(form1.List().ListView1, Row(".txt"));
    ASSERT_TRUE(steps.Done());

    EXPECT_EQ(seen, "関連付けの編集|変更する/変更しない|.txt|text/plain|txtfile|テキスト文書|.log .txt ||page 1|focus on "
                    "cancel|extension read-only|no dde|picture");
    EXPECT_GT(icons, 4) << "the icons of shell32.dll";
    EXPECT_TRUE(form1.Editor().Modified);
    EXPECT_EQ(Cells(".log"), ".log||txtfile|編集した種類|shell32.dll,3|\"C:\\Tools\\editor.exe\" \"%1\"|image " +
                                 std::to_string(image))
        << "the shared creator shows on every row";
    EXPECT_EQ(ReadRow(form1.List().ListView1, Row(".txt")).SubItems[0], "text/x-edited");
    EXPECT_EQ(WindowText(form1.Detail().GroupBox1) + "|" + WindowText(form1.Detail().Label3), "拡張子 .txt について|編集した種類");
    EXPECT_EQ(GetValue(".txt", "Content Type").Text() + "|" + GetValue("txtfile", "").Text(), "text/plain|テキスト文書")
        << "nothing reaches the registry yet";
}

TEST_F(EditWorkflowTest, EnterEscapeDetailIconAndCloseBoxLeaveEverythingAsItWas)
{
    SelectRow(".htm");
    const std::string before = Cells(".htm");
    std::vector<std::string> pages;
    auto typeAndLeave = [&](std::function<void()> leave) {
        return [&, leave] {
            pages.push_back(IsWindowVisible(form5.TabSheets[0]) ? "page 1" : "other page");
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
    PostKey(form1.List().ListView1, VK_RETURN);
    while (!steps.Done())
        PumpMessages();
    PumpMessages();

    ModalSteps more;
    more.Then(typeAndLeave([&] { Press(form5.Button3); })).Then([] {});
    more.Then(typeAndLeave([&] { PostMessageA(form5.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); }));
    more.Then([&] { Press(form5.Button2); }).Then([&] { Press(form11.Button3); }); // OK unchanged, add cancelled
    more.Start();
    SendMessageA(form1.Detail().GroupBox1, WM_COMMAND, MAKEWPARAM(IDC_FORM1_IMAGE1, STN_CLICKED),
                 reinterpret_cast<LPARAM>(form1.Detail().Image1));
    Command(IDM_EDIT);
    Command(IDM_EDIT);
    Command(IDM_ADD);
    EXPECT_TRUE(more.Done());

    EXPECT_EQ(pages, (std::vector<std::string>(3, "page 1"))) << "every showing starts on page 1";
    EXPECT_FALSE(form1.Editor().Modified);
    EXPECT_EQ(Cells(".htm"), before);
    EXPECT_EQ(FindOrAdd(form1.Editor().Catalog.ExtensionMap, std::string(".htm")).State, esUnchanged);
}

TEST_F(EditWorkflowTest, ChooserDoubleClickCopiesTheCreatorIntoTheDialog)
{
    // The chosen creator brings its locks: its DDE group stays shut.
    SetDword(Root(), "htmlfile", "EditFlags", FTA_NoDDE);
    form1.ReloadFromRegistry(false);
    SelectRow(".xyz");
    const int htmlImage = ReadRow(form1.List().ListView1, Row(".htm")).Image;
    ASSERT_GT(htmlImage, form1.List().DeletedIconIndex);
    std::string seen;
    auto chooseHtm = [&] {
        for (int row = 0; row < ListView_GetItemCount(form7.ListView1); ++row)
            if (form1.List().ChooserRows[static_cast<size_t>(row)].Caption == ".htm")
                DoubleClickListRow(form7.ListView1, row);
    };
    ModalSteps steps;
    steps.Then([&] { PostMessageA(form5.Button6, BM_CLICK, 0, 0); })
        .Then([&] {
            seen = (GetWindow(form7.Handle(), GW_OWNER) == form5.Handle() ? "owned by the edit dialog, " : "") +
                   std::to_string(ListView_GetItemCount(form7.ListView1)) +
                   " rows" + (IsWindowEnabled(form5.Handle()) ? "" : ", over the disabled dialog");
            chooseHtm();
        })
        .Then([&] {
            seen += GetActiveWindow() == form5.Handle() && IsWindowEnabled(form5.Handle()) ? "|active" : "";
            seen += "|" + Describe(form5);
            Press(form5.Button2);
        });
    steps.Start();
    Command(IDM_EDIT);
    ASSERT_TRUE(steps.Done());

    EXPECT_EQ(seen, "owned by the edit dialog, 3 rows, over the disabled dialog|active|関連付けの編集|変更する/変更しない|.xyz|"
                    "application/x-xyz|htmlfile|HTML 文書|.htm |"
                    "WWW_OpenURL|page 1|extension read-only|dde|picture")
        << "the chooser fills the creator's part and leaves the extension's";
    EXPECT_FALSE(IsWindowVisible(form7.Handle()));
    EXPECT_EQ(Cells(".xyz"), ".xyz|application/x-xyz|htmlfile|HTML 文書|shell32.dll,4||image " + std::to_string(htmlImage));
    EXPECT_EQ(FindOrAdd(form1.Editor().Catalog.CreatorMap, std::string("htmlfile")).State, esUnchanged);
    EXPECT_EQ(form1.List().ChooserRows.size(), 4u) << "the chooser is refilled";

    ModalSteps adding;
    adding.Then([&] { PostMessageA(form11.Button6, BM_CLICK, 0, 0); }).Then(chooseHtm).Then([&] {
        seen = WindowText(form11.Edit9), Press(form11.Button3);
    });
    adding.Start();
    Command(IDM_ADD);
    EXPECT_EQ(seen, "htmlfile") << "the chooser opened from the add dialog fills the add dialog";

    // An icon source numbered -1 previews the file's first icon, not the
    // icon count that the extraction answers for -1.
    form5.ShowFileIcon("shell32.dll", -1);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(reinterpret_cast<HICON>(SendMessageA(form5.Image1, STM_GETICON, 0, 0)), &info));
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
}

// OK refuses a new creator named by a registry path and keeps the dialog
// open; a click in the icon list then sets the icon source, and OK gives
// the creator a new image on all its rows.
TEST_F(EditWorkflowTest, RegistryPathRefusedThenIconListClickGivesTheCreatorANewImage)
{
    SelectRow(".log");
    const int images = ImageList_GetImageCount(form1.List().ImageList1.Get());
    bool stayed = false;
    std::string source;
    auto Preview = [&] {
        return WindowText(form5.Edit1) + (SendMessageA(form5.Image1, STM_GETICON, 0, 0) ? " shown" : "");
    };
    ModalSteps steps;
    steps.Then([&] {
             SetWindowTextA(form5.Edit9, "new\\creator");
             PostMessageA(form5.Button2, BM_CLICK, 0, 0);
         })
        .Then([&] {
            stayed = IsWindowVisible(form5.Handle()) && GetFocus() == form5.Edit9;
            SetWindowTextA(form5.Edit9, "txtfile");
            // As a failed extraction leaves the row: no picture, not a neighbour's.
            LVITEMA failed{};
            failed.mask = LVIF_IMAGE, failed.iItem = 1, failed.iImage = -1;
            ListView_SetItem(form5.ListView1, &failed);
            ClickListRow(form5.ListView1, 1);
        })
        .Then([&] { source = Preview() + "|", ClickListRow(form5.ListView1, 2); })
        .Then([&] { source += Preview(), Press(form5.Button2); });
    steps.Start();
    Command(IDM_EDIT);
    ASSERT_TRUE(steps.Done());

    ASSERT_EQ(hook.Records().size(), 1u);
    const MessageBoxRecord& box = hook.Records()[0];
    EXPECT_EQ(box.caption + "|" + box.text, "エラー|新しいクリエーターの名前に「\\」を使うことはできません。");
    EXPECT_EQ(box.buttons | box.icon, static_cast<UINT>(MB_OK | MB_ICONERROR));
    EXPECT_TRUE(stayed) << "open, with the creator field focused";
    EXPECT_EQ(Find(form1.Editor().Catalog.CreatorMap, std::string("new\\creator")), nullptr);

    EXPECT_EQ(source, "shell32.dll,1|shell32.dll,2 shown");
    EXPECT_EQ(ImageList_GetImageCount(form1.List().ImageList1.Get()), images + 1);
    EXPECT_EQ(ImageList_GetImageCount(form1.List().ImageList2.Get()), images + 1);
    const std::string appended = "|image " + std::to_string(images);
    EXPECT_EQ(Cells(".log"), ".log||txtfile|テキスト文書|shell32.dll,2|notepad.exe %1" + appended);
    EXPECT_EQ(Cells(".txt"), ".txt|text/plain|txtfile|テキスト文書|shell32.dll,2|notepad.exe %1" + appended)
        << "on every row of the creator";
}

// Corrections to the main window: one selected row, sorts and exports held
// back while a scan runs, toolbar buttons that leave the focus on the list,
// and image lists that never fall out of step.
TEST_F(EditWorkflowTest, MainWindowKeepsOneSelectionTheFocusAndItsImageListsInStep)
{
    HWND list = form1.List().ListView1;
    ListView_SetItemState(list, 0, LVIS_SELECTED, LVIS_SELECTED);
    ListView_SetItemState(list, 1, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(ListView_GetSelectedCount(list), 1u);

    SetFocus(list);
    SendMessageA(form1.SpeedButton[2], WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(form1.SpeedButton[2], WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(form1.ViewStyle(), 1) << "the click still works";
    EXPECT_EQ(GetFocus(), list);

    SCOPED_TRACE("sorts carry the selection along, and typing a name finds its row");
    SelectRow(".log");
    Command(IDM_SORT_CREATOR);
    Command(IDM_SORT_CREATOR);
    EXPECT_EQ(RowText(list, std::max(SelectedRow(list), 0), 0), ".log");
    EXPECT_EQ(RowText(list, 0, 2), "txtfile") << "descending by creator";
    for (char typed : {'.', 'X'})
        SendMessageA(list, WM_CHAR, typed, 1);
    EXPECT_EQ(RowText(list, std::max(SelectedRow(list), 0), 0), ".xyz");

    form1.List().SortDirection.fill(-1);
    form1.Editor().Scanning = true;
    Command(IDM_SORT_EXTENSION);
    NMLISTVIEW click{};
    click.hdr = NMHDR{list, IDC_FORM1_LISTVIEW1, LVN_COLUMNCLICK};
    click.iSubItem = 2;
    SendMessageA(form1.Handle(), WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
    // A save dialog that opened anyway is noted and cancelled.
    static bool saveDialogOpened = false;
    const UINT_PTR watch = SetTimer(nullptr, 0, 30, [](HWND, UINT, UINT_PTR, DWORD) {
        if (HWND dialog = FindWindowA("#32770", "変更されたデータをレジストリファイルに保存"))
            saveDialogOpened = PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    Command(IDM_EXPORT_SELECTED);
    Command(IDM_EXPORT_CHANGES);
    KillTimer(nullptr, watch);
    form1.Editor().Scanning = false;
    EXPECT_EQ(form1.List().SortDirection[0] + form1.List().SortDirection[2], -2) << "no sort during a scan";
    EXPECT_FALSE(saveDialogOpened || !hook.Records().empty()) << "nor an export";

    // A small list that has fallen behind the large one refuses the icon.
    const int count = ImageList_GetImageCount(form1.List().ImageList1.Get());
    ScopedImageList small(form1.List().ImageList2.Release());
    form1.List().ImageList2.Reset(ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 1));
    CreatorEntry creator = FindOrAdd(form1.Editor().Catalog.CreatorMap, std::string("txtfile"));
    EXPECT_EQ(form1.List().LoadCreatorImage(creator), form1.List().DefaultIconIndex);
    EXPECT_EQ(ImageList_GetImageCount(form1.List().ImageList1.Get()), count);
    EXPECT_EQ(ImageList_GetImageCount(form1.List().ImageList2.Get()), 0);
    form1.List().ImageList2 = std::move(small);
    EXPECT_EQ(form1.List().LoadCreatorImage(creator), count) << "in step, the icon is appended";
}

// The add and delete dialogs through the Insert and Delete keys, the
// toolbar and the context menu.
TEST_F(EditWorkflowTest, AddAndDeleteThroughKeysToolbarAndContextMenu)
{
    HWND list = form1.List().ListView1;
    auto shortcut = [&](WORD key) {
        MSG msg{list, WM_KEYDOWN, key, 0, 0, {}};
        form1.TranslateShortcut(msg);
    };
    Command(IDM_SORT_CONTENT_TYPE);
    SelectRow(".xyz");
    const int images = ImageList_GetImageCount(form1.List().ImageList1.Get());
    std::string seen;
    ModalSteps steps;
    steps.Then([&] {
        RECT outer{};
        GetWindowRect(form11.Handle(), &outer);
        seen = Describe(form11) + "|" + std::to_string(outer.right - outer.left) + "x" +
               std::to_string(outer.bottom - outer.top);
        SetWindowTextA(form11.Edit10, "ABC");
        SetWindowTextA(form11.Edit9, "abcfile");
        SetWindowTextA(form11.Edit1, "shell32.dll,7");
        Press(form11.Button2);
    });
    steps.Start();
    shortcut(VK_INSERT);
    ASSERT_TRUE(steps.Done());
    EXPECT_EQ(seen, "関連づけの追加|追加する/追加しない|||||||page 1|focus on cancel|no dde|picture|420x311");
    std::vector<std::string> captions;
    for (int row = 0; row < RowCount(list); ++row)
        captions.push_back(RowText(list, row, 0));
    EXPECT_EQ(captions, (std::vector<std::string>{".abc", ".htm", ".log", ".txt", ".xyz"}))
        << "a new row, the list sorted by extension";
    EXPECT_EQ(Cells(".abc"), ".abc||abcfile||shell32.dll,7||image " + std::to_string(images));
    EXPECT_EQ(SelectedRow(list), Row(".xyz")) << "the selection stays";
    EXPECT_TRUE(form1.Editor().Modified);

    SCOPED_TRACE("delete from the toolbar, with the only extension of its creator");
    SelectRow(".htm");
    ModalSteps deleting;
    deleting.Then([&] {
        seen = Describe(form10) + (IsWindowVisible(form10.Button6) || IsWindowEnabled(form10.CheckBox1) ? "|editable" : "");
        Press(form10.Button2);
    });
    deleting.Start();
    Press(form1.SpeedButton[8]);
    ASSERT_TRUE(deleting.Done());
    EXPECT_EQ(seen, "関連づけの削除|削除する/削除しない|.htm||htmlfile|HTML 文書|.htm |WWW_OpenURL|page 1|focus on cancel|"
                    "extension read-only|dde fields|picture");
    EXPECT_EQ(Cells(".htm"), ".htm||||||image " + std::to_string(form1.List().DeletedIconIndex));
    EXPECT_EQ(FindOrAdd(form1.Editor().Catalog.CreatorMap, std::string("htmlfile")).State, esDeleted);

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
    EXPECT_EQ(FindOrAdd(form1.Editor().Catalog.ExtensionMap, std::string(".log")).State, esUnchanged);
}

// Adding an extension that is there already changes it: it asks as an edit
// of a type that runs code does, and the creator it names brings its locks,
// in the dialog and in what the add leaves in the catalog.
TEST_F(EditWorkflowTest, AddingAnExistingExtensionIsGuardedAsAnEdit)
{
    SetText(".bat", "", "batfile");
    SetDword(Root(), "txtfile", "EditFlags", FTA_NoEditVerbCmd);
    form1.ReloadFromRegistry(false);
    std::string locked;
    for (int answer : {IDNO, IDYES}) {
        ModalSteps steps;
        steps.Then([&] {
            SetWindowTextA(form11.Edit10, ".BAT");
            SetWindowTextA(form11.Edit9, "txtfile");
            locked += GetWindowLongA(form11.Edit4, GWL_STYLE) & ES_READONLY ? "r" : "w";
            SetWindowTextA(form11.Edit4, "other.exe %1");
            Press(form11.Button2);
        });
        steps.Start();
        hook.Answer(answer);
        Command(IDM_ADD);
        ASSERT_TRUE(steps.Done());
        EXPECT_EQ(FindOrAdd(form1.Editor().Catalog.ExtensionMap, std::string(".bat")).Creator,
                  answer == IDYES ? "txtfile" : "batfile");
    }
    EXPECT_EQ(locked, "rr");
    ASSERT_EQ(hook.Records().size(), 2u);
    for (const MessageBoxRecord& box : hook.Records())
        EXPECT_NE(box.text.find("「.bat」はプログラムやスクリプトとして実行される"), std::string::npos) << box.text;
    EXPECT_EQ(FindOrAdd(form1.Editor().Catalog.CreatorMap, std::string("txtfile")).Command, "notepad.exe %1");
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
    Command(IDM_EDIT);
    Command(IDM_ADD);
    SelectRow(".htm");
    Command(IDM_DELETE);
    ASSERT_TRUE(steps.Done());

    Press(form1.SpeedButton[11]);
    EXPECT_TRUE(hook.Records().empty());
    EXPECT_FALSE(form1.Editor().Modified);
    EXPECT_EQ(GetValue(".txt", "Content Type").Text() + "|" + GetValue(".abc", "").Text() + "|" +
                  GetValue("abcfile\\DefaultIcon", "").Text(),
              "text/x-committed|abcfile|shell32.dll,7");
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
    FindOrAdd(form1.Editor().Catalog.ExtensionMap, std::string(".txt")).State = esDeleted;
    form1.Editor().Modified = true;
    Command(IDM_COMMIT);
    ASSERT_EQ(hook.Records().size(), 1u);
    const MessageBoxRecord& box = hook.Records()[0];
    EXPECT_EQ(box.caption + "|" + box.text,
              "エラー|バックアップファイルを書き込むことができませんでした。\nレジストリーは変更されていません。");
    EXPECT_EQ(box.icon, static_cast<UINT>(MB_ICONERROR));
    EXPECT_TRUE(form1.Editor().Modified);
    EXPECT_EQ(FindOrAdd(form1.Editor().Catalog.ExtensionMap, std::string(".txt")).State, esDeleted);
    EXPECT_TRUE(KeyExists(".txt"));
}

// The page of verbs through the real dialogs: a verb added with its own
// program (after a refused duplicate), a text changed, a default chosen and
// a verb deleted, committed for the user; then open's command edited from
// the page and committed for every user; the verb locks shut the buttons.
TEST_F(EditWorkflowTest, VerbsPageChangesAreCommittedToTheUserOrTheMachine)
{
    ScratchFolder scratch;
    DataFoldersOverride folders(scratch.Path(), scratch.Path());
    SetText("txtfile\\shell\\open", "", "開く(&O)");
    SetText("txtfile\\shell\\print", "", "印刷");
    SetText("txtfile\\shell\\print\\command", "", "notepad.exe /p %1");
    // Only a verb of the user's own classes can go for the user alone.
    const std::string userClasses = scratch_.UserLocation().Path;
    ::SetText(HKEY_CURRENT_USER, userClasses + "\\txtfile\\shell\\preview\\command", "", "viewer.exe %1");
    SetText("htmlfile\\shell\\print\\command", "", "mshtml.exe /p %1");
    form1.ReloadFromRegistry(false);
    const auto select = [&](const std::string& verb) {
        for (int row = 0; row < RowCount(form5.ListView2); ++row)
            if (RowText(form5.ListView2, row, 0) == verb || RowText(form5.ListView2, row, 0) == verb + "（既定）")
                ListView_SetItemState(form5.ListView2, row, LVIS_SELECTED, LVIS_SELECTED);
    };
    const auto rows = [&] {
        std::string text;
        for (int row = 0; row < RowCount(form5.ListView2); ++row)
            text += RowText(form5.ListView2, row, 0) + "=" + RowText(form5.ListView2, row, 1) + ":" +
                    RowText(form5.ListView2, row, 2) + " ";
        return text;
    };
    const auto verbOk = [&] { Press(GetDlgItem(form5.Form8->Handle(), IDOK)); };
    const auto addEdit = [&] {
        SetWindowTextA(form5.Form8->Edit1, "edit");
        SetWindowTextA(form5.Form8->Edit2, "編集");
        SetWindowTextA(form5.Form8->Edit3, "\"C:\\e.exe\" \"%1\"");
        verbOk();
    };
    std::string seen;
    ModalSteps user;
    user.Then([&] { ShowPage(form5, 3), PostMessageA(form5.Button7, BM_CLICK, 0, 0); })
        .Then([&] {
            SetWindowTextA(form5.Form8->Edit1, "PRINT");
            verbOk(); // refused: the dialog stays for the next name
            addEdit();
        })
        .Then([&] { select("print"), PostMessageA(form5.Button8, BM_CLICK, 0, 0); })
        .Then([&] {
            seen += GetWindowLongA(form5.Form8->Edit1, GWL_STYLE) & ES_READONLY ? "name read-only|" : "";
            SetWindowTextA(form5.Form8->Edit2, "印刷する");
            verbOk();
        })
        .Then([&] {
            select("print"), Press(form5.Button10);
            select("preview"), Press(form5.Button9);
            seen += rows();
            Press(form5.Button2);
        });
    user.Start();
    SelectRow(".txt");
    Command(IDM_TARGET_USER);
    Command(IDM_EDIT);
    ASSERT_TRUE(user.Done());
    ASSERT_EQ(hook.Records().size(), 1u);
    EXPECT_EQ(hook.Records()[0].text, "同じ名前の動作がすでにあります。");
    EXPECT_EQ(seen, "name read-only|open=開く(&O):notepad.exe %1 print（既定）=印刷する:notepad.exe /p %1 "
                    "edit=編集:\"C:\\e.exe\" \"%1\" ");
    const std::vector<std::string> machineVerbs = Tree(Root(), "txtfile");
    Command(IDM_COMMIT);
    EXPECT_EQ(hook.Records().size(), 1u);
    EXPECT_EQ(Tree(HKEY_CURRENT_USER, userClasses + "\\txtfile"),
              (std::vector<std::string>{"\\shell\\edit\\command|", "\\shell\\edit\\command|=\"C:\\e.exe\" \"%1\"",
                                        "\\shell\\edit|", "\\shell\\edit|=編集", "\\shell\\print|",
                                        "\\shell\\print|=印刷する", "\\shell|", "\\shell|=print", "|"}))
        << "only what changed, preview gone whole";
    EXPECT_EQ(Tree(Root(), "txtfile"), machineVerbs);
    SelectRow(".log");
    form1.ShowSelectedDetail();
    const std::string verbs = WindowText(form1.Detail().Label9);
    EXPECT_TRUE(verbs == "動作: 印刷する (既定)、開く、編集" || verbs == "動作: 印刷する (既定)、編集、開く") << verbs;

    ModalSteps machine;
    machine
        .Then([&] {
            ShowPage(form5, 3), select("open");
            PostMessageA(form5.Button8, BM_CLICK, 0, 0);
        })
        .Then([&] {
            SetWindowTextA(form5.Form8->Edit3, "iexplore.exe %1");
            verbOk();
        })
        .Then([&] { PostMessageA(form5.Button7, BM_CLICK, 0, 0); })
        .Then(addEdit)
        .Then([&] {
            select("edit"), Press(form5.Button10);
            select("print"), Press(form5.Button9);
            seen = WindowText(form5.Edit4) + "|" + rows();
            Press(form5.Button2);
        });
    machine.Start();
    SelectRow(".htm");
    Command(IDM_TARGET_MACHINE);
    Command(IDM_EDIT);
    ASSERT_TRUE(machine.Done());
    EXPECT_EQ(seen, "iexplore.exe %1|open=:iexplore.exe %1 edit（既定）=編集:\"C:\\e.exe\" \"%1\" ")
        << "open's command is page 3's";
    Command(IDM_COMMIT);
    EXPECT_EQ(Tree(Root(), "htmlfile\\shell"),
              (std::vector<std::string>{"\\edit\\command|", "\\edit\\command|=\"C:\\e.exe\" \"%1\"", "\\edit|",
                                        "\\edit|=編集", "\\open\\command|", "\\open\\command|=iexplore.exe %1",
                                        "\\open\\ddeexec\\topic|", "\\open\\ddeexec\\topic|=WWW_OpenURL",
                                        "\\open\\ddeexec|", "\\open\\ddeexec|=\"file:%1\"", "\\open|", "|", "|=edit"}))
        << "print goes whole, edit is the default";

    SetDword(Root(), "htmlfile", "EditFlags", 0xE0);
    form1.ReloadFromRegistry(false);
    ModalSteps locked;
    locked.Then([&] {
        select("edit");
        for (HWND button : {form5.Button7, form5.Button8, form5.Button9, form5.Button10})
            seen += IsWindowEnabled(button) ? "1" : "0";
        Press(form5.Button3);
    });
    seen.clear();
    locked.Start();
    SelectRow(".htm");
    Command(IDM_EDIT);
    EXPECT_EQ(seen, "0000");
}

// The protocol view, read when first shown: its rows, an edit committed
// exactly (the URL Protocol value kept, nothing else written), the user's
// choice released, and http shown read-only with its reason.
TEST_F(EditWorkflowTest, ProtocolViewEditsCommitsAndReleasesSchemes)
{
    ScratchFolder scratch;
    DataFoldersOverride folders(scratch.Path(), scratch.Path());
    SetText("mailto", "", "URL:MailTo");
    SetText("mailto", "URL Protocol", "");
    SetText("mailto\\shell\\open\\command", "", "mail.exe %1");
    SetText("http", "URL Protocol", "");
    SetText("http\\shell\\open\\command", "", "browser.exe %1");
    const std::string choice = scratch_.UrlAssociationsLocation().Path + "\\mailto\\UserChoice";
    ::SetText(HKEY_CURRENT_USER, choice, "ProgId", "Mail.Client");
    form1.SetSaveTarget(SaveTarget::Machine);

    Command(IDM_VIEW_PROTOCOLS);
    EXPECT_EQ(GetMenuState(GetMenu(form1.Handle()), IDM_VIEW_PROTOCOLS, MF_BYCOMMAND) & MF_CHECKED,
              static_cast<UINT>(MF_CHECKED));
    char sort[64] = {};
    GetMenuStringA(GetMenu(form1.Handle()), IDM_SORT_EXTENSION, sort, sizeof sort, MF_BYCOMMAND);
    EXPECT_EQ(sort + std::string(GetMenuState(form1.PopupMenu1, IDM_SORT_CREATOR, MF_BYCOMMAND) & MF_GRAYED ? "|grayed" : ""),
              "プロトコルでソート(&E)|grayed");
    EXPECT_EQ(RowCount(form1.List().ListView1), 2) << "no extension, no creator";
    EXPECT_EQ(Cells("mailto").substr(0, 30), "mailto|||URL:MailTo||mail.exe ");
    EXPECT_EQ(RowText(form1.List().ListView1, Row("mailto"), 7), "Mail.Client");

    SelectRow("mailto");
    std::string shown;
    ModalSteps steps;
    steps.Then([&] {
        shown = Describe(form5) + (IsWindowEnabled(form5.Edit2) || IsWindowEnabled(form5.Edit9) ? "" : "|no type");
        SetWindowTextA(form5.Edit4, "mail.exe /new %1");
        Press(form5.Button2);
    });
    steps.Start();
    Command(IDM_EDIT);
    ASSERT_TRUE(steps.Done());
    EXPECT_EQ(shown, "プロトコルの編集|変更する/変更しない|mailto||mailto|URL:MailTo|||page 1|focus on cancel|"
                     "extension read-only|no dde|picture|no type");
    Press(form1.SpeedButton[11]);
    EXPECT_TRUE(hook.Records().empty());
    EXPECT_EQ(Tree(Root(), "mailto"),
              (std::vector<std::string>{"\\shell\\open\\command|", "\\shell\\open\\command|=mail.exe /new %1",
                                        "\\shell\\open|", "\\shell|", "|", "|=URL:MailTo", "|URL Protocol="}));

    SelectRow("mailto");
    hook.Answer(IDYES);
    Command(IDM_RELEASE_CHOICE);
    EXPECT_FALSE(::KeyExists(HKEY_CURRENT_USER, choice));
    EXPECT_EQ(RowText(form1.List().ListView1, Row("mailto"), 7), "");

    SelectRow("http");
    hook.ClearRecords();
    Command(IDM_DELETE);
    ASSERT_EQ(hook.Records().size(), 1u);
    EXPECT_EQ(hook.Records()[0].text, "プロトコル「http」は Windows が自身で使うものなので、変更も削除もできません。");
    ModalSteps readOnly;
    readOnly.Then([&] {
        shown = WindowText(GetDlgItem(form5.TabSheets[0], IDC_ASSOC_LABEL_LOCKED)) +
                (IsWindowEnabled(form5.Button2) ? "|ok" : "|no ok");
        Press(form5.Button3);
    });
    readOnly.Start();
    Command(IDM_EDIT);
    EXPECT_EQ(shown, "Windows が自身で使うプロトコルのため、表示だけです。|no ok");
    EXPECT_FALSE(form1.Editor().Modified);

    // A bad name, and one only shown, are refused on OK with the dialog open
    // and the typed command kept; corrected, the scheme is added and committed.
    hook.ClearRecords();
    auto typeAndOk = [&](const char* name) {
        SetWindowTextA(form11.Edit10, name), PostMessageA(form11.Button2, BM_CLICK, 0, 0);
    };
    auto stayed = [&] { shown += IsWindowVisible(form11.Handle()) && GetFocus() == form11.Edit10 ? "open|" : "|"; };
    shown.clear();
    ModalSteps adding;
    adding.Then([&] { SetWindowTextA(form11.Edit4, "app.exe %1"), typeAndOk("my\\app"); })
        .Then([&] { stayed(), typeAndOk("HTTP"); })
        .Then([&] { stayed(), shown += WindowText(form11.Edit4), typeAndOk("MyApp"); });
    adding.Start();
    Command(IDM_ADD);
    ASSERT_TRUE(adding.Done());
    ASSERT_EQ(hook.Records().size(), 2u);
    EXPECT_EQ(hook.Records()[0].text + "|" + hook.Records()[1].text,
              "プロトコルの名前は、英字で始まり、英数字と「+」「-」「.」だけでできている必要があります。|"
              "プロトコル「HTTP」は Windows が自身で使うものなので、変更も削除もできません。");
    EXPECT_EQ(shown, "open|open|app.exe %1");
    Press(form1.SpeedButton[11]);
    EXPECT_EQ(Tree(Root(), "MyApp"),
              (std::vector<std::string>{"\\shell\\open\\command|", "\\shell\\open\\command|=app.exe %1",
                                        "\\shell\\open|", "\\shell|", "|", "|URL Protocol="}));
}
