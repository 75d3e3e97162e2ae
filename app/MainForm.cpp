#include "app/MainForm.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <utility>

#include "app/AboutForm.h"
#include "app/DefaultsCommand.h"
#include "app/ElevatedRestart.h"
#include "app/MainMenus.h"
#include "app/Settings.h"
#include "dialogs/AssociationForm.h"
#include "dialogs/CreatorChooser.h"
#include "dialogs/SaveDialog.h"
#include "model/Elevation.h"
#include "model/RegText.h"
#include "ui/ChildWindows.h"
#include "ui/FormKit.h"
#include "ui/MessageBox.h"
#include "ui/resource.h"
#include "view/ShellServices.h"

namespace {

constexpr const char* kListViewHint = "アイコンをダブルクリックすると、関連づけ情報を変更することができます。";
constexpr const char* kImage1Hint = "クリックすると関連づけを変更することができます。";
constexpr const char* kRestartQuestion =
    "変更した情報があります。\n管理者として再起動しますか? 変更した情報は失われます。";
constexpr const char* kRestartFailed = "morvidoを管理者として起動できませんでした。";

// Heights and places of the window's parts, in pixels at 96 DPI.
constexpr int kPanel1Height = 156;
constexpr int kPanel2Height = 29;
constexpr int kStatusBarHeight = 19;
constexpr int kButtonSize = 25, kButtonTop = 2, kGlyphSize = 16;
constexpr int kPictureSize = 32;

} // namespace

TForm1::~TForm1()
{
    if (hwnd_)
        DestroyWindow(hwnd_);
}

bool TForm1::Create()
{
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    if (!RegisterFormClass(instance, kMainFormClass, WindowProc, IDI_MORVIDO) || !RegisterPanelClass(instance))
        return false;
    return CreateWindowExA(0, kMainFormClass, "", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 202, 111, 688, 434, nullptr,
                           nullptr, instance, this) != nullptr;
}

bool TForm1::TranslateShortcut(MSG& msg)
{
    return hwnd_ && accelerators_ && TranslateAcceleratorA(hwnd_, accelerators_.Get(), &msg);
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
    case WM_DROPFILES:
        FilesDropped(reinterpret_cast<HDROP>(wParam));
        return 0;
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
    SetMenu(hwnd_, CreateMainMenu());
    // A process keeps its rights for life: the restart is of no use once
    // elevated.
    if (ProcessIsElevated())
        EnableMenuItem(GetMenu(hwnd_), IDM_RESTART_ELEVATED, MF_BYCOMMAND | MF_GRAYED);
    popupMenu_.Reset(CreateListMenu());
    PopupMenu1 = popupMenu_.Get();
    accelerators_.Reset(CreateShortcuts());
    LoadPictures();
    ApplyFontsAndPictures();
    LayoutControls();
    LoadSettings();
    // A registry script dropped on the window is loaded for review. An
    // elevated window must let the drop's messages in from Explorer, which
    // runs with less rights (0x0049 carries the dropped names).
    DragAcceptFiles(hwnd_, TRUE);
    for (const UINT message : {UINT(WM_DROPFILES), UINT(WM_COPYDATA), UINT(0x0049)})
        ChangeWindowMessageFilterEx(hwnd_, message, MSGFLT_ALLOW, nullptr);
    return true;
}

// Runs after every child is gone, so nothing still uses the handles.
void TForm1::FormDestroy()
{
    accelerators_.Reset(), popupMenu_.Reset(), list_.ImageList1.Reset(), list_.ImageList2.Reset();
    image2_.Reset(), image3_.Reset(), font_.Reset();
    glyphs_ = {};
    hints_.Clear();
    detail_ = DetailPanel();
    PopupMenu1 = nullptr, Image2 = Image3 = nullptr, list_.ListView1 = nullptr;
    restarting_ = false;
    Panel1 = Panel2 = StatusBar1 = ToolTip1 = nullptr;
    SpeedButton.fill(nullptr);
}

