#include "model/CatalogScan.h"

#include <windows.h>

#include "model/ErrorReport.h"
#include "model/RegistryAccess.h"
#include "model/RegistryLayout.h"
#include "model/UserChoice.h"

std::vector<std::string> ReadClassesKeyNames(const RegistryLocation& location)
{
    std::vector<std::string> names;
    RegistryAccess registry;
    registry.SetRoot(location);
    // After a failed open no key is current and the list stays empty.
    registry.OpenKey("", false);
    registry.GetKeyNames(names);
    registry.CloseKey();
    return names;
}

std::vector<OriginName> ReadMergedKeyNames(const AssociationLocations& locations)
{
    return MergeClassesKeyNames(ReadClassesKeyNames(locations.User), ReadClassesKeyNames(locations.Machine));
}

ClassesSources SourcesOf(const AssociationLocations& locations, ClassesOrigin origin)
{
    ClassesSources sources;
    if (origin == ClassesOrigin::User || origin == ClassesOrigin::Both)
        sources.locations[sources.count++] = locations.User;
    if (origin == ClassesOrigin::Machine || origin == ClassesOrigin::Both)
        sources.locations[sources.count++] = locations.Machine;
    return sources;
}

void ReadExtensionKeys(AssociationCatalog& catalog, const AssociationLocations& locations,
                       const std::vector<OriginName>& keyNames, const ScanProgress& progress)
{
    Empty(catalog.ExtensionMap);
    const ClassesSources sources[] = {SourcesOf(locations, ClassesOrigin::None),
                                      SourcesOf(locations, ClassesOrigin::User),
                                      SourcesOf(locations, ClassesOrigin::Machine),
                                      SourcesOf(locations, ClassesOrigin::Both)};
    const size_t count = keyNames.size();
    for (size_t index = 0; index < count; ++index) {
        if (progress)
            progress(index, count);
        const OriginName& name = keyNames[index];
        // Lower-casing never makes or removes a leading dot, so the many
        // other keys are passed over at once.
        if (name.Key.empty() || name.Key[0] != '.')
            continue;
        ExtensionEntry& entry = catalog.ExtensionMap.try_emplace(name.Key).first->second;
        entry.Name = name.Key;
        entry.Origin = name.Origin;
        entry.ReadFromRegistry(sources[static_cast<int>(name.Origin)].Span());
    }
}

void ReadCreators(AssociationCatalog& catalog, const AssociationLocations& locations,
                  const std::vector<OriginName>& keyNames, const ScanProgress& progress)
{
    Empty(catalog.CreatorMap);
    const size_t count = catalog.ExtensionMap.size();
    size_t index = 0;
    for (const auto& [key, extension] : catalog.ExtensionMap) {
        if (progress)
            progress(index, count);
        ++index;
        if (extension.Creator.empty())
            continue;
        // One lookup both finds a creator read before and makes the cleared
        // entry for a new one, which is then read in place: each creator key
        // is read once, however many extensions name it.
        const auto [slot, isNew] = catalog.CreatorMap.try_emplace(extension.Creator);
        CreatorEntry& creator = slot->second;
        if (isNew) {
            creator.Name = extension.Creator;
            creator.Origin = OriginOf(locations, keyNames, creator.Name);
            creator.ReadFromRegistry(SourcesOf(locations, creator.Origin).Span());
        }
        creator.AddExtension(key);
    }
}

ClassesOrigin OriginInLayers(const AssociationLocations& locations, const std::string& name)
{
    RegistryAccess user, machine;
    user.SetRoot(locations.User);
    machine.SetRoot(locations.Machine);
    const bool inUser = user.KeyExists(name), inMachine = machine.KeyExists(name);
    return inUser && inMachine ? ClassesOrigin::Both
           : inUser            ? ClassesOrigin::User
           : inMachine         ? ClassesOrigin::Machine
                               : ClassesOrigin::None;
}

ClassesOrigin OriginOf(const AssociationLocations& locations, const std::vector<OriginName>& keyNames,
                       const std::string& name)
{
    // A key further down (CLSID\{...}) is in no list of names.
    return IsRegistryPath(name) ? OriginInLayers(locations, name) : FindOrigin(keyNames, name);
}

void ReadUserChoices(AssociationCatalog& catalog, const RegistryLocation& fileExts)
{
    for (auto& [key, progId] : ReadAllUserChoices(fileExts))
        if (ExtensionEntry* extension = Find(catalog.ExtensionMap, key))
            extension->UserChoice = std::move(progId);
}

void ReadSchemes(AssociationCatalog& catalog, const AssociationLocations& locations,
                 const std::vector<OriginName>& keyNames, const ScanProgress& progress)
{
    Empty(catalog.SchemeMap);
    RegistryAccess user, machine;
    user.SetRoot(locations.User);
    machine.SetRoot(locations.Machine);
    const size_t count = keyNames.size();
    for (size_t index = 0; index < count; ++index) {
        if (progress)
            progress(index, count);
        const OriginName& name = keyNames[index];
        if (name.Key.empty() || name.Key[0] == '.')
            continue;
        // The user's key, where there is one, is the one whose values show.
        RegistryAccess& layer = name.Origin == ClassesOrigin::Machine ? machine : user;
        const bool scheme = layer.OpenKey(name.Name, false) && layer.ValueExists(kUrlProtocolValue);
        layer.CloseKey();
        if (!scheme)
            continue;
        SchemeEntry& entry = catalog.SchemeMap.try_emplace(name.Key).first->second;
        entry.Name = name.Name;
        entry.Origin = name.Origin;
        entry.ReadFromRegistry(SourcesOf(locations, name.Origin).Span());
    }
    for (auto& [key, progId] : ReadAllUserChoices(locations.UrlAssociations))
        if (SchemeEntry* scheme = Find(catalog.SchemeMap, key))
            scheme->UserChoice = std::move(progId);
    catalog.SchemesRead = true;
}

namespace {
void ReadVerbsOnce(CreatorEntry* creator, const AssociationLocations& locations, EntryKind kind)
{
    if (!creator || creator->VerbsRead || creator->State == esDeleted)
        return;
    LONG status = ERROR_SUCCESS;
    // A creator the user added has no key yet (Origin None), and so no verbs.
    const ClassesSources sources = SourcesOf(locations, creator->Origin);
    if (!ReadVerbs(sources.Span(), *creator, status))
        ReportError(EntryFailure{kind, EntryOperation::Read, creator->Name, status});
}
} // namespace

void ReadCreatorVerbs(AssociationCatalog& catalog, const AssociationLocations& locations, const std::string& name)
{
    ReadVerbsOnce(name.empty() ? nullptr : Find(catalog.CreatorMap, name), locations, EntryKind::Creator);
}

void ReadSchemeVerbs(AssociationCatalog& catalog, const AssociationLocations& locations, const std::string& scheme)
{
    ReadVerbsOnce(Find(catalog.SchemeMap, scheme), locations, EntryKind::Scheme);
}

void FillCatalogFromRegistry(AssociationCatalog& catalog, const AssociationLocations& locations, bool schemes)
{
    const std::vector<OriginName> names = ReadMergedKeyNames(locations);
    ReadExtensionKeys(catalog, locations, names);
    ReadCreators(catalog, locations, names);
    ReadUserChoices(catalog, locations.FileExts);
    if (schemes)
        ReadSchemes(catalog, locations, names);
}
