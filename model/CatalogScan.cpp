#include "model/CatalogScan.h"

#include <windows.h>

#include "model/RegistryAccess.h"

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

void ReadExtensionKeys(AssociationCatalog& catalog, const RegistryLocation& location,
                       const std::vector<std::string>& keyNames, const ScanProgress& progress)
{
    Empty(catalog.ExtensionMap);
    const size_t count = keyNames.size();
    for (size_t index = 0; index < count; ++index) {
        if (progress)
            progress(index, count);
        const std::string& name = keyNames[index];
        // Lower-casing never makes or removes a leading dot, so the many
        // other keys are passed over before any copy is made.
        if (name.empty() || name[0] != '.')
            continue;
        // Filled in place, as a cleared working entry would be: a second key
        // that lowers to the same name replaces the first completely.
        const auto slot = catalog.ExtensionMap.try_emplace(LowerCaseName(name)).first;
        ExtensionEntry& entry = slot->second;
        entry.Clear();
        entry.Name = slot->first;
        entry.ReadFromRegistry(location);
    }
}

void ReadCreators(AssociationCatalog& catalog, const RegistryLocation& location, const ScanProgress& progress)
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
            creator.ReadFromRegistry(location);
        }
        creator.AddExtension(key);
    }
}

void FillCatalogFromRegistry(AssociationCatalog& catalog, const RegistryLocation& location)
{
    ReadExtensionKeys(catalog, location, ReadClassesKeyNames(location));
    ReadCreators(catalog, location);
}
