#include <gtest/gtest.h>

#include "app/CommandLine.h"

TEST(CommandLineTest, ArgumentsGiveTheirRequest)
{
    using A = CommandAction;
    const struct {
        std::vector<std::string> arguments;
        CommandAction action;
        std::string fileOrProblem;
        std::vector<std::string> extensions;
    } cases[] = {
        {{}, A::OpenWindow, "", {}},
        {{"/?"}, A::ShowUsage, "", {}},
        {{"/export", "a.reg", "-?"}, A::ShowUsage, "", {}},
        {{"/EXPORT", "C:\\out dir\\a.reg"}, A::ExportScript, "C:\\out dir\\a.reg", {}},
        {{"-Defaults", "a.xml", ".TXT", ".log"}, A::ExportDefaults, "a.xml", {".txt", ".log"}},
        {{"/export"}, A::Refuse, "保存するファイルを指定してください。", {}},
        {{"/defaults", "/export"}, A::Refuse, "保存するファイルを指定してください。", {}},
        {{"/bogus", "a.reg"}, A::Refuse, "コマンドラインが正しくありません: /bogus", {}},
        {{"a.reg"}, A::Refuse, "コマンドラインが正しくありません: a.reg", {}},
        {{"/export", "a.reg", "txt"}, A::Refuse, "コマンドラインが正しくありません: txt", {}},
        {{"/defaults", "a.xml", "mailto:"}, A::Refuse, "コマンドラインが正しくありません: mailto:", {}},
        {{"/export", "a.reg", "."}, A::Refuse, "コマンドラインが正しくありません: .", {}},
        {{"/export", "a.reg", ".a\\b"}, A::Refuse, "コマンドラインが正しくありません: .a\\b", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.arguments));
        const CommandLineRequest request = ParseCommandLine(c.arguments);
        EXPECT_EQ(request.Action, c.action);
        EXPECT_EQ(c.action == A::Refuse ? request.Problem : request.File, c.fileOrProblem);
        EXPECT_EQ(request.Extensions, c.extensions);
    }
}
