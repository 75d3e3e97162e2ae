#include "model/SchemeEntry.h"

#include <shlwapi.h>

#include <algorithm>
#include <iterator>

#include "model/KeyNames.h"

bool IsReservedScheme(const std::string& name)
{
    static constexpr const char* kReserved[] = {"http", "https", "file", "ms-settings"};
    const std::string key = LowerCaseName(name);
    return std::any_of(std::begin(kReserved), std::end(kReserved),
                       [&](const char* reserved) { return key == reserved; });
}

EditLocks SchemeLocks(const std::string& name, DWORD editFlags)
{
    const bool reserved = IsReservedScheme(name);
    EditLocks locks = LocksOf(reserved ? static_cast<DWORD>(FTA_NoEdit) : editFlags);
    locks.Reserved = reserved;
    locks.Remove = locks.Remove || locks.WholeDialog;
    return locks;
}
