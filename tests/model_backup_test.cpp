#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "model/AssociationCatalog.h"
#include "persist/Backup.h"
#include "tests/support/DataFoldersOverride.h"
#include "tests/support/PlatformTools.h"
#include "tests/support/RecordErrors.h"
#include "tests/support/ScratchRegistry.h"

namespace {

// Every key below key and every value's type and bytes, read through the
// wide functions: "path\" marks a key, "path|name" a value.
using Snapshot = std::map<std::wstring, std::pair<DWORD, std::string>>;

void Capture(HKEY key, const std::wstring& path, Snapshot& out)
{
    out[path + L"\\"] = {};
    std::vector<wchar_t> name(16384);
    std::vector<BYTE> data(65536);
    for (DWORD index = 0;; ++index) {
        DWORD length = static_cast<DWORD>(name.size()), size = static_cast<DWORD>(data.size()), type = 0;
        if (RegEnumValueW(key, index, name.data(), &length, nullptr, &type, data.data(), &size) != ERROR_SUCCESS)
            break;
        out[path + L"|" + name.data()] = {type, std::string(reinterpret_cast<const char*>(data.data()), size)};
    }
    for (DWORD index = 0;; ++index) {
        DWORD length = static_cast<DWORD>(name.size());
        ScopedHKey child;
        if (RegEnumKeyExW(key, index, name.data(), &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS ||
            RegOpenKeyExW(key, name.data(), 0, KEY_READ, child.Put()) != ERROR_SUCCESS)
            break;
        Capture(child.Get(), path + L"\\" + name.data(), out);
    }
}

// UTF-16 bytes of text, with the terminating zero unless told otherwise.
std::string Wide(std::wstring_view text, bool terminated = true)
{
    std::string bytes(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
    return terminated ? bytes + std::string(2, '\0') : bytes;
}

class CommitBackupTest : public RegistryTest {
protected:
    void Set(const std::wstring& path, const std::wstring& name, DWORD type, const std::string& bytes)
    {
        // No zeros after the data: the registry would take them for a
        // terminator that the caller forgot to count.
        const std::string guarded = bytes + "\x01\x01";
        ASSERT_EQ(RegSetKeyValueW(Root(), path.c_str(), name.c_str(), type, guarded.data(),
                                  static_cast<DWORD>(bytes.size())),
                  ERROR_SUCCESS);
    }
    template <typename Entry>
    Entry& Mark(std::map<std::string, Entry>& map, const char* name, EntryState state)
    {
        Entry& entry = FindOrAdd(map, name);
        entry.Name = name;
        entry.State = state;
        return entry;
    }

    ScratchFolder folder;
    DataFoldersOverride folders{folder.File("app\\"), folder.File("profile\\")};
};

} // namespace

// The backup taken before a commit with an edit, an add and a delete puts
// back, through the platform's regedit, exactly the keys the commit changed.
TEST_F(CommitBackupTest, RegeditRestoresEveryChangedKeyByteForByte)
{
    Set(L".edt", L"", REG_SZ, Wide(L"edtfile"));
    Set(L".edt\\OpenWithProgids", L"edtfile", REG_NONE, "");
    Set(L"edtfile\\shell\\open\\command", L"", REG_SZ, Wide(L"old.exe \"%1\""));
    Set(L"edtfile\\shell\\open\\ddeexec\\topic", L"", REG_SZ, Wide(L"system"));
    Set(L".keep", L"", REG_SZ, Wide(L"keepfile"));
    Set(L".del", L"", REG_SZ, Wide(L"delfile"));
    Set(L"delfile\\shell\\print\\command", L"", REG_SZ, Wide(L"printer.exe /p \"%1\""));
    Set(L"delfile\\shellex\\{8895b1c6-b41f-4c1c-a562-0d564250836f}", L"", REG_SZ, Wide(L"{031ee060-67bc}"));
    std::string binary;
    for (int i = 0; i < 200; ++i)
        binary += static_cast<char>(i);
    const struct {
        const wchar_t* name;
        DWORD type;
        std::string bytes;
    } values[] = {
        {L"", REG_SZ, Wide(L"削除される種類")},
        {L"binary", REG_BINARY, binary},
        {L"dword", REG_DWORD, std::string("\xef\xbe\xad\xde", 4)},
        {L"three-byte dword", REG_DWORD, "\x01\x02\x03"},
        {L"qword", REG_QWORD, "\x01\x02\x03\x04\x05\x06\x07\x08"},
        {L"multi", REG_MULTI_SZ, Wide(std::wstring(L"one\0二\0\0", 7), false)},
        {L"expand", REG_EXPAND_SZ, Wide(L"%SystemRoot%\\x.dll")},
        {L"none", REG_NONE, ""},
        {L"odd", REG_SZ, std::string("a\0\0\0c", 5)},
        {L"unterminated", REG_SZ, Wide(L"abc", false)},
        {L"embedded zero", REG_SZ, Wide(std::wstring(L"a\0b", 3))},
        {L"empty", REG_SZ, ""},
        {L"lines", REG_SZ, Wide(L"one\r\ntwo")},
        {L"quote \"and\\ slash", REG_SZ, Wide(L"C:\\dir \"quoted\"\t")},
        {L"own type", 0x20001, "\xAA\xBB"},
    };
    for (const auto& value : values)
        Set(L"delfile", value.name, value.type, value.bytes);

    AssociationCatalog catalog;
    Mark(catalog.ExtensionMap, ".edt", esModified).Creator = "addfile";
    Mark(catalog.ExtensionMap, ".add", esAdded).Creator = "addfile";
    Mark(catalog.ExtensionMap, ".del", esDeleted);
    Mark(catalog.ExtensionMap, ".keep", esUnchanged);
    Mark(catalog.CreatorMap, "edtfile", esModified).Command = "new.exe \"%1\"";
    Mark(catalog.CreatorMap, "addfile", esAdded).Kind = "Added";
    Mark(catalog.CreatorMap, "delfile", esDeleted);
    FindOrAdd(catalog.CreatorMap, "only looked up").State = esModified; // no Name: no key
    Snapshot before;
    Capture(Root(), L"", before);

    const BackupResult backup = WriteCommitBackup(catalog, Location());
    ASSERT_TRUE(backup.written);
    const std::string bytes = ReadFileBytes(backup.path);
    ASSERT_EQ(bytes.substr(0, 2), "\xFF\xFE");
    std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / sizeof(wchar_t));
    EXPECT_EQ(text.rfind(L"Windows Registry Editor Version 5.00\r\n\r\n[-HKEY_CLASSES_ROOT\\", 0), 0u);
    EXPECT_EQ(text.find(L".keep"), std::wstring::npos) << "unchanged entries are not backed up";
    EXPECT_EQ(text.find(L"HKEY_CLASSES_ROOT\\]"), std::wstring::npos) << "never the root";
    for (size_t start = 0, end; (end = text.find(L"\r\n", start)) != std::wstring::npos; start = end + 2)
        EXPECT_LE(end - start, 80u) << "hex lines wrap";

    {
        // The commit's registry work: extensions, then creators.
        RecordErrors errors;
        const auto commit = [this](auto& map) {
            for (auto& [key, entry] : map) {
                if (entry.State == esModified || entry.State == esAdded)
                    entry.WriteToRegistry(Location());
                else if (entry.State == esDeleted)
                    entry.DeleteFromRegistry(Location());
            }
        };
        commit(catalog.ExtensionMap);
        commit(catalog.CreatorMap);
        EXPECT_TRUE(errors.messages.empty());
    }
    ASSERT_FALSE(KeyExists("delfile"));
    ASSERT_TRUE(KeyExists("addfile"));
    ASSERT_FALSE(KeyExists("edtfile\\shell\\open\\ddeexec"));

    // Restored by the platform's regedit into the scratch key, which its
    // process sees under HKEY_CURRENT_USER.
    const std::wstring scratchRoot(scratch_.Path().begin(), scratch_.Path().end());
    for (size_t at; (at = text.find(L"HKEY_CLASSES_ROOT\\")) != std::wstring::npos;)
        text.replace(at, 18, L"HKEY_CURRENT_USER\\" + scratchRoot + L"\\");
    ASSERT_TRUE(WriteFileBytes(folder.File("restore.reg"), "\xFF\xFE" + Wide(text, false)));
    ASSERT_EQ(RunPlatformTool("regedit.exe /S \"" + folder.File("restore.reg") + "\""), 0);

    // regedit ends every text value with a zero unit on import; the backup
    // holds the exact bytes, but the platform puts the terminator back.
    before[L"\\delfile|unterminated"].second += std::string(2, '\0');
    Snapshot after;
    Capture(Root(), L"", after);
    EXPECT_EQ(after, before);
}

TEST_F(CommitBackupTest, ChoosesAWritableFolderNeverOverwritesAndFailsWhenNoneCanBeWritten)
{
    AssociationCatalog catalog;
    Mark(catalog.ExtensionMap, ".x", esDeleted);
    const std::string first = WriteCommitBackup(catalog, Location()).path, second = WriteCommitBackup(catalog, Location()).path;
    EXPECT_EQ(first.rfind(folder.File("app\\backup\\morvido-"), 0), 0u) << first;
    EXPECT_NE(first, second) << "a second backup within the same second gets a file of its own";
    EXPECT_TRUE(FileExists(first) && FileExists(second));

    // A "folder" that is a file cannot be written, not even by an administrator.
    ASSERT_TRUE(WriteFileBytes(folder.File("file"), "a file where a folder should be"));
    DataFoldersOverride readOnly(folder.File("file\\"), folder.File("profile\\"));
    const BackupResult backup = WriteCommitBackup(catalog, Location());
    EXPECT_EQ(backup.path.rfind(folder.File("profile\\morvido\\backup\\morvido-"), 0), 0u) << backup.path;
    EXPECT_TRUE(backup.written && FileExists(backup.path));

    DataFoldersOverride nowhere(folder.File("file\\"), folder.File("file\\"));
    EXPECT_FALSE(WriteCommitBackup(catalog, Location()).written);
}

TEST_F(CommitBackupTest, OnlyAKeyThatIsNotThereCountsAsAbsent)
{
    // A key that cannot be opened for another reason (here a name the
    // registry refuses) may be there: a lone deleting line for it would
    // remove it on a restore, so the backup fails instead.
    AssociationCatalog catalog;
    Mark(catalog.ExtensionMap, ".missing", esAdded);
    EXPECT_TRUE(WriteCommitBackup(catalog, Location()).written);
    const std::string refused = "." + std::string(300, 'x');
    Mark(catalog.ExtensionMap, refused.c_str(), esAdded);
    EXPECT_FALSE(WriteCommitBackup(catalog, Location()).written);
}
