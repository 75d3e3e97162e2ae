#include "dialogs/AssociationForm.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "ui/FormKit.h"
#include "ui/MessageBox.h"
#include "ui/resource.h"
#include "dialogs/CreatorChooser.h"
#include "model/CreatorEntry.h"
#include "view/EntryMessages.h"
#include "view/ShellServices.h"

namespace {

struct VariantTexts {
    const char* caption;
    const char* okButton;
    const char* cancelButton;
};

// Indexed by AssociationVariant.
constexpr VariantTexts kVariants[] = {
    {"関連付けの編集", "変更する", "変更しない"},
    {"関連づけの追加", "追加する", "追加しない"},
    {"関連づけの削除", "削除する", "削除しない"},
};

// The caption of the edit and add variants for a scheme.
constexpr const char* kSchemeCaptions[] = {"プロトコルの編集", "プロトコルの追加"};

constexpr const char* kExtensionPathMessage = "拡張子に「\\」を使うことはできません。";
constexpr const char* kCreatorPathMessage = "新しいクリエーターの名前に「\\」を使うことはできません。";
constexpr const char* kBadSchemeName =
    "プロトコルの名前は、英字で始まり、英数字と「+」「-」「.」だけでできている必要があります。";

// Sizes in pixels at 96 DPI.
constexpr int kClientWidth = 412, kClientHeight = 284;
constexpr int kAddOuterWidth = 420, kAddOuterHeight = 311;
constexpr int kButtonStrip = 43; // below the page control
constexpr int kButtonWidth = 75, kButtonHeight = 25, kButtonGap = 8, kButtonMargin = 8;

} // namespace

TAssociationForm::TAssociationForm(AssociationVariant variant)
    : Dialog(IDD_ASSOCIATION), Variant(variant), extensionPage_(variant), iconPage_(variant), openPage_(variant),
      verbsPage_(variant), pages_{&extensionPage_, &iconPage_, &openPage_, &verbsPage_}
{
}

TAssociationForm::~TAssociationForm()
{
    if (hwnd_)
        DestroyWindow(hwnd_);
}

bool TAssociationForm::ShowModal()
{
    FormShow();
    return ShowModalOver();
}

INT_PTR TAssociationForm::HandleDialogMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_ASSOC_BUTTON2)
            Button2Click();
        else if (LOWORD(wParam) == IDC_ASSOC_BUTTON3)
            Button3Click();
        return TRUE;
    case WM_NOTIFY: {
        const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
        if (header.hwndFrom == PageControl2 && header.code == TCN_SELCHANGE)
            PageControl2Change();
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
    CreatePages();

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

// One tab for each page, and the pages' controls where the workflows reach
// them.
void TAssociationForm::CreatePages()
{
    for (size_t index = 0; index < pages_.size(); ++index) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(pages_[index]->Caption());
        SendMessageA(PageControl2, TCM_INSERTITEMA, index, reinterpret_cast<LPARAM>(&item));
        pages_[index]->Create(hwnd_);
        TabSheets[index] = pages_[index]->Handle();
    }
    extensionPage_.CreatorChanged = [this] { CreatorChanged(); };
    extensionPage_.ChooseCreator = [this] { ChooseCreator(); };
    iconPage_.IconChosen = [this](ScopedIcon picture) { extensionPage_.SetPicture(std::move(picture)); };
    verbsPage_.CurrentFields = [this] { return ReadFields(); };
    // Open's command edited among the verbs is page 3's, shown there at once.
    verbsPage_.OpenCommandChanged = [this](const AssociationFields& fields) {
        openPage_.ShowFields(fields, true);
        openPage_.ApplyLocks(appliedLocks_);
    };

    const ExtensionPage& first = extensionPage_;
    Edit10 = first.Edit10, Edit2 = first.Edit2, Image1 = first.Image1, Edit9 = first.Edit9;
    Button6 = first.Button6, Edit3 = first.Edit3, Label12 = first.Label12;
    Edit1 = iconPage_.Edit1, Button1 = iconPage_.Button1, ListView1 = iconPage_.ListView1;
    const OpenPage& third = openPage_;
    Edit4 = third.Edit4, Button4 = third.Button4, CheckBox1 = third.CheckBox1, GroupBox3 = third.GroupBox3;
    Edit5 = third.Edit5, Edit6 = third.Edit6, Edit8 = third.Edit8, Edit7 = third.Edit7;
    const VerbsPage& fourth = verbsPage_;
    ListView2 = fourth.ListView2, Label13 = fourth.Label13, Button7 = fourth.Button7, Button8 = fourth.Button8;
    Button9 = fourth.Button9, Button10 = fourth.Button10, Form8 = &verbsPage_.Form8;
}

void TAssociationForm::FormShow()
{
    ShowPage(0);
    CenterOnDesktop(hwnd_);
}

// The page control spans the top, the buttons sit under it at the right,
// and the pages fill the page control's display area.
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
    for (AssociationPage* page : pages_)
        page->Place(display, dpi_);
}

