#include "model/EditFlags.h"

#include <shlwapi.h>

#include "model/LayerCopy.h"
#include "model/Scoped.h"

DWORD ReadEditFlags(const std::string& creator, const RegistryLocation& location)
{
    ScopedHKey key;
    if (creator.empty() ||
        RegOpenKeyExA(location.Root, location.KeyPath(creator).c_str(), 0, KEY_QUERY_VALUE, key.Put()) !=
            ERROR_SUCCESS) {
        key.Release();
        return 0;
    }
    // A larger value answers ERROR_MORE_DATA and counts as none, as it did
    // for the shell.
    BYTE data[sizeof(DWORD)] = {};
    DWORD type = REG_NONE, size = sizeof data;
    if (RegQueryValueExA(key.Get(), "EditFlags", nullptr, &type, data, &size) != ERROR_SUCCESS ||
        size != sizeof data || (type != REG_DWORD && type != REG_BINARY))
        return 0;
    return static_cast<DWORD>(data[0]) | static_cast<DWORD>(data[1]) << 8 | static_cast<DWORD>(data[2]) << 16 |
           static_cast<DWORD>(data[3]) << 24;
}

DWORD ReadShownEditFlags(const std::string& creator, const AssociationLocations& locations)
{
    if (creator.empty())
        return 0;
    return ReadEditFlags(creator, LayerHoldsKey(locations.User, creator) ? locations.User : locations.Machine);
}

EditLocks LocksOf(DWORD editFlags)
{
    const bool whole = (editFlags & FTA_NoEdit) != 0;
    const auto locked = [&](DWORD flag) { return whole || (editFlags & flag) != 0; };
    EditLocks locks;
    locks.WholeDialog = whole;
    locks.Remove = (editFlags & FTA_NoRemove) != 0;
    locks.Kind = locked(FTA_NoEditDesc);
    locks.Icon = locked(FTA_NoEditIcon);
    locks.Command = locked(FTA_NoEditVerbCmd | FTA_NoEditVerbExe);
    locks.Dde = locked(FTA_NoDDE);
    locks.ContentType = locked(FTA_NoEditMIME);
    locks.NewVerb = locked(FTA_NoNewVerb);
    locks.EditVerb = locked(FTA_NoEditVerb);
    locks.RemoveVerb = locked(FTA_NoRemoveVerb);
    return locks;
}
