// Writing the catalog's marked entries to a location of the classes. No
// windows: each entry reports its own failure through ReportError.
#pragma once
#include "model/AssociationCatalog.h"
#include "model/RegistryLocation.h"

// Walks ExtensionMap, then CreatorMap, in key order: an entry marked
// esModified or esAdded is written (and becomes esUnchanged), one marked
// esDeleted has its key deleted (and stays esDeleted until a scan rebuilds
// the catalog), unless an entry not marked deleted names the same key in
// another spelling. Goes on past failing entries, which keep their marks.
// True when every operation succeeded.
bool CommitMarkedEntries(AssociationCatalog& catalog, const RegistryLocation& location);
