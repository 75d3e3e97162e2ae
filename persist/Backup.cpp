#include "persist/Backup.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <set>
#include <string_view>
#include <vector>

#include "model/Scoped.h"
#include "model/TextConversion.h"
#include "persist/DataFolders.h"

namespace {

// regedit ends a hex line with ",\" once it has reached this many characters.
constexpr size_t kHexLineLength = 77;

// A line break inside a key or value name would end the line that carries
// it, and the script has no escape for it that every regedit reads.
bool FitsOnOneLine(std::wstring_view name) { return name.find_first_of(L"\r\n") == std::wstring_view::npos; }

void AppendEscaped(std::wstring& out, std::wstring_view text)
{
    for (const wchar_t c : text) {
        if (c == L'\\' || c == L'"')
            out += L'\\';
        out += c;
    }
}

void AppendHexDigits(std::wstring& out, unsigned long value, int digits)
{
    static constexpr wchar_t kDigits[] = L"0123456789abcdef";
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
        out += kDigits[(value >> shift) & 0xF];
}

// A string goes out quoted only when importing the quoted text gives back
// the same bytes: whole UTF-16 units, one terminating zero at the end and
// nothing a line cannot carry. Any other string keeps its bytes as hex(1).
bool QuotesExactly(const BYTE* data, DWORD size)
{
    if (size < sizeof(wchar_t) || size % sizeof(wchar_t) != 0)
        return false;
    const std::wstring_view text(reinterpret_cast<const wchar_t*>(data), size / sizeof(wchar_t));
    if (text.back() != L'\0')
        return false;
    return std::none_of(text.begin(), text.end() - 1, [](wchar_t c) { return c < L' ' && c != L'\t'; });
}

void AppendValue(std::wstring& out, std::wstring_view name, DWORD type, const BYTE* data, DWORD size)
{
    const size_t lineStart = out.size();
    if (name.empty()) {
        out += L'@';
    } else {
        out += L'"';
        AppendEscaped(out, name);
        out += L'"';
    }
    out += L'=';
    if (type == REG_SZ && QuotesExactly(data, size)) {
        out += L'"';
        AppendEscaped(out, std::wstring_view(reinterpret_cast<const wchar_t*>(data), size / sizeof(wchar_t) - 1));
        out += L"\"\r\n";
        return;
    }
    if (type == REG_DWORD && size == sizeof(DWORD)) {
        DWORD value = 0;
        std::memcpy(&value, data, sizeof value);
        out += L"dword:";
        AppendHexDigits(out, value, 8);
        out += L"\r\n";
        return;
    }
    if (type == REG_BINARY) {
        out += L"hex:";
    } else {
        int digits = 1;
        while (digits < 8 && (type >> (digits * 4)) != 0)
            ++digits;
        out += L"hex(";
        AppendHexDigits(out, type, digits);
        out += L"):";
    }
    size_t column = out.size() - lineStart;
    for (DWORD i = 0; i < size; ++i) {
        AppendHexDigits(out, data[i], 2);
        if (i + 1 == size)
            break;
        out += L',';
        column += 3;
        if (column >= kHexLineLength) {
            out += L"\\\r\n  ";
            column = 2;
        }
    }
    out += L"\r\n";
}

// The script text, built key by key; a key that cannot be read completely
// fails the whole backup, as restoring part of it would lose the rest.
class BackupScript {
public:
    explicit BackupScript(const RegistryLocation& location)
        : root_(location.Root), path_(WidenText(location.Path)), scriptName_(WidenText(location.ScriptName) + L"\\")
    {
    }

    std::wstring text = L"Windows Registry Editor Version 5.00\r\n";

    bool AddKey(const std::wstring& name)
    {
        if (!FitsOnOneLine(name))
            return false;
        AppendKeyLine(L"[-", name);
        ScopedHKey key;
        const LONG rc =
            RegOpenKeyExW(root_, (path_.empty() ? name : path_ + L"\\" + name).c_str(), 0, KEY_READ, key.Put());
        if (rc == ERROR_SUCCESS)
            return AppendTree(key.Get(), name);
        key.Release();
        // Only a key that is not there has nothing to keep: the line above
        // removes it again if the commit creates it. Any other failure may
        // hide a key that is there, and a lone deleting line would remove
        // it on a restore.
        return rc == ERROR_FILE_NOT_FOUND;
    }

private:
    HKEY root_;
    std::wstring path_;       // of the location below its root
    std::wstring scriptName_; // of the location in a key line, with a trailing backslash

    // After an empty line: "[" opens the key, "[-" deletes it.
    void AppendKeyLine(std::wstring_view opening, const std::wstring& path)
    {
        text += L"\r\n";
        text += opening;
        text += scriptName_;
        text += path;
        text += L"]\r\n";
    }

    bool AppendTree(HKEY key, const std::wstring& path)
    {
        if (!FitsOnOneLine(path))
            return false;
        AppendKeyLine(L"[", path);
        // The counts bound both enumerations, so neither needs the call that
        // only answers ERROR_NO_MORE_ITEMS.
        DWORD subKeyCount = 0, maxSubKeyLength = 0, valueCount = 0, maxValueNameLength = 0, maxValueSize = 0;
        if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subKeyCount, &maxSubKeyLength, nullptr, &valueCount,
                             &maxValueNameLength, &maxValueSize, nullptr, nullptr) != ERROR_SUCCESS)
            return false;

