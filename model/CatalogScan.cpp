#include "model/CatalogScan.h"

#include <windows.h>

#include "model/ErrorReport.h"
#include "model/RegistryAccess.h"
#include "model/RegistryLayout.h"
#include "model/UserChoice.h"

namespace {
bool IsAscii(const std::string& text)
{
    for (const char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

void LowerAsciiInPlace(std::string& text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
}
} // namespace

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

std::string LowerCaseName(const std::string& name)
{
    std::string lower = name;
    // Nearly every key name is plain ASCII; only the rest needs the locale.
    // (In a two-byte code page the second byte of a character may look like
    // an ASCII capital, so bytes are lowered one by one only when all are
    // ASCII.)
    if (IsAscii(name)) {
        LowerAsciiInPlace(lower);
        return lower;
    }
    const int byteLength = static_cast<int>(name.size());
    const int wideLength = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, name.data(), byteLength, nullptr, 0);
    if (wideLength <= 0) {
        // Bytes the code page cannot read: in UTF-8 the ASCII bytes still
        // stand for themselves; elsewhere leave the name as it is.
        if (GetACP() == CP_UTF8)
            LowerAsciiInPlace(lower);
        return lower;
    }
    std::wstring wide(static_cast<size_t>(wideLength), L'\0');
    MultiByteToWideChar(CP_ACP, 0, name.data(), byteLength, wide.data(), wideLength);
    CharLowerBuffW(wide.data(), static_cast<DWORD>(wide.size()));
    const int lowerLength = WideCharToMultiByte(CP_ACP, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    if (lowerLength <= 0)
        return lower;
    lower.assign(static_cast<size_t>(lowerLength), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), wideLength, lower.data(), lowerLength, nullptr, nullptr);
    return lower;
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

ClassesOrigin OriginOf(const AssociationLocations& locations, const std::vector<OriginName>& keyNames,
                       const std::string& name)
{
    if (!IsRegistryPath(name))
        return FindOrigin(keyNames, name);
    // A key further down (CLSID\{...}): each layer is asked itself.
    RegistryAccess user, machine;
    user.SetRoot(locations.User);
    machine.SetRoot(locations.Machine);
    const bool inUser = user.KeyExists(name), inMachine = machine.KeyExists(name);
    return inUser && inMachine ? ClassesOrigin::Both
           : inUser            ? ClassesOrigin::User
           : inMachine         ? ClassesOrigin::Machine
                               : ClassesOrigin::None;
}

void ReadUserChoices(AssociationCatalog& catalog, const RegistryLocation& fileExts)
{
    for (auto& [key, progId] : ReadAllUserChoices(fileExts))
        if (ExtensionEntry* extension = Find(catalog.ExtensionMap, key))
            extension->UserChoice = std::move(progId);
}

void ReadCreatorVerbs(AssociationCatalog& catalog, const AssociationLocations& locations, const std::string& name)
{
    CreatorEntry* creator = name.empty() ? nullptr : Find(catalog.CreatorMap, name);
    if (!creator || creator->VerbsRead || creator->State == esDeleted)
        return;
    LONG status = ERROR_SUCCESS;
    // A creator the user added has no key yet (Origin None), and so no verbs.
    const ClassesSources sources = SourcesOf(locations, creator->Origin);
    if (!ReadVerbs(sources.Span(), *creator, status))
        ReportError(EntryFailure{EntryKind::Creator, EntryOperation::Read, creator->Name, status});
}

void FillCatalogFromRegistry(AssociationCatalog& catalog, const AssociationLocations& locations)
{
    const std::vector<OriginName> names = ReadMergedKeyNames(locations);
    ReadExtensionKeys(catalog, locations, names);
    ReadCreators(catalog, locations, names);
    ReadUserChoices(catalog, locations.FileExts);
}
