// The classes' merge, the user's choice and EditFlags, over scratch keys.
#include <windows.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include "model/CatalogScan.h"
#include "model/ClassesOrigin.h"
#include "model/EditFlags.h"
#include "model/UserChoice.h"
#include "tests/support/ScratchRegistry.h"

class ClassesLayersTest : public RegistryTest {};

TEST_F(ClassesLayersTest, EditFlagsLockWhatWindowsLocked)
{
    using L = EditLocks;
    struct Case { const char* name; DWORD type; std::vector<BYTE> bytes; /* empty: no value */ EditLocks locks; }
    cases[] = {
        {"none", REG_NONE, {}, {}}, {"unrelated flags", REG_DWORD, {0x01, 0x14, 0x01, 0}, {}},
        {"NoEdit dword", REG_DWORD, {0x08, 0, 0, 0}, {true, false, true, true, true, true, true}},
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
