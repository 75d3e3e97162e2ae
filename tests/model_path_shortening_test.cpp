#include <gtest/gtest.h>

#include "view/PathShortening.h"

namespace {
// One unit per byte keeps the expected steps easy to read.
int Bytes(const std::string& text)
{
    return static_cast<int>(text.size());
}

std::vector<std::string> Steps(const std::string& text)
{
    std::vector<std::string> steps;
    for (int limit = Bytes(text); limit >= 0; --limit) {
        const std::string shown = ShortenPath(text, limit, Bytes);
        if (steps.empty() || steps.back() != shown)
            steps.push_back(shown);
    }
    return steps;
}
} // namespace

TEST(PathShortening, CutsOneLeadingDirectoryPerStep)
{
    EXPECT_EQ(Steps("C:\\Program Files\\Editor\\edit.exe"),
              (std::vector<std::string>{"C:\\Program Files\\Editor\\edit.exe", "C:\\...\\Editor\\edit.exe",
                                        "C:\\...\\edit.exe", "...\\edit.exe", "edit.exe"}));
    EXPECT_EQ(Steps("\\\\server\\share\\tool.exe \"%1\""),
              (std::vector<std::string>{"\\\\server\\share\\tool.exe \"%1\"", "\\...\\share\\tool.exe \"%1\"",
                                        "\\...\\tool.exe \"%1\"", "...\\tool.exe \"%1\"", "tool.exe \"%1\""}));
}

TEST(PathShortening, StopsAtTheFirstFitAndNeverLoopsOnOddPaths)
{
    const std::string path = "D:\\alpha\\beta\\c\\prog.exe";
    EXPECT_EQ(ShortenPath(path, 100, Bytes), path) << "a text that fits stays whole";
    EXPECT_EQ(ShortenPath(path, 20, Bytes), "D:\\...\\c\\prog.exe");
    EXPECT_EQ(ShortenPath("notepad.exe %1", 3, Bytes), "notepad.exe %1") << "no directory, nothing to cut";
    EXPECT_EQ(ShortenPath("C:prog.exe", 3, Bytes), "prog.exe") << "a bare drive goes last";
    EXPECT_EQ(ShortenPath("", 0, Bytes), "");
    // Directory names that start with a dot and paths with a UTF-8 name.
    EXPECT_EQ(ShortenPath("C:\\.config\\x\\y.exe", 0, Bytes), "y.exe");
    EXPECT_EQ(ShortenPath("C:\\プログラム\\ツール\\実行.exe", Bytes("C:\\...\\ツール\\実行.exe"), Bytes),
              "C:\\...\\ツール\\実行.exe");
}
