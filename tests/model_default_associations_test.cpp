#include <windows.h>

#include <gtest/gtest.h>

#include "model/CatalogScan.h"
#include "persist/DefaultAssociations.h"
#include "persist/RegScript.h"
#include "tests/support/ScratchRegistry.h"
#include "view/EntryMessages.h"
#include "view/ExportMessages.h"

static void AddAssociation(AssociationCatalog& catalog, const std::string& extension, const std::string& creator,
                           const std::string& command, EntryState state = esUnchanged)
{
    catalog.ExtensionMap[extension] = ExtensionEntry{extension, creator, "", state};
    if (!command.empty())
        catalog.CreatorMap[creator].Command = command;
}

// Program names from a quoted path, an unquoted one with spaces, and a
// %VARIABLE% path to this program, whose version resource has a FileDescription.
TEST(DefaultAssociationsTest, GoldenFileOfASmallCatalog)
{
    char self[MAX_PATH * 4];
    std::string folder(self, GetModuleFileNameA(nullptr, self, sizeof self));
    folder.erase(folder.find_last_of('\\'));
    SetEnvironmentVariableA("MORVIDO_TEST_FOLDER", folder.c_str());

    AssociationCatalog catalog;
    AddAssociation(catalog, ".htm", "Q&A<\"web\">", "\"C:\\Program Files\\Tom's & Jerry's\\<view>.exe\" /v \"%1\"");
    AddAssociation(catalog, ".txt", "txtfile", "%MORVIDO_TEST_FOLDER%\\morvido_model_tests.exe /open \"%1\"");
    AddAssociation(catalog, ".テキスト", "日本語の種類", "C:\\Program Files\\Ed Tool\\edit.exe /n %1");
    AddAssociation(catalog, ".nocmd", "ghost", "");
    AddAssociation(catalog, ".none", "", "");
    AddAssociation(catalog, ".gone", "gonefile", "gone.exe", esDeleted);

    const DefaultAssociationList list = CollectDefaultAssociations(
        catalog, {".txt", ".none", ".テキスト", ".htm", ".gone", ".missing", ".nocmd", ".txt"}, AssociationLocations{});
    EXPECT_EQ(list.LeftOut, 3u);
    const DefaultAssociationsFile file = BuildDefaultAssociationsXml(list.Entries);
    EXPECT_FALSE(file.Problem);
    EXPECT_EQ(file.Bytes,
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
              "<DefaultAssociations>\r\n"
              "  <Association Identifier=\".htm\" ProgId=\"Q&amp;A&lt;&quot;web&quot;&gt;\" "
              "ApplicationName=\"&lt;view&gt;.exe\" />\r\n"
              "  <Association Identifier=\".nocmd\" ProgId=\"ghost\" ApplicationName=\"ghost\" />\r\n"
              "  <Association Identifier=\".txt\" ProgId=\"txtfile\" "
              "ApplicationName=\"Windowsの関連づけを変えるソフト\" />\r\n"
              "  <Association Identifier=\".テキスト\" ProgId=\"日本語の種類\" ApplicationName=\"edit.exe\" />\r\n"
              "</DefaultAssociations>\r\n");
}

TEST(DefaultAssociationsTest, TextsXmlCannotCarryAsTheyAre)
{
    const struct {
        const char* progId;
        const char* written; // nullptr: refused
    } cases[] = {
        {"it's\ta\r\nb", "it&apos;s&#9;a&#13;&#10;b"},
        {"smile\xF0\x9F\x98\x80", "smile\xF0\x9F\x98\x80"},
        {"bell\x07", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.progId);
        const DefaultAssociationsFile file = BuildDefaultAssociationsXml({{".x", c.progId, "a"}});
        if (c.written) {
            EXPECT_NE(file.Bytes.find(std::string("ProgId=\"") + c.written + "\""), std::string::npos) << file.Bytes;
        } else {
            EXPECT_EQ(file.Bytes, "");
            ASSERT_TRUE(file.Problem);
            EXPECT_EQ(EntryFailureMessage(*file.Problem), "拡張子(.x)のデータに、ファイルに保存できない文字があります。");
        }
    }
}

