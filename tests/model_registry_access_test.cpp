#include <gtest/gtest.h>

#include "model/RegistryAccess.h"
#include "tests/support/ScratchRegistry.h"

class RegistryAccessTest : public RegistryTest {};

TEST_F(RegistryAccessTest, ReadsTextsAndRefusesOtherTypes)
{
    SetText("k", "", "plain");
    SetText("k", "expand", "%SystemRoot%\\x.dll", REG_EXPAND_SZ);
    SetDword(Root(), "k", "number", 7);
    SetText("k", "empty", "");

    RegistryAccess registry;
    registry.SetRoot(Location());
    ASSERT_TRUE(registry.OpenKey("k", false));
    std::string text = "untouched";
    EXPECT_TRUE(registry.ReadText("", text));
    EXPECT_EQ(text, "plain");
    EXPECT_TRUE(registry.ReadText("expand", text));
    EXPECT_EQ(text, "%SystemRoot%\\x.dll") << "expandable texts are read as stored";
    EXPECT_TRUE(registry.ReadText("empty", text));
    EXPECT_EQ(text, "");
    text = "untouched";
    EXPECT_FALSE(registry.ReadText("number", text));
    EXPECT_EQ(text, "untouched");
    EXPECT_TRUE(registry.ReadText("missing", text));
    EXPECT_EQ(text, "");
    EXPECT_TRUE(registry.ValueExists("number"));
    EXPECT_FALSE(registry.ValueExists("missing"));
}

TEST_F(RegistryAccessTest, ReadsLongAndUnterminatedValues)
{
    const std::string longText(70000, 'x');
    SetText("k", "long", longText);
    ScopedHKey key;
    ASSERT_EQ(RegOpenKeyExA(Root(), "k", 0, KEY_SET_VALUE, key.Put()), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(key.Get(), "raw", 0, REG_SZ, reinterpret_cast<const BYTE*>("abc\0def"), 7),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(key.Get(), "noterm", 0, REG_SZ, reinterpret_cast<const BYTE*>("xyz"), 3),
              ERROR_SUCCESS);

    RegistryAccess registry;
    ASSERT_TRUE(registry.OpenKey("k", false));
    std::string text;
    EXPECT_TRUE(registry.ReadText("long", text));
    EXPECT_EQ(text, longText);
    EXPECT_TRUE(registry.ReadText("raw", text));
    EXPECT_EQ(text, "abc") << "a text ends at its first zero byte";
    EXPECT_TRUE(registry.ReadText("noterm", text));
    EXPECT_EQ(text, "xyz");
}

