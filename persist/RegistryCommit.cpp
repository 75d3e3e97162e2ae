#include "persist/RegistryCommit.h"

#include <windows.h>

#include <set>
#include <string>

#include "model/LayerCopy.h"
#include "model/RegistryLayout.h"
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

EntryKind KindOf(const ExtensionEntry&) { return EntryKind::Extension; }
EntryKind KindOf(const CreatorEntry&) { return EntryKind::Creator; }
EntryKind KindOf(const SchemeEntry&) { return EntryKind::Scheme; }

// A scheme's key is laid out as a creator's.
const ExtensionEntry& LaidOut(const ExtensionEntry& entry) { return entry; }
const CreatorEntry& LaidOut(const CreatorEntry& entry) { return entry; }
std::vector<KeyChange> CommitPlan(const auto& entry)
{
    return PlanLayoutWrite(LaidOut(entry), CommitMode(LaidOut(entry)));
}

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

KeySet DescribedKeys(const AssociationCatalog& catalog)
{
    KeySet described;
    AddDescribedKeys(catalog.ExtensionMap, described);
    AddDescribedKeys(catalog.CreatorMap, described);
    AddDescribedKeys(catalog.SchemeMap, described);
    return described;
}

bool Writes(const auto& entry) { return entry.State == esModified || entry.State == esAdded; }
bool Deletes(const auto& entry, const KeySet& described)
{
    return entry.State == esDeleted && !entry.Name.empty() && !described.count(WidenText(entry.Name));
}

template <typename Entry>
bool CommitMap(std::map<std::string, Entry>& map, const KeySet& described, const WriteTarget& target)
{
    bool allSucceeded = true;
    Walk(map, [&](const std::string&, Entry& entry) {
        if (Writes(entry))
            allSucceeded = entry.WriteToRegistry(target) && allSucceeded;
        if (Deletes(entry, described))
            allSucceeded = entry.DeleteFromRegistry(target.Layer) && allSucceeded;
    });
    return allSucceeded;
}

template <typename Entry>
void AddRefusals(const std::map<std::string, Entry>& map, const KeySet& described, const WriteTarget& target,
                 std::vector<LayerRefusal>& refusals)
{
    const RegistryLocation& below = *target.Below;
    Walk(map, [&](const std::string&, const Entry& entry) {
        if (Deletes(entry, described) && !LayerHoldsKey(target.Layer, entry.Name) &&
            LayerHoldsKey(below, entry.Name))
            refusals.push_back({KindOf(entry), entry.Name, ""});
        if (!Writes(entry))
            return;
        for (const KeyChange& change : CommitPlan(entry))
            if (change.RemoveWhole && LayerHoldsKey(below, entry.Name + change.SubKey))
                refusals.push_back({KindOf(entry), entry.Name, change.SubKey});
    });
}

template <typename Entry>
void AddHidden(const std::map<std::string, Entry>& map, const KeySet& described, const RegistryLocation& user,
               std::vector<HiddenChange>& hidden)
{
    Walk(map, [&](const std::string&, const Entry& entry) {
        // No key below one the user's classes lack: most entries end here.
        if (!(Deletes(entry, described) || Writes(entry)) || !LayerHoldsKey(user, entry.Name))
            return;
        bool hides = Deletes(entry, described);
        if (Writes(entry))
            for (const KeyChange& change : CommitPlan(entry))
                hides = hides || LayerHoldsKey(user, entry.Name + change.SubKey);
        if (hides)
            hidden.push_back({KindOf(entry), entry.Name});
    });
}

} // namespace

bool CommitMarkedEntries(AssociationCatalog& catalog, const WriteTarget& target)
{
    const KeySet described = DescribedKeys(catalog);
    // Extensions first: an extension may name a creator added in the same
    // commit, and a deleted creator goes only after its extensions changed.
    const bool extensionsSucceeded = CommitMap(catalog.ExtensionMap, described, target);
    const bool creatorsSucceeded = CommitMap(catalog.CreatorMap, described, target);
    const bool schemesSucceeded = CommitMap(catalog.SchemeMap, described, target);
    return extensionsSucceeded && creatorsSucceeded && schemesSucceeded;
}

std::vector<LayerRefusal> RefusedByLayer(const AssociationCatalog& catalog, const WriteTarget& target)
{
    std::vector<LayerRefusal> refusals;
    if (!target.Below)
        return refusals;
    const KeySet described = DescribedKeys(catalog);
    AddRefusals(catalog.ExtensionMap, described, target, refusals);
    AddRefusals(catalog.CreatorMap, described, target, refusals);
    AddRefusals(catalog.SchemeMap, described, target, refusals);
    return refusals;
}

std::vector<HiddenChange> ChangesTheUserHides(const AssociationCatalog& catalog, const RegistryLocation& user)
{
    std::vector<HiddenChange> hidden;
    const KeySet described = DescribedKeys(catalog);
    AddHidden(catalog.ExtensionMap, described, user, hidden);
    AddHidden(catalog.CreatorMap, described, user, hidden);
    AddHidden(catalog.SchemeMap, described, user, hidden);
    return hidden;
}