bool TForm1::CreateControls()
{
    // Without WS_CLIPCHILDREN: a group box does not paint its inside, so
    // the panel must paint it.
    Panel1 = CreateChild(kPanelClass, "", WS_BORDER, hwnd_, IDC_FORM1_PANEL1);
    Panel2 = CreateChild(kPanelClass, "", WS_CLIPCHILDREN, Panel1, IDC_FORM1_PANEL2);
    if (!Panel1 || !Panel2 || !detail_.Create(Panel1))
        return false;
    hints_.Hints()[detail_.Image1] = kImage1Hint;

    if (!list_.Create(
            hwnd_, IDC_FORM1_LISTVIEW1, [this](WORD key) { ListView1KeyUp(key); },
            [this](HWND header) { CursorMoved(header); }))
        return false;
    hints_.Hints()[list_.ListView1] = kListViewHint;

    // Placed by hand at the bottom: the bar keeps the fixed height of the
    // layout instead of the one it would compute from its font.
    StatusBar1 = CreateChild(STATUSCLASSNAMEA, "", SBARS_SIZEGRIP | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER,
                             hwnd_, IDC_FORM1_STATUSBAR1);
    if (!StatusBar1)
        return false;
    SendMessageA(StatusBar1, SB_SIMPLE, TRUE, 0);
    hints_.Attach(StatusBar1);

    ToolTip1 = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    CreateToolbarButtons(Panel2, ToolTip1, SpeedButton, hints_.Hints());
    return true;
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
    for (const ToolbarButton& button : ToolbarButtons()) {
        ScopedIcon glyph(static_cast<HICON>(
            LoadImageA(instance, MAKEINTRESOURCEA(button.glyph), IMAGE_ICON, glyphSize, glyphSize, 0)));
        SendMessageA(SpeedButton[button.number], BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(glyph.Get()));
        glyphs_[button.number] = std::move(glyph);
    }
    // Until a row is shown the detail icon shows the placeholder.
    detail_.ShowPlaceholder(Image2);
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
    SetWindowPos(list_.ListView1, nullptr, 0, panelHeight, width, std::max(0, height - panelHeight - statusHeight),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(StatusBar1, nullptr, 0, height - statusHeight, width, statusHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    for (const ToolbarButton& button : ToolbarButtons())
        PlaceChild(SpeedButton[button.number], button.x, kButtonTop, kButtonSize, kButtonSize, dpi_);
    detail_.Layout(dpi_);
}

void TForm1::FormResize()
{
    if (!detail_.GroupBox1)
        return;
    RECT outer{};
    GetWindowRect(hwnd_, &outer);
    detail_.Resize(outer.right - outer.left, dpi_, font_.Get());
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
    // The user gave up the changes to restart, and the settings are saved.
    if (restarting_)
        return true;
    if (!editor_.CloseQuery())
        return false;
    SaveSettings();
    return true;
}

void TForm1::LoadSettings()
{
    const WindowSettings settings = LoadWindowSettings();
    const RECT& place = settings.Place;
    SetWindowPos(hwnd_, nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    list_.SetViewStyle(settings.ViewStyle);
    for (int column = 0; column < kListColumnCount; ++column)
        list_.SetColumnWidth(column, settings.ColumnWidths[static_cast<size_t>(column)]);
    list_.SortDirection.fill(-1);
    if (settings.SaveTarget == 0 || settings.SaveTarget == 1)
        SetSaveTarget(settings.SaveTarget == 0 ? SaveTarget::User : SaveTarget::Machine);
    else
        SetSaveTarget(ProcessIsElevated() ? SaveTarget::Machine : SaveTarget::User);
}

void TForm1::SetSaveTarget(SaveTarget target)
{
    editor_.Target = target;
    const bool user = target == SaveTarget::User;
    CheckSaveTarget(GetMenu(hwnd_), user);
    hints_.SetIdleText(SaveTargetText(user, ProcessIsElevated(), ProcessAccountName()));
}

void TForm1::SaveSettings()
{
    WindowSettings settings;
    settings.Place = NormalWindowRect(hwnd_);
    settings.ViewStyle = list_.ViewStyle();
    settings.SaveTarget = editor_.Target == SaveTarget::User ? 0 : 1;
    for (int column = 0; column < kListColumnCount; ++column)
        settings.ColumnWidths[static_cast<size_t>(column)] = list_.ColumnWidth(column);
    std::string failure;
    if (!SaveWindowSettings(settings, failure))
        ShowError(failure);
}

void TForm1::CommandReceived(UINT id, UINT code)
{
    if (id == IDC_FORM1_IMAGE1) {
        if (code == STN_CLICKED)
            RunCommand(IDM_EDIT);
        return;
    }
    // Menus send 0, shortcuts 1, buttons BN_CLICKED (0).
    if (code == 0 || code == 1)
        RunCommand(id);
}

LRESULT TForm1::NotifyReceived(const NMHDR& header)
{
    if (header.hwndFrom != list_.ListView1)
        return 0;
    switch (header.code) {
    case LVN_GETDISPINFOA:
        list_.GetDispInfo(const_cast<NMLVDISPINFOA&>(reinterpret_cast<const NMLVDISPINFOA&>(header)));
        break;
    case LVN_ODFINDITEMA:
    case LVN_ODFINDITEMW:
        return list_.FindItem(reinterpret_cast<const NMLVFINDITEMA&>(header), header.code == LVN_ODFINDITEMW);
    case NM_CUSTOMDRAW:
        return list_.CustomDraw(const_cast<NMLVCUSTOMDRAW&>(reinterpret_cast<const NMLVCUSTOMDRAW&>(header)));
    case NM_CLICK:
        ShowSelectedDetail();
        break;
    case NM_DBLCLK:
        RunCommand(IDM_EDIT);
        break;
    case LVN_KEYDOWN:
        if (reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey == VK_RETURN)
            RunCommand(IDM_EDIT);
        break;
    case LVN_COLUMNCLICK:
        if (!editor_.Scanning)
            list_.SortByColumn(reinterpret_cast<const NMLISTVIEW&>(header).iSubItem);
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
    const HWND list = list_.ListView1;
    if (!list || (source != list && !IsChild(list, source)))
        return;
    const POINT point = list_.ContextMenuPoint(position);
    TrackPopupMenu(PopupMenu1, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, point.x, point.y, 0, hwnd_, nullptr);
}

// Called for every mouse move over the window; true when the mouse is over
// a child, which then chooses its own cursor.
bool TForm1::CursorMoved(HWND target)
{
    hints_.ShowForMouse(hwnd_);
    return target != hwnd_;
}

// The first file of the drop; a drop of several is one user action, and
// loading each would ask as many times.
void TForm1::FilesDropped(HDROP drop)
{
    std::string path;
    if (const UINT length = DragQueryFileA(drop, 0, nullptr, 0); length != 0) {
        path.assign(length + 1, '\0');
        path.resize(DragQueryFileA(drop, 0, path.data(), length + 1));
    }
    DragFinish(drop);
    if (!path.empty() && !editor_.Scanning)
        editor_.LoadScript(path);
}

void TForm1::ListView1KeyUp(WORD key)
{
    if (key == VK_LEFT || key == VK_UP || key == VK_RIGHT || key == VK_DOWN)
        ShowSelectedDetail();
}

void TForm1::RunCommand(UINT id)
{
    struct Command {
        UINT id;
        // Reloads, catalog changes, sorts and exports wait until a running
        // scan has ended: the scan rebuilds the catalog between messages.
        bool waitsForScan;
        void (*run)(TForm1& form);
    };
    static const Command commands[] = {
        {IDM_RELOAD, true, [](TForm1& form) { form.editor_.ReloadFromRegistry(true); }},
        {IDM_COMMIT, true, [](TForm1& form) { form.CommitCommand(); }},
        {IDM_RESTART_ELEVATED, true, [](TForm1& form) { form.RestartCommand(); }},
        {IDM_EXPORT_SELECTED, true, [](TForm1& form) { form.OnSelected(&AssociationEditor::ExportSelected); }},
        {IDM_EXPORT_CHANGES, true, [](TForm1& form) { form.editor_.ExportChanges(); }},
        {IDM_EXPORT_DEFAULTS, true,
         [](TForm1& form) {
             SaveDefaultAssociationsFile(form.hwnd_, form.editor_.Catalog, form.list_.SelectedKey(),
                                         form.editor_.ShowingSchemes);
         }},
        // Posted, so the window is not destroyed under the menu or button
        // that asked for it.
        {IDM_IMPORT_SCRIPT, true, [](TForm1& form) { form.editor_.ImportScript(); }},
        {IDM_CLOSE, false, [](TForm1& form) { PostMessageA(form.hwnd_, WM_CLOSE, 0, 0); }},
        {IDM_EDIT, true, [](TForm1& form) { form.EditAssociation(); }},
        {IDM_ADD, true, [](TForm1& form) { form.AddAssociation(); }},
        {IDM_DELETE, true, [](TForm1& form) { form.DeleteAssociation(); }},
        {IDM_VIEW_LARGE_ICONS, false, [](TForm1& form) { form.list_.SetViewStyle(0); }},
        {IDM_VIEW_SMALL_ICONS, false, [](TForm1& form) { form.list_.SetViewStyle(1); }},
        {IDM_VIEW_LIST, false, [](TForm1& form) { form.list_.SetViewStyle(2); }},
        {IDM_VIEW_REPORT, false, [](TForm1& form) { form.list_.SetViewStyle(3); }},
        {IDM_VIEW_PROTOCOLS, true, [](TForm1& form) { form.ShowProtocols(!form.editor_.ShowingSchemes); }},
        {IDM_SORT_EXTENSION, true, [](TForm1& form) { form.list_.SortByColumn(0); }},
        {IDM_SORT_CONTENT_TYPE, true, [](TForm1& form) { form.list_.SortByColumn(1); }},
        {IDM_SORT_CREATOR, true, [](TForm1& form) { form.list_.SortByColumn(2); }},
        {IDM_SORT_KIND, true, [](TForm1& form) { form.list_.SortByColumn(3); }},
        {IDM_SORT_PROGRAM, true, [](TForm1& form) { form.list_.SortByColumn(5); }},
        {IDM_SORT_ORIGIN, true, [](TForm1& form) { form.list_.SortByColumn(6); }},
        {IDM_SORT_CHOICE, true, [](TForm1& form) { form.list_.SortByColumn(7); }},
        {IDM_RELEASE_CHOICE, true, [](TForm1& form) { form.OnSelected(&AssociationEditor::ReleaseUserChoice); }},
        {IDM_TARGET_USER, false, [](TForm1& form) { form.SetSaveTarget(SaveTarget::User); }},
        {IDM_TARGET_MACHINE, false, [](TForm1& form) { form.SetSaveTarget(SaveTarget::Machine); }},
        {IDM_HELP, false, [](TForm1& form) { OpenHelpDocument(form.hwnd_); }},
        {IDM_ABOUT, false, [](TForm1& form) {
             if (form.Form6)
                 form.Form6->ShowModal();
         }},
    };
    for (const Command& command : commands) {
        if (command.id != id)
            continue;
        if (command.waitsForScan && editor_.Scanning)
            return;
        command.run(*this);
        return;
    }
}

void TForm1::CommitCommand()
{
    if (editor_.CommitChanges())
        editor_.ReloadFromRegistry(true);
}

void TForm1::RestartCommand()
{
    if (ProcessIsElevated())
        return;
    if (editor_.Modified &&
        Ask(kRestartQuestion, kCaptionConfirm, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
        return;
    RestartElevated();
}

void TForm1::RestartElevated()
{
    // Before the start: the new copy reads them as it opens.
    SaveSettings();
    const DWORD result = StartElevatedCopy(hwnd_, InstanceGuard);
    // Cancelled is the user's own "no" at the elevation prompt.
    if (result == ERROR_CANCELLED)
        return;
    if (result != ERROR_SUCCESS) {
        ShowError(kRestartFailed);
        return;
    }
    restarting_ = true;
    // Posted: the commit that offered the restart is still on the stack.
    PostMessageA(hwnd_, WM_CLOSE, 0, 0);
}

void TForm1::OnSelected(void (AssociationEditor::*command)(const std::string& extension))
{
    if (const ListRow* row = list_.Selected())
        (editor_.*command)(row->Caption);
}

void TForm1::EditAssociation()
{
    if (Form5)
        OnSelected(&AssociationEditor::EditAssociation);
}

void TForm1::DeleteAssociation()
{
    if (Form10)
        OnSelected(&AssociationEditor::DeleteAssociation);
}

void TForm1::ShowProtocols(bool schemes)
{
    // Reading the schemes opens every class key.
    const HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    editor_.ShowSchemes(schemes);
    SetCursor(previous);
    CheckMenuItem(GetMenu(hwnd_), IDM_VIEW_PROTOCOLS, MF_BYCOMMAND | (schemes ? MF_CHECKED : MF_UNCHECKED));
    ShowSchemeSorts(GetMenu(hwnd_), schemes);
    ShowSchemeSorts(popupMenu_.Get(), schemes);
    list_.ShowSchemeColumns(schemes);
    FillViewRows();
    if (!schemes)
        ShowChooserRows();
    detail_.Clear(Image2);
}

void TForm1::FillViewRows()
{
    if (editor_.ShowingSchemes)
        list_.FillSchemeRows(editor_.Catalog);
    else
        list_.FillExtensionRows(editor_.Catalog);
}

void TForm1::ShowSelectedDetail()
{
    const ListRow* row = list_.Selected();
    if (!row)
        return;
    if (editor_.ShowingSchemes) {
        if (const SchemeEntry* scheme = Find(editor_.Catalog.SchemeMap, row->Caption))
            detail_.ShowScheme(*row, list_.ImageList1.Get(), *scheme);
        return;
    }
    // The panel lists the creator's verbs, which the scan leaves unread.
    if (const ExtensionEntry* extension = Find(editor_.Catalog.ExtensionMap, row->Caption))
        editor_.ReadVerbsOf(extension->Creator);
    detail_.Show(*row, list_.ImageList1.Get(), editor_.Catalog);
}

int TForm1::Ask(const std::string& text, const char* caption, UINT flags) { return ShowMessage(text, caption, flags); }

void TForm1::ScanBegins()
{
    progress_ = ScanProgressReporter(Form3);
    list_.BeginRefill(Image3);
    if (Form3)
        Form3->ShowProgress();
}

void TForm1::CatalogScanned()
{
    const AssociationCatalog& catalog = editor_.Catalog;
    list_.LoadIcons(catalog, [this](size_t i, size_t n) { progress_.Report(i, n, 50, 25); });
    if (editor_.ShowingSchemes)
        list_.FillSchemeRows(catalog);
    else
        list_.FillRows(catalog, [this](size_t i, size_t n) { progress_.Report(i, n, 25, 75); });
}

void TForm1::ScanEnds()
{
    if (Form3)
        Form3->HideProgress();
    list_.EndRefill();
    ShowChooserRows();
    detail_.Clear(Image2);
}

void TForm1::CatalogChanged()
{
    if (editor_.ShowingSchemes)
        list_.FillSchemeRows(editor_.Catalog);
    else
        list_.RefreshListItems(editor_.Catalog);
    ShowChooserRows();
    ShowSelectedDetail();
}

void TForm1::ShowChooserRows()
{
    // The chooser offers the extensions' creators: the protocol view's
    // rows have none, and the rows it offered stay until the list shows
    // extensions again.
    if (editor_.ShowingSchemes)
        return;
    list_.FillChooserRows(editor_.Catalog);
    if (Form7)
        Form7->ShowRows(&list_.ChooserRows, list_.ImageList1.Get(), list_.ImageList2.Get());
}

bool TForm1::RunDialog(AssociationDialog dialog, const AssociationFields& shown, const EditLocks& locks,
                       AssociationFields& confirmed)
{
    const bool scheme = dialog == AssociationDialog::EditScheme || dialog == AssociationDialog::AddScheme;
    TAssociationForm* form = dialog == AssociationDialog::Edit || dialog == AssociationDialog::EditScheme ? Form5
                             : dialog == AssociationDialog::Add || dialog == AssociationDialog::AddScheme ? Form11
                                                                                                          : Form10;
    if (!form)
        return false;
    form->ShowScheme(scheme);
    // The picture of the row: its creator's, or for a deletion what the
    // row shows, which may be the deleted marker.
    const ListRow* row = list_.Selected();
    const int image = dialog == AssociationDialog::Edit || dialog == AssociationDialog::EditScheme
                          ? list_.ImageOf(shown.Creator)
                      : dialog == AssociationDialog::Delete && row && !shown.Creator.empty() ? row->Image
                                                                                              : list_.DefaultIconIndex;
    ScopedIcon picture(ImageList_GetIcon(list_.ImageList1.Get(), image, ILD_NORMAL));
    form->ShowFields(shown, picture.Get());
    form->ApplyLocks(locks);
    if (!form->ShowModal())
        return false;
    confirmed = form->ReadFields();
    return true;
}

bool TForm1::ChooseExportFile(std::string& path) { return ExecuteSaveDialog1(hwnd_, path); }

bool TForm1::ChooseScriptFile(std::string& path) { return ExecuteOpenDialog1(hwnd_, path); }
