#include <windows.h>
#include <wincrypt.h>

#include <gtest/gtest.h>

#include "model/Scoped.h"
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
// HKEY_CLASSES_ROOT. Scripts are in the system's ANSI code page, 932 here.
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
    SetText(scratch.Key(), ".com", "", "CLSID\\{0003000C-0000-0000-C000-000000000046}"); // no ProgId for /defaults
    SetText(scratch.Key(), "mailto", "URL Protocol", ""); // only /defaults saves schemes
    ScratchFolder folder;
    const std::string txtScript =
        "REGEDIT4\r\n\r\n; morvido ver.2.4\r\n\r\n[HKEY_CLASSES_ROOT\\.txt]\r\n@=\"txtfile\"\r\n"
        "\"Content Type\"=\"text/plain\"\r\n\r\n\r\n[HKEY_CLASSES_ROOT\\txtfile]\r\n"
        "@=\"\x83\x65\x83\x4C\x83\x58\x83\x67 \\\"\x95\xB6\x8F\x91\\\"\"\r\n\r\n[HKEY_CLASSES_ROOT\\txtfile\\DefaultIcon]\r\n"
        "@=\"\"\r\n\r\n[HKEY_CLASSES_ROOT\\txtfile\\shell\\open\\command]\r\n"
        "@=\"\\\"C:\\\\Tools & Co\\\\edit.exe\\\" \\\"%1\\\"\"\r\n\r\n";

    ProgramRun run = RunProgram("/export \"" + folder.File("txt.reg") + "\" .TXT", folder);
    EXPECT_EQ(run.code, 0u) << run.output;
    EXPECT_EQ(ReadFileBytes(folder.File("txt.reg")), txtScript);

    run = RunProgram("/defaults \"" + folder.File("all.xml") + "\"", folder);
    EXPECT_EQ(run.code, 0u);
    EXPECT_EQ(run.output, "クリエーターが設定されていない拡張子1個と、クリエーターがレジストリのパス(CLSID\\{…}など)の"
                          "拡張子1個は保存しませんでした。\r\n");
    EXPECT_EQ(ReadFileBytes(folder.File("all.xml")),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<DefaultAssociations>\r\n  <Association Identifier=\".log\" "
              "ProgId=\"txtfile\" ApplicationName=\"edit.exe\" />\r\n  <Association Identifier=\".txt\" ProgId=\"txtfile\" "
              "ApplicationName=\"edit.exe\" />\r\n  <Association Identifier=\"mailto\" ProgId=\"mailto\" "
              "ApplicationName=\"mailto\" />\r\n</DefaultAssociations>\r\n");

    run = RunProgram("/export \"" + folder.File("unknown.reg") + "\" .txt .xyz", folder);
    EXPECT_EQ(run.code, 1u);
    EXPECT_EQ(run.output, "拡張子(.xyz)はレジストリにありません。\r\n");
    EXPECT_FALSE(FileExists(folder.File("unknown.reg")));

    run = RunProgram("/exprot \"" + folder.File("bad.reg") + "\"", folder);
    EXPECT_EQ(run.code, 2u);
    EXPECT_EQ(run.output.rfind("コマンドラインが正しくありません: /exprot\r\n使い方:\r\n", 0), 0u) << run.output;
    EXPECT_FALSE(FileExists(folder.File("bad.reg")));

    // Redirected output is in the output code page of the console the program was started from, without look-alikes.
    FreeConsole();
    AllocConsole();
    SetConsoleOutputCP(932);
    run = RunProgram("/export \"" + folder.File("unknown.reg") + "\" .¥é", folder);
    FreeConsole();
    EXPECT_EQ(run.output, "\x8A\x67\x92\xA3\x8E\x71(.?\?)\x82\xCD\x83\x8C\x83\x57\x83\x58\x83\x67\x83\x8A\x82\xC9\x82\xA0"
                          "\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x81\x42\r\n");

    // What the file would hold empty or broken fails the run; another entry's failed read is told, not fatal.
    SetDword(scratch.Key(), ".dw", "", 1);
    SetText(scratch.Key(), ".nl", "Content Type", "a\r\n[HKEY_LOCAL_MACHINE\\x]");
    const std::string unread = "拡張子(.dw)のデータをレジストりーから読み込むことができませんでした。\r\n";
    const std::string notSaved = unread + "読み込めなかったデータがあるため、ファイルは保存しませんでした。\r\n";
    const std::pair<const char*, std::string> cases[] = {
        {".dw", notSaved}, {"", notSaved}, {".txt", unread},
        {".nl", unread + "拡張子(.nl)のデータに、レジストリファイルに保存できない改行などの制御文字があります。\r\n"}};
    for (const auto& [asked, output] : cases) {
        SCOPED_TRACE(asked);
        WriteFileBytes(folder.File("kept.reg"), "earlier");
        run = RunProgram("/export \"" + folder.File("kept.reg") + "\" " + asked, folder);
        EXPECT_EQ(run.code, output == unread ? 0u : 1u);
        EXPECT_EQ(run.output, output);
        EXPECT_EQ(ReadFileBytes(folder.File("kept.reg")), output == unread ? txtScript : "earlier");
    }
    SetEnvironmentVariableA("MORVIDO_CLASSES_ROOT", nullptr);
}

