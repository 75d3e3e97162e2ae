#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/AssociationCatalog.h"
#include "model/RegText.h"
#include "persist/RegScript.h"
#include "persist/RegistryCommit.h"
#include "tests/support/PlatformTools.h"
#include "tests/support/RecordErrors.h"
#include "tests/support/ScratchRegistry.h"
#include "view/EntryMessages.h"

namespace {
std::string ProblemOf(const RegScript& script) { return script.Problem ? EntryFailureMessage(*script.Problem) : ""; }
} // namespace

namespace {
const std::string kHeader = "REGEDIT4\r\n\r\n; morvido ver.2.4\r\n";

CreatorEntry& Named(AssociationCatalog& catalog, const std::string& name, EntryState state)
{
    CreatorEntry& entry = catalog.CreatorMap[name];
    entry.Name = name;
    entry.State = state;
    return entry;
}
} // namespace

TEST(RegScript, ScriptsOfTheChangesAndOfTheSelectedRow)
{
    AssociationCatalog catalog;
    catalog.ExtensionMap[".del"] = ExtensionEntry{".del", "", "", esDeleted};
    catalog.ExtensionMap[".none"] = ExtensionEntry{".none", "", "x/y", esUnchanged};
    CreatorEntry& app = Named(catalog, "app", esAdded);
    app.Command = "\"C:\\Program Files\\app.exe\" \"%1\"";
    app.UsesDde = true;
    app.DdeTopic = "System";
    const std::string key = "\r\n[HKEY_CLASSES_ROOT\\app";
    EXPECT_EQ(BuildChangesScript(catalog, ClassesRoot(), 932).Bytes,
              kHeader + "\r\n[HKEY_CLASSES_ROOT\\.del]\r\n@=\"\"\r\n\"Content Type\"=\"\"\r\n\r\n" + key +
                  "]\r\n@=\"\"\r\n" + key + "\\DefaultIcon]\r\n@=\"\"\r\n" + key + "\\shell\\open\\command]\r\n" +
                  "@=\"\\\"C:\\\\Program Files\\\\app.exe\\\" \\\"%1\\\"\"\r\n" + key +
                  "\\shell\\open\\ddeexec]\r\n@=\"\"\r\n" + key + "\\shell\\open\\ddeexec\\application]\r\n@=\"\"\r\n" +
                  key + "\\shell\\open\\ddeexec\\ifexec]\r\n@=\"\"\r\n" + key +
                  "\\shell\\open\\ddeexec\\topic]\r\n@=\"System\"\r\n\r\n");
    EXPECT_EQ(BuildSelectedScript(catalog, ".none", ClassesRoot(), 932).Bytes,
              kHeader + "\r\n[HKEY_CLASSES_ROOT\\.none]\r\n@=\"\"\r\n\"Content Type\"=\"x/y\"\r\n\r\n");
}

TEST(RegScript, TextTheCodePageCannotHoldIsRefusedNamingTheEntry)
{
    AssociationCatalog catalog;
    ExtensionEntry& extension = catalog.ExtensionMap[".z"] = ExtensionEntry{".z", "", "", esModified};
    for (const char* text : {"Café", "¥100", "\xF0\x9F\x98\x80"}) {
        SCOPED_TRACE(text);
        Named(catalog, "種類", esModified).Kind = text;
        const RegScript script = BuildChangesScript(catalog, ClassesRoot(), 932);
        EXPECT_EQ(ProblemOf(script), "クリエーター(種類)のデータに、ファイルに保存できない文字があります。");
        EXPECT_EQ(script.Bytes, "");
        extension.ContentType = text;
        EXPECT_EQ(ProblemOf(BuildChangesScript(catalog, ClassesRoot(), 932)), "拡張子(.z)のデータに、ファイルに保存できない文字があります。");
        extension.ContentType.clear();
    }
    // Texts in the active code page of another system: 表 ends in the backslash byte, not to be escaped.
    AssociationCatalog shiftJis;
    Named(shiftJis, "\x95\x5C", esAdded).Command = "\x83\x5C\\";
    const std::string command = "[HKEY_CLASSES_ROOT\\\x95\x5C\\shell\\open\\command]\r\n@=\"\x83\x5C\\\\\"\r\n";
    EXPECT_NE(BuildChangesScript(shiftJis, ClassesRoot(), 932, 932).Bytes.find(command), std::string::npos);
    EXPECT_TRUE(BuildChangesScript(shiftJis, ClassesRoot(), 1252, 932).Problem);
}