TEST(DefaultAssociationsTest, ChangedAssociationsAreThoseOfChangedExtensionsOrCreators)
{
    AssociationCatalog catalog;
    AddAssociation(catalog, ".a", "afile", "", esModified);
    AddAssociation(catalog, ".b", "bfile", "b.exe");
    AddAssociation(catalog, ".c", "cfile", "", esAdded);
    AddAssociation(catalog, ".d", "afile", "", esDeleted);
    AddAssociation(catalog, ".e", "efile", "");
    catalog.CreatorMap["bfile"].State = esModified;
    EXPECT_EQ(ChangedAssociationKeys(catalog), (std::vector<std::string>{".a", ".b", ".c"}));
    for (const auto& [key, state] : {std::pair{"irc", esAdded}, {"mailto", esModified}, {"news", esDeleted}, {"tel", esUnchanged}})
        catalog.SchemeMap[key].State = state;
    EXPECT_EQ(ChangedSchemeKeys(catalog), (std::vector<std::string>{"irc", "mailto"}));
}

class DefaultAssociationsFileTest : public RegistryTest {};

// The shell follows a user's choice only to a type the machine has; the
// platform's own export names that type, and the program its command runs.
// The chosen type's key in the user's classes, its command in the machine's:
// the merged view runs the machine's command. A choice of the creator in
// another case is the creator.
TEST_F(DefaultAssociationsFileTest, NamesTheChosenTypeWithVersionAndSuggested)
{
    const AssociationLocations locations = Locations();
    ::SetText(Root(), "Chosen.Type\\shell\\open\\command", "", "C:\\Apps\\chosen.exe \"%1\"");
    CreateKey(HKEY_CURRENT_USER, locations.User.KeyPath("Chosen.Type"));
    AssociationCatalog catalog;
    AddAssociation(catalog, ".txt", "txtfile", "C:\\Apps\\edit.exe %1");
    AddAssociation(catalog, ".log", "txtfile", "C:\\Apps\\edit.exe %1");
    AddAssociation(catalog, ".new", "", "");
    AddAssociation(catalog, ".ini", "txtfile", "C:\\Apps\\edit.exe %1");
    AddAssociation(catalog, ".cfg", "txtfile", "C:\\Apps\\edit.exe %1");
    CreateKey(HKEY_CURRENT_USER, locations.User.KeyPath("Applications\\chosen.exe"));
    for (const auto& [key, choice] : {std::pair{".ini", "TXTFILE"}, {".txt", "Chosen.Type"}, {".log", "Gone.Type"},
                                      {".new", "Chosen.Type"}, {".cfg", "Applications\\chosen.exe"}})
        catalog.ExtensionMap[key].UserChoice = choice;

    const DefaultAssociationList list = CollectDefaultAssociations(catalog, {".txt", ".log", ".new", ".ini", ".cfg"}, locations);
    EXPECT_EQ(LeftOutMessage(list), "ユーザーの選択が、このコンピューターにない種類かレジストリのパスを指している拡張子2個は、クリエーターで保存しました。");
    const DefaultAssociationsFile file =
        BuildDefaultAssociationsXml(list.Entries, DefaultsOptions{.Version = 7, .Suggested = true, .PolicyPath = ""});
    EXPECT_EQ(file.Bytes, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<DefaultAssociations Version=\"7\">\r\n"
                          "  <Association Identifier=\".cfg\" ProgId=\"txtfile\" ApplicationName=\"edit.exe\" "
                          "Suggested=\"true\" />\r\n"
                          "  <Association Identifier=\".ini\" ProgId=\"txtfile\" ApplicationName=\"edit.exe\" "
                          "Suggested=\"true\" />\r\n"
                          "  <Association Identifier=\".log\" ProgId=\"txtfile\" ApplicationName=\"edit.exe\" "
                          "Suggested=\"true\" />\r\n"
                          "  <Association Identifier=\".new\" ProgId=\"Chosen.Type\" ApplicationName=\"chosen.exe\" "
                          "Suggested=\"true\" />\r\n"
                          "  <Association Identifier=\".txt\" ProgId=\"Chosen.Type\" ApplicationName=\"chosen.exe\" "
                          "Suggested=\"true\" />\r\n"
                          "</DefaultAssociations>\r\n");
}