// The deployment files of /defaults: each written, or none where the
// command line or the policy's path is wrong; a failed file names itself.
TEST(CommandLineProgramTest, DefaultsWritesTheDeploymentFilesItIsAskedFor)
{
    ScratchClassesRoot scratch;
    SetEnvironmentVariableA("MORVIDO_CLASSES_ROOT", scratch.Path().c_str());
    SetText(scratch.Key(), ".txt", "", "txtfile");
    SetText(scratch.Key(), "txtfile\\shell\\open\\command", "", "C:\\Tools\\edit.exe \"%1\"");
    SetText(scratch.Key(), "mailto", "URL Protocol", "");
    SetText(scratch.Key(), "mailto\\shell\\open\\command", "", "C:\\Mail\\mail.exe %1");
    ScratchFolder folder;
    const std::string xml = folder.File("d.xml"), missing = folder.File("none\\d.b64");
    const struct {
        std::string arguments;
        DWORD code;
        std::string output;
        bool written;
    } cases[] = {
        {"/version 3 .txt /suggested /intune \"" + folder.File("d.b64") + "\" /gpo \\\\srv\\deploy\\d.xml", 0,
         "Intune用のBase64を保存しました: " + folder.File("d.b64") +
             "\r\nグループポリシー用のレジストリファイルを保存しました: " + folder.File("d.reg") + "\r\n",
         true},
        {"/version 0", 2, "/version には1から2147483647までの整数を指定してください: 0\r\n", false},
        {"/gpo", 2, "値を指定してください: /gpo\r\n", false},
        {"/gpo C:\\caf\xC3\xA9.xml", 1,
         "グループポリシーに指定するパスに、改行などの制御文字か、レジストリファイルに保存できない文字があります。\r\n", false},
        {"/intune \"" + missing + "\"", 1, "ファイルを開くことができませんでした。\r\n" + missing + "\r\n保存済みのファイル: " + xml + "\r\n",
         true},
        {"/intune \"" + xml + "\"", 1, "XMLファイル、Intune用のファイルとレジストリファイルには、別々のファイルを指定してください。", false},
        {"zoommtg mailto", 1, "プロトコル(zoommtg)はレジストリにありません。\r\n", false},
        {"MailTo .txt", 0, "", true}, // the last: its file is read below
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        DeleteFileA(xml.c_str());
        const ProgramRun run = RunProgram("/defaults \"" + xml + "\" " + c.arguments, folder);
        EXPECT_EQ(run.code, c.code);
        EXPECT_EQ(run.output.substr(0, c.output.size()), c.output);
        EXPECT_EQ(FileExists(xml), c.written);
    }
    EXPECT_EQ(ReadFileBytes(xml), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<DefaultAssociations>\r\n"
                                  "  <Association Identifier=\".txt\" ProgId=\"txtfile\" ApplicationName=\"edit.exe\" />\r\n"
                                  "  <Association Identifier=\"mailto\" ProgId=\"mailto\" ApplicationName=\"mail.exe\" />\r\n"
                                  "</DefaultAssociations>\r\n");
    const std::string expected = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<DefaultAssociations Version=\"3\">\r\n"
                                 "  <Association Identifier=\".txt\" ProgId=\"txtfile\" ApplicationName=\"edit.exe\" "
                                 "Suggested=\"true\" />\r\n  <Association Identifier=\"mailto\" ProgId=\"mailto\" "
                                 "ApplicationName=\"mail.exe\" Suggested=\"true\" />\r\n</DefaultAssociations>\r\n";
    RunProgram("/defaults \"" + xml + "\" /intune \"" + folder.File("d.b64") + "\" /version 3 /suggested", folder);
    EXPECT_EQ(ReadFileBytes(xml), expected);
    const std::string base64 = ReadFileBytes(folder.File("d.b64"));
    std::string decoded(base64.size(), '\0');
    DWORD size = static_cast<DWORD>(decoded.size());
    ASSERT_TRUE(CryptStringToBinaryA(base64.c_str(), static_cast<DWORD>(base64.size()), CRYPT_STRING_BASE64,
                                     reinterpret_cast<BYTE*>(decoded.data()), &size, nullptr, nullptr));
    EXPECT_EQ(decoded.substr(0, size), expected);
    EXPECT_EQ(base64.find_first_of("\r\n"), std::string::npos);
    EXPECT_EQ(ReadFileBytes(folder.File("d.reg")),
              "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Policies\\Microsoft\\Windows\\System]\r\n"
              "\"DefaultAssociationsConfiguration\"=\"\\\\\\\\srv\\\\deploy\\\\d.xml\"\r\n");
    SetEnvironmentVariableA("MORVIDO_CLASSES_ROOT", nullptr);
}

