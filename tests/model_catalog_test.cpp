#include <gtest/gtest.h>

#include <windows.h>

#include <utility>

#include "model/AssociationCatalog.h"
#include "model/CatalogScan.h"
#include "model/KeyNames.h"
#include "model/ErrorReport.h"
#include "tests/support/RecordErrors.h"
#include "tests/support/ScratchRegistry.h"

namespace {
template <typename Map>
std::vector<std::string> KeysOf(const Map& map)
{
    std::vector<std::string> keys;
    Walk(map, [&](const std::string& key, const auto&) { keys.push_back(key); });
    return keys;
}
} // namespace

TEST(AssociationCatalog, OrdersKeysByUnsignedBytes)
{
    AssociationCatalog catalog;
    for (const char* key : {".b", ".ab", ".a", ".Z", ".doc", ".Doc", ".\xE6\x97\xA5", ".z", "."})
        FindOrAdd(catalog.ExtensionMap, key);
    EXPECT_EQ(KeysOf(catalog.ExtensionMap),
              (std::vector<std::string>{".", ".Doc", ".Z", ".a", ".ab", ".b", ".doc", ".z", ".\xE6\x97\xA5"}))
        << "case-sensitive, prefix first, bytes above 127 after every ASCII byte";
}

TEST(AssociationCatalog, FindNeverAddsAndFindOrAddAddsClearedEntries)
{
    AssociationCatalog catalog;
    EXPECT_EQ(Find(catalog.CreatorMap, "txtfile"), nullptr);
    EXPECT_TRUE(catalog.CreatorMap.empty());

    CreatorEntry& added = FindOrAdd(catalog.CreatorMap, "txtfile");
    EXPECT_EQ(added.Name, "") << "the caller names the entry";
    EXPECT_EQ(added.State, esUnchanged);
    EXPECT_EQ(added.ExtensionCount, 0);
    added.Name = "txtfile";
    added.Kind = "Text";
    EXPECT_EQ(&FindOrAdd(catalog.CreatorMap, "txtfile"), &added) << "an existing entry is returned, not replaced";
    EXPECT_EQ(Find(catalog.CreatorMap, "txtfile"), &added);
    EXPECT_EQ(Find(catalog.CreatorMap, "TXTFILE"), nullptr);
    const AssociationCatalog& constant = catalog;
    ASSERT_NE(Find(constant.CreatorMap, "txtfile"), nullptr);
    EXPECT_EQ(Find(constant.CreatorMap, "txtfile")->Kind, "Text");

    Walk(catalog.CreatorMap, [](const std::string&, CreatorEntry& entry) { entry.State = esModified; });
    EXPECT_EQ(added.State, esModified) << "the walker changes the entries in place";
    FindOrAdd(catalog.ExtensionMap, ".txt");
    Empty(catalog.CreatorMap);
    EXPECT_TRUE(catalog.CreatorMap.empty());
    EXPECT_EQ(catalog.ExtensionMap.size(), 1u);
    catalog.Clear();
    EXPECT_TRUE(catalog.ExtensionMap.empty());
}

TEST(CatalogScan, LowerCasesByTheLocale)
{
    ASSERT_EQ(GetACP(), static_cast<UINT>(CP_UTF8)) << "the test program runs with the UTF-8 code page";
    const std::pair<const char*, const char*> cases[] = {
        {"", ""},
        {".TXT", ".txt"},
        {".Mp3", ".mp3"},
        {"Word.Document.8", "word.document.8"},
        {".ÄÖÜ", ".äöü"},
        {".ΣΩ", ".σω"},
        {".ＡＢＣ", ".ａｂｃ"},
        {".テキストA", ".テキストa"},
        {".日本", ".日本"},
    };
    for (const auto& [name, lower] : cases) {
        SCOPED_TRACE(name);
        EXPECT_EQ(LowerCaseName(name), lower);
    }
    EXPECT_EQ(LowerCaseName(".AB\xFF"), ".ab\xFF") << "bytes that are no text keep their value";
}

