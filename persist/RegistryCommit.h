// Writing the catalog's marked entries to a layer of the classes, and what
// a layer cannot express. No windows: each entry reports its own failure
// through ReportError.
#pragma once
#include <string>
#include <vector>

#include "model/AssociationCatalog.h"
#include "model/ErrorReport.h"
#include "model/RegistryLocation.h"

// Walks ExtensionMap, then CreatorMap, then SchemeMap, in key order: an entry marked
// esModified or esAdded has what the user changed written (and becomes
// esUnchanged), one marked esDeleted has its key deleted (and stays
// esDeleted until a scan rebuilds the catalog), unless an entry not marked
// deleted names the same key in another spelling. Goes on past failing
// entries, which keep their marks. True when every operation succeeded.
bool CommitMarkedEntries(AssociationCatalog& catalog, const WriteTarget& target);

// A change that the user's layer cannot express: the machine's key of that
// path would still show through, so the commit would report a success that
// changed nothing the user sees.
struct LayerRefusal {
    EntryKind kind = EntryKind::Extension;
    std::string name;   // the entry
    std::string subKey; // the key below the entry's that would stay; empty for the entry's key
};
// Every such change of the marked entries; empty without target.Below.
std::vector<LayerRefusal> RefusedByLayer(const AssociationCatalog& catalog, const WriteTarget& target);

// The marked entries whose change writes or deletes a key that the user's
// classes hold as well: Windows shows this user the user's key, so the
// change to the machine's does not show for them.
struct HiddenChange {
    EntryKind kind = EntryKind::Extension;
    std::string name;
};
std::vector<HiddenChange> ChangesTheUserHides(const AssociationCatalog& catalog, const RegistryLocation& user);
