#include <windows.h>

#include <gtest/gtest.h>

#include "view/ListRow.h"

namespace {
int Sign(int value) { return (value > 0) - (value < 0); }
} // namespace

// The sort converts each text once; its comparison must order any two
// texts exactly as the platform's comparison of the narrow texts does.
TEST(Sorting, PreparedTextsCompareAsTheNarrowTexts)
{
    const std::pair<const char*, const char*> pairs[] = {
        {"a", "b"},         {"B", "a"},           {"abc", "ab"},        {"", "x"},          {"same", "same"},
        {"10", "9"},        {"x-y", "xy"},        {"C:\\A", "C:\\a"},   {"ａ", "a"},        {"テキスト", "ビットマップ"},
        {"漢字", "かんじ"}, {"表計算", "ソート"}, {"\"%1\"", "%1"},     {".Z", ".a"},       {"Ab", "aB"},
    };
    for (const auto& [first, second] : pairs) {
        SCOPED_TRACE(std::string(first) + " / " + second);
        const int expected = Sign(lstrcmpA(first, second));
        EXPECT_EQ(Sign(ComparePrepared(PreparedForComparison(first), PreparedForComparison(second))), expected);
    }
}
