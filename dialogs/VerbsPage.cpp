#include "dialogs/VerbsPage.h"

#include <algorithm>
#include <iterator>
#include <string>

#include "ui/FormKit.h"
#include "ui/resource.h"
#include "model/VerbEdits.h"
#include "view/ShellServices.h"

namespace {
constexpr PageTables kTables{IDD_ASSOCIATION_PAGE4, "動作", "動作", {}, {}, {}};

struct Column {
    const char* title;
    int width; // pixels at 96 DPI
};
constexpr Column kColumns[] = {{"動作", 96}, {"表示名", 110}, {"コマンド", 200}};

constexpr const char* kDefaultMark = "（既定）";
constexpr const char* kHandledLine = "プログラムが処理する動作です。";
// Open's command is page 3's, which has its own place to clear it.
constexpr const char* kOpenLine = "「開く」動作のプログラムはクリエーターの設定で変更できます。";

// Pixels at 96 DPI between the controls when the page grows.
constexpr int kMargin = 6, kGap = 3;

std::string MenuText(const VerbEntry& verb)
{
    return verb.MuiVerb.empty() ? verb.Text : ResolveIndirectText(verb.MuiVerb);
}
} // namespace

VerbsPage::VerbsPage(AssociationVariant variant) : AssociationPage(kTables, variant) {}

void VerbsPage::PageCreate()
{
    ListView2 = Item(IDC_ASSOC_LISTVIEW2), Label13 = Item(IDC_ASSOC_LABEL13);
    Button7 = Item(IDC_ASSOC_BUTTON7), Button8 = Item(IDC_ASSOC_BUTTON8);
    Button9 = Item(IDC_ASSOC_BUTTON9), Button10 = Item(IDC_ASSOC_BUTTON10);
    ListView_SetExtendedListViewStyle(ListView2, LVS_EX_FULLROWSELECT);
    const UINT dpi = WindowDpi(hwnd_);
    for (size_t index = 0; index < std::size(kColumns); ++index) {
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<char*>(kColumns[index].title);
        column.cx = ScaleToDpi(kColumns[index].width, dpi);
        SendMessageA(ListView2, LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&column));
    }
    // A deletion only shows the verbs.
    if (variant_ == AssociationVariant::Delete)
        for (HWND button : {Button7, Button8, Button9, Button10})
            ShowWindow(button, SW_HIDE);
}

