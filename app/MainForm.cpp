#include "app/MainForm.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <iterator>
#include <utility>

#include "app/AboutForm.h"
#include "app/DefaultsCommand.h"
#include "app/FormKit.h"
#include "app/MessageBox.h"
#include "app/resource.h"
#include "model/RegText.h"
#include "view/ListControl.h"
#include "view/ShellServices.h"

namespace {

constexpr const char* kPanelClass = "TPanel";
constexpr const char* kCloseQuestion = "データが変更されています。変更をレジストリーに反映させますか";
constexpr const char* kListViewHint = "アイコンをダブルクリックすると、関連づけ情報を変更することができます。";
constexpr const char* kImage1Hint = "クリックすると関連づけを変更することができます。";

// Heights and places of the window's parts, in pixels at 96 DPI.
constexpr int kPanel1Height = 124;
constexpr int kPanel2Height = 29;
constexpr int kStatusBarHeight = 19;
constexpr int kGroupBoxLeft = 8, kGroupBoxTop = 37, kGroupBoxWidth = 537, kGroupBoxHeight = 73;
constexpr int kGroupBoxMargin = 30;    // window outer width minus group box width
constexpr int kProgramLabelMargin = 150; // group box width minus Label4 width
constexpr int kButtonSize = 25, kButtonTop = 2, kGlyphSize = 16;
constexpr int kPictureSize = 32;

struct ToolbarButton {
    int number; // SpeedButtonN
    UINT command;
    int x;
    int glyph;
    const char* hint; // tooltip|status bar text
};

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
    {IDM_CLOSE, "終了(&X)"},
    {0, "編集(&E)"},
    {IDM_EDIT, "編集(&E)"},
    {IDM_ADD, "追加(&A)"},
    {IDM_DELETE, "削除(&D)"},
    {0, "表示(&V)"},
    {IDM_VIEW_LARGE_ICONS, "大きいアイコン(&G)"},
    {IDM_VIEW_SMALL_ICONS, "小さいアイコン(&M)"},
    {IDM_VIEW_LIST, "一覧(&L)"},
    {IDM_VIEW_REPORT, "詳細(&B)"},
    kSeparator,
    {IDM_SORT_EXTENSION, "拡張子でソート(&E)"},
    {IDM_SORT_CONTENT_TYPE, "内容の種類でソート(&Q)"},
    {IDM_SORT_CREATOR, "ｸﾘｴｰﾀｰでソート(&R)"},
    {IDM_SORT_KIND, "ﾌｧｲﾙの種類でソート(&S)"},
    {IDM_SORT_PROGRAM, "実行ﾌﾟﾛｸﾞﾗﾑでソート(&T)"},
    {0, "ﾍﾙﾌﾟ(&H)"},
    {IDM_HELP, "ﾍﾙﾌﾟ(&H)"},
    {IDM_ABOUT, "ﾊﾞｰｼﾞｮﾝ情報(&A)"},
};

constexpr MenuItem kListMenu[] = {
    {IDM_EDIT, "編集(&E)"},
    {IDM_ADD, "追加(&A)"},
    {IDM_DELETE, "削除(&D)"},
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

// The detail panel's labels inside GroupBox1. A width of 0 reaches to the
// group box's right edge, as the names and kinds they show vary in length.
struct DetailLabel {
    HWND TForm1::*control;
    int id;
    int x, y, width;
    const char* text;
};

constexpr DetailLabel kDetailLabels[] = {
    {&TForm1::Label6, IDC_FORM1_LABEL6, 64, 15, 51, "ｸﾘｴｰﾀ- ："},
    {&TForm1::Label2, IDC_FORM1_LABEL2, 115, 15, 0, "Creator"},
    {&TForm1::Label5, IDC_FORM1_LABEL5, 64, 33, 76, "ﾌｧｲﾙの種類 ："},
    {&TForm1::Label3, IDC_FORM1_LABEL3, 140, 33, 0, "Kind"},
    {&TForm1::Label1, IDC_FORM1_LABEL1, 64, 50, 76, "実行ﾌﾟﾛｸﾞﾗﾑ ："},
    {&TForm1::Label4, IDC_FORM1_LABEL4, 140, 50, kGroupBoxWidth - 146, "Program"},
};
constexpr int kDetailRightMargin = 8;
constexpr int kImage1Left = 16, kImage1Top = 22, kImage1Size = 33;

// Panels and the group box hand what their children tell them to the main
// window, which handles every command and notification of the form.
LRESULT ForwardToForm(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return SendMessageA(GetAncestor(window, GA_ROOT), message, wParam, lParam);
}

LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        return ForwardToForm(window, message, wParam, lParam);
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        RECT rect;
        GetClientRect(window, &rect);
        DrawEdge(dc, &rect, BDR_RAISEDINNER, BF_RECT);
        EndPaint(window, &paint);
        return 0;
    }
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK ForwardingSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR)
{
    switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        return ForwardToForm(window, message, wParam, lParam);
    case WM_NCDESTROY:
        RemoveWindowSubclass(window, ForwardingSubclass, id);
        break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

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

bool RegisterPanelClass(HINSTANCE instance)
{
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExA(instance, kPanelClass, &wc))
        return true;
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = PanelProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kPanelClass;
    return RegisterClassExA(&wc) != 0;
}

