#include "dialogs/AssociationForm.h"

#include <windowsx.h>

#include <algorithm>
#include <iterator>
#include <utility>

#include "ui/FormKit.h"
#include "ui/MessageBox.h"
#include "ui/resource.h"
#include "dialogs/CreatorChooser.h"

namespace {

struct VariantTexts {
    const char* caption;
    const char* okButton;
    const char* cancelButton;
    const char* iconFilter;
    const char* programFilter;
    const char* programExtension;
    const char* programTitle; // nullptr: the dialog's own title
    int chooserTag;
};

// Indexed by AssociationVariant. The delete variant browses nothing.
constexpr VariantTexts kVariants[] = {
    {"関連付けの編集", "変更する", "変更しない",
     "ｱｲｺﾝﾌｧｲﾙ(*.exe,*.dll,*.ico)|*.exe;*.dll;*.ico|すべてのﾌｧｲﾙ(*.*)|*.*",
     "ﾌﾟﾛｸﾞﾗﾑﾌｧｲﾙ(*.exe)|*.exe|すべてのﾌｧｲﾙ(*.*)|*.*", "exe", nullptr, 5},
    {"関連づけの追加", "追加する", "追加しない",
     "ｱｲｺﾝﾌｧｲﾙ(*.ico,*.exe,*.dll)|*.ico;*.exe;*.dll|すべてのﾌｧｲﾙ(*.*)|*.*", "ﾌﾟﾛｸﾞﾗﾑ(*.exe)|*.exe",
     // A default extension is appended to a typed name: "*.exe" would
     // make "name.*.exe" of it.
     "exe", "実行プログラムの選択", 11},
    {"関連づけの削除", "削除する", "削除しない", nullptr, nullptr, nullptr, nullptr, 0},
};

// The control that shows each text of the dialog; the remembered icon file
// has none.
struct FieldControl {
    std::string AssociationFields::*text;
    int control;
};
constexpr FieldControl kFieldControls[] = {
    {&AssociationFields::Extension, IDC_ASSOC_EDIT10},   {&AssociationFields::ContentType, IDC_ASSOC_EDIT2},
    {&AssociationFields::Creator, IDC_ASSOC_EDIT9},      {&AssociationFields::Kind, IDC_ASSOC_EDIT3},
    {&AssociationFields::ExtensionText, IDC_ASSOC_LABEL12}, {&AssociationFields::IconSource, IDC_ASSOC_EDIT1},
    {&AssociationFields::Command, IDC_ASSOC_EDIT4},      {&AssociationFields::DdeMessage, IDC_ASSOC_EDIT5},
    {&AssociationFields::DdeApplication, IDC_ASSOC_EDIT6}, {&AssociationFields::DdeIfExec, IDC_ASSOC_EDIT8},
    {&AssociationFields::DdeTopic, IDC_ASSOC_EDIT7},
};

int ControlOf(std::string AssociationFields::*text)
{
    for (const FieldControl& field : kFieldControls)
        if (field.text == text)
            return field.control;
    return 0;
}

constexpr const char* kExtensionPathMessage = "拡張子に「\\」を使うことはできません。";
constexpr const char* kCreatorPathMessage = "新しいクリエーターの名前に「\\」を使うことはできません。";

constexpr const char* kTabCaptions[] = {"拡張子とｸﾘｴｰﾀ-の関連", "ｸﾘｴｰﾀｰの設定(ｱｲｺﾝ)", "ｸﾘｴｰﾀｰの設定(\"開く\"動作)"};
constexpr int kPageTemplates[] = {IDD_ASSOCIATION_PAGE1, IDD_ASSOCIATION_PAGE2, IDD_ASSOCIATION_PAGE3};
constexpr const char* kIconBrowseTitle = "アイコンを提供するファイルの選択";
constexpr const char* kIconColumn = "アイコン番号";

// Sizes in pixels at 96 DPI.
constexpr int kClientWidth = 412, kClientHeight = 284;
constexpr int kAddOuterWidth = 420, kAddOuterHeight = 311;
constexpr int kButtonStrip = 43; // below the page control
constexpr int kButtonWidth = 75, kButtonHeight = 25, kButtonGap = 8, kButtonMargin = 8;
constexpr int kListMargin = 8;   // around the icon list on page 2

// Controls the program fills or the workflows read, found on their page.
constexpr int kControlIds[] = {
    IDC_ASSOC_EDIT10, IDC_ASSOC_EDIT2,  IDC_ASSOC_IMAGE1,    IDC_ASSOC_EDIT9,     IDC_ASSOC_BUTTON6,
    IDC_ASSOC_EDIT3,  IDC_ASSOC_LABEL12, IDC_ASSOC_EDIT1,    IDC_ASSOC_BUTTON1,   IDC_ASSOC_LISTVIEW1,
    IDC_ASSOC_EDIT4,  IDC_ASSOC_BUTTON4, IDC_ASSOC_CHECKBOX1, IDC_ASSOC_GROUPBOX3, IDC_ASSOC_EDIT5,
    IDC_ASSOC_EDIT6,  IDC_ASSOC_EDIT8,  IDC_ASSOC_EDIT7,     IDC_ASSOC_LABEL_EDIT5, IDC_ASSOC_LABEL_EDIT6,
    IDC_ASSOC_LABEL_EDIT8, IDC_ASSOC_LABEL_EDIT7,
};
// The DDE group: what CheckBox1 enables.
constexpr int kDdeGroup[] = {IDC_ASSOC_GROUPBOX3,    IDC_ASSOC_LABEL_EDIT5, IDC_ASSOC_EDIT5, IDC_ASSOC_LABEL_EDIT6,
                             IDC_ASSOC_EDIT6,        IDC_ASSOC_LABEL_EDIT8, IDC_ASSOC_EDIT8, IDC_ASSOC_LABEL_EDIT7,
                             IDC_ASSOC_EDIT7};

} // namespace

