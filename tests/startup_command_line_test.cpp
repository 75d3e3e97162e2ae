#include <windows.h>

#include <gtest/gtest.h>

#include "model/CatalogScan.h"
#include "model/Scoped.h"
#include "persist/DefaultAssociations.h"
#include "persist/RegScript.h"
#include "tests/support/PlatformTools.h"
#include "tests/support/ScratchRegistry.h"

namespace {

struct ProgramRun {
    DWORD code = 99;
    std::string output; // standard output and error together
};

// Starts the real program on the scratch classes, its output going to a file.
ProgramRun RunProgram(const std::string& arguments, const ScratchFolder& folder)
{
    char self[MAX_PATH * 4];
    std::string program(self, GetModuleFileNameA(nullptr, self, sizeof self));
    program = program.substr(0, program.find_last_of('\\') + 1) + "morvido.exe";
    const std::string outputPath = folder.File("output.txt");
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    ScopedKernelHandle output(CreateFileA(outputPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                          CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    STARTUPINFOA startup{sizeof startup};
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = output.Get();
    PROCESS_INFORMATION info{};
    std::string command = "\"" + program + "\" " + arguments;
    ProgramRun run;
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info))
        return run;
    CloseHandle(info.hThread);
    ScopedKernelHandle process(info.hProcess);
    if (WaitForSingleObject(process.Get(), 60000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.Get(), &run.code);
    else
        TerminateProcess(process.Get(), 99);
    output.Reset();
    run.output = ReadFileBytes(outputPath);
    return run;
}

} // namespace

// The copies started here see the scratch key that this process sees as
// HKEY_CLASSES_ROOT, so what they write can be compared with the window's
// own builders on the same registry.
TEST(CommandLineProgramTest, ExportsWithoutAWindowAndTellsByExitCode)
{
    ScratchClassesRoot scratch;
    SetEnvironmentVariableA("MORVIDO_CLASSES_ROOT", scratch.Path().c_str());
    SetText(scratch.Key(), ".txt", "", "txtfile");
    SetText(scratch.Key(), ".txt", "Content Type", "text/plain");
    SetText(scratch.Key(), "txtfile", "", "テキスト \"文書\"");
    SetText(scratch.Key(), "txtfile\\shell\\open\\command", "", "\"C:\\Tools & Co\\edit.exe\" \"%1\"");
    SetText(scratch.Key(), ".log", "", "txtfile");
    CreateKey(scratch.Key(), ".none");
    AssociationCatalog catalog;
    FillCatalogFromRegistry(catalog, CurrentAssociationLocations());
    ScratchFolder folder;

    ProgramRun run = RunProgram("/export \"" + folder.File("txt.reg") + "\" .TXT", folder);
    EXPECT_EQ(run.code, 0u) << run.output;
    EXPECT_EQ(ReadFileBytes(folder.File("txt.reg")), BuildSelectedScript(catalog, ".txt", ClassesRoot(), SystemAnsiCodePage()).Bytes);

    run = RunProgram("/defaults \"" + folder.File("all.xml") + "\"", folder);
    EXPECT_EQ(run.code, 0u);
    EXPECT_EQ(run.output, "クリエーターが設定されていない拡張子1個は保存しませんでした。\r\n");
    EXPECT_EQ(ReadFileBytes(folder.File("all.xml")),
              BuildDefaultAssociationsXml(CollectDefaultAssociations(catalog, {".log", ".txt"}).Entries).Bytes);

    run = RunProgram("/export \"" + folder.File("unknown.reg") + "\" .txt .xyz", folder);
    EXPECT_EQ(run.code, 1u);
    EXPECT_EQ(run.output, "拡張子(.xyz)はレジストリにありません。\r\n");
    EXPECT_FALSE(FileExists(folder.File("unknown.reg")));

    run = RunProgram("/exprot \"" + folder.File("bad.reg") + "\"", folder);
    EXPECT_EQ(run.code, 2u);
    EXPECT_EQ(run.output.rfind("コマンドラインが正しくありません: /exprot\r\n使い方:\r\n", 0), 0u) << run.output;
    EXPECT_FALSE(FileExists(folder.File("bad.reg")));
    SetEnvironmentVariableA("MORVIDO_CLASSES_ROOT", nullptr);
}