void TAssociationForm::ShowPage(size_t index)
{
    SendMessageA(PageControl2, TCM_SETCURSEL, index, 0);
    // The verbs show open's command as page 3 holds it now.
    if (pages_[index] == &verbsPage_)
        verbsPage_.Refresh();
    for (size_t page = 0; page < pages_.size(); ++page)
        ShowWindow(pages_[page]->Handle(), page == index ? SW_SHOW : SW_HIDE);
}

void TAssociationForm::PageControl2Change()
{
    ShowPage(static_cast<size_t>(SendMessageA(PageControl2, TCM_GETCURSEL, 0, 0)));
}

void TAssociationForm::Button2Click()
{
    if (CheckNames) {
        const AssociationFields fields = ReadFields();
        const NameProblem problem = CheckNames(fields);
        if (problem.field) {
            ShowError(NameProblemMessage(problem, fields));
            for (size_t page = 0; page < pages_.size(); ++page)
                if (HWND field = pages_[page]->ControlOf(problem.field)) {
                    ShowPage(page);
                    SendMessageA(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(field), TRUE);
                    break;
                }
            return;
        }
    }
    EndModal(true);
}

void TAssociationForm::Button3Click() { EndModal(false); }

// The chooser only hands the creator back; the dialog shows it, with its
// picture, and the locks follow it.
void TAssociationForm::ChooseCreator()
{
    AssociationFields creator;
    if (!Form7 || Variant == AssociationVariant::Delete || !Form7->Choose(hwnd_, creator))
        return;
    ShowCreatorFields(creator);
    CreatorEntry icon;
    icon.IconSource = creator.IconSource;
    icon.ParseIconSource();
    ShowFileIcon(icon.IconFile, icon.IconNumber);
}

void TAssociationForm::ShowFileIcon(const std::string& file, int number)
{
    // As everywhere else, -1 shows the first icon, not the icon count.
    extensionPage_.SetPicture(ScopedIcon(ExtractIconFromFile(file, IconNumberToExtract(number))));
}

void TAssociationForm::ShowFields(const AssociationFields& fields, HICON picture)
{
    for (AssociationPage* page : pages_)
        page->ShowFields(fields, false);
    extensionPage_.SetPicture(ScopedIcon(picture ? CopyIcon(picture) : nullptr));
}

void TAssociationForm::ShowCreatorFields(const AssociationFields& fields)
{
    for (AssociationPage* page : pages_)
        page->ShowFields(fields, true);
    CreatorChanged();
}

void TAssociationForm::ShowScheme(bool scheme)
{
    const int variant = static_cast<int>(Variant);
    const bool named = scheme && variant < static_cast<int>(std::size(kSchemeCaptions));
    SetWindowTextA(hwnd_, named ? kSchemeCaptions[variant] : kVariants[variant].caption);
    for (size_t index = 0; index < pages_.size(); ++index) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(pages_[index]->Caption(scheme));
        SendMessageA(PageControl2, TCM_SETITEMA, index, reinterpret_cast<LPARAM>(&item));
    }
    // Shorter captions may take fewer rows of tabs: the pages follow.
    LayoutControls();
    extensionPage_.ShowScheme(scheme);
}

AssociationFields TAssociationForm::ReadFields() const
{
    AssociationFields fields;
    for (const AssociationPage* page : pages_)
        page->ReadFields(fields);
    return fields;
}

std::string NameProblemMessage(const NameProblem& problem, const AssociationFields& fields)
{
    if (problem.notScheme)
        return kBadSchemeName;
    if (problem.lockedScheme.WholeDialog)
        return LockedSchemeMessage(fields.Extension, problem.lockedScheme);
    return problem.field == &AssociationFields::Extension ? kExtensionPathMessage : kCreatorPathMessage;
}

void TAssociationForm::ApplyLocks(const EditLocks& locks)
{
    openedCreator_ = extensionPage_.Creator();
    openedLocks_ = locks;
    SetLocks(locks, true);
}

// The creator the dialog will write decides what is locked: typed or taken
// from the chooser, another creator brings its own flags.
void TAssociationForm::CreatorChanged()
{
    if (!LocksFor || !hwnd_)
        return;
    const std::string creator = extensionPage_.Creator();
    const bool opened = creator == openedCreator_;
    SetLocks(opened ? openedLocks_ : LocksFor(creator), opened);
}

void TAssociationForm::SetLocks(const EditLocks& locks, bool openedCreator)
{
    if (Variant == AssociationVariant::Delete || !hwnd_)
        return;
    // Only the creator the dialog opened with keeps the dialog from changing
    // anything: pointing the extension at a locked creator changes the
    // extension, not the creator.
    EditLocks applied = locks;
    applied.WholeDialog = locks.WholeDialog && openedCreator;
    appliedLocks_ = applied;
    for (AssociationPage* page : pages_)
        page->ApplyLocks(applied);
    EnableWindow(Button2, !applied.WholeDialog);
}
