#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/AboutForm.h"
#include "app/ElevatedRestart.h"
#include "app/MainForm.h"
#include "app/SingleInstanceGuard.h"
#include "model/Elevation.h"
#include "ui/resource.h"
#include "tests/support/MessageBoxHook.h"
#include "tests/support/ScratchRegistry.h"
#include "tests/support/SettingsFileGuard.h"
#include "view/ProgressForm.h"

namespace {

std::string Text(HWND window)
{
    char buffer[1024] = {};
    GetWindowTextA(window, buffer, sizeof buffer);
    return buffer;
}

// A child's place in its parent's client area.
RECT PlaceInParent(HWND child)
{
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The single text of a bar in simple mode. Wine answers only for part 0
// there, Windows for the simple part's own number.
std::string StatusText(HWND statusBar)
{
    char buffer[512] = {};
    SendMessageA(statusBar, SB_GETTEXTA, SB_SIMPLEID, reinterpret_cast<LPARAM>(buffer));
    if (buffer[0] == '\0')
        SendMessageA(statusBar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(buffer));
    return buffer;
}

// The mouse moves over the middle of the control, as the system reports it.
void PointAt(HWND control)
{
    RECT rect{};
    GetWindowRect(control, &rect);
    const POINT target{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    SetCursorPos(target.x, target.y);
    // The display reports the new place a moment later; on a busy machine
    // that moment can pass a second.
    for (int wait = 0; wait < 250; ++wait) {
        PumpMessages();
        POINT now{};
        GetCursorPos(&now);
        if (now.x == target.x && now.y == target.y)
            break;
        Sleep(20);
    }
    SendMessageA(control, WM_SETCURSOR, reinterpret_cast<WPARAM>(control), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

// Menu items as "text" (with the shortcut after a tab), "-" for separators
// and "[title]" for sub-menus followed by their items.
void ListItems(HMENU menu, std::vector<std::string>& items)
{
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[128] = {};
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STRING | MIIM_SUBMENU;
        info.dwTypeData = text;
        info.cch = sizeof text;
        GetMenuItemInfoA(menu, i, TRUE, &info);
        if (info.fType & MFT_SEPARATOR) {
            items.push_back("-");
        } else if (info.hSubMenu) {
            items.push_back(std::string("[") + text + "]");
            ListItems(info.hSubMenu, items);
        } else {
            items.push_back(text);
        }
    }
}

HWND aboutWindow = nullptr;
std::vector<std::string> aboutCaptions;
std::vector<bool> ownerDisabled;

// Runs inside the about window's modal loop: notes what it shows, then
// clicks the picture.
void CALLBACK CloseAboutByClick(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    aboutCaptions.push_back(IsWindowVisible(aboutWindow) ? Text(aboutWindow) : "(hidden)");
    ownerDisabled.push_back(!IsWindowEnabled(GetWindow(aboutWindow, GW_OWNER)));
    HWND picture = GetDlgItem(aboutWindow, IDC_FORM6_IMAGE1);
    SendMessageA(aboutWindow, WM_COMMAND, MAKEWPARAM(IDC_FORM6_IMAGE1, STN_CLICKED), reinterpret_cast<LPARAM>(picture));
}

void CALLBACK CloseAboutByCloseButton(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    aboutCaptions.push_back(IsWindowVisible(aboutWindow) ? Text(aboutWindow) : "(hidden)");
    PostMessageA(aboutWindow, WM_SYSCOMMAND, SC_CLOSE, 0);
}

} // namespace

class MainFormTest : public RegistryTest {
protected:
    void SetUp() override
    {
        SetText(".txt", "", "txtfile");
        SetText(".log", "", "txtfile");
        SetText("txtfile", "", "テキスト文書");
        SetText("txtfile\\shell\\open\\command", "", "C:\\Windows\\notepad.exe %1");
        ASSERT_TRUE(form.Create());
        ASSERT_TRUE(progress.Create(form.Handle()));
        ASSERT_TRUE(about.Create(form.Handle()));
        form.Form3 = &progress;
        form.Form6 = &about;
        form.Editor().Modified = false;
        form.ReloadFromRegistry(false);
        SetWindowPos(form.Handle(), nullptr, 20, 20, 800, 480, SWP_NOZORDER);
        ShowWindow(form.Handle(), SW_SHOW);
        PumpMessages();
    }

    void Command(UINT id) { SendMessageA(form.Handle(), WM_COMMAND, id, 0); }

    SettingsFileGuard settings;
    MessageBoxHook hook;
    TForm1 form;
    TForm3 progress;
    TForm6 about;
};

TEST_F(MainFormTest, LayoutFollowsTheWindowWidth)
{
    EXPECT_EQ(Text(form.Handle()), "morvido ver.2.4");
    RECT client{};
    GetClientRect(form.Handle(), &client);
    const RECT panel = PlaceInParent(form.Panel1), list = PlaceInParent(form.List().ListView1);
    const RECT status = PlaceInParent(form.StatusBar1), toolbar = PlaceInParent(form.Panel2);
    EXPECT_EQ(panel.top, 0);
    EXPECT_EQ(panel.bottom - panel.top, 156);
    EXPECT_EQ(toolbar.bottom - toolbar.top, 29);
    EXPECT_EQ(list.top, panel.bottom);
    EXPECT_EQ(list.bottom, status.top);
    EXPECT_EQ(status.bottom, client.bottom);
    EXPECT_EQ(status.bottom - status.top, 19);
    EXPECT_EQ(list.right - list.left, client.right);

    const RECT group = PlaceInParent(form.Detail().GroupBox1);
    EXPECT_EQ(group.left, 8);
    EXPECT_EQ(group.top, 37);
    EXPECT_EQ(group.bottom - group.top, 105);
    for (int width : {900, 640}) {
        SCOPED_TRACE(width);
        SetWindowPos(form.Handle(), nullptr, 0, 0, width, 480, SWP_NOZORDER | SWP_NOMOVE);
        const RECT resized = PlaceInParent(form.Detail().GroupBox1), label = PlaceInParent(form.Detail().Label4);
        EXPECT_EQ(resized.right - resized.left, width - 30);
        EXPECT_EQ(label.right - label.left, width - 30 - 150);
        EXPECT_EQ(label.left, 140);
        EXPECT_EQ(label.top, 50);
    }
    EXPECT_EQ(Text(form.Detail().GroupBox1), "拡張子");
    EXPECT_EQ(Text(form.Detail().Label6), "ｸﾘｴｰﾀ- ：");
    EXPECT_EQ(Text(form.Detail().Label5), "ﾌｧｲﾙの種類 ：");
    EXPECT_EQ(Text(form.Detail().Label1), "実行ﾌﾟﾛｸﾞﾗﾑ ：");
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(form.Detail().Image1, STM_GETICON, 0, 0)), form.Image2)
        << "the placeholder until a row is shown";
    EXPECT_NE(form.Image3, nullptr);
}

TEST_F(MainFormTest, ToolbarButtonsSitInOrderWithTheirTooltips)
{
    struct Expected {
        int number, x;
        const char* tip;
    };
    const Expected buttons[] = {
        {12, 4, "全保存"},          {1, 29, "大きいアイコン"}, {2, 55, "小さいアイコン"}, {3, 81, "一覧"},
        {4, 107, "詳細"},           {5, 133, "ﾚｼﾞｽﾄﾘ読込"},   {11, 159, "ﾚｼﾞｽﾄﾘ書込"},    {6, 185, "編集"},
        {7, 211, "追加"},           {8, 238, "削除"},          {9, 264, "ﾊﾞｰｼﾞｮﾝ"},        {10, 290, "終了"},
    };
    for (const Expected& expected : buttons) {
        SCOPED_TRACE(expected.number);
        HWND button = form.SpeedButton[expected.number];
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(GetParent(button), form.Panel2);
        const RECT place = PlaceInParent(button);
        EXPECT_EQ(place.left, expected.x);
        EXPECT_EQ(place.top, 2);
        EXPECT_EQ(place.right - place.left, 25);
        EXPECT_EQ(place.bottom - place.top, 25);
        EXPECT_NE(SendMessageA(button, BM_GETIMAGE, IMAGE_ICON, 0), 0) << "a glyph";

        char tip[256] = {};
        TTTOOLINFOA tool{};
        tool.cbSize = sizeof tool;
        tool.hwnd = form.Panel2;
        tool.uId = reinterpret_cast<UINT_PTR>(button);
        tool.lpszText = tip;
        SendMessageA(form.ToolTip1, TTM_GETTEXTA, sizeof tip, reinterpret_cast<LPARAM>(&tool));
        EXPECT_STREQ(tip, expected.tip);
    }

    SCOPED_TRACE("the view buttons switch the view");
    for (int style = 3; style >= 0; --style) {
        SendMessageA(form.SpeedButton[1 + style], BM_CLICK, 0, 0);
        EXPECT_EQ(form.ViewStyle(), style);
    }
}

TEST_F(MainFormTest, MenusHoldTheirItemsAndShortcuts)
{
    std::vector<std::string> main;
    ListItems(GetMenu(form.Handle()), main);
    EXPECT_EQ(main, (std::vector<std::string>{
                        "[ﾌｧｲﾙ(&F)]", "レジストリ読込(&O)\tF5", "レジストリ書込(&V)", "-", "選択項目ﾌｧｲﾙ保存(&T)",
                        "全編集項目ﾌｧｲﾙ保存(&S)\tCtrl+S", "既定の関連付けをXMLに保存(&D)", "-",
                        "レジストリファイルを読み込む(&I)...", "-", "管理者として再起動(&R)", "終了(&X)\tCtrl+Q",
                        "[編集(&E)]", "編集(&E)", "追加(&A)\tIns", "削除(&D)\tDel", "-",
                        "ユーザーの選択を解除(&U)", "[保存先(&W)]", "このユーザーだけ(&U)", "すべてのユーザー(&A)",
                        "[表示(&V)]", "大きいアイコン(&G)", "小さいアイコン(&M)", "一覧(&L)", "詳細(&B)", "-",
                        "プロトコル(&P)", "-", "拡張子でソート(&E)", "内容の種類でソート(&Q)", "ｸﾘｴｰﾀｰでソート(&R)", "ﾌｧｲﾙの種類でソート(&S)",
                        "実行ﾌﾟﾛｸﾞﾗﾑでソート(&T)", "場所でソート(&B)", "ユーザーの選択でソート(&U)",
                        "[ﾍﾙﾌﾟ(&H)]", "ﾍﾙﾌﾟ(&H)\tF1", "ﾊﾞｰｼﾞｮﾝ情報(&A)"}));
    std::vector<std::string> context;
    ListItems(form.PopupMenu1, context);
    EXPECT_EQ(context, (std::vector<std::string>{
                           "編集(&E)", "追加(&A)", "削除(&D)", "ユーザーの選択を解除(&U)", "-", "大きいアイコン(&G)", "小さいアイコン(&M)",
                           "一覧(&L)", "詳細(&B)", "-", "拡張子でソート(&P)", "内容の種類でソート(&Q)",
                           "ｸﾘｴｰﾀｰでソート(&R)", "ﾌｧｲﾙの種類でソート(&S)", "実行ﾌﾟﾛｸﾞﾗﾑでソート(&T)", "-",
                           "選択項目ﾌｧｲﾙ保存(&V)"}));

    SCOPED_TRACE("shortcut keys");
    for (WORD key : {static_cast<WORD>(VK_F5), static_cast<WORD>('A')}) {
        MSG msg{};
        msg.hwnd = form.List().ListView1;
        msg.message = WM_KEYDOWN;
        msg.wParam = key;
        EXPECT_EQ(form.TranslateShortcut(msg), key != 'A') << key;
    }
}

TEST_F(MainFormTest, SortCommandsAndHeaderClicksShareTheColumnDirection)
{
    form.SetViewStyle(3);
    EXPECT_EQ(form.List().SortDirection[5], -1);
    Command(IDM_SORT_PROGRAM);
    EXPECT_EQ(form.List().SortDirection[5], 1) << "the program sort is column 5";

    // A real click on the header of column 1.
    HWND header = ListView_GetHeader(form.List().ListView1);
    RECT item{};
    Header_GetItemRect(header, 1, &item);
    const LPARAM point = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageA(header, WM_LBUTTONUP, 0, point);
    EXPECT_EQ(form.List().SortDirection[1], 1);
    Command(IDM_SORT_CONTENT_TYPE);
    EXPECT_EQ(form.List().SortDirection[1], -1);
}

TEST_F(MainFormTest, ArrowKeyReleaseShowsTheSelectedRow)
{
    form.SetViewStyle(3);
    ListView_SetItemState(form.List().ListView1, 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    SendMessageA(form.List().ListView1, WM_KEYUP, VK_HOME, 0);
    EXPECT_EQ(Text(form.Detail().GroupBox1), "拡張子") << "other keys leave the panel";
    SendMessageA(form.List().ListView1, WM_KEYUP, VK_DOWN, 0);
    EXPECT_EQ(Text(form.Detail().GroupBox1), "拡張子 .txt について");
    EXPECT_EQ(Text(form.Detail().Label2), "txtfile");
}

TEST_F(MainFormTest, StatusBarShowsTheHintOfTheControlUnderTheMouse)
{
    form.SetViewStyle(3);
    PumpMessages();
    PointAt(form.SpeedButton[5]);
    EXPECT_EQ(StatusText(form.StatusBar1), "レジストリを読み込み最新情報を表示します。");
    PointAt(form.Detail().Image1);
    EXPECT_EQ(StatusText(form.StatusBar1), "クリックすると関連づけを変更することができます。")
        << "a hint without a bar is shown whole";
    PointAt(form.Detail().Label2);
    EXPECT_EQ(StatusText(form.StatusBar1), "保存先: すべてのユーザー")
        << "no control around the label has a hint: where commits write";
    char domain[256] = {}, user[256] = {};
    GetEnvironmentVariableA("USERDOMAIN", domain, sizeof domain);
    GetEnvironmentVariableA("USERNAME", user, sizeof user);
    Command(IDM_TARGET_USER);
    EXPECT_EQ(StatusText(form.StatusBar1), "保存先: このユーザーだけ (" + std::string(domain) + "\\" + user + ")");
    PointAt(ListView_GetHeader(form.List().ListView1));
    EXPECT_EQ(StatusText(form.StatusBar1), "アイコンをダブルクリックすると、関連づけ情報を変更することができます。")
        << "the header takes the hint of the list around it";
}

TEST_F(MainFormTest, CloseQueryAsksAboutChangesAndClosesOnYesOrNo)
{
    for (int answer : {IDYES, IDNO}) {
        SCOPED_TRACE(answer == IDYES ? "Yes" : "No");
        if (!form.Handle())
            SetUp();
        hook.ClearRecords();
        form.Editor().Modified = true;
        hook.Answer(answer);
        SendMessageA(form.Handle(), WM_CLOSE, 0, 0);
        PumpMessages();
        ASSERT_EQ(hook.Records().size(), 1u);
        EXPECT_EQ(hook.Records()[0].text, "データが変更されています。変更をレジストリーに反映させますか");
        EXPECT_EQ(hook.Records()[0].caption, "確認");
        EXPECT_EQ(hook.Records()[0].buttons, static_cast<UINT>(MB_YESNOCANCEL));
        EXPECT_EQ(hook.Records()[0].icon, static_cast<UINT>(MB_ICONQUESTION));
        EXPECT_EQ(form.Handle(), nullptr);
        EXPECT_TRUE(settings.Exists()) << "the settings are saved";
        DeleteFileA(settings.Path().c_str());
    }
}

// Without elevation the menu and the commit refused for all users restart
// the program through the shell's "runas", after asking when changes would
// be lost; the window then closes without asking again, and stays, guard
// and all, when no copy started.
TEST_F(MainFormTest, RestartAsAdministrator)
{
    const auto grayed = [this] {
        return GetMenuState(GetMenu(form.Handle()), IDM_RESTART_ELEVATED, MF_BYCOMMAND) & MF_GRAYED;
    };
    EXPECT_EQ(grayed(), static_cast<UINT>(MF_GRAYED)) << "elevated, as every process under Wine";
    const HRSRC manifest = FindResourceA(nullptr, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_NE(manifest, nullptr);
    const char* manifestText = static_cast<const char*>(LockResource(LoadResource(nullptr, manifest)));
    EXPECT_NE(std::string(manifestText, SizeofResource(nullptr, manifest)).find("level=\"asInvoker\""), std::string::npos);

    std::vector<ElevatedStart> starts;
    DWORD result = ERROR_SUCCESS;
    struct Restore {
        ~Restore() { OverrideElevatedStart(nullptr), OverrideProcessElevation(std::nullopt); }
    } restore;
    OverrideElevatedStart([&](const ElevatedStart& start) {
        EXPECT_TRUE(settings.Exists()) << "saved for the new copy first";
        starts.push_back(start);
        return result;
    });
    OverrideProcessElevation(false);
    DestroyWindow(form.Handle());
    SetUp();
    EXPECT_EQ(grayed(), 0u);
    SingleInstanceGuard guard;
    ASSERT_TRUE(guard.Take());
    form.InstanceGuard = &guard;
    const auto guardHeld = [] { return ScopedKernelHandle(OpenMutexA(SYNCHRONIZE, FALSE, kMutexName)).Get() != nullptr; };

    form.Editor().Modified = true;
    for (DWORD failure : {DWORD{ERROR_SUCCESS}, DWORD{ERROR_CANCELLED}, DWORD{ERROR_FILE_NOT_FOUND}}) {
        result = failure;
        hook.Answer(failure == ERROR_SUCCESS ? IDNO : IDYES);
        Command(IDM_RESTART_ELEVATED);
        PumpMessages();
        EXPECT_TRUE(guardHeld() && form.Handle());
    }
    ASSERT_EQ(hook.Records().size(), 4u) << "three questions, one failure";
    EXPECT_EQ(hook.Records()[0].text, "変更した情報があります。\n管理者として再起動しますか? 変更した情報は失われます。");
    EXPECT_EQ(hook.Records()[0].buttons | hook.Records()[0].icon, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(hook.Records()[0].defaultButton, IDNO);
    EXPECT_EQ(hook.Records()[3].text, "morvidoを管理者として起動できませんでした。");
    EXPECT_EQ(starts.size(), 2u) << "not after No";

    result = ERROR_SUCCESS;
    for (UINT command : {IDM_RESTART_ELEVATED, IDM_COMMIT}) {
        SCOPED_TRACE(command);
        if (!form.Handle())
            SetUp();
        form.SetSaveTarget(SaveTarget::Machine);
        form.Editor().Modified = true;
        hook.ClearRecords();
        hook.Answer(IDYES);
        Command(command);
        PumpMessages();
        ASSERT_EQ(hook.Records().size(), 1u) << "the question or the refusal, and none on closing";
        EXPECT_EQ(hook.Records()[0].defaultButton, IDNO);
        EXPECT_EQ(form.Handle(), nullptr);
        EXPECT_FALSE(guardHeld());
        EXPECT_EQ(starts.back().Verb, L"runas");
        EXPECT_TRUE(starts.back().File.ends_with(L"\\morvido_gui_tests.exe"));
    }
    EXPECT_EQ(starts.size(), 4u);
}

TEST_F(MainFormTest, RunningScanHoldsBackReloadsChangesAndClosing)
{
    form.Editor().Modified = true;
    form.Editor().Scanning = true;
    for (UINT id : {IDM_RELOAD, IDM_COMMIT, IDM_EDIT, IDM_ADD, IDM_DELETE})
        Command(id);
    SendMessageA(form.Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(hook.Records().empty());
    EXPECT_NE(form.Handle(), nullptr);
    Command(IDM_VIEW_LIST);
    EXPECT_EQ(form.ViewStyle(), 2) << "views still change";

    form.Editor().Scanning = false;
    hook.Answer(IDNO);
    Command(IDM_RELOAD);
    ASSERT_EQ(hook.Records().size(), 1u) << "once the scan is over, reload asks about the changes";
    form.Editor().Modified = false;
}

TEST_F(MainFormTest, AboutWindowShowsTheSameCaptionEachTime)
{
    aboutWindow = about.Handle();
    aboutCaptions.clear();
    ownerDisabled.clear();
    SetTimer(nullptr, 0, 100, CloseAboutByClick);
    SendMessageA(form.Handle(), WM_COMMAND, IDM_ABOUT, 0);
    EXPECT_FALSE(IsWindowVisible(about.Handle()));
    EXPECT_TRUE(IsWindowEnabled(form.Handle()));
    SetTimer(nullptr, 0, 100, CloseAboutByCloseButton);
    Command(IDM_ABOUT);
    const std::string caption = "morvido ver.2.4 ： Windowsの関連づけを変えるソフト";
    EXPECT_EQ(aboutCaptions, (std::vector<std::string>{caption, caption}));
    EXPECT_EQ(ownerDisabled, (std::vector<bool>{true}));
    EXPECT_FALSE(IsWindowVisible(about.Handle()));

    RECT client{}, picture{};
    GetClientRect(about.Handle(), &client);
    EXPECT_EQ(client.right, 627);
    EXPECT_EQ(client.bottom, 157);
    picture = PlaceInParent(about.Image1);
    EXPECT_EQ(picture.left, -3);
    EXPECT_EQ(picture.top, -3);
    EXPECT_EQ(picture.right - picture.left, 636);
    EXPECT_EQ(picture.bottom - picture.top, 166);
}

TEST_F(MainFormTest, ProgressWindowLayout)
{
    EXPECT_EQ(Text(progress.Handle()), "morvido ver.2.4");
    EXPECT_EQ(Text(progress.Label1), "レジストリをスキャンしています。");
    EXPECT_EQ(GetWindowLongA(progress.Handle(), GWL_STYLE) & WS_SYSMENU, 0) << "no caption buttons";
    RECT client{};
    GetClientRect(progress.Handle(), &client);
    EXPECT_EQ(client.right, 308);
    EXPECT_EQ(client.bottom, 78);
    const RECT bar = PlaceInParent(progress.ProgressBar1), label = PlaceInParent(progress.Label1);
    const RECT picture = PlaceInParent(progress.Image1);
    EXPECT_EQ((std::vector<LONG>{bar.left, bar.top, bar.right - bar.left, bar.bottom - bar.top}),
              (std::vector<LONG>{56, 40, 233, 16}));
    EXPECT_EQ((std::vector<LONG>{label.left, label.top}), (std::vector<LONG>{56, 16}));
    EXPECT_EQ((std::vector<LONG>{picture.left, picture.top, picture.right - picture.left}),
              (std::vector<LONG>{8, 16, 32}));
    EXPECT_EQ(SendMessageA(progress.ProgressBar1, PBM_GETRANGE, FALSE, 0), 100);

    progress.SetPosition(60);
    progress.ShowProgress();
    EXPECT_TRUE(IsWindowVisible(progress.Handle()));
    EXPECT_EQ(SendMessageA(progress.ProgressBar1, PBM_GETPOS, 0, 0), 0);
    progress.HideProgress();
    EXPECT_FALSE(IsWindowVisible(progress.Handle()));
}
