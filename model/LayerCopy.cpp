#include "model/LayerCopy.h"

#include <algorithm>
#include <vector>

#include "model/Scoped.h"

namespace {

LONG OpenKey(const RegistryLocation& location, const std::string& path, REGSAM access, ScopedHKey& key)
{
    const LONG rc = RegOpenKeyExA(location.Root, location.KeyPath(path).c_str(), 0, access, key.Put());
    if (rc != ERROR_SUCCESS)
        key.Release();
    return rc;
}

// Every value of from into to, byte for byte, through the wide functions
// so that no conversion of names or data comes between.
LONG CopyValues(HKEY from, HKEY to)
{
    DWORD count = 0, maxNameLength = 0, maxSize = 0;
    LONG rc = RegQueryInfoKeyW(from, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &maxNameLength,
                               &maxSize, nullptr, nullptr);
    if (rc != ERROR_SUCCESS)
        return rc;
    std::vector<wchar_t> name(static_cast<size_t>(maxNameLength) + 1);
    std::vector<BYTE> data(std::max<DWORD>(maxSize, 1));
    for (DWORD index = 0; index < count;) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD size = static_cast<DWORD>(data.size());
        DWORD type = REG_NONE;
        rc = RegEnumValueW(from, index, name.data(), &nameLength, nullptr, &type, data.data(), &size);
        if (rc == ERROR_NO_MORE_ITEMS)
            break;
        if (rc == ERROR_MORE_DATA) { // grown since the query
            name.resize(name.size() * 2 + 256);
            data.resize(std::max<size_t>(size, data.size() * 2));
            continue;
        }
        if (rc != ERROR_SUCCESS)
            return rc;
        name[nameLength] = L'\0';
        rc = RegSetValueExW(to, name.data(), 0, type, data.data(), size);
        if (rc != ERROR_SUCCESS)
            return rc;
        ++index;
    }
    return ERROR_SUCCESS;
}

} // namespace

bool LayerHoldsKey(const RegistryLocation& location, const std::string& path)
{
    ScopedHKey key;
    const LONG rc = OpenKey(location, path, KEY_QUERY_VALUE, key);
    return rc != ERROR_FILE_NOT_FOUND && rc != ERROR_PATH_NOT_FOUND;
}

LONG CopyOnWrite(const WriteTarget& target, const std::string& path)
{
    if (!target.Below)
        return ERROR_SUCCESS;
    for (size_t end = 0; end != std::string::npos;) {
        end = path.find('\\', end + 1);
        const std::string key = path.substr(0, end);
        if (LayerHoldsKey(target.Layer, key))
            continue;
        ScopedHKey below;
        const LONG opened = OpenKey(*target.Below, key, KEY_READ, below);
        if (opened == ERROR_FILE_NOT_FOUND || opened == ERROR_PATH_NOT_FOUND)
            return ERROR_SUCCESS; // neither holds it: the write creates it and all below
        if (opened != ERROR_SUCCESS)
            return opened;
        ScopedHKey created;
        DWORD disposition = 0;
        LONG rc = RegCreateKeyExA(target.Layer.Root, target.Layer.KeyPath(key).c_str(), 0, nullptr,
                                  REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE, nullptr, created.Put(), &disposition);
        if (rc != ERROR_SUCCESS) {
            created.Release();
            return rc;
        }
        // Made meanwhile by someone else: its values are its own.
        if (disposition == REG_CREATED_NEW_KEY && (rc = CopyValues(below.Get(), created.Get())) != ERROR_SUCCESS)
            return rc;
    }
    return ERROR_SUCCESS;
}