HWND CreateChild(const char* className, const char* text, DWORD style, HWND parent, int id, DWORD exStyle = 0)
{
    return CreateWindowExA(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
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

std::string StatusTextOf(const std::string& hint)
{
    const size_t bar = hint.find('|');
    return bar == std::string::npos ? hint : hint.substr(bar + 1);
}

int TextHeightOf(HFONT font)
{
    HDC dc = GetDC(nullptr);
    const HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return metrics.tmHeight;
}

} // namespace

TForm1::~TForm1()
{
    if (hwnd_)
        DestroyWindow(hwnd_);
}

bool TForm1::Create()
{
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExA(instance, kMainFormClass, &wc)) {
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = WindowProc;
        wc.hInstance = instance;
        wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_MORVIDO));
        wc.hIconSm = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_MORVIDO), IMAGE_ICON,
                                                   GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
        wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = kMainFormClass;
        if (!RegisterClassExA(&wc))
            return false;
    }
    if (!RegisterPanelClass(instance))
        return false;
    return CreateWindowExA(0, kMainFormClass, "", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 202, 111, 688, 434, nullptr,
                           nullptr, instance, this) != nullptr;
}

bool TForm1::TranslateShortcut(MSG& msg)
{
    return hwnd_ && accelerators_ && TranslateAcceleratorA(hwnd_, accelerators_, &msg);
}

LRESULT TForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return FormCreate() ? 0 : -1;
    case WM_SIZE:
        LayoutControls();
        FormResize();
        return 0;
    case WM_COMMAND:
        CommandReceived(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_NOTIFY:
        return NotifyReceived(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        return ControlColorRequested(reinterpret_cast<HDC>(wParam));
    case WM_CONTEXTMENU:
        ContextMenuRequested(reinterpret_cast<HWND>(wParam), lParam);
        return 0;
    case WM_SETCURSOR:
        if (CursorMoved(reinterpret_cast<HWND>(wParam)))
            return FALSE;
        break;
    case WM_DPICHANGED:
        FormDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_CLOSE:
        if (FormCloseQuery())
            DestroyWindow(hwnd_);
        return 0;
    case WM_QUERYENDSESSION:
        return FormCloseQuery() ? TRUE : FALSE;
    case WM_NCDESTROY:
        FormDestroy();
        break;
    }
    return DefWindowProcA(hwnd_, message, wParam, lParam);
}

bool TForm1::FormCreate()
{
    dpi_ = WindowDpi(hwnd_);
    SetWindowTextA(hwnd_, kVersionLine);
    if (!CreateControls())
        return false;
    CreateMenus();
    LoadPictures();
    ApplyFontsAndPictures();
    LayoutControls();
    CreateListColumns();
    LoadSettings();
    return true;
}