// The list takes the room the page has; the line and the buttons keep to
// its bottom.
void VerbsPage::Place(const RECT& area, UINT dpi)
{
    AssociationPage::Place(area, dpi);
    auto boundsOf = [this](HWND control) {
        RECT bounds{};
        GetWindowRect(control, &bounds);
        MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&bounds), 2);
        return bounds;
    };
    const int height = area.bottom - area.top;
    const RECT button = boundsOf(Button7), label = boundsOf(Label13), list = boundsOf(ListView2);
    const int buttonTop = height - ScaleToDpi(kMargin, dpi) - static_cast<int>(button.bottom - button.top);
    for (HWND each : {Button7, Button8, Button9, Button10}) {
        const RECT bounds = boundsOf(each);
        SetWindowPos(each, nullptr, bounds.left, buttonTop, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    const int labelHeight = label.bottom - label.top;
    const int labelTop = buttonTop - ScaleToDpi(kGap, dpi) - labelHeight;
    const int width = area.right - area.left - 2 * static_cast<int>(list.left);
    const int listHeight = labelTop - ScaleToDpi(kGap, dpi) - static_cast<int>(list.top);
    SetWindowPos(Label13, nullptr, label.left, labelTop, std::max(0, width), labelHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(ListView2, nullptr, 0, 0, std::max(0, width), std::max(0, listHeight),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void VerbsPage::ShowFields(const AssociationFields& fields, bool /*creatorOnly*/)
{
    // The verbs are the creator's: the chooser's pick brings them too.
    verbs_ = fields;
    FillList(fields, "");
}

void VerbsPage::ReadFields(AssociationFields& fields) const
{
    fields.VerbsRead = verbs_.VerbsRead;
    fields.VerbsOf = verbs_.VerbsOf;
    fields.DefaultVerb = verbs_.DefaultVerb;
    fields.Verbs = verbs_.Verbs;
}

void VerbsPage::ApplyLocks(const EditLocks& locks)
{
    locks_ = locks;
    SelectionChanged();
}

void VerbsPage::Refresh()
{
    if (CurrentFields)
        FillList(CurrentFields(), SelectedName());
}

void VerbsPage::PageCommand(int id, int code)
{
    if (code != BN_CLICKED)
        return;
    switch (id) {
    case IDC_ASSOC_BUTTON7:
        Button7Click();
        break;
    case IDC_ASSOC_BUTTON8:
        Button8Click();
        break;
    case IDC_ASSOC_BUTTON9:
        Button9Click();
        break;
    case IDC_ASSOC_BUTTON10:
        Button10Click();
        break;
    }
}

bool VerbsPage::PageNotify(const NMHDR& header)
{
    if (header.hwndFrom != ListView2)
        return false;
    if (header.code == LVN_ITEMCHANGED)
        SelectionChanged();
    else if (header.code == NM_DBLCLK && IsWindowEnabled(Button8) && IsWindowVisible(Button8))
        Button8Click();
    else
        return false;
    return true;
}

// Each row: the key name (marked when it is the default), the menu text,
// the command; open's command as page 3 holds it.
void VerbsPage::FillList(const AssociationFields& fields, const std::string& selected)
{
    const std::string defaultVerb = EffectiveDefaultVerb(fields);
    SendMessageA(ListView2, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(ListView2);
    int row = 0;
    for (const VerbEntry* verb : ListedVerbs(fields)) {
        const std::string cells[] = {
            verb->Name + (SameVerbName(verb->Name, defaultVerb) ? kDefaultMark : ""),
            MenuText(*verb),
            verb->IsOpen() ? fields.Command : verb->Command,
        };
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.pszText = const_cast<char*>(cells[0].c_str());
        SendMessageA(ListView2, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        for (int column = 1; column < 3; ++column)
            ListView_SetItemText(ListView2, row, column, const_cast<char*>(cells[column].c_str()));
        if (!selected.empty() && SameVerbName(verb->Name, selected)) {
            ListView_SetItemState(ListView2, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
            ListView_EnsureVisible(ListView2, row, FALSE);
        }
        ++row;
    }
    SendMessageA(ListView2, WM_SETREDRAW, TRUE, 0);
    SelectionChanged();
}

std::string VerbsPage::SelectedName() const
{
    const int row = ListView_GetNextItem(ListView2, -1, LVNI_SELECTED);
    const auto listed = ListedVerbs(verbs_);
    return row >= 0 && static_cast<size_t>(row) < listed.size() ? listed[static_cast<size_t>(row)]->Name
                                                                  : std::string();
}

// What the buttons may do follows the selected verb and the locks.
void VerbsPage::SelectionChanged()
{
    const VerbEntry verb = VerbToEdit(verbs_, SelectedName());
    const bool selected = !verb.Name.empty();
    const bool unlocked = !locks_.WholeDialog;
    EnableWindow(Button7, unlocked && !locks_.NewVerb);
    EnableWindow(Button8, unlocked && !locks_.EditVerb && selected && CanEditVerb(verb));
    EnableWindow(Button9, unlocked && !locks_.RemoveVerb && selected && CanDeleteVerb(verb));
    EnableWindow(Button10, unlocked && !locks_.EditVerb && selected);
    SetWindowTextA(Label13, verb.IsHandled() ? kHandledLine : selected && verb.IsOpen() ? kOpenLine : "");
}

void VerbsPage::Change(const std::function<void(AssociationFields&)>& rule, const std::string& select)
{
    AssociationFields fields = CurrentFields ? CurrentFields() : verbs_;
    const AssociationFields before = fields;
    rule(fields);
    verbs_ = fields;
    if (OpenCommandChanged && (fields.Command != before.Command || fields.UsesDde != before.UsesDde ||
                               fields.DdeMessage != before.DdeMessage || fields.DdeApplication != before.DdeApplication ||
                               fields.DdeIfExec != before.DdeIfExec || fields.DdeTopic != before.DdeTopic))
        OpenCommandChanged(fields);
    FillList(fields, select);
}

void VerbsPage::Button7Click()
{
    const AssociationFields shown = CurrentFields ? CurrentFields() : verbs_;
    Form8.CheckName = [&shown](const std::string& name) { return CheckNewVerbName(shown, name); };
    VerbEntry verb;
    if (!Form8.ShowModal(Frame(), verb, true, locks_))
        return;
    Change([&verb](AssociationFields& fields) { AddVerb(fields, verb); }, verb.Name);
}

void VerbsPage::Button8Click()
{
    const AssociationFields shown = CurrentFields ? CurrentFields() : verbs_;
    VerbEntry verb = VerbToEdit(shown, SelectedName());
    if (verb.Name.empty() || !CanEditVerb(verb))
        return;
    Form8.CheckName = nullptr;
    if (!Form8.ShowModal(Frame(), verb, false, locks_))
        return;
    Change([&verb](AssociationFields& fields) { EditVerb(fields, verb); }, verb.Name);
}

void VerbsPage::Button9Click()
{
    const std::string name = SelectedName();
    Change([&name](AssociationFields& fields) { DeleteVerb(fields, name); }, "");
}

void VerbsPage::Button10Click()
{
    const std::string name = SelectedName();
    Change([&name](AssociationFields& fields) { SetDefaultVerb(fields, name); }, name);
}