TAssociationForm::TAssociationForm(AssociationVariant variant) : Dialog(IDD_ASSOCIATION), Variant(variant) {}

bool TAssociationForm::ShowModal()
{
    FormShow();
    return ShowModalOver();
}

int TAssociationForm::ChooserTag() const { return kVariants[static_cast<int>(Variant)].chooserTag; }

HWND TAssociationForm::Control(int id) const
{
    const auto found = controls_.find(id);
    return found == controls_.end() ? nullptr : found->second;
}

// The pages are dialogs of their own inside this one; what their controls
// report belongs to the dialog.
INT_PTR CALLBACK TAssociationForm::PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return FALSE;
    case WM_COMMAND:
        SendMessageA(GetParent(page), message, wParam, lParam);
        return TRUE;
    case WM_NOTIFY:
        SetWindowLongPtrA(page, DWLP_MSGRESULT, SendMessageA(GetParent(page), message, wParam, lParam));
        return TRUE;
    }
    return FALSE;
}

INT_PTR TAssociationForm::HandleDialogMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        const int code = HIWORD(wParam);
        if (id == IDC_ASSOC_BUTTON2)
            Button2Click();
        else if (id == IDC_ASSOC_BUTTON3)
            Button3Click();
        else if (code == BN_CLICKED && id == IDC_ASSOC_CHECKBOX1)
            CheckBox1Click();
        else if (code == EN_CHANGE && id == IDC_ASSOC_EDIT9)
            Edit9Change();
        else if (code == BN_CLICKED && id == IDC_ASSOC_BUTTON1)
            Button1Click();
        else if (code == BN_CLICKED && id == IDC_ASSOC_BUTTON4)
            Button4Click();
        else if (code == BN_CLICKED && id == IDC_ASSOC_BUTTON6)
            Button6Click();
        return TRUE;
    }
    case WM_NOTIFY: {
        const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
        if (header.hwndFrom == PageControl2 && header.code == TCN_SELCHANGE)
            PageControl2Change();
        else if (header.hwndFrom == ListView1 && header.code == NM_CLICK)
            ListView1Click();
        return TRUE;
    }
    case WM_SIZE:
        LayoutControls();
        return TRUE;
    case WM_GETMINMAXINFO:
        // The add variant may grow, not shrink below its first size.
        if (Variant == AssociationVariant::Add) {
            auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
            limits->ptMinTrackSize = POINT{ScaleToDpi(kAddOuterWidth, dpi_), ScaleToDpi(kAddOuterHeight, dpi_)};
        }
        return TRUE;
    }
    return FALSE;
}

