#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "app/MainForm.h"
#include "tests/support/MessageBoxHook.h"
#include "tests/support/ScratchRegistry.h"
#include "view/ListControl.h"
#include "view/ProgressForm.h"

namespace {

int g_seen = 0;

LRESULT CALLBACK CountingSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    if (message == WM_NULL)
        ++g_seen;
    return DefSubclassProc(window, message, wParam, lParam);
}

LONG_PTR ProcedureOf(HWND window)
{
    return GetWindowLongPtrW(window, GWLP_WNDPROC);
}

} // namespace

TEST(ListSubclassBypassTest, PassesSubclassesByAndPutsThemBack)
{
    HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_POPUP | LVS_REPORT, 0, 0, 300, 200, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(list, nullptr);
    // The header comes with the first column.
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<char*>("x");
    column.cx = 50;
    SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    SendMessageA(list, LVM_INSERTCOLUMNA, 1, reinterpret_cast<LPARAM>(&column));
    HWND header = ListView_GetHeader(list);
    ASSERT_NE(header, nullptr);
    {
        SCOPED_TRACE("a list without subclasses is left alone");
        const LONG_PTR before = ProcedureOf(list);
        {
            ListSubclassBypass direct(list);
            EXPECT_EQ(ProcedureOf(list), before);
        }
        EXPECT_EQ(ProcedureOf(list), before);
    }

    ASSERT_TRUE(SetWindowSubclass(list, CountingSubclass, 1, 0));
    ASSERT_TRUE(SetWindowSubclass(header, CountingSubclass, 2, 0));
    const LONG_PTR listProcedure = ProcedureOf(list);
    const LONG_PTR headerProcedure = ProcedureOf(header);
    {
        SCOPED_TRACE("meanwhile the subclasses see nothing, the list works as ever");
        g_seen = 0;
        ListSubclassBypass direct(list);
        {
            ListSubclassBypass nested(list);
            SendMessageA(list, WM_NULL, 0, 0);
            SendMessageA(header, WM_NULL, 0, 0);
        }
        SendMessageA(list, WM_NULL, 0, 0);
        EXPECT_EQ(g_seen, 0) << "an inner bypass leaves the outer one in force";
        ListRow row;
        row.Caption = ".txt";
        row.SubItems[0] = "テキスト";
        EXPECT_EQ(InsertRow(list, 0, row), 0);
        EXPECT_EQ(RowText(list, 0, 1), "テキスト");
    }
    {
        SCOPED_TRACE("afterwards both subclasses are back");
        EXPECT_EQ(ProcedureOf(list), listProcedure);
        EXPECT_EQ(ProcedureOf(header), headerProcedure);
        g_seen = 0;
        SendMessageA(list, WM_NULL, 0, 0);
        SendMessageA(header, WM_NULL, 0, 0);
        EXPECT_EQ(g_seen, 2);
    }
    {
        SCOPED_TRACE("a procedure someone else set meanwhile is kept");
        const LONG_PTR own = static_cast<LONG_PTR>(GetClassLongPtrW(list, GCLP_WNDPROC));
        {
            ListSubclassBypass direct(list);
            SetWindowLongPtrW(list, GWLP_WNDPROC, listProcedure);
            SetWindowLongPtrW(list, GWLP_WNDPROC, own);
            SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DefWindowProcW));
        }
        EXPECT_EQ(ProcedureOf(list), reinterpret_cast<LONG_PTR>(DefWindowProcW));
        SetWindowLongPtrW(list, GWLP_WNDPROC, listProcedure);
    }
    RemoveWindowSubclass(header, CountingSubclass, 2);
    RemoveWindowSubclass(list, CountingSubclass, 1);
    DestroyWindow(list);
}

class ReloadSubclassTest : public RegistryTest {};

// The scan and the row rewrites pass the main window's own subclasses of
// the list by; they must be in force again once each is done.
TEST_F(ReloadSubclassTest, ReloadAndRefreshLeaveTheListsSubclassesInPlace)
{
    SetText(".txt", "", "txtfile");
    SetText("txtfile", "", "Text");
    MessageBoxHook hook;
    TForm1 form;
    TForm3 progress;
    ASSERT_TRUE(form.Create());
    ASSERT_TRUE(progress.Create(form.Handle()));
    form.Form3 = &progress;
    HWND header = ListView_GetHeader(form.ListView1);
    const LONG_PTR listProcedure = ProcedureOf(form.ListView1);
    const LONG_PTR headerProcedure = ProcedureOf(header);

    form.ReloadFromRegistry(false);
    EXPECT_EQ(ProcedureOf(form.ListView1), listProcedure);
    EXPECT_EQ(ProcedureOf(header), headerProcedure);
    EXPECT_EQ(RowCount(form.ListView1), 1);
    form.RefreshListItems();
    form.FillCreatorChooser();
    EXPECT_EQ(ProcedureOf(form.ListView1), listProcedure);
    EXPECT_EQ(ProcedureOf(header), headerProcedure);
    EXPECT_EQ(form.ChooserRows.size(), 1u);
    EXPECT_TRUE(hook.Records().empty());
}