// /check reports what loading a script would change and leave out, by exit
// code as well, and writes nothing. The machine's classes are the target of
// an elevated run, which every Wine process is.
TEST(CommandLineProgramTest, CheckReportsWhatAScriptWouldLoadAndWritesNothing)
{
    ScratchClassesRoot scratch;
    SetEnvironmentVariableA("MORVIDO_CLASSES_ROOT", scratch.Path().c_str());
    SetText(scratch.Key(), ".txt", "", "txtfile");
    SetText(scratch.Key(), ".txt", "Content Type", "text/plain");
    ScratchFolder folder;
    const std::wstring unicode = L"\xFEFFWindows Registry Editor Version 5.00\r\n\r\n"
                                 L"[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]\r\n"
                                 L"\"Updater\"=\"C:\\\\evil.exe\"\r\n\r\n[HKCU\\Software\\Classes\\.txt]\r\n"
                                 L"@=\"txtfile\"\r\n\"Content Type\"=\"text/x\"\r\n";
    const std::string big = folder.File("big.reg");
    {
        ScopedKernelHandle file(CreateFileA(big.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        LARGE_INTEGER size{};
        size.QuadPart = 64ll * 1024 * 1024 + 1;
        ASSERT_TRUE(SetFilePointerEx(file.Get(), size, nullptr, FILE_BEGIN) && SetEndOfFile(file.Get()));
    }
    struct Case {
        const char* name;
        std::string bytes; // none: the file is not there, or made above
        DWORD code;
        std::string output; // after the file's path
    };
    const Case cases[] = {
        {"ok.reg", "REGEDIT4\r\n\r\n[HKEY_CLASSES_ROOT\\.txt]\r\n\"Content Type\"=\"text/x\"\r\n", 0,
         "」で変更する関連付け: 編集 1 件、追加 0 件、削除 0 件\r\n"},
        {"run.reg", std::string(reinterpret_cast<const char*>(unicode.data()), unicode.size() * sizeof(wchar_t)), 1,
         "」で変更する関連付け: 編集 1 件、追加 0 件、削除 0 件\r\n\r\n読み込まない項目（関連付けのキーと値のほか）: 1 件\r\n"
         "・HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\r\n\r\n"
         "このファイルはこのユーザーの関連付け（HKEY_CURRENT_USER\\Software\\Classes）を指定していますが、"
         "保存先は「すべてのユーザー」です。\r\n"},
        {"broken.reg", "REGEDIT4\r\n\r\n[HKEY_CLASSES_ROOT\\.txt\r\n", 2,
         " の 3 行目: キーの名前の終わりの「]」がありません。\r\n何も読み込んでいません。\r\n"},
        {"text.reg", "hello", 2, " の 1 行目: レジストリファイルではありません。\r\n何も読み込んでいません。\r\n"},
        {"missing.reg", "", 2, "」が見つかりません。\r\n何も読み込んでいません。\r\n"},
        {"big.reg", "", 2, "」は64MBより大きいため、読み込めません。\r\n何も読み込んでいません。\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = folder.File(c.name);
        if (!c.bytes.empty())
            WriteFileBytes(path, c.bytes);
        const ProgramRun run = RunProgram("/check \"" + path + "\"", folder);
        EXPECT_EQ(run.code, c.code);
        const bool quoted = c.output[0] != ' ';
        EXPECT_EQ(run.output, (quoted ? "「" : "") + path + c.output);
    }
    EXPECT_EQ(GetValue(scratch.Key(), ".txt", "Content Type").Text(), "text/plain");
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, scratch.Path() + "-user\\.txt"));
    SetEnvironmentVariableA("MORVIDO_CLASSES_ROOT", nullptr);
}