class CatalogScanTest : public RegistryTest {
protected:
    RecordErrors errors;
};

TEST_F(CatalogScanTest, FillsTheCatalogFromTheRegistry)
{
    SetText(".TXT", "", "txtfile");
    SetText(".TXT", "Content Type", "text/plain");
    SetText(".log", "", "txtfile");
    SetText(".ini", "", "txtfile");
    SetText("txtfile", "", "Text Document");
    SetText("txtfile\\DefaultIcon", "", "%SystemRoot%\\system32\\shell32.dll,-152", REG_EXPAND_SZ);
    SetText("txtfile\\shell\\open\\command", "", "notepad.exe %1");
    SetText(".Doc", "", "Word.Document");
    SetText("Word.Document", "", "Document");
    SetText("Word.Document\\shell\\open\\ddeexec\\topic", "", "System");
    SetText(".none", "Content Type", "application/x-none");
    SetText(".lost", "", "NoSuchType");
    SetText(".a", "", "CaseType");
    SetText(".b", "", "casetype");
    SetText("CaseType", "", "shared key");
    SetText(".ÄX", "", "ax");
    CreateKey(Root(), ".");
    // Keys that no extension names must never be opened: an unreadable
    // default value would be reported if they were.
    SetDword(Root(), "orphan", "", 1);
    SetDword(Root(), "Unrelated.Type", "", 2);
    CreateKey(Root(), "CLSID\\{x}");

    AssociationCatalog catalog;
    FindOrAdd(catalog.ExtensionMap, ".stale");
    FindOrAdd(catalog.CreatorMap, "stale");
    FillCatalogFromRegistry(catalog, Locations());
    EXPECT_TRUE(errors.messages.empty()) << errors.messages.front();

    EXPECT_EQ(KeysOf(catalog.ExtensionMap),
              (std::vector<std::string>{".", ".a", ".b", ".doc", ".ini", ".log", ".lost", ".none", ".txt", ".äx"}));
    EXPECT_EQ(KeysOf(catalog.CreatorMap),
              (std::vector<std::string>{"CaseType", "NoSuchType", "Word.Document", "ax", "casetype", "txtfile"}));
    for (const auto& [key, entry] : catalog.ExtensionMap) {
        SCOPED_TRACE(key);
        EXPECT_EQ(entry.Name, key);
        EXPECT_EQ(entry.State, esUnchanged);
    }
    for (const auto& [key, entry] : catalog.CreatorMap) {
        SCOPED_TRACE(key);
        EXPECT_EQ(entry.Name, key);
    }
    const ExtensionEntry& txt = catalog.ExtensionMap.at(".txt");
    EXPECT_EQ(txt.Creator, "txtfile");
    EXPECT_EQ(txt.ContentType, "text/plain");
    EXPECT_EQ(catalog.ExtensionMap.at(".none").Creator, "");
    EXPECT_EQ(catalog.ExtensionMap.at(".none").ContentType, "application/x-none");

    const CreatorEntry& text = catalog.CreatorMap.at("txtfile");
    EXPECT_EQ(text.Kind, "Text Document");
    EXPECT_EQ(text.IconFile, "%SystemRoot%\\system32\\shell32.dll");
    EXPECT_EQ(text.IconNumber, -152);
    EXPECT_EQ(text.Command, "notepad.exe %1");
    EXPECT_FALSE(text.UsesDde);
    EXPECT_EQ(text.Extensions, (std::vector<std::string>{".ini", ".log", ".txt"}));
    EXPECT_EQ(text.ExtensionCount, 3);
    EXPECT_EQ(text.ExtensionText, ".ini .log .txt ");

    const CreatorEntry& word = catalog.CreatorMap.at("Word.Document");
    EXPECT_TRUE(word.UsesDde);
    EXPECT_EQ(word.DdeTopic, "System");
    EXPECT_EQ(word.Extensions, (std::vector<std::string>{".doc"}));

    const CreatorEntry& lost = catalog.CreatorMap.at("NoSuchType");
    EXPECT_EQ(lost.Kind, "");
    EXPECT_EQ(lost.IconSource, "");
    EXPECT_EQ(lost.Command, "");
    EXPECT_EQ(lost.ExtensionText, ".lost ");

    // Registry keys ignore case, so both spellings read the same key, but
    // the catalog keeps one creator for each spelling.
    EXPECT_EQ(catalog.CreatorMap.at("CaseType").Kind, "shared key");
    EXPECT_EQ(catalog.CreatorMap.at("casetype").Kind, "shared key");
    EXPECT_EQ(catalog.CreatorMap.at("CaseType").Extensions, (std::vector<std::string>{".a"}));
    EXPECT_EQ(catalog.CreatorMap.at("casetype").Extensions, (std::vector<std::string>{".b"}));
}

