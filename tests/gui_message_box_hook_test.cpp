#include <windows.h>

#include <gtest/gtest.h>

#include "ui/MessageBox.h"
#include "tests/support/MessageBoxHook.h"

// The GUI tests rely on the hook to read and answer boxes faithfully.
TEST(MessageBoxHookTest, RecordsAndAnswersEachBox)
{
    MessageBoxHook hook;
    hook.Answer(IDNO);
    hook.Answer(IDCANCEL);
    EXPECT_EQ(ShowMessage("変更を破棄しますか。", kCaptionConfirm, MB_YESNO | MB_ICONQUESTION), IDNO);
    EXPECT_EQ(ShowMessage("三択", kCaptionConfirm, MB_YESNOCANCEL | MB_ICONQUESTION), IDCANCEL);
    ShowError("失敗しました。");
    ShowInfo("お知らせ");

    const auto& records = hook.Records();
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[0].caption, "確認");
    EXPECT_EQ(records[0].text, "変更を破棄しますか。");
    EXPECT_EQ(records[0].buttons, static_cast<UINT>(MB_YESNO));
    EXPECT_EQ(records[0].icon, static_cast<UINT>(MB_ICONQUESTION));
    EXPECT_EQ(records[1].buttons, static_cast<UINT>(MB_YESNOCANCEL));
    EXPECT_EQ(records[2].caption, "エラー");
    EXPECT_EQ(records[2].buttons, static_cast<UINT>(MB_OK));
    EXPECT_EQ(records[2].icon, static_cast<UINT>(MB_ICONERROR));
    EXPECT_EQ(records[3].caption, "情報");
    EXPECT_EQ(records[3].icon, static_cast<UINT>(MB_ICONINFORMATION));
}
