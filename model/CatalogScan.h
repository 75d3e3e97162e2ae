// The part of the registry scan that fills the catalog. It needs no window:
// the scan in the view adds the progress window, the icons and the rows.
#pragma once
#include <array>
#include <cstddef>
#include <span>
#include <functional>
#include <string>
#include <vector>

#include "model/AssociationCatalog.h"
#include "model/ClassesOrigin.h"
#include "model/RegistryLocation.h"

// Called at the start of every item of a pass with its 0-based index and the
// number of items of that pass.
using ScanProgress = std::function<void(size_t index, size_t count)>;

// The names of the direct sub-keys of location, in the registry's
// enumeration order; empty when it cannot be opened or listed.
std::vector<std::string> ReadClassesKeyNames(const RegistryLocation& location);

// The names of the user's and the machine's classes, merged as Windows
// merges them, each with where it lives.
std::vector<OriginName> ReadMergedKeyNames(const AssociationLocations& locations);

// The layers a key of that origin is read from, the user's first.
struct ClassesSources {
    std::array<RegistryLocation, 2> locations;
    size_t count = 0;
    std::span<const RegistryLocation> Span() const { return {locations.data(), count}; }
};
ClassesSources SourcesOf(const AssociationLocations& locations, ClassesOrigin origin);

// Where a key lives, each layer asked itself: for a name the scan's list
// does not hold, such as a path or the type a user's choice names.
ClassesOrigin OriginInLayers(const AssociationLocations& locations, const std::string& name);

// Where a key lives; a name that is a path is looked up in each layer.
ClassesOrigin OriginOf(const AssociationLocations& locations, const std::vector<OriginName>& keyNames,
                       const std::string& name);

// Empties the ExtensionMap, then reads every key whose lower-cased name
// begins with "." into it under that name, each from the layers it lives in.
void ReadExtensionKeys(AssociationCatalog& catalog, const AssociationLocations& locations,
                       const std::vector<OriginName>& keyNames, const ScanProgress& progress = {});

// Empties the CreatorMap, then reads once each creator that an extension
// names (also a missing key) and lists the extensions that name it. Keys no
// extension names are never opened.
void ReadCreators(AssociationCatalog& catalog, const AssociationLocations& locations,
                  const std::vector<OriginName>& keyNames, const ScanProgress& progress = {});

// Gives each extension the type the user chose for it, where there is one.
void ReadUserChoices(AssociationCatalog& catalog, const RegistryLocation& fileExts);

// Empties the SchemeMap, then reads into it every key that is no extension
// and holds a "URL Protocol" value in the layer whose values Windows shows
// for it, each under its lower-cased name, with the user's choices below
// urlAssociations; sets SchemesRead. Every class key is opened: the scan of
// the extensions never calls it.
void ReadSchemes(AssociationCatalog& catalog, const AssociationLocations& locations,
                 const std::vector<OriginName>& keyNames, const ScanProgress& progress = {});

// Reads the verbs of the creator under that name once (CreatorEntry::
// VerbsRead): the scan leaves them unread, as most creators are never
// opened for editing, and reading every creator's shell keys would cost the
// scan as much again. A failure is reported, and what was read stays.
void ReadCreatorVerbs(AssociationCatalog& catalog, const AssociationLocations& locations, const std::string& creator);
// The same for the scheme under that key of the SchemeMap.
void ReadSchemeVerbs(AssociationCatalog& catalog, const AssociationLocations& locations, const std::string& scheme);

// ReadMergedKeyNames, then with those names ReadExtensionKeys, ReadCreators
// and ReadUserChoices in order, and ReadSchemes last when schemes.
void FillCatalogFromRegistry(AssociationCatalog& catalog, const AssociationLocations& locations,
                             bool schemes = false);
