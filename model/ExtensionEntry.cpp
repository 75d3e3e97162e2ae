#include "model/ExtensionEntry.h"

#include "model/ErrorReport.h"
#include "model/RegistryAccess.h"
#include "model/RegistryLayout.h"

namespace {
bool Fail(const ExtensionEntry& entry, EntryOperation operation, LONG status)
{
    ReportError(EntryFailure{EntryKind::Extension, operation, entry.Name, status});
    return false;
}
} // namespace

void ExtensionEntry::Clear() { *this = ExtensionEntry(); }

bool ExtensionEntry::ReadFromRegistry(const RegistryLocation& location)
{
    return ReadFromRegistry(std::span<const RegistryLocation>(&location, 1));
}

bool ExtensionEntry::ReadFromRegistry(std::span<const RegistryLocation> sources)
{
    if (Name.empty())
        return true;
    LONG status = ERROR_SUCCESS;
    if (!ReadLayout(sources, *this, status))
        return Fail(*this, EntryOperation::Read, status);
    State = esUnchanged;
    return true;
}

bool ExtensionEntry::WriteToRegistry(const WriteTarget& target)
{
    if (Name.empty())
        return true;
    LONG status = ERROR_SUCCESS;
    if (!WriteLayout(target, *this, CommitMode(*this), status))
        return Fail(*this, EntryOperation::Write, status);
    State = esUnchanged;
    return true;
}

bool ExtensionEntry::DeleteFromRegistry(const RegistryLocation& location)
{
    if (Name.empty())
        return true;
    RegistryAccess registry;
    registry.SetRoot(location);
    const LONG status = registry.RemoveKey(Name);
    return status == ERROR_SUCCESS || Fail(*this, EntryOperation::Delete, status);
}

void ExtensionEntry::WriteRegText(const RegistryLocation& location, std::string& out) const
{
    if (!Name.empty())
        AppendLayoutText(location, *this, ExportMode(*this), out);
}
