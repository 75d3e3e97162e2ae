#include "persist/RegistryCommit.h"

#include <windows.h>

#include <set>
#include <string>

#include "model/TextConversion.h"

namespace {

// The registry matches key names without regard to case, as this order
// does, while the catalog keeps names apart by their exact bytes.
struct KeyNameLess {
    bool operator()(const std::wstring& a, const std::wstring& b) const
    {
        return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()),
                                    TRUE) == CSTR_LESS_THAN;
    }
};
using KeySet = std::set<std::wstring, KeyNameLess>;

// Keys that some entry still describes after the commit. Deleting one of
// them under another spelling (txtfile deleted, TXTFile added or still in
// use) would take away the very key the other entry is about.
template <typename Entry>
void AddDescribedKeys(const std::map<std::string, Entry>& map, KeySet& described)
{
    Walk(map, [&](const std::string&, const Entry& entry) {
        if (entry.State != esDeleted && !entry.Name.empty())
            described.insert(WidenText(entry.Name));
    });
}

template <typename Entry>
bool CommitMap(std::map<std::string, Entry>& map, const KeySet& described, const RegistryLocation& location)
{
    bool allSucceeded = true;
    Walk(map, [&](const std::string&, Entry& entry) {
        if (entry.State == esModified || entry.State == esAdded)
            allSucceeded = entry.WriteToRegistry(location) && allSucceeded;
        if (entry.State == esDeleted && !described.count(WidenText(entry.Name)))
            allSucceeded = entry.DeleteFromRegistry(location) && allSucceeded;
    });
    return allSucceeded;
}

} // namespace

bool CommitMarkedEntries(AssociationCatalog& catalog, const RegistryLocation& location)
{
    KeySet described;
    AddDescribedKeys(catalog.ExtensionMap, described);
    AddDescribedKeys(catalog.CreatorMap, described);
    // Extensions first: an extension may name a creator added in the same
    // commit, and a deleted creator goes only after its extensions changed.
    const bool extensionsSucceeded = CommitMap(catalog.ExtensionMap, described, location);
    const bool creatorsSucceeded = CommitMap(catalog.CreatorMap, described, location);
    return extensionsSucceeded && creatorsSucceeded;
}
