// The classes' merge, the user's choice and EditFlags, over scratch keys.
#include <windows.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include "model/CatalogScan.h"
#include "model/ClassesOrigin.h"
#include "model/EditFlags.h"
#include "model/UserChoice.h"
#include "persist/RegistryCommit.h"
#include "tests/support/ScratchRegistry.h"

class ClassesLayersTest : public RegistryTest {};

TEST_F(ClassesLayersTest, EditFlagsLockWhatWindowsLocked)
{
    using L = EditLocks;
    struct Case { const char* name; DWORD type; std::vector<BYTE> bytes; /* empty: no value */ EditLocks locks; }
    cases[] = {
        {"none", REG_NONE, {}, {}}, {"unrelated flags", REG_DWORD, {0x01, 0x04, 0x01, 0}, {}},
        {"NoEdit dword", REG_DWORD, {0x08, 0, 0, 0}, {true, false, true, true, true, true, true, true, true, true}},
        {"verbs", REG_DWORD, {0xE0, 0x10, 0, 0}, L{.Command = true, .NewVerb = true, .EditVerb = true, .RemoveVerb = true}},
        {"NoRemove binary", REG_BINARY, {0x10, 0, 0, 0}, L{.Remove = true}},
        {"desc + icon", REG_DWORD, {0x00, 0x03, 0, 0}, L{.Kind = true, .Icon = true}},
        {"command + dde + mime", REG_BINARY, {0x00, 0xA8, 0, 0}, L{.Command = true, .Dde = true, .ContentType = true}},
        {"binary of 2 bytes", REG_BINARY, {0x08, 0}, {}}, {"text", REG_SZ, {'8', 0, 0, 0}, {}},
        {"binary of 8 bytes", REG_BINARY, {0x08, 0, 0, 0, 0, 0, 0, 0}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string creator = std::string("type ") + c.name;
        CreateKey(Root(), creator);
        if (!c.bytes.empty()) {
            ScopedHKey key;
            ASSERT_EQ(RegOpenKeyExA(Root(), creator.c_str(), 0, KEY_SET_VALUE, key.Put()), ERROR_SUCCESS);
            RegSetValueExA(key.Get(), "EditFlags", 0, c.type, c.bytes.data(), static_cast<DWORD>(c.bytes.size()));
        }
        EXPECT_EQ(LocksOf(ReadEditFlags(creator)), c.locks);
    }
    EXPECT_EQ(ReadEditFlags("missing"), 0u);
}

TEST(ClassesOriginTest, MergesAsWindowsDoesTheUsersWinning)
{
    using O = ClassesOrigin;
    const std::vector<OriginName> merged =
        MergeClassesKeyNames({".TXT", "MyType", ".only-user", "Zeta"}, {"zeta", ".txt", ".doc", "mytype", "Alpha"});
    const std::vector<OriginName> expected = {
        {".doc", ".doc", O::Machine},    {".only-user", ".only-user", O::User}, {".txt", ".TXT", O::Both},
        {"alpha", "Alpha", O::Machine}, {"mytype", "MyType", O::Both},          {"zeta", "Zeta", O::Both},
    };
    EXPECT_EQ(merged, expected);
    const std::pair<const char*, O> lookups[] = {{".Txt", O::Both}, {"ALPHA", O::Machine}, {".only-user", O::User},
                                                 {".none", O::None}, {"", O::None}};
    for (const auto& [name, origin] : lookups) {
        SCOPED_TRACE(name);
        EXPECT_EQ(FindOrigin(merged, name), origin);
    }
}

// The shell's record of choices is a scratch key below HKEY_CURRENT_USER.
TEST_F(ClassesLayersTest, ReadsTheUsersChoiceAndRemovesOnlyThatExtensionsKeys)
{
    const RegistryLocation fileExts{HKEY_CURRENT_USER, scratch_.Path() + "\\FileExts", "FileExts"};
    const HKEY user = HKEY_CURRENT_USER;
    const std::string record = fileExts.Path;
    ::SetText(user, record + "\\.pdf\\UserChoice", "ProgId", "Older.Pdf");
    ::SetText(user, record + "\\.pdf\\UserChoice", "Hash", "abc=");
    ::SetText(user, record + "\\.pdf\\UserChoiceLatest", "ProgId", "Reader.Pdf");
    ::SetText(user, record + "\\.pdf\\OpenWithProgids", "AcroExch.Document", "");
    ::SetText(user, record + "\\.TXT\\UserChoice", "ProgId", "TXTFILE");
    ::SetText(user, record + "\\.png\\UserChoiceLatest\\ProgId", "ProgId", "Viewer.Png");
    CreateKey(user, record + "\\.log\\OpenWithList");

    const std::map<std::string, std::string> expected = {
        {".pdf", "Reader.Pdf"}, {".png", "Viewer.Png"}, {".txt", "TXTFILE"}};
    EXPECT_EQ(ReadAllUserChoices(fileExts), expected) << "the newer choice wins; no choice, no entry";
    EXPECT_EQ(ReadUserChoice(".pdf", fileExts), "Reader.Pdf");
    EXPECT_TRUE(ChoiceDiffersFromCreator("Reader.Pdf", "AcroExch.Document"));
    EXPECT_FALSE(ChoiceDiffersFromCreator("TXTFILE", "txtfile"));

    EXPECT_EQ(RemoveUserChoice(".pdf", fileExts), ChoiceRemoval::Removed);
    EXPECT_EQ(SubKeyNames(user, record + "\\.pdf"), std::vector<std::string>{"OpenWithProgids"});
    EXPECT_EQ(::GetValue(user, record + "\\.TXT\\UserChoice", "ProgId").Text(), "TXTFILE");
    EXPECT_TRUE(::KeyExists(user, record + "\\.png\\UserChoiceLatest\\ProgId"));
    EXPECT_EQ(RemoveUserChoice(".png", fileExts), ChoiceRemoval::Removed) << "with the sub-key some builds keep";
    EXPECT_EQ(SubKeyNames(user, record + "\\.png"), std::vector<std::string>{});
    EXPECT_EQ(RemoveUserChoice(".pdf", fileExts), ChoiceRemoval::Absent);
    EXPECT_EQ(RemoveUserChoice(".log", fileExts), ChoiceRemoval::Absent);
    EXPECT_EQ(RemoveUserChoice(".none", fileExts), ChoiceRemoval::Absent);
}

// Each key comes from where it lives: a key of both layers from the user's,
// and below it, a key only the machine holds from the machine's.
TEST_F(ClassesLayersTest, TheScanReadsEachKeyWhereItLives)
{
    const HKEY user = HKEY_CURRENT_USER;
    const std::string userClasses = scratch_.UserLocation().Path, choices = scratch_.FileExtsLocation().Path;
    SetText(".txt", "", "txtfile");
    SetText(".txt", "Content Type", "text/machine");
    SetText("txtfile", "", "machine text");
    SetText("txtfile\\DefaultIcon", "", "m.ico");
    SetText(".doc", "", "docfile");
    ::SetText(user, userClasses + "\\.TXT", "", "txtfile");
    ::SetText(user, userClasses + "\\.txt", "Content Type", "text/user");
    ::SetText(user, userClasses + "\\txtfile", "", "user text");
    ::SetText(user, userClasses + "\\.mine", "", "minefile");
    ::SetText(user, choices + "\\.txt\\UserChoice", "ProgId", "Word.Document");

    AssociationCatalog catalog;
    FillCatalogFromRegistry(catalog, Locations());
    using O = ClassesOrigin;
    const ExtensionEntry &txt = catalog.ExtensionMap.at(".txt"), &mine = catalog.ExtensionMap.at(".mine");
    EXPECT_EQ(txt.Origin, O::Both);
    EXPECT_EQ(txt.ContentType, "text/user") << "the user's values, not both";
    EXPECT_EQ(catalog.ExtensionMap.at(".doc").Origin, O::Machine);
    EXPECT_EQ(mine.Origin, O::User);
    const CreatorEntry& creator = catalog.CreatorMap.at("txtfile");
    EXPECT_EQ(creator.Origin, O::Both);
    EXPECT_EQ(creator.Kind + "|" + creator.IconSource, "user text|m.ico") << "the icon key only the machine holds";
    EXPECT_EQ(catalog.CreatorMap.at("minefile").Origin, O::None) << "named, but in neither";
    EXPECT_EQ(txt.UserChoice, "Word.Document");
    EXPECT_EQ(mine.UserChoice, "");
}

// A commit changes only what the user changed, in the layer chosen: the
// machine's values the user's key lacks stay, a per-user write copies what
// a key of the machine's held before hiding it, and what the user's layer
// cannot hide is refused.
TEST_F(ClassesLayersTest, CommitsWriteOnlyWhatChangedIntoTheLayerChosen)
{
    const HKEY user = HKEY_CURRENT_USER;
    const std::string userClasses = scratch_.UserLocation().Path;
    SetText(".txt", "", "txtfile");
    SetText(".txt", "Content Type", "text/plain");
    ::SetText(user, userClasses + "\\.txt\\OpenWithProgids", "txtfile", ""); // the user's .txt holds no value
    SetText(".doc", "", "doc");
    SetText("doc", "", "Document");
    SetDword(Root(), "doc", "EditFlags", 0x10000);
    SetText("doc\\DefaultIcon", "", "doc.ico");
    SetText("doc\\shell", "", "print");
    SetText("doc\\shell\\open\\command", "", "old.exe %1");
    SetText("doc\\shell\\open\\command", "DelegateExecute", "{guid}");
    SetText("doc\\shell\\open\\ddeexec", "", "[open]");
    AssociationCatalog catalog;
    FillCatalogFromRegistry(catalog, Locations());

    ExtensionEntry& txt = catalog.ExtensionMap.at(".txt");
    EXPECT_EQ(txt.Creator + "|" + txt.ContentType, "|") << "the user's key shows no value";
    txt.Creator = "textfile";
    txt.State = esModified;
    const std::vector<HiddenChange> hidden = ChangesTheUserHides(catalog, scratch_.UserLocation());
    ASSERT_EQ(hidden.size(), 1u);
    EXPECT_EQ(hidden[0].name, ".txt");
    ASSERT_TRUE(CommitMarkedEntries(catalog, Location()));
    EXPECT_EQ(GetValue(".txt", "").Text() + "|" + GetValue(".txt", "Content Type").Text(), "textfile|text/plain");
    EXPECT_FALSE(::GetValue(user, userClasses + "\\.txt", "").exists);

    FillCatalogFromRegistry(catalog, Locations());
    CreatorEntry& doc = catalog.CreatorMap.at("doc");
    doc.Command = "new.exe %1";
    doc.IconSource.clear();
    doc.State = esModified;
    const WriteTarget perUser(scratch_.UserLocation(), Location());
    EXPECT_TRUE(RefusedByLayer(catalog, perUser).empty());
    ASSERT_TRUE(CommitMarkedEntries(catalog, perUser));
    const std::string mine = userClasses + "\\doc";
    EXPECT_EQ(::GetValue(user, mine, "").Text(), "Document");
    EXPECT_EQ(::GetValue(user, mine, "EditFlags").bytes, GetValue("doc", "EditFlags").bytes);
    EXPECT_EQ(::GetValue(user, mine + "\\shell", "").Text(), "print") << "the default verb stays";
    EXPECT_EQ(::GetValue(user, mine + "\\shell\\open\\command", "").Text(), "new.exe %1");
    EXPECT_EQ(::GetValue(user, mine + "\\shell\\open\\command", "DelegateExecute").Text(), "{guid}");
    EXPECT_TRUE(::KeyExists(user, mine + "\\DefaultIcon") && ValueNames(user, mine + "\\DefaultIcon").empty())
        << "an empty key hides the machine's icon";
    EXPECT_EQ(GetValue("doc\\shell\\open\\command", "").Text() + "|" + GetValue("doc\\DefaultIcon", "").Text(),
              "old.exe %1|doc.ico");
    FillCatalogFromRegistry(catalog, Locations());
    const CreatorEntry& seen = catalog.CreatorMap.at("doc");
    EXPECT_EQ(seen.Kind + "|" + seen.IconSource + "|" + seen.Command + "|" + seen.DdeMessage,
              "Document||new.exe %1|[open]");

    catalog.CreatorMap.at("doc").UsesDde = false;
    catalog.CreatorMap.at("doc").State = esModified;
    catalog.ExtensionMap.at(".doc").State = esDeleted;
    const std::vector<LayerRefusal> refused = RefusedByLayer(catalog, perUser);
    ASSERT_EQ(refused.size(), 2u);
    EXPECT_EQ(refused[0].name + "|" + refused[0].subKey, ".doc|");
    EXPECT_EQ(refused[1].name + "|" + refused[1].subKey, "doc|\\shell\\open\\ddeexec");
    EXPECT_TRUE(RefusedByLayer(catalog, Location()).empty()) << "the machine's own layer expresses both";
}
