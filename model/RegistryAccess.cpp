#include "model/RegistryAccess.h"

#include <algorithm>
#include <cstring>

// Reads and deletes on raw keys, behind the operations of RegistryAccess.
namespace {

// Returns ERROR_SUCCESS, ERROR_FILE_NOT_FOUND or the failure; found tells
// whether the first query saw the value at all.
LONG QueryText(HKEY key, const char* name, std::string& text, bool& found);

LONG QueryText(HKEY key, const char* name, std::string& text)
{
    bool found = false;
    return QueryText(key, name, text, found);
}

LONG QueryText(HKEY key, const char* name, std::string& text, bool& found)
{
    // Most values fit on the stack; larger ones are retried with the size
    // the registry reports, for as long as the value keeps growing.
    char small[512];
    std::vector<char> large;
    char* data = small;
    DWORD type = 0;
    DWORD size = sizeof small;
    LONG rc = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    found = rc == ERROR_SUCCESS || rc == ERROR_MORE_DATA;
    while (rc == ERROR_MORE_DATA) {
        large.assign(static_cast<size_t>(size) + 1, '\0');
        data = large.data();
        size = static_cast<DWORD>(large.size());
        rc = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    }
    if (rc != ERROR_SUCCESS)
        return rc;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return ERROR_INVALID_DATATYPE;
    // The stored bytes need not be terminated; the text ends at its first zero.
    const size_t length = size == 0 ? 0 : strnlen(data, size);
    text.assign(data, length);
    return ERROR_SUCCESS;
}

// The UTF-16 form in which the registry keeps narrow bytes, converted as
// the narrow registry functions convert them. False for bytes that are not
// valid in the code page, where the two conversions might differ.
bool StoredForm(const char* bytes, size_t length, std::wstring& wide)
{
    wide.clear();
    if (length == 0)
        return true;
    const int count = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes, static_cast<int>(length), nullptr, 0);
    if (count <= 0)
        return false;
    wide.resize(static_cast<size_t>(count));
    MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes, static_cast<int>(length), wide.data(), count);
    return true;
}

struct StoredText {
    DWORD type = REG_NONE; // of the value; REG_NONE when it is missing
    bool same = false;     // a text type holding exactly the bytes a write of the text would store
};

// One query tells both the type a write must keep and whether the write
// would change anything. Compared in UTF-16, as the registry keeps it: a
// narrow read would hide a stray odd byte or a character the code page
// cannot show.
StoredText CompareStoredText(HKEY key, const std::string& name, const std::string& text)
{
    StoredText stored;
    std::wstring wideName, wideText;
    if (!StoredForm(name.c_str(), name.size(), wideName) ||
        !StoredForm(text.c_str(), text.size() + 1, wideText)) {
        if (RegQueryValueExA(key, name.c_str(), nullptr, &stored.type, nullptr, nullptr) != ERROR_SUCCESS)
            stored.type = REG_NONE;
        return stored;
    }
    std::vector<wchar_t> data(wideText.size());
    DWORD size = static_cast<DWORD>(data.size() * sizeof(wchar_t));
    const LONG rc =
        RegQueryValueExW(key, wideName.c_str(), nullptr, &stored.type, reinterpret_cast<BYTE*>(data.data()), &size);
    if (rc != ERROR_SUCCESS && rc != ERROR_MORE_DATA) {
        stored.type = REG_NONE;
        return stored;
    }
    stored.same = rc == ERROR_SUCCESS && (stored.type == REG_SZ || stored.type == REG_EXPAND_SZ) &&
                  size == data.size() * sizeof(wchar_t) && std::equal(data.begin(), data.end(), wideText.begin());
    return stored;
}

LONG DeleteTree(HKEY parent, const std::string& path);

bool DeleteSubTree(HKEY key)
{
    // Walk each level from its last index down to its first, so deleting a
    // sub-key never shifts the indices still to be visited.
    DWORD count = 0;
    DWORD maxLength = 0;
    if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &count, &maxLength, nullptr, nullptr, nullptr, nullptr,
                         nullptr, nullptr) != ERROR_SUCCESS)
        return false;
    bool ok = true;
    std::vector<char> name(static_cast<size_t>(maxLength) * 3 + 2);
    for (DWORD index = count; index-- > 0;) {
        DWORD length = static_cast<DWORD>(name.size());
        LONG rc = RegEnumKeyExA(key, index, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
        if (rc == ERROR_MORE_DATA) {
            name.resize(name.size() * 2 + 256);
            ++index;
            continue;
        }
        if (rc != ERROR_SUCCESS) {
            ok = false;
            continue;
        }
        ok = DeleteTree(key, std::string(name.data(), length)) == ERROR_SUCCESS && ok;
    }
    return ok;
}

LONG DeleteTree(HKEY parent, const std::string& path)
{
    {
        ScopedHKey key;
        const LONG rc = RegOpenKeyExA(parent, path.c_str(), 0, KEY_READ | DELETE, key.Put());
        if (rc != ERROR_SUCCESS) {
            key.Release();
            return rc;
        }
        DeleteSubTree(key.Get());
    }
    return RegDeleteKeyA(parent, path.c_str());
}

bool AddressesRoot(const std::string& path) { return path.find_first_not_of('\\') == std::string::npos; }

bool IsAbsent(LONG status) { return status == ERROR_FILE_NOT_FOUND || status == ERROR_PATH_NOT_FOUND; }

} // namespace

LONG RemovalOutcome(LONG removal, LONG lookAfter)
{
    if (removal == ERROR_SUCCESS || IsAbsent(removal))
        return ERROR_SUCCESS;
    // Part of the tree may have gone; only a key that is really not there
    // any more counts as removed. One that cannot be opened may still be.
    return IsAbsent(lookAfter) ? ERROR_SUCCESS : removal;
}

