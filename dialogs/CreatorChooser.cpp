#include "dialogs/CreatorChooser.h"

#include <algorithm>
#include <iterator>

#include "ui/FormKit.h"
#include "ui/resource.h"
#include "view/ListControl.h"

namespace {

struct ChooserColumn {
    const char* caption;
    int width;
};
constexpr ChooserColumn kColumns[] = {{"拡張子", 50}, {"MIME", 50}, {"ｸﾘｴｰﾀｰ", 120}, {"ﾌｧｲﾙの種類", 170}};

// Sizes in pixels at 96 DPI.
constexpr int kClientWidth = 412, kClientHeight = 284, kListHeight = 246;
constexpr int kButtonWidth = 75, kButtonHeight = 25, kButtonGap = 8, kButtonMargin = 8;

// Sub-item 1 of a row: its creator.
constexpr int kCreatorColumn = 2;

} // namespace

TForm7::TForm7() : Dialog(IDD_FORM7) {}

bool TForm7::Choose(HWND caller, AssociationFields& creator)
{
    // The main window is disabled by the caller already: the caller is the
    // one to disable now and to get the activation back on close.
    SetWindowLongPtrA(hwnd_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(caller));
    CenterOnDesktop(hwnd_);
    chosen_.reset();
    if (!ShowModalOver(caller) || !chosen_ || !CreatorFields)
        return false;
    creator = CreatorFields(*chosen_);
    return true;
}

void TForm7::ShowRows(const std::vector<ListRow>* rows, HIMAGELIST large, HIMAGELIST small)
{
    rows_ = rows;
    ListView_SetImageList(ListView1, large, LVSIL_NORMAL);
    ListView_SetImageList(ListView1, small, LVSIL_SMALL);
    ListView_SetItemState(ListView1, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_SetItemCountEx(ListView1, RowCount(), 0);
    InvalidateRect(ListView1, nullptr, TRUE);
}

int TForm7::RowCount() const { return rows_ ? static_cast<int>(rows_->size()) : 0; }

INT_PTR TForm7::HandleDialogMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_FORM7_BUTTON1)
            Button1Click();
        else if (LOWORD(wParam) == IDC_FORM7_BUTTON2)
            Button2Click();
        return TRUE;
    case WM_NOTIFY: {
        auto& header = *reinterpret_cast<NMHDR*>(lParam);
        if (header.hwndFrom != ListView1)
            return FALSE;
        if (header.code == LVN_GETDISPINFOA)
            ListView1GetDispInfo(reinterpret_cast<NMLVDISPINFOA&>(header));
        else if (header.code == NM_DBLCLK)
            ListView1DblClick();
        return TRUE;
    }
    }
    return FALSE;
}

void TForm7::FormCreate()
{
    ListView1 = GetDlgItem(hwnd_, IDC_FORM7_LISTVIEW1);
    Button1 = GetDlgItem(hwnd_, IDC_FORM7_BUTTON1);
    Button2 = GetDlgItem(hwnd_, IDC_FORM7_BUTTON2);
    focusOnShow_ = Button2;
    ListView_SetExtendedListViewStyle(ListView1, LVS_EX_FULLROWSELECT);
    for (size_t index = 0; index < std::size(kColumns); ++index) {
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = const_cast<char*>(kColumns[index].caption);
        column.cx = ScaleToDpi(kColumns[index].width, dpi_);
        column.iSubItem = static_cast<int>(index);
        SendMessageA(ListView1, LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&column));
    }
    LayoutControls();
    CenterOnDesktop(hwnd_);
}

void TForm7::LayoutControls()
{
    SetClientSize(hwnd_, kClientWidth, kClientHeight, dpi_);
    PlaceChild(ListView1, 0, 0, kClientWidth, kListHeight, dpi_);
    const int top = kListHeight + (kClientHeight - kListHeight - kButtonHeight) / 2;
    const int cancelLeft = kClientWidth - kButtonMargin - kButtonWidth;
    PlaceChild(Button2, cancelLeft, top, kButtonWidth, kButtonHeight, dpi_);
    PlaceChild(Button1, cancelLeft - kButtonGap - kButtonWidth, top, kButtonWidth, kButtonHeight, dpi_);
}

// The list holds no texts of its own: it asks for each cell it draws.
void TForm7::ListView1GetDispInfo(NMLVDISPINFOA& info) const
{
    if (rows_)
        FillDisplayInfo(*rows_, info.item);
}

int TForm7::SelectedRow() const { return ListView_GetNextItem(ListView1, -1, LVNI_SELECTED); }

void TForm7::ListView1DblClick()
{
    if (SelectedRow() < 0)
        return;
    TakeSelectedCreator();
    EndModal(true);
}

void TForm7::Button1Click()
{
    TakeSelectedCreator();
    EndModal(true);
}

void TForm7::Button2Click() { EndModal(false); }

void TForm7::TakeSelectedCreator()
{
    const int row = SelectedRow();
    if (row >= 0 && row < RowCount())
        chosen_ = (*rows_)[static_cast<size_t>(row)].Column(kCreatorColumn);
}