// Schemes follow the extensions, each named by the type that opens it as
// for an extension, with the scheme's own key in the creator's place.
TEST_F(DefaultAssociationsFileTest, SchemesFollowTheExtensionsNamingTheTypeThatOpens)
{
    const AssociationLocations locations = Locations();
    SetText(".txt", "", "txtfile");
    for (const char* scheme : {"MailTo", "irc", "news", "tel"})
        SetText(scheme, "URL Protocol", "");
    SetText("MailTo\\shell\\open\\command", "", "C:\\Mail\\mail.exe %1");
    ::SetText(HKEY_CURRENT_USER, locations.User.KeyPath("Better.Mail\\shell\\open\\command"), "", "C:\\Apps\\better.exe");
    ::SetText(HKEY_CURRENT_USER, locations.UrlAssociations.KeyPath("mailto\\UserChoice"), "ProgId", "Better.Mail");
    ::SetText(HKEY_CURRENT_USER, locations.UrlAssociations.KeyPath("irc\\UserChoice"), "ProgId", "Gone.Irc");
    AssociationCatalog catalog;
    FillCatalogFromRegistry(catalog, locations, true);
    catalog.SchemeMap["tel"].State = esDeleted;
    const DefaultAssociationList list =
        CollectDefaultAssociations(catalog, {".txt"}, locations, {"news", "tel", "mailto", "irc"});
    EXPECT_EQ(LeftOutMessage(list), "削除したプロトコルか、見つからないプロトコル1個は保存しませんでした。\n"
                                    "ユーザーの選択がこのコンピューターにない種類を指しているプロトコル1個は、"
                                    "プロトコルのキーで保存しました。") << "tel; irc";
    EXPECT_EQ(BuildDefaultAssociationsXml(list.Entries).Bytes,
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<DefaultAssociations>\r\n"
              "  <Association Identifier=\".txt\" ProgId=\"txtfile\" ApplicationName=\"txtfile\" />\r\n"
              "  <Association Identifier=\"irc\" ProgId=\"irc\" ApplicationName=\"irc\" />\r\n"
              "  <Association Identifier=\"mailto\" ProgId=\"Better.Mail\" ApplicationName=\"better.exe\" />\r\n"
              "  <Association Identifier=\"news\" ProgId=\"news\" ApplicationName=\"news\" />\r\n"
              "</DefaultAssociations>\r\n");
}

TEST(DeploymentFilesTest, VersionsBase64AndNamesBesideTheFile)
{
    std::string versions;
    for (const char* text : {"1", "007", "2147483647", "2147483648", "0", "-1", "1.5", ""})
        versions += std::to_string(ParseAssociationsVersion(text).value_or(0)) + " ";
    EXPECT_EQ(versions, "1 7 2147483647 0 0 0 0 0 ");
    EXPECT_EQ(Base64Of("") + "|" + Base64Of("M") + "|" + Base64Of("Ma") + "|" + Base64Of("Man\xFF\xFE"),
              "|TQ==|TWE=|TWFu//4=");
    EXPECT_EQ(SiblingPath("C:\\deploy\\defaults.xml", ".txt"), "C:\\deploy\\defaults.txt");
    EXPECT_EQ(SiblingPath("C:\\de.ploy\\defaults", ".reg"), "C:\\de.ploy\\defaults.reg");
    EXPECT_EQ(SiblingPath("C:\\deploy\\defaults.TXT", ".txt"), "C:\\deploy\\defaults.TXT.txt");
}

// In Shift-JIS "表" ends in the backslash byte, which must not be escaped.
TEST(DeploymentFilesTest, PolicyScriptSetsThePathOrRefusesIt)
{
    const struct {
        const char* path;
        const char* script; // nullptr: refused
    } cases[] = {
        {"\\\\srv\\配布\\表.xml", "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Policies\\Microsoft\\Windows\\System]\r\n"
                                "\"DefaultAssociationsConfiguration\"=\"\\\\\\\\srv\\\\\x94\x7A\x95\x7A\\\\\x95\x5C.xml\"\r\n"},
        {"C:\\a\tb.xml", nullptr},
        {"C:\\caf\xC3\xA9.xml", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const std::optional<std::string> script =
            BuildValueScript(AssociationsPolicyKey(), kAssociationsPolicyValue, c.path, 932, CP_UTF8);
        EXPECT_EQ(script.value_or("refused"), c.script ? c.script : "refused");
    }
}
