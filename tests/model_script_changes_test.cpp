#include <gtest/gtest.h>

#include <windows.h>
#include <shlwapi.h>

#include "model/ScriptChanges.h"
#include "view/ScriptMessages.h"

namespace {
RegFileValue Text(const char* name, const char* text) { return {name, false, REG_SZ, {}, text, 0}; }
RegFileValue Dword(const char* name) { return {name, false, REG_DWORD, {1, 0, 0, 0}, std::nullopt, 0}; }
RegFileKey Key(const char* path, std::vector<RegFileValue> values = {}) { return {path, false, std::move(values), 0}; }
RegFileKey Removed(const char* path) { return {path, true, {}, 0}; }

// .txt names txtfile, whose verbs were read (open and print); .log names
// logfile; .cmd names cmdfile, whose command and delete are locked.
AssociationCatalog Seeded()
{
    AssociationCatalog catalog;
    for (const auto& [name, creator, type] : {std::array<const char*, 3>{".txt", "txtfile", "text/plain"},
                                              std::array<const char*, 3>{".log", "logfile", ""},
                                              std::array<const char*, 3>{".cmd", "cmdfile", ""}}) {
        ExtensionEntry& extension = catalog.ExtensionMap[name];
        extension.Name = name, extension.Creator = creator, extension.ContentType = type;
    }
    CreatorEntry& txt = catalog.CreatorMap["txtfile"];
    txt.Name = "txtfile", txt.Kind = "テキスト", txt.Command = "notepad.exe %1", txt.VerbsRead = true;
    txt.Verbs.resize(2);
    txt.Verbs[0].Name = "open", txt.Verbs[1].Name = "print", txt.Verbs[1].Text = "印刷", txt.Verbs[1].Command = "p.exe";
    for (VerbEntry& verb : txt.Verbs)
        verb.Read.emplace();
    txt.AddExtension(".txt");
    CreatorEntry& log = catalog.CreatorMap["logfile"];
    log.Name = "logfile", log.Kind = "ログ";
    log.AddExtension(".log");
    CreatorEntry& cmd = catalog.CreatorMap["cmdfile"];
    cmd.Name = "cmdfile", cmd.Command = "cmd.exe /c %1";
    cmd.AddExtension(".cmd");
    return catalog;
}

// The machine's schemes are mailto, read only when asked for.
ScriptReads Reads()
{
    ScriptReads reads;
    reads.Schemes = [](AssociationCatalog& catalog) {
        SchemeEntry& mailto = catalog.SchemeMap["mailto"];
        mailto.Name = "mailto", mailto.UrlProtocol = "1", mailto.Command = "mail.exe %1";
        catalog.SchemesRead = true;
    };
    reads.EditFlags = [](const std::string& name) -> DWORD {
        return name == "cmdfile" ? FTA_NoEditVerbCmd | FTA_NoRemove : 0;
    };
    return reads;
}

// The marked entries as "name=texts;state", verbs after the creator's.
std::string Marked(const AssociationCatalog& catalog)
{
    std::string shown;
    for (const auto& [key, entry] : catalog.ExtensionMap)
        if (entry.State != esUnchanged)
            shown += key + "=" + entry.Creator + "," + entry.ContentType + ";" + std::to_string(entry.State) + " ";
    std::vector<std::pair<std::string, const CreatorEntry*>> creators;
    for (const auto& [key, entry] : catalog.CreatorMap)
        creators.emplace_back(key, &entry);
    for (const auto& [key, entry] : catalog.SchemeMap)
        creators.emplace_back(key, &entry);
    for (const auto& [key, pointer] : creators) {
        const CreatorEntry& entry = *pointer;
        if (entry.State == esUnchanged)
            continue;
        shown += key + "=" + entry.Kind + "," + entry.Command + "," + entry.ExtensionText + ";" +
                 std::to_string(entry.State);
        for (const VerbEntry& verb : entry.Verbs)
            shown += " " + verb.Name + ":" + verb.Text + ":" + verb.Command + ":" + std::to_string(verb.State);
        shown += entry.DefaultVerb.empty() ? " " : " default:" + entry.DefaultVerb + " ";
    }
    return shown;
}
} // namespace