void RegistryAccess::SetRoot(const RegistryLocation& location)
{
    CloseKey();
    location_ = location;
}

bool RegistryAccess::OpenKey(const std::string& path, bool canCreate)
{
    CloseKey();
    LONG rc;
    DWORD disposition = REG_OPENED_EXISTING_KEY;
    if (canCreate) {
        rc = RegCreateKeyExA(location_.Root, location_.KeyPath(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE, nullptr,
                             current_.Put(), &disposition);
    } else {
        rc = RegOpenKeyExA(location_.Root, location_.KeyPath(path).c_str(), 0, KEY_READ, current_.Put());
    }
    lastStatus_ = rc;
    if (rc != ERROR_SUCCESS) {
        current_.Release();
        return false;
    }
    currentIsRoot_ = path.empty();
    currentWritable_ = canCreate;
    currentIsNew_ = disposition == REG_CREATED_NEW_KEY;
    return true;
}

void RegistryAccess::CloseKey()
{
    current_.Reset();
    currentIsRoot_ = false;
    currentWritable_ = false;
    currentIsNew_ = false;
}

bool RegistryAccess::ValueExists(const std::string& name) const
{
    if (!current_)
        return false;
    return RegQueryValueExA(current_.Get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool RegistryAccess::ReadText(const std::string& name, std::string& text) const
{
    if (!current_)
        return false;
    std::string value;
    const LONG rc = QueryText(current_.Get(), name.c_str(), value);
    if (rc == ERROR_FILE_NOT_FOUND) {
        text.clear();
        return true;
    }
    if (rc != ERROR_SUCCESS)
        return false;
    text = std::move(value);
    return true;
}

ValueRead RegistryAccess::ReadTextIfExists(const std::string& name, std::string& text) const
{
    if (!current_)
        return ValueRead::Missing;
    std::string value;
    bool found = false;
    const LONG rc = QueryText(current_.Get(), name.c_str(), value, found);
    // A value whose first query fails is one that ValueExists denies.
    if (!found)
        return ValueRead::Missing;
    // Removed between the queries for a value larger than the first buffer:
    // ReadText reads that as an empty text.
    if (rc == ERROR_FILE_NOT_FOUND) {
        text.clear();
        return ValueRead::Read;
    }
    if (rc != ERROR_SUCCESS)
        return ValueRead::Failed;
    text = std::move(value);
    return ValueRead::Read;
}

bool RegistryAccess::WriteText(const std::string& name, const std::string& text)
{
    if (!current_ || !currentWritable_ || currentIsRoot_) {
        lastStatus_ = ERROR_ACCESS_DENIED;
        return false;
    }
    DWORD type = REG_SZ;
    // A key created by this object's open holds only the REG_SZ values it
    // wrote itself: there is no type to keep and nothing to compare.
    if (!currentIsNew_) {
        const StoredText stored = CompareStoredText(current_.Get(), name, text);
        if (stored.same)
            return true;
        if (stored.type == REG_EXPAND_SZ)
            type = REG_EXPAND_SZ;
    }
    lastStatus_ = RegSetValueExA(current_.Get(), name.c_str(), 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                                 static_cast<DWORD>(text.size() + 1));
    return lastStatus_ == ERROR_SUCCESS;
}

bool RegistryAccess::DeleteValue(const std::string& name)
{
    if (!current_ || !currentWritable_ || currentIsRoot_) {
        lastStatus_ = ERROR_ACCESS_DENIED;
        return false;
    }
    lastStatus_ = RegDeleteValueA(current_.Get(), name.c_str());
    return lastStatus_ == ERROR_SUCCESS || lastStatus_ == ERROR_FILE_NOT_FOUND;
}

LONG RegistryAccess::KeyStatus(const std::string& path) const
{
    ScopedHKey key;
    const LONG rc = RegOpenKeyExA(location_.Root, location_.KeyPath(path).c_str(), 0,
                                  KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS, key.Put());
    if (rc != ERROR_SUCCESS)
        key.Release();
    return rc;
}

LONG RegistryAccess::DeleteKey(const std::string& path)
{
    if (AddressesRoot(path))
        return ERROR_INVALID_PARAMETER;
    return DeleteTree(location_.Root, location_.KeyPath(path));
}

LONG RegistryAccess::RemoveKey(const std::string& path)
{
    if (AddressesRoot(path))
        return ERROR_INVALID_PARAMETER;
    // The failing open of a missing key tells as much as asking first would;
    // only another failure needs a look at whether the key is still there.
    const LONG rc = DeleteTree(location_.Root, location_.KeyPath(path));
    return RemovalOutcome(rc, rc == ERROR_SUCCESS || IsAbsent(rc) ? rc : KeyStatus(path));
}

void RegistryAccess::GetKeyNames(std::vector<std::string>& names) const
{
    names.clear();
    if (!current_)
        return;
    DWORD count = 0;
    DWORD maxLength = 0;
    if (RegQueryInfoKeyA(current_.Get(), nullptr, nullptr, nullptr, &count, &maxLength, nullptr, nullptr, nullptr,
                         nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return;
    names.reserve(count);
    // The reported maximum counts UTF-16 units; a UTF-8 name may need three
    // bytes for each.
    std::vector<char> name(static_cast<size_t>(maxLength) * 3 + 2);
    for (DWORD index = 0;; ++index) {
        DWORD length = static_cast<DWORD>(name.size());
        const LONG rc = RegEnumKeyExA(current_.Get(), index, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
        if (rc == ERROR_MORE_DATA) {
            name.resize(name.size() * 2 + 256);
            --index;
            continue;
        }
        if (rc != ERROR_SUCCESS)
            break;
        names.emplace_back(name.data(), length);
    }
}