// The layout follows the client area, which the add variant lets the user
// size: the window takes the place and size the system suggests.
void TAssociationForm::DpiChanged(const RECT& suggested)
{
    SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    LayoutControls();
}

void TAssociationForm::FormCreate()
{
    const VariantTexts& texts = kVariants[static_cast<int>(Variant)];
    SetWindowTextA(hwnd_, texts.caption);
    PageControl2 = GetDlgItem(hwnd_, IDC_ASSOC_PAGECONTROL2);
    Button2 = GetDlgItem(hwnd_, IDC_ASSOC_BUTTON2);
    Button3 = GetDlgItem(hwnd_, IDC_ASSOC_BUTTON3);
    focusOnShow_ = Button3;
    SetWindowTextA(Button2, texts.okButton);
    SetWindowTextA(Button3, texts.cancelButton);

    for (size_t index = 0; index < TabSheets.size(); ++index) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(kTabCaptions[index]);
        SendMessageA(PageControl2, TCM_INSERTITEMA, index, reinterpret_cast<LPARAM>(&item));
        HWND page = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kPageTemplates[index]), hwnd_,
                                       PageProc, 0);
        TabSheets[index] = page;
        // Above the page control, which would paint over them otherwise.
        SetWindowPos(page, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        for (int id : kControlIds)
            if (HWND control = GetDlgItem(page, id))
                controls_[id] = control;
    }
    Edit10 = Control(IDC_ASSOC_EDIT10), Edit2 = Control(IDC_ASSOC_EDIT2), Edit9 = Control(IDC_ASSOC_EDIT9);
    Edit3 = Control(IDC_ASSOC_EDIT3), Label12 = Control(IDC_ASSOC_LABEL12), Edit1 = Control(IDC_ASSOC_EDIT1);
    Edit4 = Control(IDC_ASSOC_EDIT4), Edit5 = Control(IDC_ASSOC_EDIT5), Edit6 = Control(IDC_ASSOC_EDIT6);
    Edit7 = Control(IDC_ASSOC_EDIT7), Edit8 = Control(IDC_ASSOC_EDIT8), Image1 = Control(IDC_ASSOC_IMAGE1);
    Button1 = Control(IDC_ASSOC_BUTTON1), Button4 = Control(IDC_ASSOC_BUTTON4), Button6 = Control(IDC_ASSOC_BUTTON6);
    CheckBox1 = Control(IDC_ASSOC_CHECKBOX1), GroupBox3 = Control(IDC_ASSOC_GROUPBOX3);
    ListView1 = Control(IDC_ASSOC_LISTVIEW1);

    imageList_.Reset(ImageList_Create(32, 32, ILC_COLOR32 | ILC_MASK, 16, 16));
    ImageList1 = imageList_.Get();
    ListView_SetImageList(ListView1, ImageList1, LVSIL_NORMAL);
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<char*>(kIconColumn);
    column.cx = 100;
    SendMessageA(ListView1, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));

    if (Variant == AssociationVariant::Delete) {
        for (const FieldBinding& binding : FieldTable())
            if (HWND control = Control(ControlOf(binding.text)); control && binding.readBack)
                SendMessageA(control, EM_SETREADONLY, TRUE, 0);
        EnableWindow(CheckBox1, FALSE);
        for (HWND browse : {Button1, Button4, Button6})
            ShowWindow(browse, SW_HIDE);
    } else if (Variant == AssociationVariant::Edit) {
        SendMessageA(Edit10, EM_SETREADONLY, TRUE, 0);
    }

    if (Variant == AssociationVariant::Add) {
        SetWindowLongPtrA(hwnd_, GWL_STYLE, GetWindowLongPtrA(hwnd_, GWL_STYLE) | WS_THICKFRAME | WS_MAXIMIZEBOX);
        SetWindowPos(hwnd_, nullptr, 0, 0, ScaleToDpi(kAddOuterWidth, dpi_), ScaleToDpi(kAddOuterHeight, dpi_),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    } else {
        SetClientSize(hwnd_, kClientWidth, kClientHeight, dpi_);
    }
    LayoutControls();
    ShowPage(0);
    CenterOnDesktop(hwnd_);
}