TEST_F(CatalogScanTest, ReportsUnreadableEntriesAndGoesOn)
{
    SetText(".bad", "", "badtype");
    SetText(".good", "", "goodtype");
    SetText(".also", "", "badtype");
    SetDword(Root(), "badtype", "", 7);
    SetText("badtype\\shell\\open\\command", "", "never read");
    SetText("goodtype", "", "Good");

    AssociationCatalog catalog;
    FillCatalogFromRegistry(catalog, Locations());
    ASSERT_EQ(errors.messages.size(), 1u) << "a creator named twice is read once";
    EXPECT_EQ(errors.messages[0], std::string("クリエーター(badtype") + kReadFailedTail);
    const CreatorEntry& bad = catalog.CreatorMap.at("badtype");
    EXPECT_EQ(bad.Command, "") << "the read stopped at the failure";
    EXPECT_EQ(bad.Extensions, (std::vector<std::string>{".also", ".bad"}));
    EXPECT_EQ(catalog.CreatorMap.at("goodtype").Kind, "Good");
}

TEST_F(CatalogScanTest, ReportsProgressForEveryItemOfEachPass)
{
    SetText(".b", "", "t");
    SetText(".a", "", "t");
    CreateKey(Root(), ".c");
    CreateKey(Root(), "t");
    CreateKey(Root(), "other");

    const std::vector<std::string> names = ReadClassesKeyNames(Location());
    ASSERT_EQ(names.size(), 5u);
    AssociationCatalog catalog;
    std::vector<std::pair<size_t, size_t>> calls;
    auto record = [&](size_t index, size_t count) { calls.emplace_back(index, count); };
    const std::vector<OriginName> merged = MergeClassesKeyNames({}, names);
    ReadExtensionKeys(catalog, Locations(), merged, record);
    EXPECT_EQ(calls, (std::vector<std::pair<size_t, size_t>>{{0, 5}, {1, 5}, {2, 5}, {3, 5}, {4, 5}}));
    EXPECT_EQ(catalog.ExtensionMap.size(), 3u);

    calls.clear();
    std::vector<std::string> creatorsSeen;
    ReadCreators(catalog, Locations(), merged, [&](size_t index, size_t count) {
        calls.emplace_back(index, count);
        creatorsSeen.push_back(std::to_string(catalog.CreatorMap.size()));
    });
    EXPECT_EQ(calls, (std::vector<std::pair<size_t, size_t>>{{0, 3}, {1, 3}, {2, 3}}));
    EXPECT_EQ(creatorsSeen, (std::vector<std::string>{"0", "1", "1"})) << "called before each item is read";
    EXPECT_EQ(catalog.CreatorMap.at("t").ExtensionText, ".a .b ");

    calls.clear();
    ReadExtensionKeys(catalog, Locations(), {}, record);
    EXPECT_TRUE(calls.empty()) << "a pass without items reports nothing";
    EXPECT_TRUE(catalog.ExtensionMap.empty());
}
