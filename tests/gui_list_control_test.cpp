#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "app/MainForm.h"
#include "tests/support/MessageBoxHook.h"
#include "tests/support/ScratchRegistry.h"
#include "view/ListControl.h"
#include "view/ProgressForm.h"

namespace {
LONG_PTR ProcedureOf(HWND window)
{
    return GetWindowLongPtrW(window, GWLP_WNDPROC);
}
} // namespace

class ReloadSubclassTest : public RegistryTest {};

// The scan, the row rewrites and the sorts take the main window's own
// subclasses of the list off; they must be in force again once each is done.
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
    HWND header = ListView_GetHeader(form.List().ListView1);
    const LONG_PTR listProcedure = ProcedureOf(form.List().ListView1);
    const LONG_PTR headerProcedure = ProcedureOf(header);

    form.ReloadFromRegistry(false);
    EXPECT_EQ(ProcedureOf(form.List().ListView1), listProcedure);
    EXPECT_EQ(ProcedureOf(header), headerProcedure);
    EXPECT_EQ(RowCount(form.List().ListView1), 1);
    form.List().RefreshListItems(form.Editor().Catalog);
    form.List().FillChooserRows(form.Editor().Catalog);
    EXPECT_EQ(ProcedureOf(form.List().ListView1), listProcedure);
    EXPECT_EQ(ProcedureOf(header), headerProcedure);
    EXPECT_EQ(form.List().ChooserRows.size(), 1u);
    {
        AssociationListView::SubclassesSuspended outer(form.List());
        {
            AssociationListView::SubclassesSuspended inner(form.List());
        }
        EXPECT_NE(ProcedureOf(form.List().ListView1), listProcedure) << "an inner resume leaves the outer suspension";
        form.List().SortByColumn(0);
    }
    EXPECT_EQ(ProcedureOf(form.List().ListView1), listProcedure);
    EXPECT_EQ(ProcedureOf(header), headerProcedure);
    EXPECT_TRUE(hook.Records().empty());
}
