#include <gtest/gtest.h>

#include "model/ExtensionEntry.h"
#include "tests/support/RecordErrors.h"
#include "tests/support/ScratchRegistry.h"

namespace {
ExtensionEntry Named(const std::string& name)
{
    ExtensionEntry entry;
    entry.Name = name;
    return entry;
}
} // namespace

class ExtensionEntryTest : public RegistryTest {
protected:
    RecordErrors errors;
};

TEST_F(ExtensionEntryTest, ReadsCreatorAndContentType)
{
    SetText(".txt", "", "txtfile");
    SetText(".txt", "Content Type", "text/plain");
    CreateKey(Root(), ".bare");

    {
        SCOPED_TRACE("both values present");
        ExtensionEntry entry = Named(".txt");
        entry.State = esModified;
        EXPECT_TRUE(entry.ReadFromRegistry(Location()));
        EXPECT_EQ(entry.Creator, "txtfile");
        EXPECT_EQ(entry.ContentType, "text/plain");
        EXPECT_EQ(entry.State, esUnchanged);
    }
    {
        SCOPED_TRACE("a key without values leaves a cleared entry empty");
        ExtensionEntry entry = Named(".bare");
        entry.State = esAdded;
        EXPECT_TRUE(entry.ReadFromRegistry(Location()));
        EXPECT_EQ(entry.Creator, "");
        EXPECT_EQ(entry.ContentType, "");
        EXPECT_EQ(entry.State, esUnchanged);
    }
    {
        SCOPED_TRACE("a missing key reads nothing and says nothing");
        ExtensionEntry entry = Named(".none");
        entry.Creator = "kept";
        EXPECT_TRUE(entry.ReadFromRegistry(Location()));
        EXPECT_EQ(entry.Creator, "kept");
    }
    EXPECT_TRUE(errors.messages.empty());
}

TEST_F(ExtensionEntryTest, NonTextDefaultValueIsReportedAndStopsTheRead)
{
    SetDword(Root(), ".num", "", 42);
    SetText(".num", "Content Type", "text/x-num");
    ExtensionEntry entry = Named(".num");
    entry.State = esModified;
    EXPECT_FALSE(entry.ReadFromRegistry(Location()));
    ASSERT_EQ(errors.messages.size(), 1u);
    EXPECT_EQ(errors.messages[0], "拡張子(.num)のデータをレジストりーから読み込むことができませんでした。");
    EXPECT_EQ(entry.ContentType, "") << "the content type comes after the failed value";
    EXPECT_EQ(entry.State, esModified) << "a failed read keeps the mark";
}

TEST_F(ExtensionEntryTest, WriteCreatesUpdatesAndRemovesValues)
{
    {
        SCOPED_TRACE("a missing key is created");
        ExtensionEntry entry = Named(".new");
        entry.Creator = "新しい.ファイル";
        entry.ContentType = "application/x-new";
        entry.State = esAdded;
        EXPECT_TRUE(entry.WriteToRegistry(Location()));
        EXPECT_EQ(entry.State, esUnchanged);
        StoredValue creator = GetValue(".new", "");
        EXPECT_EQ(creator.type, static_cast<DWORD>(REG_SZ));
        EXPECT_EQ(creator.Text(), "新しい.ファイル");
        EXPECT_EQ(GetValue(".new", "Content Type").Text(), "application/x-new");
    }
    {
        SCOPED_TRACE("empty texts remove their values, the key and its other contents stay");
        SetText(".old", "", "oldfile");
        SetText(".old", "Content Type", "text/old");
        SetText(".old", "PerceivedType", "text");
        SetText(".old\\OpenWithProgids", "oldfile", "");
        ExtensionEntry entry = Named(".old");
        EXPECT_TRUE(entry.WriteToRegistry(Location()));
        EXPECT_FALSE(GetValue(".old", "").exists);
        EXPECT_FALSE(GetValue(".old", "Content Type").exists);
        EXPECT_EQ(GetValue(".old", "PerceivedType").Text(), "text");
        EXPECT_TRUE(KeyExists(".old\\OpenWithProgids"));
    }
    {
        SCOPED_TRACE("an expandable value keeps its type");
        SetText(".exp", "", "%Creator%", REG_EXPAND_SZ);
        ExtensionEntry entry = Named(".exp");
        entry.Creator = "%Other%";
        EXPECT_TRUE(entry.WriteToRegistry(Location()));
        EXPECT_EQ(GetValue(".exp", "").type, static_cast<DWORD>(REG_EXPAND_SZ));
    }
    EXPECT_TRUE(errors.messages.empty());
}

