#include <windows.h>

#include <gtest/gtest.h>

#include "persist/DefaultAssociations.h"
#include "view/EntryMessages.h"

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

    const DefaultAssociationList list =
        CollectDefaultAssociations(catalog, {".txt", ".none", ".テキスト", ".htm", ".gone", ".missing", ".nocmd", ".txt"});
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
}