// Runs after every child is gone, so nothing still uses the handles.
void TForm1::FormDestroy()
{
    if (accelerators_) {
        DestroyAcceleratorTable(accelerators_);
        accelerators_ = nullptr;
    }
    if (PopupMenu1) {
        DestroyMenu(PopupMenu1);
        PopupMenu1 = nullptr;
    }
    if (ImageList1) {
        ImageList_Destroy(ImageList1);
        ImageList1 = nullptr;
    }
    if (ImageList2) {
        ImageList_Destroy(ImageList2);
        ImageList2 = nullptr;
    }
    Image2 = Image3 = nullptr;
    image2_.Reset();
    image3_.Reset();
    for (ScopedIcon& glyph : glyphs_)
        glyph.Reset();
    font_.Reset();
    hints_.clear();
    statusText_.clear();
    Panel1 = Panel2 = GroupBox1 = Image1 = ListView1 = StatusBar1 = ToolTip1 = nullptr;
    Label1 = Label2 = Label3 = Label4 = Label5 = Label6 = nullptr;
    SpeedButton.fill(nullptr);
}

bool TForm1::CreateControls()
{
    // Without WS_CLIPCHILDREN: a group box does not paint its inside, so
    // the panel must paint it.
    Panel1 = CreateChild(kPanelClass, "", WS_BORDER, hwnd_, IDC_FORM1_PANEL1);
    Panel2 = CreateChild(kPanelClass, "", WS_CLIPCHILDREN, Panel1, IDC_FORM1_PANEL2);
    GroupBox1 = CreateChild(WC_BUTTONA, "拡張子", BS_GROUPBOX, Panel1, IDC_FORM1_GROUPBOX1);
    if (!Panel1 || !Panel2 || !GroupBox1)
        return false;
    SetWindowSubclass(GroupBox1, ForwardingSubclass, 0, 0);

    Image1 = CreateChild(WC_STATICA, "", SS_ICON | SS_NOTIFY | SS_CENTERIMAGE, GroupBox1, IDC_FORM1_IMAGE1);
    for (const DetailLabel& label : kDetailLabels)
        this->*label.control =
            CreateChild(WC_STATICA, label.text, SS_LEFTNOWORDWRAP | SS_NOPREFIX, GroupBox1, label.id);
    hints_[Image1] = kImage1Hint;

    // The window keeps ownership of the image lists: the list only borrows
    // them, and the scan and the workflows rebuild their contents.
    ImageList1 = ImageList_Create(32, 32, ILC_COLOR32 | ILC_MASK, 16, 16);
    ImageList2 = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 16, 16);
    ListView1 = CreateChild(
        WC_LISTVIEWA, "",
        WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHAREIMAGELISTS | LVS_AUTOARRANGE | LVS_OWNERDATA, hwnd_,
        IDC_FORM1_LISTVIEW1, WS_EX_CLIENTEDGE);
    if (!ImageList1 || !ImageList2 || !ListView1)
        return false;
    ListView_SetExtendedListViewStyle(ListView1, LVS_EX_FULLROWSELECT);
    ListView_SetBkColor(ListView1, RGB(255, 255, 255));
    ListView_SetTextBkColor(ListView1, RGB(255, 255, 255));
    ListView_SetImageList(ListView1, ImageList1, LVSIL_NORMAL);
    ListView_SetImageList(ListView1, ImageList2, LVSIL_SMALL);
    SetListSubclasses(true);
    hints_[ListView1] = kListViewHint;

    // Placed by hand at the bottom: the bar keeps the fixed height of the
    // layout instead of the one it would compute from its font.
    StatusBar1 = CreateChild(STATUSCLASSNAMEA, "", SBARS_SIZEGRIP | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER,
                             hwnd_, IDC_FORM1_STATUSBAR1);
    if (!StatusBar1)
        return false;
    SendMessageA(StatusBar1, SB_SIMPLE, TRUE, 0);

    CreateToolbar();
    return true;
}