// Each script staged on the same catalog: the marks it leaves, its counts,
// and what it leaves out.
TEST(ScriptChanges, KeysOfTheClassesBecomeStagedChangesAndNothingElseGetsIn)
{
    struct Case {
        const char* what;
        std::vector<RegFileKey> keys;
        const char* marked;
        std::array<size_t, 4> counts; // edits, adds, deletes, left out
        std::vector<std::string> leftOut;
    };
    const Case cases[] = {
        {"an edit of each, roots case-blind",
         {Key("hkey_classes_root\\.TXT", {Text("Content Type", "text/x")}),
          Key("HKCR\\TXTFILE\\shell\\open\\command", {Text("", "edit.exe %1")})},
         ".txt=txtfile,text/x;1 txtfile=テキスト,edit.exe %1,.txt ;1 open:::0 print:印刷:p.exe:0 ",
         {2, 0, 0, 0},
         {}},
        {"a creator the script defines, an extension pointing at it",
         {Key("HKEY_CURRENT_USER\\Software\\Classes\\.new", {Text("", "newfile")}),
          Key("HKCU\\Software\\Classes\\newfile", {Text("", "新しい種類")}),
          Key("HKCU\\Software\\Classes\\newfile\\shell\\open\\command", {Text("", "new.exe")})},
         ".new=newfile,;4 newfile=新しい種類,new.exe,.new ;4 open:::4 ",
         {0, 2, 0, 0},
         {}},
        {"deletes; a creator no extension names stays out",
         {Removed("HKEY_CLASSES_ROOT\\.log"), Removed("HKEY_CLASSES_ROOT\\logfile"), Removed("HKCR\\otherfile")},
         ".log=,;2 logfile=,,;2 ",
         {0, 0, 2, 1},
         {"HKCR\\otherfile"}},
        {"a key removed, then listed, ends as listed; verbs through their rules",
         {Removed("HKEY_CLASSES_ROOT\\txtfile"), Key("HKEY_CLASSES_ROOT\\txtfile", {Text("", "テキスト")}),
          Key("HKEY_CLASSES_ROOT\\txtfile\\shell", {Text("", "edit")}),
          Key("HKEY_CLASSES_ROOT\\txtfile\\shell\\edit\\command", {Text("", "e.exe")})},
         "txtfile=テキスト,,.txt ;1 open:::0 print:印刷:p.exe:2 edit::e.exe:4 default:edit ",
         {1, 0, 0, 0},
         {}},
        {"run keys, values without a field and keys of no association are left out",
         {Key("HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run", {Text("x", "x.exe")}),
          Key("HKEY_LOCAL_MACHINE\\Software\\Classes\\txtfile", {Dword("EditFlags"), Dword(""), Text("", "テキスト")}),
          Key("HKEY_CLASSES_ROOT\\.txt\\OpenWithProgids", {Text("a", "")}), Key("HKEY_CLASSES_ROOT\\CLSID\\{1}"),
          Key("HKEY_CLASSES_ROOT\\txtfile\\shell\\open\\command", {Text("DelegateExecute", "{2}")}),
          Removed("HKEY_CLASSES_ROOT")},
         "",
         {0, 0, 0, 7},
         {"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run", "HKEY_CLASSES_ROOT",
          "HKEY_CLASSES_ROOT\\.txt\\OpenWithProgids", "HKEY_LOCAL_MACHINE\\Software\\Classes\\txtfile \"EditFlags\"",
          "HKEY_LOCAL_MACHINE\\Software\\Classes\\txtfile @"}},
        {"a locked command is kept and a locked delete left out, each named",
         {Key("HKCR\\cmdfile", {Text("", "コマンド")}), Key("HKCR\\cmdfile\\shell\\open\\command", {Text("", "x.exe %1")}),
          Removed("HKCR\\.cmd")},
         "cmdfile=コマンド,cmd.exe /c %1,.cmd ;1 open:::4 ",
         {1, 0, 0, 2},
         {"HKCR\\cmdfile\\shell\\open\\command @（編集が禁止されています）", "HKCR\\.cmd（削除が禁止されています）"}},
        {"schemes: the machine's edited, the script's own added, http kept for Windows; a creator stays one",
         {Key("HKCR\\MAILTO\\shell\\open\\command", {Text("", "mail2.exe %1")}),
          Key("HKCU\\Software\\Classes\\web+x", {Text("", "URL:x"), Text("URL Protocol", "")}),
          Key("HKCU\\Software\\Classes\\web+x\\shell\\open\\command", {Text("", "x.exe %1")}),
          Key("HKCR\\http", {Text("URL Protocol", "")}), Key("HKCR\\http\\shell\\open\\command"),
          Key("HKCR\\txtfile", {Text("URL Protocol", "")})},
         "mailto=,mail2.exe %1,;1 open:::4 web+x=URL:x,x.exe %1,;4 open:::4 ",
         {1, 1, 0, 3},
         {"HKCR\\http（Windows が自身で使うプロトコルです）",
          "HKCR\\http\\shell\\open\\command（Windows が自身で使うプロトコルです）", "HKCR\\txtfile \"URL Protocol\""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        AssociationCatalog catalog = Seeded();
        const ScriptLoad load = StageScriptChanges(catalog, RegFile{true, c.keys}, Reads());
        EXPECT_EQ(Marked(catalog), c.marked);
        EXPECT_EQ((std::array<size_t, 4>{load.Edits, load.Adds, load.Deletes, load.LeftOutCount}), c.counts);
        std::vector<std::string> leftOut;
        for (const LeftOutItem& item : load.FirstLeftOut)
            leftOut.push_back(LeftOutLine(item));
        EXPECT_EQ(leftOut, c.leftOut);
    }

    AssociationCatalog dangerous = Seeded();
    const RegFile bat{false, {Key("HKCR\\.BAT", {Text("", "txtfile")}), Key("HKCR\\txtfile", {Text("", "x")})}};
    EXPECT_EQ(StageScriptChanges(dangerous, bat, {}).DangerousExtensions, std::vector<std::string>{".bat"});

    // The last names the machine's classes, which a commit to the user's does not write.
    AssociationCatalog catalog = Seeded();
    const ScriptLoad load = StageScriptChanges(catalog, RegFile{true, cases[4].keys}, {});
    EXPECT_NE(ScriptLoadReport("a.reg", load, true).find("ほか 2 件\n\nこのファイルはすべてのユーザーの関連付け"), std::string::npos);
    EXPECT_EQ(ScriptLoadReport("a.reg", load, false).find("保存先"), std::string::npos);
}
