#include <gtest/gtest.h>

#include "model/RegistryAccess.h"
#include "tests/support/ScratchRegistry.h"

class RegistryReadTest : public RegistryTest {};

// The one-query read must tell exactly what ValueExists followed by
// ReadText tells, for every kind of value an entry may meet.
TEST_F(RegistryReadTest, OneQueryReadAgreesWithExistsThenRead)
{
    SetText("k", "", "plain");
    SetText("k", "expand", "%SystemRoot%\\x.dll,-1", REG_EXPAND_SZ);
    SetText("k", "empty", "");
    SetText("k", "long", std::string(70000, 'x'));
    SetText("k", "japanese", "テキスト文書");
    SetDword(Root(), "k", "number", 7);
    {
        ScopedHKey key;
        ASSERT_EQ(RegOpenKeyExA(Root(), "k", 0, KEY_SET_VALUE, key.Put()), ERROR_SUCCESS);
        const std::vector<BYTE> blob(4000, 0xAB);
        ASSERT_EQ(RegSetValueExA(key.Get(), "blob", 0, REG_BINARY, blob.data(), static_cast<DWORD>(blob.size())),
                  ERROR_SUCCESS);
    }

    RegistryAccess registry;
    registry.SetRoot(Location());
    ASSERT_TRUE(registry.OpenKey("k", false));
    for (const char* name : {"", "expand", "empty", "long", "japanese", "number", "blob", "missing"}) {
        SCOPED_TRACE(std::string("value '") + name + "'");
        std::string expected = "untouched";
        ValueRead expectedResult = ValueRead::Missing;
        if (registry.ValueExists(name))
            expectedResult = registry.ReadText(name, expected) ? ValueRead::Read : ValueRead::Failed;

        std::string text = "untouched";
        EXPECT_EQ(registry.ReadTextIfExists(name, text), expectedResult);
        EXPECT_EQ(text, expected);
    }

    std::string text = "untouched";
    EXPECT_EQ(registry.ReadTextIfExists("expand", text), ValueRead::Read);
    EXPECT_EQ(text, "%SystemRoot%\\x.dll,-1") << "read as stored, not expanded";
    EXPECT_EQ(registry.ReadTextIfExists("empty", text), ValueRead::Read);
    EXPECT_EQ(text, "") << "an empty value empties the text";
    text = "untouched";
    EXPECT_EQ(registry.ReadTextIfExists("missing", text), ValueRead::Missing);
    EXPECT_EQ(registry.ReadTextIfExists("number", text), ValueRead::Failed);
    EXPECT_EQ(text, "untouched");

    registry.CloseKey();
    EXPECT_EQ(registry.ReadTextIfExists("", text), ValueRead::Missing) << "no key is current";
    ASSERT_FALSE(registry.OpenKey("no-such-key", false));
    EXPECT_EQ(registry.ReadTextIfExists("", text), ValueRead::Missing);
    EXPECT_EQ(text, "untouched");
}