void TForm1::CreateToolbar()
{
    ToolTip1 = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    for (const ToolbarButton& button : kToolbar) {
        const HWND control = CreateChild(WC_BUTTONA, "", BS_PUSHBUTTON | BS_ICON, Panel2, button.command);
        SpeedButton[button.number] = control;
        hints_[control] = button.hint;
        SetWindowSubclass(control, SpeedButtonSubclass, 0, 0);
        if (!ToolTip1 || !control)
            continue;
        const std::string hint = button.hint;
        std::string tip = hint.substr(0, hint.find('|'));
        TTTOOLINFOA tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = Panel2;
        tool.uId = reinterpret_cast<UINT_PTR>(control);
        tool.lpszText = tip.data();
        SendMessageA(ToolTip1, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void TForm1::CreateMenus()
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
    SetMenu(hwnd_, mainMenu);

    PopupMenu1 = CreatePopupMenu();
    for (const MenuItem& item : kListMenu)
        AppendItem(PopupMenu1, item, false);

    ACCEL table[std::size(kShortcuts)];
    for (size_t i = 0; i < std::size(kShortcuts); ++i)
        table[i] = ACCEL{kShortcuts[i].modifiers, kShortcuts[i].key, static_cast<WORD>(kShortcuts[i].command)};
    accelerators_ = CreateAcceleratorTableA(table, static_cast<int>(std::size(kShortcuts)));
}

// The two hidden pictures keep the image lists' 32 x 32 at every DPI, as
// they are copied into them.
void TForm1::LoadPictures()
{
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    image2_.Reset(static_cast<HICON>(
        LoadImageA(instance, MAKEINTRESOURCEA(IDI_IMAGE2), IMAGE_ICON, kPictureSize, kPictureSize, 0)));
    image3_.Reset(static_cast<HICON>(
        LoadImageA(instance, MAKEINTRESOURCEA(IDI_IMAGE3), IMAGE_ICON, kPictureSize, kPictureSize, 0)));
    Image2 = image2_.Get();
    Image3 = image3_.Get();
}

// Font and glyphs for the window's DPI. The old ones go only once no
// control uses them any more.
void TForm1::ApplyFontsAndPictures()
{
    ScopedFont font(CreateFormFont(dpi_));
    SetFontOfTree(hwnd_, font.Get());
    if (ToolTip1)
        SendMessageA(ToolTip1, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), FALSE);
    font_ = std::move(font);

    const HINSTANCE instance = GetModuleHandleA(nullptr);
    const int glyphSize = ScaleToDpi(kGlyphSize, dpi_);
    for (const ToolbarButton& button : kToolbar) {
        ScopedIcon glyph(static_cast<HICON>(
            LoadImageA(instance, MAKEINTRESOURCEA(button.glyph), IMAGE_ICON, glyphSize, glyphSize, 0)));
        SendMessageA(SpeedButton[button.number], BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(glyph.Get()));
        glyphs_[button.number] = std::move(glyph);
    }
    // Until a row is shown the detail icon shows the placeholder.
    const HICON shown = reinterpret_cast<HICON>(SendMessageA(Image1, STM_GETICON, 0, 0));
    if (!shown)
        SendMessageA(Image1, STM_SETICON, reinterpret_cast<WPARAM>(Image2), 0);
}

// Places every control: the panels, list and status bar fill the client
// area top to bottom, the rest sits at fixed places inside the panels.
void TForm1::LayoutControls()
{
    if (!Panel1)
        return;
    RECT client{};
    GetClientRect(hwnd_, &client);
    const int width = client.right, height = client.bottom;
    const int panelHeight = ScaleToDpi(kPanel1Height, dpi_);
    const int statusHeight = ScaleToDpi(kStatusBarHeight, dpi_);
    SetWindowPos(Panel1, nullptr, 0, 0, width, panelHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT panel{};
    GetClientRect(Panel1, &panel);
    SetWindowPos(Panel2, nullptr, 0, 0, panel.right, ScaleToDpi(kPanel2Height, dpi_), SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(ListView1, nullptr, 0, panelHeight, width, std::max(0, height - panelHeight - statusHeight),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(StatusBar1, nullptr, 0, height - statusHeight, width, statusHeight, SWP_NOZORDER | SWP_NOACTIVATE);

    for (const ToolbarButton& button : kToolbar)
        PlaceChild(SpeedButton[button.number], button.x, kButtonTop, kButtonSize, kButtonSize, dpi_);
    RECT group{};
    GetWindowRect(GroupBox1, &group);
    SetWindowPos(GroupBox1, nullptr, ScaleToDpi(kGroupBoxLeft, dpi_), ScaleToDpi(kGroupBoxTop, dpi_),
                 group.right > group.left ? group.right - group.left : ScaleToDpi(kGroupBoxWidth, dpi_),
                 ScaleToDpi(kGroupBoxHeight, dpi_), SWP_NOZORDER | SWP_NOACTIVATE);
    PlaceChild(Image1, kImage1Left, kImage1Top, kImage1Size, kImage1Size, dpi_);
}

void TForm1::FormResize()
{
    if (!GroupBox1)
        return;
    RECT outer{};
    GetWindowRect(hwnd_, &outer);
    const int groupWidth = std::max(0, static_cast<int>(outer.right - outer.left) - ScaleToDpi(kGroupBoxMargin, dpi_));
    SetWindowPos(GroupBox1, nullptr, 0, 0, groupWidth, ScaleToDpi(kGroupBoxHeight, dpi_),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const int labelHeight = TextHeightOf(font_.Get());
    for (const DetailLabel& label : kDetailLabels) {
        int width = ScaleToDpi(label.width, dpi_);
        if (label.control == &TForm1::Label4)
            width = groupWidth - ScaleToDpi(kProgramLabelMargin, dpi_);
        else if (label.width == 0)
            width = groupWidth - ScaleToDpi(label.x + kDetailRightMargin, dpi_);
        SetWindowPos(this->*label.control, nullptr, ScaleToDpi(label.x, dpi_), ScaleToDpi(label.y, dpi_),
                     std::max(0, width), labelHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void TForm1::FormDpiChanged(UINT dpi, const RECT& suggested)
{
    dpi_ = dpi;
    ApplyFontsAndPictures();
    SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    LayoutControls();
    FormResize();
}

bool TForm1::FormCloseQuery()
{
    // The scan fills the list between messages; closing under it would
    // pull the window away from the running scan.
    if (Scanning)
        return false;
    if (Modified) {
        switch (ShowMessage(kCloseQuestion, kCaptionConfirm, MB_YESNOCANCEL | MB_ICONQUESTION)) {
        case IDYES: {
            const bool committed = CommitChanges();
            NotifyAssociationsChanged();
            // Entries that failed keep their marks; closing would lose them.
            if (!committed)
                return false;
            break;
        }
        case IDNO:
            break;
        default:
            return false;
        }
    }
    SaveSettings();
    return true;
}

void TForm1::CommandReceived(UINT id, UINT code)
{
    if (id == IDC_FORM1_IMAGE1) {
        if (code == STN_CLICKED)
            Image1Click();
        return;
    }
    // Menus send 0, shortcuts 1, buttons BN_CLICKED (0).
    if (code == 0 || code == 1)
        RunCommand(id);
}

LRESULT TForm1::NotifyReceived(const NMHDR& header)
{
    if (header.hwndFrom != ListView1)
        return 0;
    switch (header.code) {
    case LVN_GETDISPINFOA:
        ListView1GetDispInfo(const_cast<NMLVDISPINFOA&>(reinterpret_cast<const NMLVDISPINFOA&>(header)));
        break;
    case LVN_ODFINDITEMA:
    case LVN_ODFINDITEMW:
        return ListView1FindItem(reinterpret_cast<const NMLVFINDITEMA&>(header), header.code == LVN_ODFINDITEMW);
    case NM_CLICK:
        ListView1Click();
        break;
    case NM_DBLCLK:
        ListView1DblClick();
        break;
    case LVN_KEYDOWN:
        ListView1KeyDown(reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey);
        break;
    case LVN_COLUMNCLICK:
        ListView1ColumnClick(reinterpret_cast<const NMLISTVIEW&>(header).iSubItem);
        break;
    }
    return 0;
}

// Every label, picture and button of the form sits on the panel's face.
LRESULT TForm1::ControlColorRequested(HDC dc)
{
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

void TForm1::ContextMenuRequested(HWND source, LPARAM position)
{
    if (!ListView1 || (source != ListView1 && !IsChild(ListView1, source)))
        return;
    POINT point{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    // From the keyboard: at the focused row, or at the list's corner.
    if (position == -1) {
        RECT rect{};
        const int focused = ListView_GetNextItem(ListView1, -1, LVNI_FOCUSED);
        if (focused < 0 || !ListView_GetItemRect(ListView1, focused, &rect, LVIR_LABEL))
            rect = RECT{};
        point = POINT{rect.left, rect.bottom};
        ClientToScreen(ListView1, &point);
    }
    TrackPopupMenu(PopupMenu1, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, point.x, point.y, 0, hwnd_, nullptr);
}

// Called for every mouse move over the window; true when the mouse is over
// a child, which then chooses its own cursor.
bool TForm1::CursorMoved(HWND target)
{
    POINT point{};
    GetCursorPos(&point);
    // Labels and group boxes let the mouse through to what lies below them,
    // so the target of the message is not always the control under the
    // mouse: look it up by position instead.
    HWND control = hwnd_;
    for (;;) {
        POINT local = point;
        ScreenToClient(control, &local);
        const HWND child = ChildWindowFromPointEx(control, local, CWP_SKIPINVISIBLE);
        if (!child || child == control)
            break;
        control = child;
    }
    ShowHintOf(control);
    return target != hwnd_;
}

void TForm1::ShowHintOf(HWND control)
{
    std::string hint;
    for (HWND window = control; window && window != hwnd_; window = GetParent(window)) {
        const auto found = hints_.find(window);
        if (found != hints_.end()) {
            hint = found->second;
            break;
        }
    }
    const std::string text = StatusTextOf(hint);
    if (text == statusText_)
        return;
    statusText_ = text;
    SendMessageA(StatusBar1, SB_SETTEXTA, SB_SIMPLEID, reinterpret_cast<LPARAM>(statusText_.c_str()));
}

// The list's key releases reach the form through a subclass. The column
// header sets its own cursor without asking its parents, so the hint has to
// be told about the mouse there directly, through one more.
void TForm1::SetListSubclasses(bool attached)
{
    HWND header = ListView_GetHeader(ListView1);
    if (attached) {
        SetWindowSubclass(ListView1, ListView1Subclass, 0, reinterpret_cast<DWORD_PTR>(this));
        if (header)
            SetWindowSubclass(header, HeaderSubclass, 0, reinterpret_cast<DWORD_PTR>(this));
    } else {
        RemoveWindowSubclass(ListView1, ListView1Subclass, 0);
        if (header)
            RemoveWindowSubclass(header, HeaderSubclass, 0);
    }
}

void TForm1::SuspendListSubclasses()
{
    if (listSubclassesSuspended_++ == 0 && ListView1)
        SetListSubclasses(false);
}

void TForm1::ResumeListSubclasses()
{
    if (--listSubclassesSuspended_ == 0 && ListView1)
        SetListSubclasses(true);
}

LRESULT CALLBACK TForm1::ListView1Subclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                           DWORD_PTR form)
{
    switch (message) {
    case WM_KEYUP:
        reinterpret_cast<TForm1*>(form)->ListView1KeyUp(static_cast<WORD>(wParam));
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(window, ListView1Subclass, id);
        break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

LRESULT CALLBACK TForm1::HeaderSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                        DWORD_PTR form)
{
    switch (message) {
    case WM_SETCURSOR:
        reinterpret_cast<TForm1*>(form)->CursorMoved(window);
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(window, HeaderSubclass, id);
        break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

void TForm1::ListView1Click() { ShowSelectedDetail(); }

void TForm1::ListView1DblClick() { RunCommand(IDM_EDIT); }

void TForm1::ListView1KeyDown(WORD key)
{
    if (key == VK_RETURN)
        RunCommand(IDM_EDIT);
}

void TForm1::ListView1KeyUp(WORD key)
{
    if (key == VK_LEFT || key == VK_UP || key == VK_RIGHT || key == VK_DOWN)
        ShowSelectedDetail();
}

void TForm1::ListView1ColumnClick(int column)
{
    if (!Scanning)
        SortByColumn(column);
}

void TForm1::Image1Click() { RunCommand(IDM_EDIT); }

void TForm1::RunCommand(UINT id)
{
    struct Command {
        UINT id;
        // Reloads, catalog changes and sorts wait until a running scan has
        // ended: the scan adds the rows in catalog order between messages.
        bool waitsForScan;
        void (*run)(TForm1& form);
    };
    static const Command commands[] = {
        {IDM_RELOAD, true, [](TForm1& form) { form.ReloadCommand(); }},
        {IDM_COMMIT, true, [](TForm1& form) { form.CommitCommand(); }},
        {IDM_EXPORT_SELECTED, false, [](TForm1& form) { form.ExportSelected(); }},
        {IDM_EXPORT_CHANGES, false, [](TForm1& form) { form.ExportChanges(); }},
        {IDM_EXPORT_DEFAULTS, true, [](TForm1& form) { form.ExportDefaultAssociations(); }},
        {IDM_CLOSE, false, [](TForm1& form) { form.CloseCommand(); }},
        {IDM_EDIT, true, [](TForm1& form) { form.EditAssociation(); }},
        {IDM_ADD, true, [](TForm1& form) { form.AddAssociation(); }},
        {IDM_DELETE, true, [](TForm1& form) { form.DeleteAssociation(); }},
        {IDM_VIEW_LARGE_ICONS, false, [](TForm1& form) { form.SetViewStyle(0); }},
        {IDM_VIEW_SMALL_ICONS, false, [](TForm1& form) { form.SetViewStyle(1); }},
        {IDM_VIEW_LIST, false, [](TForm1& form) { form.SetViewStyle(2); }},
        {IDM_VIEW_REPORT, false, [](TForm1& form) { form.SetViewStyle(3); }},
        {IDM_SORT_EXTENSION, true, [](TForm1& form) { form.SortByColumn(0); }},
        {IDM_SORT_CONTENT_TYPE, true, [](TForm1& form) { form.SortByColumn(1); }},
        {IDM_SORT_CREATOR, true, [](TForm1& form) { form.SortByColumn(2); }},
        {IDM_SORT_KIND, true, [](TForm1& form) { form.SortByColumn(3); }},
        {IDM_SORT_PROGRAM, true, [](TForm1& form) { form.SortByColumn(5); }},
        {IDM_HELP, false, [](TForm1& form) { form.ShowHelp(); }},
        {IDM_ABOUT, false, [](TForm1& form) { form.ShowAbout(); }},
    };
    for (const Command& command : commands) {
        if (command.id != id)
            continue;
        if (command.waitsForScan && Scanning)
            return;
        command.run(*this);
        return;
    }
}

void TForm1::ReloadCommand() { ReloadFromRegistry(true); }

void TForm1::CommitCommand()
{
    if (CommitChanges())
        ReloadFromRegistry(true);
}

// Posted, so the window is not destroyed under the menu or button that
// asked for it.
void TForm1::CloseCommand() { PostMessageA(hwnd_, WM_CLOSE, 0, 0); }

namespace {
constexpr DWORD kViewStyles[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
}

void TForm1::SetViewStyle(int style)
{
    // The list knows only four styles; anything else shows large icons.
    if (style < 0 || style >= static_cast<int>(std::size(kViewStyles)))
        style = 0;
    const LONG_PTR bits = GetWindowLongPtrA(ListView1, GWL_STYLE);
    SetWindowLongPtrA(ListView1, GWL_STYLE, (bits & ~static_cast<LONG_PTR>(LVS_TYPEMASK)) | kViewStyles[style]);
    InvalidateRect(ListView1, nullptr, TRUE);
}

int TForm1::ViewStyle() const
{
    const DWORD type = static_cast<DWORD>(GetWindowLongPtrA(ListView1, GWL_STYLE)) & LVS_TYPEMASK;
    for (size_t i = 0; i < std::size(kViewStyles); ++i)
        if (kViewStyles[i] == type)
            return static_cast<int>(i);
    return 0;
}

void TForm1::ExportDefaultAssociations()
{
    const int row = SelectedRow(ListView1);
    SaveDefaultAssociationsFile(hwnd_, Catalog(), row < 0 ? std::string() : RowText(ListView1, row, 0));
}

void TForm1::ShowHelp() { OpenHelpDocument(hwnd_); }

void TForm1::ShowAbout()
{
    if (Form6)
        Form6->ShowModal();
}
