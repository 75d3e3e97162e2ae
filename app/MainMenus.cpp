#include "app/MainMenus.h"

#include <commctrl.h>

#include <iterator>
#include <string>
#include <string_view>

#include "ui/ChildWindows.h"
#include "ui/resource.h"

namespace {

// Left to right.
constexpr ToolbarButton kToolbar[] = {
    {12, IDM_EXPORT_CHANGES, 4, IDI_GLYPH_SAVE_ALL, "全保存|すべての変更したデータをファイルに保存します。"},
    {1, IDM_VIEW_LARGE_ICONS, 29, IDI_GLYPH_LARGE_ICONS, "大きいアイコン|大きいアイコンで表示します。"},
    {2, IDM_VIEW_SMALL_ICONS, 55, IDI_GLYPH_SMALL_ICONS, "小さいアイコン|小さいアイコンで表示します。"},
    {3, IDM_VIEW_LIST, 81, IDI_GLYPH_LIST, "一覧|一覧表示します。"},
    {4, IDM_VIEW_REPORT, 107, IDI_GLYPH_REPORT, "詳細|詳細表示します。"},
    {5, IDM_RELOAD, 133, IDI_GLYPH_RELOAD, "ﾚｼﾞｽﾄﾘ読込|レジストリを読み込み最新情報を表示します。"},
    {11, IDM_COMMIT, 159, IDI_GLYPH_COMMIT, "ﾚｼﾞｽﾄﾘ書込|編集した項目をレジストリに書き込みます。"},
    {6, IDM_EDIT, 185, IDI_GLYPH_EDIT, "編集|関連づけ情報を編集します。"},
    {7, IDM_ADD, 211, IDI_GLYPH_ADD, "追加|関連づけ情報を追加します。"},
    {8, IDM_DELETE, 238, IDI_GLYPH_DELETE, "削除|関連づけ情報を削除します。"},
    {9, IDM_ABOUT, 264, IDI_GLYPH_ABOUT, "ﾊﾞｰｼﾞｮﾝ|このソフトのバージョン情報を表示します。"},
    {10, IDM_CLOSE, 290, IDI_GLYPH_EXIT, "終了|ソフトウエアを終了します。"},
};

struct Shortcut {
    UINT command;
    BYTE modifiers;
    WORD key;
    const char* text; // shown in the menu after a tab
};

constexpr Shortcut kShortcuts[] = {
    {IDM_RELOAD, FVIRTKEY, VK_F5, "F5"},
    {IDM_EXPORT_CHANGES, FVIRTKEY | FCONTROL, 'S', "Ctrl+S"},
    {IDM_CLOSE, FVIRTKEY | FCONTROL, 'Q', "Ctrl+Q"},
    {IDM_ADD, FVIRTKEY, VK_INSERT, "Ins"},
    {IDM_DELETE, FVIRTKEY, VK_DELETE, "Del"},
    {IDM_HELP, FVIRTKEY, VK_F1, "F1"},
};

// A menu item; a null text is a separator, a zero command opens a sub-menu
// made of the items that follow up to the next sub-menu.
struct MenuItem {
    UINT command;
    const char* text;
};
constexpr MenuItem kSeparator{0, nullptr};

constexpr MenuItem kMainMenu[] = {
    {0, "ﾌｧｲﾙ(&F)"},
    {IDM_RELOAD, "レジストリ読込(&O)"},
    {IDM_COMMIT, "レジストリ書込(&V)"},
    kSeparator,
    {IDM_EXPORT_SELECTED, "選択項目ﾌｧｲﾙ保存(&T)"},
    {IDM_EXPORT_CHANGES, "全編集項目ﾌｧｲﾙ保存(&S)"},
    {IDM_EXPORT_DEFAULTS, "既定の関連付けをXMLに保存(&D)"},
    kSeparator,
    {IDM_IMPORT_SCRIPT, "レジストリファイルを読み込む(&I)..."},
    kSeparator,
    {IDM_RESTART_ELEVATED, "管理者として再起動(&R)"},
    {IDM_CLOSE, "終了(&X)"},
    {0, "編集(&E)"},
    {IDM_EDIT, "編集(&E)"},
    {IDM_ADD, "追加(&A)"},
    {IDM_DELETE, "削除(&D)"},
    kSeparator,
    {IDM_RELEASE_CHOICE, "ユーザーの選択を解除(&U)"},
    {0, "保存先(&W)"},
    {IDM_TARGET_USER, "このユーザーだけ(&U)"},
    {IDM_TARGET_MACHINE, "すべてのユーザー(&A)"},
    {0, "表示(&V)"},
    {IDM_VIEW_LARGE_ICONS, "大きいアイコン(&G)"},
    {IDM_VIEW_SMALL_ICONS, "小さいアイコン(&M)"},
    {IDM_VIEW_LIST, "一覧(&L)"},
    {IDM_VIEW_REPORT, "詳細(&B)"},
    kSeparator,
    {IDM_VIEW_PROTOCOLS, "プロトコル(&P)"},
    kSeparator,
    {IDM_SORT_EXTENSION, "拡張子でソート(&E)"},
    {IDM_SORT_CONTENT_TYPE, "内容の種類でソート(&Q)"},
    {IDM_SORT_CREATOR, "ｸﾘｴｰﾀｰでソート(&R)"},
    {IDM_SORT_KIND, "ﾌｧｲﾙの種類でソート(&S)"},
    {IDM_SORT_PROGRAM, "実行ﾌﾟﾛｸﾞﾗﾑでソート(&T)"},
    {IDM_SORT_ORIGIN, "場所でソート(&B)"},
    {IDM_SORT_CHOICE, "ユーザーの選択でソート(&U)"},
    {0, "ﾍﾙﾌﾟ(&H)"},
    {IDM_HELP, "ﾍﾙﾌﾟ(&H)"},
    {IDM_ABOUT, "ﾊﾞｰｼﾞｮﾝ情報(&A)"},
};

constexpr MenuItem kListMenu[] = {
    {IDM_EDIT, "編集(&E)"},
    {IDM_ADD, "追加(&A)"},
    {IDM_DELETE, "削除(&D)"},
    {IDM_RELEASE_CHOICE, "ユーザーの選択を解除(&U)"},
    kSeparator,
    {IDM_VIEW_LARGE_ICONS, "大きいアイコン(&G)"},
    {IDM_VIEW_SMALL_ICONS, "小さいアイコン(&M)"},
    {IDM_VIEW_LIST, "一覧(&L)"},
    {IDM_VIEW_REPORT, "詳細(&B)"},
    kSeparator,
    {IDM_SORT_EXTENSION, "拡張子でソート(&P)"},
    {IDM_SORT_CONTENT_TYPE, "内容の種類でソート(&Q)"},
    {IDM_SORT_CREATOR, "ｸﾘｴｰﾀｰでソート(&R)"},
    {IDM_SORT_KIND, "ﾌｧｲﾙの種類でソート(&S)"},
    {IDM_SORT_PROGRAM, "実行ﾌﾟﾛｸﾞﾗﾑでソート(&T)"},
    kSeparator,
    {IDM_EXPORT_SELECTED, "選択項目ﾌｧｲﾙ保存(&V)"},
};

// Toolbar buttons, like the platform's own, leave the keyboard focus where
// it was: after a click, arrow keys and Enter still reach the list.
LRESULT CALLBACK SpeedButtonSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR)
{
    switch (message) {
    case WM_SETFOCUS:
        if (HWND previous = reinterpret_cast<HWND>(wParam); previous && IsWindow(previous)) {
            SetFocus(previous);
            return 0;
        }
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(window, SpeedButtonSubclass, id);
        break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

const char* ShortcutText(UINT command)
{
    for (const Shortcut& shortcut : kShortcuts)
        if (shortcut.command == command)
            return shortcut.text;
    return nullptr;
}

void AppendItem(HMENU menu, const MenuItem& item, bool withShortcut)
{
    if (!item.text) {
        AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        return;
    }
    std::string text = item.text;
    const char* shortcut = withShortcut ? ShortcutText(item.command) : nullptr;
    if (shortcut)
        text += std::string("\t") + shortcut;
    AppendMenuA(menu, MF_STRING, item.command, text.c_str());
}

} // namespace

std::span<const ToolbarButton> ToolbarButtons() { return kToolbar; }

void CreateToolbarButtons(HWND panel, HWND tooltip, std::array<HWND, 13>& buttons,
                          std::map<HWND, std::string>& hints)
{
    for (const ToolbarButton& button : kToolbar) {
        const HWND control = CreateChild(WC_BUTTONA, "", BS_PUSHBUTTON | BS_ICON, panel, button.command);
        buttons[button.number] = control;
        hints[control] = button.hint;
        SetWindowSubclass(control, SpeedButtonSubclass, 0, 0);
        if (!tooltip || !control)
            continue;
        const std::string hint = button.hint;
        std::string tip = hint.substr(0, hint.find('|'));
        TTTOOLINFOA tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = panel;
        tool.uId = reinterpret_cast<UINT_PTR>(control);
        tool.lpszText = tip.data();
        SendMessageA(tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

HMENU CreateMainMenu()
{
    HMENU mainMenu = CreateMenu();
    HMENU current = nullptr;
    for (const MenuItem& item : kMainMenu) {
        if (item.command == 0 && item.text) {
            current = CreatePopupMenu();
            AppendMenuA(mainMenu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(current), item.text);
        } else if (current) {
            AppendItem(current, item, true);
        }
    }
    return mainMenu;
}

HMENU CreateListMenu()
{
    HMENU menu = CreatePopupMenu();
    for (const MenuItem& item : kListMenu)
        AppendItem(menu, item, false);
    return menu;
}

HACCEL CreateShortcuts()
{
    ACCEL table[std::size(kShortcuts)];
    for (size_t i = 0; i < std::size(kShortcuts); ++i)
        table[i] = ACCEL{kShortcuts[i].modifiers, kShortcuts[i].key, static_cast<WORD>(kShortcuts[i].command)};
    return CreateAcceleratorTableA(table, static_cast<int>(std::size(kShortcuts)));
}

void ShowSchemeSorts(HMENU menu, bool schemes)
{
    static constexpr std::string_view kExtension = "拡張子で", kScheme = "プロトコルで";
    const std::string_view from = schemes ? kExtension : kScheme, to = schemes ? kScheme : kExtension;
    char text[128] = {};
    // The item keeps its access key and shortcut, which differ per menu.
    if (GetMenuStringA(menu, IDM_SORT_EXTENSION, text, sizeof text, MF_BYCOMMAND) &&
        std::string_view(text).starts_with(from)) {
        std::string shown = std::string(to) + (text + from.size());
        MENUITEMINFOA item{};
        item.cbSize = sizeof item;
        item.fMask = MIIM_STRING;
        item.dwTypeData = shown.data();
        SetMenuItemInfoA(menu, IDM_SORT_EXTENSION, FALSE, &item);
    }
    for (UINT command : {IDM_SORT_CONTENT_TYPE, IDM_SORT_CREATOR})
        EnableMenuItem(menu, command, MF_BYCOMMAND | (schemes ? MF_GRAYED : MF_ENABLED));
}

void CheckSaveTarget(HMENU menu, bool user)
{
    CheckMenuRadioItem(menu, IDM_TARGET_USER, IDM_TARGET_MACHINE, user ? IDM_TARGET_USER : IDM_TARGET_MACHINE,
                       MF_BYCOMMAND);
}

std::string SaveTargetText(bool user, bool elevated, const std::string& account)
{
    if (!user)
        return "保存先: すべてのユーザー";
    // Whose classes change is not obvious after signing in as another
    // administrator at the elevation prompt.
    std::string text = "保存先: このユーザーだけ";
    if (!account.empty())
        text += " (" + account + ")";
    if (!elevated)
        text += "（管理者として実行していないため、すべてのユーザーの関連づけは変更できません）";
    return text;
}