TEST_F(RegistryAccessTest, WritesKeepExpandableTypeAndRefuseReadOnlyKeysAndTheRoot)
{
    SetText("k", "icon", "%SystemRoot%\\a.dll,1", REG_EXPAND_SZ);
    RegistryAccess registry;
    ASSERT_TRUE(registry.OpenKey("k", true));
    EXPECT_TRUE(registry.WriteText("icon", "%SystemRoot%\\b.dll,2"));
    EXPECT_TRUE(registry.WriteText("new", "日本語テキスト"));
    StoredValue icon = GetValue("k", "icon");
    EXPECT_EQ(icon.type, static_cast<DWORD>(REG_EXPAND_SZ));
    EXPECT_EQ(icon.Text(), "%SystemRoot%\\b.dll,2");
    StoredValue added = GetValue("k", "new");
    EXPECT_EQ(added.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(added.Text(), "日本語テキスト");
    EXPECT_EQ(added.bytes.size(), std::string("日本語テキスト").size() + 1) << "stored with its terminating zero";

    EXPECT_TRUE(registry.DeleteValue("new"));
    EXPECT_FALSE(GetValue("k", "new").exists);
    EXPECT_TRUE(registry.DeleteValue("new")) << "a value that is not there counts as removed";

    ASSERT_TRUE(registry.OpenKey("k", false));
    EXPECT_FALSE(registry.WriteText("new", "x")) << "a key opened for reading is not written";
    registry.CloseKey();
    EXPECT_FALSE(registry.WriteText("new", "x")) << "no key is current";

    ASSERT_TRUE(registry.OpenKey("", true));
    EXPECT_FALSE(registry.WriteText("", "x")) << "the root itself is never written";
    EXPECT_FALSE(GetValue("", "").exists);
}

// A write may leave a value that already holds its text, but only one whose
// UTF-16 bytes and type are exactly what the write would store.
TEST_F(RegistryAccessTest, WriteRewritesTextsThatOnlyReadTheSame)
{
    const std::string abc("a\0b\0c\0\0\0", 8);
    // An odd trailing byte, no terminating zero, a list type.
    const std::pair<DWORD, std::string> cases[] = {
        {REG_SZ, abc + "\x01"}, {REG_SZ, abc.substr(0, 6)}, {REG_MULTI_SZ, abc}};
    ScopedHKey key;
    ASSERT_EQ(RegCreateKeyExA(Root(), "k", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Put(), nullptr), ERROR_SUCCESS);
    RegistryAccess registry;
    ASSERT_TRUE(registry.OpenKey("k", true));
    for (const auto& [type, bytes] : cases) {
        SCOPED_TRACE(bytes.size());
        ASSERT_EQ(RegSetValueExW(key.Get(), L"v", 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                                 static_cast<DWORD>(bytes.size())),
                  ERROR_SUCCESS);
        EXPECT_TRUE(registry.WriteText("v", "abc"));
        std::string stored(64, '\0');
        DWORD storedType = 0, size = static_cast<DWORD>(stored.size());
        ASSERT_EQ(
            RegQueryValueExW(key.Get(), L"v", nullptr, &storedType, reinterpret_cast<BYTE*>(stored.data()), &size),
            ERROR_SUCCESS);
        EXPECT_EQ(storedType, static_cast<DWORD>(REG_SZ));
        EXPECT_EQ(stored.substr(0, size), abc);
    }
}

TEST_F(RegistryAccessTest, DeletesWholeTreesButNeverTheRoot)
{
    SetText("a\\b\\c", "", "1");
    SetText("a\\b\\d", "", "2");
    SetText("a\\e", "", "3");
    SetText("keep", "", "4");
    RegistryAccess registry;
    registry.SetRoot(Location());
    EXPECT_TRUE(registry.KeyExists("a\\b"));
    EXPECT_EQ(registry.DeleteKey("a"), ERROR_SUCCESS);
    EXPECT_FALSE(KeyExists("a"));
    EXPECT_EQ(registry.DeleteKey("a"), ERROR_FILE_NOT_FOUND) << "a missing key cannot be deleted";
    EXPECT_NE(registry.DeleteKey(""), ERROR_SUCCESS);
    EXPECT_NE(registry.DeleteKey("\\"), ERROR_SUCCESS);
    EXPECT_TRUE(KeyExists("keep"));

    SetText("r\\s\\t", "", "5");
    EXPECT_EQ(registry.RemoveKey("r"), ERROR_SUCCESS);
    EXPECT_FALSE(KeyExists("r"));
    EXPECT_EQ(registry.RemoveKey("r"), ERROR_SUCCESS) << "a key that is not there counts as removed";
    EXPECT_EQ(registry.RemoveKey("missing\\parent\\key"), ERROR_SUCCESS);
    EXPECT_NE(registry.RemoveKey(""), ERROR_SUCCESS);

    // A removal counts only when the key is known to be gone: one that
    // cannot be opened afterwards, for want of rights, may still be there.
    struct Case {
        LONG removal, lookAfter, outcome;
    };
    for (const Case& c : {Case{ERROR_SUCCESS, ERROR_ACCESS_DENIED, ERROR_SUCCESS},
                          Case{ERROR_FILE_NOT_FOUND, ERROR_ACCESS_DENIED, ERROR_SUCCESS},
                          Case{ERROR_ACCESS_DENIED, ERROR_FILE_NOT_FOUND, ERROR_SUCCESS},
                          Case{ERROR_ACCESS_DENIED, ERROR_SUCCESS, ERROR_ACCESS_DENIED},
                          Case{ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED}})
        EXPECT_EQ(RemovalOutcome(c.removal, c.lookAfter), c.outcome) << c.removal << " " << c.lookAfter;
}

TEST_F(RegistryAccessTest, ListsSubKeyNames)
{
    CreateKey(Root(), ".txt");
    CreateKey(Root(), "テキスト.ファイル");
    CreateKey(Root(), "x\\nested");
    RegistryAccess registry;
    std::vector<std::string> names{"stale"};
    registry.GetKeyNames(names);
    EXPECT_TRUE(names.empty()) << "no key is current";
    ASSERT_TRUE(registry.OpenKey("", false));
    registry.GetKeyNames(names);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{".txt", "x", "テキスト.ファイル"}));
}