        std::vector<wchar_t> name(static_cast<size_t>(std::max(maxValueNameLength, maxSubKeyLength)) + 1);
        std::vector<BYTE> data(std::max<DWORD>(maxValueSize, 1));
        for (DWORD index = 0; index < valueCount;) {
            DWORD nameLength = static_cast<DWORD>(name.size());
            DWORD size = static_cast<DWORD>(data.size());
            DWORD type = REG_NONE;
            const LONG rc = RegEnumValueW(key, index, name.data(), &nameLength, nullptr, &type, data.data(), &size);
            if (rc == ERROR_NO_MORE_ITEMS) // values went since the query
                break;
            if (rc == ERROR_MORE_DATA) { // the value grew since the query
                name.resize(name.size() * 2 + 256);
                data.resize(std::max<size_t>(size, data.size() * 2));
                continue;
            }
            const std::wstring_view valueName(name.data(), nameLength);
            if (rc != ERROR_SUCCESS || !FitsOnOneLine(valueName))
                return false;
            AppendValue(text, valueName, type, data.data(), size);
            ++index;
        }

        std::vector<std::wstring> subKeys;
        subKeys.reserve(subKeyCount);
        for (DWORD index = 0; index < subKeyCount;) {
            DWORD nameLength = static_cast<DWORD>(name.size());
            const LONG rc = RegEnumKeyExW(key, index, name.data(), &nameLength, nullptr, nullptr, nullptr, nullptr);
            if (rc == ERROR_NO_MORE_ITEMS)
                break;
            if (rc == ERROR_MORE_DATA) {
                name.resize(name.size() * 2 + 256);
                continue;
            }
            if (rc != ERROR_SUCCESS)
                return false;
            subKeys.emplace_back(name.data(), nameLength);
            ++index;
        }
        for (const std::wstring& subKey : subKeys) {
            ScopedHKey child;
            if (RegOpenKeyExW(key, subKey.c_str(), 0, KEY_READ, child.Put()) != ERROR_SUCCESS) {
                child.Release();
                return false;
            }
            if (!AppendTree(child.Get(), path + L"\\" + subKey))
                return false;
        }
        return true;
    }
};

// The extension and creator keys of the marked entries, each once: the
// registry ignores case in key names. A name of nothing but backslashes
// would address the root itself, which no commit writes.
std::vector<std::wstring> KeysToBackUp(const AssociationCatalog& catalog)
{
    std::vector<std::wstring> names;
    std::set<std::wstring> seen;
    const auto add = [&](const std::string& name, EntryState state) {
        if (state == esUnchanged || name.find_first_not_of('\\') == std::string::npos)
            return;
        // Converted as the narrow registry functions convert it, so the
        // backup reads the very key that the commit addresses.
        std::wstring wide = WidenText(name);
        std::wstring folded = wide;
        CharUpperBuffW(folded.data(), static_cast<DWORD>(folded.size()));
        if (seen.insert(std::move(folded)).second)
            names.push_back(std::move(wide));
    };
    Walk(catalog.ExtensionMap, [&](const std::string&, const ExtensionEntry& entry) { add(entry.Name, entry.State); });
    Walk(catalog.CreatorMap, [&](const std::string&, const CreatorEntry& entry) { add(entry.Name, entry.State); });
    Walk(catalog.SchemeMap, [&](const std::string&, const SchemeEntry& entry) { add(entry.Name, entry.State); });
    return names;
}

// A new file named after the current second in folder, never an existing
// one: a second backup within the same second gets a counter.
bool WriteNewFile(const std::string& folder, const std::string& bytes, std::string& path)
{
    if (!EnsureFolder(folder))
        return false;
    SYSTEMTIME now{};
    GetLocalTime(&now);
    char stamp[40];
    std::snprintf(stamp, sizeof stamp, "morvido-%04d%02d%02d-%02d%02d%02d", now.wYear, now.wMonth, now.wDay,
                  now.wHour, now.wMinute, now.wSecond);
    for (int attempt = 1; attempt < 1000; ++attempt) {
        const std::string candidate =
            folder + stamp + (attempt > 1 ? "-" + std::to_string(attempt) : std::string()) + ".reg";
        ScopedKernelHandle file(CreateFileA(candidate.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.Get() == INVALID_HANDLE_VALUE) {
            const DWORD error = GetLastError();
            file.Release();
            if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS)
                continue;
            return false;
        }
        DWORD written = 0;
        // Flushed, so the backup outlives a crash in the middle of the commit.
        const bool complete = WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                                        nullptr) &&
                              written == bytes.size() && FlushFileBuffers(file.Get());
        file.Reset();
        if (!complete) {
            DeleteFileA(candidate.c_str());
            return false;
        }
        path = candidate;
        return true;
    }
    return false;
}

} // namespace

BackupResult WriteCommitBackup(const AssociationCatalog& catalog, const RegistryLocation& location)
{
    const auto keys = KeysToBackUp(catalog);
    // A commit that touches no key needs no file to undo it.
    if (keys.empty())
        return BackupResult{true, std::string()};
    BackupScript script(location);
    for (const std::wstring& name : keys) {
        if (!script.AddKey(name))
            return BackupResult{};
    }
    script.text += L"\r\n";
    // UTF-16LE with its byte-order mark, as the platform's regedit writes.
    std::string bytes = "\xFF\xFE";
    bytes.append(reinterpret_cast<const char*>(script.text.data()), script.text.size() * sizeof(wchar_t));

    BackupResult result;
    for (const std::string& folder : DataFolderChoices("backup\\")) {
        if (WriteNewFile(folder, bytes, result.path)) {
            result.written = true;
            return result;
        }
    }
    return BackupResult{};
}
