#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

#include "model/CreatorEntry.h"
#include "model/ErrorReport.h"
#include "model/RegistryLayout.h"
#include "model/SchemeEntry.h"
#include "tests/support/RecordErrors.h"
#include "tests/support/ScratchRegistry.h"

namespace {
CreatorEntry Named(const std::string& name)
{
    CreatorEntry entry;
    entry.Name = name;
    return entry;
}

std::vector<std::string> Sorted(std::vector<std::string> names)
{
    std::sort(names.begin(), names.end());
    return names;
}

std::string Message(const std::string& name, const char* tail)
{
    return "クリエーター(" + name + tail;
}
} // namespace

class CreatorEntryTest : public RegistryTest {
protected:
    RecordErrors errors;
};

TEST(CreatorEntryParse, SplitsFileAndNumber)
{
    struct Case {
        std::string source;
        std::string file;
        std::int32_t number;
    };
    const Case cases[] = {
        {"", "", 0},
        {"D:\\icons\\a.ico", "D:\\icons\\a.ico", 0},
        {"shell32.dll,-154", "shell32.dll", -154},
        {"x.dll,2,3", "x.dll", 2},
        {"x.dll,", "x.dll", 0},
        {"x.dll, \t 12abc", "x.dll", 12},
        {"x.dll,+7", "x.dll", 7},
        {"x.dll,abc", "x.dll", 0},
        {"x.dll,- 5", "x.dll", 0},
        {",3", "", 3},
        {"x.dll,2147483647", "x.dll", INT32_MAX},
        {"x.dll,-2147483648", "x.dll", INT32_MIN},
        {"x.dll,2147483648", "x.dll", INT32_MAX},
        {"x.dll,99999999999999999999999", "x.dll", INT32_MAX},
        {"x.dll,-99999999999999999999999", "x.dll", INT32_MIN},
        {"%SystemRoot%\\アイコン.dll,1", "%SystemRoot%\\アイコン.dll", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        CreatorEntry entry;
        entry.IconFile = "stale";
        entry.IconNumber = 99;
        entry.IconSource = c.source;
        entry.ParseIconSource();
        EXPECT_EQ(entry.IconFile, c.file);
        EXPECT_EQ(entry.IconNumber, c.number);
    }
    {
        SCOPED_TRACE("sources far beyond 2,048 bytes");
        const std::string longFile = "C:\\" + std::string(5000, 'd') + "\\i.ico";
        CreatorEntry entry;
        entry.IconSource = longFile + ",4";
        entry.ParseIconSource();
        EXPECT_EQ(entry.IconFile, longFile);
        EXPECT_EQ(entry.IconNumber, 4);
        entry.IconSource = longFile;
        entry.ParseIconSource();
        EXPECT_EQ(entry.IconFile, longFile);
        EXPECT_EQ(entry.IconNumber, 0);
    }
}

TEST(CreatorEntryExtensions, StaySortedByBytesWithCountAndText)
{
    CreatorEntry entry;
    entry.AddExtension(".b");
    entry.AddExtension(".a");
    entry.AddExtension(".b");
    EXPECT_EQ(entry.Extensions, (std::vector<std::string>{".a", ".b"}));
    EXPECT_EQ(entry.ExtensionCount, 2);
    EXPECT_EQ(entry.ExtensionText, ".a .b ");

    // Byte order: capitals before small letters, a prefix first, bytes above
    // 127 after ASCII.
    entry.AddExtension(".ab");
    entry.AddExtension(".Z");
    entry.AddExtension(".日本");
    entry.AddExtension(".");
    EXPECT_EQ(entry.Extensions, (std::vector<std::string>{".", ".Z", ".a", ".ab", ".b", ".日本"}));
    EXPECT_EQ(entry.ExtensionText, ". .Z .a .ab .b .日本 ");
    EXPECT_EQ(entry.ExtensionCount, 6);

    entry.RemoveExtension(".A");
    EXPECT_EQ(entry.ExtensionCount, 6) << "removal compares bytes exactly";
    entry.RemoveExtension(".ab");
    entry.RemoveExtension(".");
    EXPECT_EQ(entry.Extensions, (std::vector<std::string>{".Z", ".a", ".b", ".日本"}));
    EXPECT_EQ(entry.ExtensionCount, 4);
    EXPECT_EQ(entry.ExtensionText, ".Z .a .b .日本 ");
    for (const char* name : {".Z", ".a", ".b", ".日本"})
        entry.RemoveExtension(name);
    EXPECT_TRUE(entry.Extensions.empty());
    EXPECT_EQ(entry.ExtensionCount, 0);
    EXPECT_EQ(entry.ExtensionText, "");

    {
        SCOPED_TRACE("a list filled by hand is put in order by the next add");
        entry.Extensions = {".y", ".x"};
        entry.AddExtension(".w");
        EXPECT_EQ(entry.Extensions, (std::vector<std::string>{".w", ".x", ".y"}));
        EXPECT_EQ(entry.ExtensionText, ".w .x .y ");
        EXPECT_EQ(entry.ExtensionCount, 3);
    }
    entry.Clear();
    EXPECT_TRUE(entry.Extensions.empty());
    EXPECT_EQ(entry.ExtensionText, "");
}

TEST(CreatorEntryEquality, ComparesDdeTextsOnlyWhenDdeIsOn)
{
    CreatorEntry a = Named("txtfile");
    a.Kind = "Text";
    a.IconSource = "x.dll,1";
    a.Command = "notepad %1";
    CreatorEntry b = a;
    b.DdeTopic = "System";
    b.State = esModified;
    b.IconNumber = 7;
    b.AddExtension(".txt");
    EXPECT_TRUE(a == b) << "DDE off: DDE texts, state, icon and extensions do not count";
    a.UsesDde = b.UsesDde = true;
    EXPECT_FALSE(a == b);
    b.DdeTopic.clear();
    EXPECT_TRUE(a == b);
    for (auto field : {&CreatorEntry::Name, &CreatorEntry::Kind, &CreatorEntry::IconSource, &CreatorEntry::Command,
                       &CreatorEntry::DdeMessage, &CreatorEntry::DdeApplication, &CreatorEntry::DdeIfExec}) {
        CreatorEntry c = a;
        c.*field += "X";
        EXPECT_FALSE(a == c);
    }
    CreatorEntry upper = a;
    upper.Name = "TXTFILE";
    EXPECT_FALSE(a == upper) << "case counts";
    CreatorEntry noDde = a;
    noDde.UsesDde = false;
    EXPECT_FALSE(a == noDde);
}

TEST_F(CreatorEntryTest, ReadsEveryFieldAndRoundTrips)
{
    SetText("txtfile", "", "テキスト文書");
    SetText("txtfile\\DefaultIcon", "", "%SystemRoot%\\system32\\imageres.dll,-102", REG_EXPAND_SZ);
    SetText("txtfile\\shell\\open\\command", "", "\"C:\\Program Files\\ed.exe\" \"%1\"");
    SetText("txtfile\\shell\\open\\ddeexec", "", "[open(\"%1\")]");
    SetText("txtfile\\shell\\open\\ddeexec\\application", "", "ED");
    SetText("txtfile\\shell\\open\\ddeexec\\ifexec", "", "[]");
    SetText("txtfile\\shell\\open\\ddeexec\\topic", "", "System");

    CreatorEntry entry = Named("txtfile");
    entry.State = esModified;
    ASSERT_TRUE(entry.ReadFromRegistry(Location()));
    EXPECT_EQ(entry.Kind, "テキスト文書");
    EXPECT_EQ(entry.IconSource, "%SystemRoot%\\system32\\imageres.dll,-102");
    EXPECT_EQ(entry.IconFile, "%SystemRoot%\\system32\\imageres.dll");
    EXPECT_EQ(entry.IconNumber, -102);
    EXPECT_EQ(entry.Command, "\"C:\\Program Files\\ed.exe\" \"%1\"");
    EXPECT_TRUE(entry.UsesDde);
    EXPECT_EQ(entry.DdeMessage, "[open(\"%1\")]");
    EXPECT_EQ(entry.DdeApplication, "ED");
    EXPECT_EQ(entry.DdeIfExec, "[]");
    EXPECT_EQ(entry.DdeTopic, "System");
    EXPECT_EQ(entry.State, esUnchanged);

    entry.Kind = "Plain text";
    entry.IconSource = "%SystemRoot%\\system32\\shell32.dll,3";
    entry.Command = "notepad.exe %1";
    entry.DdeApplication = "NOTEPAD";
    entry.DdeTopic = "";
    entry.State = esModified;
    ASSERT_TRUE(entry.WriteToRegistry(Location()));
    EXPECT_EQ(entry.State, esUnchanged);

    CreatorEntry back = Named("txtfile");
    ASSERT_TRUE(back.ReadFromRegistry(Location()));
    EXPECT_TRUE(back == entry);
    EXPECT_EQ(back.DdeMessage, entry.DdeMessage);
    EXPECT_EQ(back.DdeApplication, "NOTEPAD");
    EXPECT_EQ(back.DdeIfExec, "[]");
    EXPECT_EQ(back.DdeTopic, "");
    EXPECT_EQ(back.IconNumber, 3);
    EXPECT_EQ(GetValue("txtfile\\DefaultIcon", "").type, static_cast<DWORD>(REG_EXPAND_SZ))
        << "an expandable icon source stays expandable";
    EXPECT_EQ(GetValue("txtfile", "").type, static_cast<DWORD>(REG_SZ));
    EXPECT_FALSE(KeyExists("txtfile\\shell\\open\\ddeexec\\topic"));
    EXPECT_TRUE(errors.messages.empty());
}

TEST_F(CreatorEntryTest, ReadKeepsFieldsWhoseValuesAreMissing)
{
    CreateKey(Root(), "bare\\shell\\open\\ddeexec");
    SetText("emptyvalues", "", "");
    SetText("emptyvalues\\DefaultIcon", "", "");
    {
        SCOPED_TRACE("ddeexec without sub-keys or values");
        CreatorEntry entry = Named("bare");
        ASSERT_TRUE(entry.ReadFromRegistry(Location()));
        EXPECT_TRUE(entry.UsesDde);
        EXPECT_EQ(entry.Kind, "");
        EXPECT_EQ(entry.DdeMessage, "");
        EXPECT_EQ(entry.DdeApplication, "");
        EXPECT_EQ(entry.DdeIfExec, "");
        EXPECT_EQ(entry.DdeTopic, "");
    }
    {
        SCOPED_TRACE("missing values and keys leave the fields as they were");
        CreatorEntry entry = Named("bare");
        entry.Kind = "kept kind";
        entry.IconSource = "kept.ico,2";
        entry.DdeTopic = "kept topic";
        ASSERT_TRUE(entry.ReadFromRegistry(Location()));
        EXPECT_EQ(entry.Kind, "kept kind");
        EXPECT_EQ(entry.IconSource, "kept.ico,2");
        EXPECT_EQ(entry.IconFile, "kept.ico");
        EXPECT_EQ(entry.IconNumber, 2);
        EXPECT_EQ(entry.DdeTopic, "kept topic");
    }
    {
        SCOPED_TRACE("empty values empty the fields");
        CreatorEntry entry = Named("emptyvalues");
        entry.Kind = "old";
        entry.IconSource = "old.ico";
        entry.UsesDde = true;
        ASSERT_TRUE(entry.ReadFromRegistry(Location()));
        EXPECT_EQ(entry.Kind, "");
        EXPECT_EQ(entry.IconSource, "");
        EXPECT_EQ(entry.IconFile, "");
        EXPECT_FALSE(entry.UsesDde) << "no ddeexec key";
    }
    {
        SCOPED_TRACE("a missing creator key reads nothing and says nothing");
        CreatorEntry entry = Named("NoSuchType");
        entry.State = esAdded;
        ASSERT_TRUE(entry.ReadFromRegistry(Location()));
        EXPECT_EQ(entry.Kind, "");
        EXPECT_FALSE(entry.UsesDde);
        EXPECT_EQ(entry.State, esUnchanged);
    }
    EXPECT_TRUE(errors.messages.empty());
}

TEST_F(CreatorEntryTest, NonTextValueIsReportedAndStopsTheRead)
{
    SetText("numtype", "", "Kind");
    SetText("numtype\\shell\\open\\command", "", "run %1");
    SetText("numtype\\shell\\open\\ddeexec", "", "msg");
    SetDword(Root(), "numtype\\shell\\open\\ddeexec\\application", "", 1);
    SetText("numtype\\shell\\open\\ddeexec\\topic", "", "System");

    CreatorEntry entry = Named("numtype");
    entry.State = esModified;
    EXPECT_FALSE(entry.ReadFromRegistry(Location()));
    ASSERT_EQ(errors.messages.size(), 1u);
    EXPECT_EQ(errors.messages[0], Message("numtype", kReadFailedTail));
    EXPECT_EQ(entry.Kind, "Kind");
    EXPECT_EQ(entry.Command, "run %1");
    EXPECT_TRUE(entry.UsesDde) << "set as soon as ddeexec is found";
    EXPECT_EQ(entry.DdeMessage, "msg");
    EXPECT_EQ(entry.DdeTopic, "") << "not read after the failure";
    EXPECT_EQ(entry.State, esModified);
}

TEST_F(CreatorEntryTest, WriteLeavesExactlyTheDescribedKeysBelowOpen)
{
    const std::string open = "doc\\shell\\open";
    auto seedOthers = [&] {
        SetText(open, "", "開く(&O)");
        SetText(open + "\\command", "DelegateExecute", "{guid}");
        SetText("doc\\shell\\print\\command", "", "print %1");
        SetText("doc\\shellex\\IconHandler", "", "{icon}");
        SetText("doc", "FriendlyTypeName", "friendly");
        SetText(open + "\\ddeexec", "", "old message");
        SetText(open + "\\ddeexec\\ifexec", "", "old ifexec");
        SetText(open + "\\ddeexec\\application", "", "old app");
    };
    auto expectOthersSurvive = [&] {
        EXPECT_EQ(GetValue(open, "").Text(), "開く(&O)");
        EXPECT_EQ(GetValue("doc\\shell\\print\\command", "").Text(), "print %1");
        EXPECT_EQ(GetValue("doc\\shellex\\IconHandler", "").Text(), "{icon}");
        EXPECT_EQ(GetValue("doc", "FriendlyTypeName").Text(), "friendly");
    };
    {
        SCOPED_TRACE("DDE on, empty message and ifexec, topic set, empty command");
        seedOthers();
        CreatorEntry entry = Named("doc");
        entry.Kind = "Document";
        entry.IconSource = "doc.ico";
        entry.UsesDde = true;
        entry.DdeApplication = "APP";
        entry.DdeTopic = "System";
        ASSERT_TRUE(entry.WriteToRegistry(Location()));
        EXPECT_EQ(SubKeyNames(Root(), open), (std::vector<std::string>{"ddeexec"}));
        EXPECT_EQ(Sorted(SubKeyNames(Root(), open + "\\ddeexec")), (std::vector<std::string>{"application", "topic"}));
        EXPECT_TRUE(ValueNames(Root(), open + "\\ddeexec").empty()) << "ddeexec has no default of its own";
        EXPECT_EQ(GetValue(open + "\\ddeexec\\application", "").Text(), "APP");
        EXPECT_EQ(GetValue(open + "\\ddeexec\\topic", "").Text(), "System");
        EXPECT_EQ(GetValue("doc", "").Text(), "Document");
        EXPECT_EQ(GetValue("doc\\DefaultIcon", "").Text(), "doc.ico");
        expectOthersSurvive();
    }
    {
        SCOPED_TRACE("DDE on with every text, command set");
        seedOthers();
        CreatorEntry entry = Named("doc");
        entry.Command = "ed %1";
        entry.UsesDde = true;
        entry.DdeMessage = "[open]";
        entry.DdeApplication = "APP";
        entry.DdeIfExec = "[ifexec]";
        entry.DdeTopic = "System";
        ASSERT_TRUE(entry.WriteToRegistry(Location()));
        EXPECT_EQ(Sorted(SubKeyNames(Root(), open)), (std::vector<std::string>{"command", "ddeexec"}));
        EXPECT_EQ(Sorted(SubKeyNames(Root(), open + "\\ddeexec")),
                  (std::vector<std::string>{"application", "ifexec", "topic"}));
        EXPECT_EQ(GetValue(open + "\\command", "").Text(), "ed %1");
        EXPECT_EQ(GetValue(open + "\\command", "DelegateExecute").Text(), "{guid}");
        EXPECT_EQ(GetValue(open + "\\ddeexec", "").Text(), "[open]");
        EXPECT_EQ(GetValue(open + "\\ddeexec\\ifexec", "").Text(), "[ifexec]");
        EXPECT_FALSE(KeyExists("doc\\DefaultIcon")) << "an empty icon source removes DefaultIcon";
        EXPECT_FALSE(GetValue("doc", "").exists) << "an empty kind removes the default value";
        expectOthersSurvive();
    }
    {
        SCOPED_TRACE("DDE off removes the ddeexec left from before");
        seedOthers();
        CreatorEntry entry = Named("doc");
        entry.Command = "ed %1";
        entry.DdeTopic = "ignored";
        ASSERT_TRUE(entry.WriteToRegistry(Location()));
        EXPECT_EQ(SubKeyNames(Root(), open), (std::vector<std::string>{"command"}));
        expectOthersSurvive();
    }
    {
        SCOPED_TRACE("a creator that does not exist yet is created");
        CreatorEntry entry = Named("新しい種類");
        entry.Kind = "新規";
        entry.Command = "x.exe";
        ASSERT_TRUE(entry.WriteToRegistry(Location()));
        EXPECT_EQ(GetValue("新しい種類", "").Text(), "新規");
        EXPECT_EQ(GetValue("新しい種類\\shell\\open\\command", "").Text(), "x.exe");
        EXPECT_FALSE(KeyExists("新しい種類\\DefaultIcon"));
        EXPECT_FALSE(KeyExists("新しい種類\\shell\\open\\ddeexec"));
    }
    EXPECT_TRUE(errors.messages.empty());
}

TEST_F(CreatorEntryTest, FailedWriteAndDeleteAreReported)
{
    {
        SCOPED_TRACE("a key that cannot be opened for writing");
        const std::string tooLong(300, 'k');
        CreatorEntry entry = Named(tooLong);
        entry.State = esModified;
        EXPECT_FALSE(entry.WriteToRegistry(Location()));
        ASSERT_EQ(errors.messages.size(), 1u);
        EXPECT_EQ(errors.messages[0], Message(tooLong, kWriteFailedTail));
        EXPECT_EQ(entry.State, esModified);
        SchemeEntry scheme;
        static_cast<CreatorEntry&>(scheme) = entry;
        EXPECT_FALSE(scheme.WriteToRegistry(Location()));
        ASSERT_EQ(errors.messages.size(), 2u);
        EXPECT_EQ(errors.messages[1], "プロトコル(" + tooLong + kWriteFailedTail) << "a scheme's key is no creator";
    }
    errors.messages.clear();
    {
        SCOPED_TRACE("delete removes the whole key; a key already gone is fine");
        SetText("gone\\shell\\edit\\command", "", "e");
        SetText("gone\\DefaultIcon", "", "i");
        CreatorEntry entry = Named("gone");
        entry.State = esDeleted;
        EXPECT_TRUE(entry.DeleteFromRegistry(Location()));
        EXPECT_FALSE(KeyExists("gone"));
        EXPECT_EQ(entry.State, esDeleted);
        EXPECT_TRUE(entry.DeleteFromRegistry(Location()));
        EXPECT_TRUE(errors.messages.empty());
    }
    {
        SCOPED_TRACE("an entry without a name touches nothing");
        SetText("", "", "root default");
        CreatorEntry entry;
        entry.Kind = "x";
        EXPECT_TRUE(entry.WriteToRegistry(Location()));
        EXPECT_TRUE(entry.ReadFromRegistry(Location()));
        EXPECT_TRUE(entry.DeleteFromRegistry(Location()));
        EXPECT_EQ(GetValue("", "").Text(), "root default");
        EXPECT_TRUE(errors.messages.empty());
    }
}

TEST(CreatorEntryRegText, WritesBlocksWithEscapedValues)
{
    CreatorEntry entry = Named("Foo\\Bar");
    entry.Kind = "A \"quoted\" C:\\kind";
    entry.IconSource = "C:\\i.ico,1";
    entry.Command = "\"C:\\Program Files\\x.exe\" \"%1\"";
    entry.DdeMessage = "[open(\"%1\")]";
    entry.DdeApplication = "app";
    entry.DdeTopic = "topic";

    std::string out = "before";
    entry.WriteRegText(ClassesRoot(), out);
    EXPECT_EQ(out, "before"
                   "\r\n[HKEY_CLASSES_ROOT\\Foo\\Bar]\r\n"
                   "@=\"A \\\"quoted\\\" C:\\\\kind\"\r\n"
                   "\r\n[HKEY_CLASSES_ROOT\\Foo\\Bar\\DefaultIcon]\r\n"
                   "@=\"C:\\\\i.ico,1\"\r\n"
                   "\r\n[HKEY_CLASSES_ROOT\\Foo\\Bar\\shell\\open\\command]\r\n"
                   "@=\"\\\"C:\\\\Program Files\\\\x.exe\\\" \\\"%1\\\"\"\r\n"
                   "\r\n");

    entry.UsesDde = true;
    out.clear();
    entry.WriteRegText(ClassesRoot(), out);
    const std::string common = "\r\n[HKEY_CLASSES_ROOT\\Foo\\Bar]\r\n"
                               "@=\"A \\\"quoted\\\" C:\\\\kind\"\r\n"
                               "\r\n[HKEY_CLASSES_ROOT\\Foo\\Bar\\DefaultIcon]\r\n"
                               "@=\"C:\\\\i.ico,1\"\r\n"
                               "\r\n[HKEY_CLASSES_ROOT\\Foo\\Bar\\shell\\open\\command]\r\n"
                               "@=\"\\\"C:\\\\Program Files\\\\x.exe\\\" \\\"%1\\\"\"\r\n";
    EXPECT_EQ(out, common + "\r\n[HKEY_CLASSES_ROOT\\Foo\\Bar\\shell\\open\\ddeexec]\r\n"
                            "@=\"[open(\\\"%1\\\")]\"\r\n"
                            "\r\n[HKEY_CLASSES_ROOT\\Foo\\Bar\\shell\\open\\ddeexec\\application]\r\n"
                            "@=\"app\"\r\n"
                            "\r\n[HKEY_CLASSES_ROOT\\Foo\\Bar\\shell\\open\\ddeexec\\topic]\r\n"
                            "@=\"topic\"\r\n"
                            "\r\n")
        << "a key named by a path gets only the texts that are set: the empty ifexec stays out";

    out.clear();
    Named("").WriteRegText(ClassesRoot(), out);
    EXPECT_EQ(out, "") << "an entry without a name writes nothing";
}

// The verbs of a creator, read from both layers key by key, written back
// with only what changed (unknown values of a verb kept), and exported
// after the creator's blocks.
TEST_F(CreatorEntryTest, VerbsAreReadWrittenAndExportedInOneTable)
{
    const HKEY user = HKEY_CURRENT_USER;
    const std::string mine = scratch_.UserLocation().Path + "\\doc\\shell";
    SetText("doc\\shell", "", "print");
    SetText("doc\\shell\\open", "", "開く(&O)");
    SetText("doc\\shell\\open\\command", "", "view.exe %1");
    SetText("doc\\shell\\print", "", "印刷");
    SetText("doc\\shell\\print", "Position", "Top");
    SetText("doc\\shell\\print\\command", "", "p.exe /p %1");
    SetText("doc\\shell\\edit\\command", "DelegateExecute", "{guid}");
    SetText("doc\\shell\\runas", "Extended", "");
    SetText("doc\\shell\\runas", "MUIVerb", "@shell32.dll,-37417");
    ::SetText(user, mine + "\\Print", "", "User print");
    const RegistryLocation sources[] = {scratch_.UserLocation(), Location()};
    CreatorEntry doc = Named("doc");
    LONG status = ERROR_SUCCESS;
    ASSERT_TRUE(ReadVerbs(sources, doc, status));
    std::string seen;
    for (const VerbEntry& verb : doc.Verbs)
        seen += verb.Name + "[" + verb.Text + "|" + verb.MuiVerb + "|" + verb.Command + "|" + verb.Extended +
                verb.Handler + "] ";
    EXPECT_EQ(seen, "Print[User print||p.exe /p %1|] edit[|||1] open[開く(&O)|||] "
                    "runas[|@shell32.dll,-37417||1] ")
        << "the user's key's values, the machine's command below it; open's command is the creator's";
    EXPECT_EQ(doc.DefaultVerb + "|" + doc.EffectiveDefaultVerb(), "|open")
        << "the user's shell key holds no default, and hides the machine's print";
    doc.DefaultVerb = "print,open";
    EXPECT_EQ(doc.EffectiveDefaultVerb(), "Print");

    doc.Verbs[0].Text = "印刷する";
    doc.Verbs[0].State = esModified;
    doc.Verbs[3].State = esDeleted;
    VerbEntry& lines = doc.Verbs.emplace_back();
    lines.Name = "lines";
    lines.Command = "ed.exe /n \"%1\"";
    lines.Extended = "1";
    lines.State = esAdded;
    doc.DefaultVerb = "lines";
    doc.State = esModified;
    ASSERT_TRUE(doc.WriteToRegistry(Location()));
    EXPECT_EQ(GetValue("doc\\shell", "").Text(), "lines");
    EXPECT_EQ(GetValue("doc\\shell\\print", "").Text() + "|" + GetValue("doc\\shell\\print", "Position").Text() + "|" +
                  GetValue("doc\\shell\\print\\command", "").Text(),
              "印刷する|Top|p.exe /p %1");
    EXPECT_EQ(GetValue("doc\\shell\\lines\\command", "").Text(), "ed.exe /n \"%1\"");
    EXPECT_TRUE(GetValue("doc\\shell\\lines", "Extended").exists);
    EXPECT_FALSE(KeyExists("doc\\shell\\runas"));
    EXPECT_EQ(GetValue("doc\\shell\\edit\\command", "DelegateExecute").Text(), "{guid}");

    std::string out;
    doc.WriteRegText(ClassesRoot(), out);
    const std::string key = "\r\n[HKEY_CLASSES_ROOT\\doc";
    EXPECT_EQ(out.substr(out.find(key + "\\shell]")),
              key + "\\shell]\r\n@=\"lines\"\r\n" + key + "\\shell\\Print]\r\n@=\"印刷する\"\r\n" + key +
                  "\\shell\\Print\\command]\r\n@=\"p.exe /p %1\"\r\n" + key +
                  "\\shell\\lines]\r\n\"Extended\"=\"\"\r\n" + key +
                  "\\shell\\lines\\command]\r\n@=\"ed.exe /n \\\"%1\\\"\"\r\n\r\n")
        << "a program's verb is no text of its own";
}