void TAssociationForm::FormShow()
{
    ShowPage(0);
    CenterOnDesktop(hwnd_);
}

// The page control spans the top, the buttons sit under it at the right,
// the pages fill the page control's display area, and the icon list fills
// the lower part of its page.
void TAssociationForm::LayoutControls()
{
    if (!PageControl2)
        return;
    RECT client{};
    GetClientRect(hwnd_, &client);
    const int strip = ScaleToDpi(kButtonStrip, dpi_);
    const int buttonWidth = ScaleToDpi(kButtonWidth, dpi_), buttonHeight = ScaleToDpi(kButtonHeight, dpi_);
    const int pagesHeight = std::max(0, static_cast<int>(client.bottom) - strip);
    SetWindowPos(PageControl2, nullptr, 0, 0, client.right, pagesHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    const int buttonTop = pagesHeight + (strip - buttonHeight) / 2;
    const int cancelLeft = client.right - ScaleToDpi(kButtonMargin, dpi_) - buttonWidth;
    SetWindowPos(Button3, nullptr, cancelLeft, buttonTop, buttonWidth, buttonHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(Button2, nullptr, cancelLeft - ScaleToDpi(kButtonGap, dpi_) - buttonWidth, buttonTop, buttonWidth,
                 buttonHeight, SWP_NOZORDER | SWP_NOACTIVATE);

    RECT display{0, 0, client.right, pagesHeight};
    SendMessageA(PageControl2, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    for (HWND page : TabSheets)
        SetWindowPos(page, nullptr, display.left, display.top, display.right - display.left,
                     display.bottom - display.top, SWP_NOZORDER | SWP_NOACTIVATE);

    RECT list{};
    GetWindowRect(ListView1, &list);
    MapWindowPoints(nullptr, TabSheets[1], reinterpret_cast<POINT*>(&list), 2);
    const int margin = ScaleToDpi(kListMargin, dpi_);
    const int width = display.right - display.left - list.left - margin;
    const int height = display.bottom - display.top - list.top - margin;
    SetWindowPos(ListView1, nullptr, 0, 0, std::max(0, width), std::max(0, height),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TAssociationForm::ShowPage(int index)
{
    SendMessageA(PageControl2, TCM_SETCURSEL, index, 0);
    for (size_t page = 0; page < TabSheets.size(); ++page)
        ShowWindow(TabSheets[page], static_cast<int>(page) == index ? SW_SHOW : SW_HIDE);
}

void TAssociationForm::PageControl2Change()
{
    ShowPage(static_cast<int>(SendMessageA(PageControl2, TCM_GETCURSEL, 0, 0)));
}

void TAssociationForm::Button2Click()
{
    if (CheckNames) {
        const NameProblem problem = CheckNames(ReadFields());
        if (problem.field) {
            ShowError(NameProblemMessage(problem));
            HWND field = Control(ControlOf(problem.field));
            for (size_t page = 0; page < TabSheets.size(); ++page)
                if (IsChild(TabSheets[page], field))
                    ShowPage(static_cast<int>(page));
            SendMessageA(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(field), TRUE);
            return;
        }
    }
    EndModal(true);
}

void TAssociationForm::Button3Click() { EndModal(false); }

void TAssociationForm::CheckBox1Click()
{
    EnableDdeGroup(SendMessageA(CheckBox1, BM_GETCHECK, 0, 0) == BST_CHECKED);
}

void TAssociationForm::EnableDdeGroup(bool enabled)
{
    for (int id : kDdeGroup)
        EnableWindow(Control(id), enabled);
}

void TAssociationForm::Button4Click()
{
    const VariantTexts& texts = kVariants[static_cast<int>(Variant)];
    if (!texts.programFilter)
        return;
    std::string path;
    if (!ChooseFile(FileDialog::Open, hwnd_, texts.programTitle, texts.programFilter, texts.programExtension,
                    path))
        return;
    SetWindowTextA(Edit4, ("\"" + path + "\" \"%1\"").c_str());
}

void TAssociationForm::Button1Click()
{
    const VariantTexts& texts = kVariants[static_cast<int>(Variant)];
    if (!texts.iconFilter)
        return;
    std::string path;
    if (!ChooseFile(FileDialog::Open, hwnd_, kIconBrowseTitle, texts.iconFilter, nullptr, path))
        return;
    SelectedIconFile = path;
    FillIconList(SelectedIconFile);
    SetWindowTextA(Edit1, (SelectedIconFile + ",0").c_str());
    ShowListIcon(0);
}

void TAssociationForm::Button6Click()
{
    if (!Form7 || Variant == AssociationVariant::Delete)
        return;
    // The chooser writes the chosen creator into this dialog itself.
    Form7->Tag = ChooserTag();
    Form7->ShowModal(hwnd_);
}

void TAssociationForm::ListView1Click()
{
    if (Variant == AssociationVariant::Delete)
        return;
    const int row = ListView_GetNextItem(ListView1, -1, LVNI_SELECTED);
    if (row < 0)
        return;
    char caption[16] = {};
    ListView_GetItemText(ListView1, row, 0, caption, sizeof caption);
    const int number = atoi(caption);
    SetWindowTextA(Edit1, (SelectedIconFile + "," + std::to_string(number)).c_str());
    ShowListIcon(row);
}

void TAssociationForm::ShowBindings(const AssociationFields& fields, bool withExtension)
{
    for (const FieldBinding& binding : FieldTable()) {
        if (!withExtension && !binding.creatorField)
            continue;
        if (HWND control = Control(ControlOf(binding.text)))
            SetWindowTextA(control, (fields.*binding.text).c_str());
    }
    SelectedIconFile = fields.SelectedIconFile;
    SendMessageA(CheckBox1, BM_SETCHECK, fields.UsesDde ? BST_CHECKED : BST_UNCHECKED, 0);
    EnableDdeGroup(fields.UsesDde);
    FillIconList(SelectedIconFile);
}

void TAssociationForm::ShowFields(const AssociationFields& fields, HICON picture)
{
    ShowBindings(fields, true);
    SetPicture(picture ? CopyIcon(picture) : nullptr);
}

void TAssociationForm::ShowCreatorFields(const AssociationFields& fields)
{
    ShowBindings(fields, false);
    Edit9Change();
}

const char* NameProblemMessage(const NameProblem& problem)
{
    return problem.field == &AssociationFields::Extension ? kExtensionPathMessage : kCreatorPathMessage;
}

AssociationFields TAssociationForm::ReadFields() const
{
    AssociationFields fields;
    for (const FieldBinding& binding : FieldTable())
        if (HWND control = Control(ControlOf(binding.text)))
            fields.*binding.text = WindowText(control);
    fields.SelectedIconFile = SelectedIconFile;
    fields.UsesDde = SendMessageA(CheckBox1, BM_GETCHECK, 0, 0) == BST_CHECKED;
    return fields;
}

// Takes ownership of the icon; the old one goes once no longer shown.
void TAssociationForm::SetPicture(HICON picture)
{
    ScopedIcon icon(picture);
    SendMessageA(Image1, STM_SETICON, reinterpret_cast<WPARAM>(icon.Get()), 0);
    picture_ = std::move(icon);
}