TEST_F(ExtensionEntryTest, RefusedWriteIsReportedAndKeepsTheMark)
{
    // The registry refuses key names longer than 255 characters.
    ExtensionEntry entry = Named("." + std::string(300, 'x'));
    entry.Creator = "xfile";
    entry.State = esModified;
    EXPECT_FALSE(entry.WriteToRegistry(Location()));
    ASSERT_EQ(errors.messages.size(), 1u);
    EXPECT_EQ(errors.messages[0], "拡張子(" + entry.Name + ")のデータをレジストりーに書き込むことができませんでした。");
    EXPECT_EQ(entry.State, esModified);

    errors.messages.clear();
    entry.Creator.clear();
    EXPECT_FALSE(entry.WriteToRegistry(Location())) << "a key that cannot be opened is no success, even with nothing to store";
    EXPECT_EQ(errors.messages.size(), 1u);
}

TEST_F(ExtensionEntryTest, DeleteRemovesTheWholeKey)
{
    SetText(".del\\ShellNew", "NullFile", "");
    SetText(".del", "", "delfile");
    SetText(".keep", "", "keepfile");
    ExtensionEntry entry = Named(".del");
    entry.State = esDeleted;
    EXPECT_TRUE(entry.DeleteFromRegistry(Location()));
    EXPECT_FALSE(KeyExists(".del"));
    EXPECT_TRUE(KeyExists(".keep"));
    EXPECT_EQ(entry.State, esDeleted);
    EXPECT_TRUE(entry.DeleteFromRegistry(Location())) << "a key already gone is no failure";
    EXPECT_TRUE(errors.messages.empty());
}

TEST_F(ExtensionEntryTest, EntryWithoutNameNeverTouchesTheRoot)
{
    SetText(".a", "", "afile");
    ExtensionEntry entry;
    entry.Creator = "rootfile";
    entry.ContentType = "text/root";
    EXPECT_TRUE(entry.WriteToRegistry(Location()));
    EXPECT_FALSE(GetValue("", "").exists);
    EXPECT_FALSE(GetValue("", "Content Type").exists);
    EXPECT_TRUE(entry.DeleteFromRegistry(Location()));
    EXPECT_TRUE(KeyExists(".a")) << "deleting a nameless entry must not empty the classes";
    EXPECT_TRUE(entry.ReadFromRegistry(Location()));
    EXPECT_EQ(entry.Creator, "rootfile");
    EXPECT_TRUE(errors.messages.empty());
}

TEST(ExtensionEntryValue, EqualityAndClear)
{
    ExtensionEntry a = Named(".txt");
    a.Creator = "txtfile";
    ExtensionEntry b = a;
    b.State = esDeleted;
    EXPECT_TRUE(a == b) << "the mark is not part of the value";
    b.Name = ".TXT";
    EXPECT_FALSE(a == b) << "names compare byte for byte";
    b = a;
    b.ContentType = "text/plain";
    EXPECT_FALSE(a == b);

    b.State = esAdded;
    b.Clear();
    EXPECT_TRUE(b.Name.empty() && b.Creator.empty() && b.ContentType.empty());
    EXPECT_EQ(b.State, esUnchanged);
}

TEST(ExtensionEntryValue, RegTextBlock)
{
    ExtensionEntry entry = Named(".txt");
    entry.Creator = "txtfile";
    std::string out;
    entry.WriteRegText(ClassesRoot(), out);
    EXPECT_EQ(out, "\r\n[HKEY_CLASSES_ROOT\\.txt]\r\n@=\"txtfile\"\r\n\"Content Type\"=\"\"\r\n\r\n");

    // A quote or backslash in a value would corrupt or drop the line on import.
    entry.ContentType = "text/\"odd\"\\x";
    out.clear();
    entry.WriteRegText(ClassesRoot(), out);
    EXPECT_NE(out.find("\"Content Type\"=\"text/\\\"odd\\\"\\\\x\"\r\n"), std::string::npos) << out;

    out.clear();
    entry.Name.clear();
    entry.WriteRegText(ClassesRoot(), out);
    EXPECT_EQ(out, "") << "a nameless entry writes nothing at all";
}