// A line break would end a value's line and let the rest stand as a key line of its own.
TEST(RegScript, ControlCharactersInNamesAndValuesAreRefusedByEveryBuilder)
{
    const struct {
        const char *extension, *command, *refused; // refused: the message's start; nullptr: written
    } cases[] = {{".z\n", "a.exe", "拡張子(.z\n"}, {".z", "a\r\n[HKEY_LOCAL_MACHINE\\x]", "クリエーター(kind"},
                 {".z", "\x1F", "クリエーター(kind"}, {".z", "a.exe\t\"%1\"", nullptr}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::string(c.extension) + c.command));
        AssociationCatalog catalog;
        catalog.ExtensionMap[c.extension] = ExtensionEntry{c.extension, "kind", "", esModified};
        Named(catalog, "kind", esModified).Command = c.command;
        const std::string tail = ")のデータに、レジストリファイルに保存できない改行などの制御文字があります。";
        for (const RegScript& script : {BuildChangesScript(catalog, ClassesRoot(), 932),
                                        BuildSelectedScript(catalog, c.extension, ClassesRoot(), 932),
                                        BuildAssociationsScript(catalog, {c.extension}, ClassesRoot(), 932)})
            EXPECT_EQ(ProblemOf(script) + script.Bytes.substr(0, 8), c.refused ? c.refused + tail : "REGEDIT4");
    }
}

// AFail, refused (no key is created below a volatile key), sorts first, yet the commit goes on; a key in use under
// another spelling stays, unmarked entries stay untouched, and a registry path loses no value or sub-key.
TEST_F(RegistryTest, CommitGoesOnPastAFailureAndChangesOnlyWhatIsMarked)
{
    RecordErrors errors;
    HKEY refused = nullptr;
    RegCreateKeyExA(Root(), "AFail", 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &refused, nullptr);
    RegCloseKey(refused);
    const std::string kept[] = {"TXTFILE", "CLSID\\{x}", "CLSID\\{x}\\DefaultIcon", "CLSID\\{x}\\shell\\open\\ddeexec"};
    for (const std::string& key : kept)
        SetText(key, "", key);
    SetText(".txt", "", "txtfile");
    AssociationCatalog catalog;
    catalog.ExtensionMap[".txt"] = ExtensionEntry{".txt", "", "", esDeleted};
    catalog.ExtensionMap[".log"] = ExtensionEntry{".log", "TXTFILE", "", esUnchanged};
    catalog.ExtensionMap[".lost"] = ExtensionEntry{".lost", "missing", "", esUnchanged};
    Named(catalog, "txtfile", esDeleted), Named(catalog, "TXTFILE", esUnchanged);
    Named(catalog, "missing", esUnchanged);
    Named(catalog, "AFail", esModified).IconSource = "a.ico";
    Named(catalog, "CLSID\\{x}", esModified).Command = "run %1";
    EXPECT_FALSE(CommitMarkedEntries(catalog, Location()));
    EXPECT_EQ(errors.messages, std::vector<std::string>{kCreatorPrefix + std::string("AFail") + kWriteFailedTail});
    EXPECT_EQ(GetValue("CLSID\\{x}\\shell\\open\\command", "").Text(), "run %1");
    for (const std::string& key : kept)
        EXPECT_EQ(GetValue(key, "").Text(), key);
    EXPECT_FALSE(KeyExists(".txt") || KeyExists(".lost") || KeyExists("missing"));
}

TEST_F(RegistryTest, RegeditImportsEveryExportedValueExactly)
{
    AssociationCatalog catalog;
    catalog.ExtensionMap[".表"] = ExtensionEntry{".表", "表示ソフト", "text/\"表\"", esAdded};
    CreatorEntry& viewer = Named(catalog, "表示ソフト", esAdded);
    viewer.Kind = "ソフト \\ \"表\" \\";
    viewer.IconSource = "C:\\アイコン\\表.ico,-3";
    viewer.Command = "\"C:\\Program Files\\表示\\view.exe\" \"%1\"";
    for (int i = 0; viewer.Command.size() < 20000; ++i)
        viewer.Command += i % 50 ? "表" : " \\\"";
    viewer.UsesDde = true;
    viewer.DdeMessage = "[open(\"%1\")]";
    viewer.DdeTopic = "\\\\server\\";
    const RegScript script = BuildChangesScript(catalog, ClassesRoot(), SystemAnsiCodePage());
    ASSERT_EQ(ProblemOf(script), "");

    // Into the scratch key, never into the machine's classes.
    ScratchFolder folder;
    const std::string file = folder.File("import.reg");
    const std::string scratchScript =
        ReplaceAll(script.Bytes, "\r\n[HKEY_CLASSES_ROOT\\", "\r\n[HKEY_CURRENT_USER\\" + scratch_.Path() + "\\");
    ASSERT_EQ(scratchScript.find("HKEY_CLASSES_ROOT"), std::string::npos);
    ASSERT_TRUE(WriteFileBytes(file, scratchScript));
    RunPlatformTool("regedit.exe /S \"" + file + "\"");
    ExtensionEntry extension{".表", "", "", esUnchanged};
    extension.ReadFromRegistry(Location());
    EXPECT_EQ(extension.Creator + "|" + extension.ContentType, "表示ソフト|text/\"表\"");
    CreatorEntry read;
    read.Name = viewer.Name;
    read.ReadFromRegistry(Location());
    const auto values = [](const CreatorEntry& entry) {
        return std::vector<std::string>{entry.Kind,           entry.IconSource, entry.Command, entry.DdeMessage,
                                        entry.DdeApplication, entry.DdeIfExec,  entry.DdeTopic};
    };
    EXPECT_EQ(values(read), values(viewer));
    EXPECT_TRUE(read.UsesDde);
}
