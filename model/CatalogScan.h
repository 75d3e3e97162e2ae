// The part of the registry scan that fills the catalog. It needs no window:
// the scan in the view adds the progress window, the icons and the rows.
#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "model/AssociationCatalog.h"
#include "model/RegistryLocation.h"

// Called at the start of every item of a pass with its 0-based index and the
// number of items of that pass.
using ScanProgress = std::function<void(size_t index, size_t count)>;

// The names of the direct sub-keys of location, in the registry's
// enumeration order; empty when it cannot be opened or listed.
std::vector<std::string> ReadClassesKeyNames(const RegistryLocation& location);

// Lower case by the locale rules of the ANSI code page.
std::string LowerCaseName(const std::string& name);

// Empties the ExtensionMap, then reads every key whose lower-cased name
// begins with "." into it under that lower-cased name.
void ReadExtensionKeys(AssociationCatalog& catalog, const RegistryLocation& location,
                       const std::vector<std::string>& keyNames, const ScanProgress& progress = {});

// Empties the CreatorMap, then reads once each creator that an extension
// names (also a missing key) and lists the extensions that name it. Keys no
// extension names are never opened.
void ReadCreators(AssociationCatalog& catalog, const RegistryLocation& location, const ScanProgress& progress = {});

// The three above, in order.
void FillCatalogFromRegistry(AssociationCatalog& catalog, const RegistryLocation& location);
