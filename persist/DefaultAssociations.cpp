#include "persist/DefaultAssociations.h"

#include <windows.h>

#include <algorithm>
#include <cwchar>

#include "model/CatalogScan.h"
#include "model/ErrorReport.h"
#include "model/KeyNames.h"
#include "model/TextConversion.h"
#include "model/UserChoice.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string ExpandVariables(const std::string& text)
{
    std::string expanded(text.size() + 1, '\0');
    for (int attempt = 0; attempt < 3; ++attempt) {
        const DWORD length =
            ExpandEnvironmentStringsA(text.c_str(), expanded.data(), static_cast<DWORD>(expanded.size()));
        if (length == 0)
            return text;
        if (length <= expanded.size()) {
            expanded.resize(length - 1);
            return expanded;
        }
        expanded.assign(length, '\0');
    }
    return text;
}

// The program part of an expanded command.
std::string ProgramPathOf(const std::string& command)
{
    const size_t start = command.find_first_not_of(" \t");
    if (start == std::string::npos)
        return {};
    if (command[start] == '"') {
        const size_t end = command.find('"', start + 1);
        return command.substr(start + 1, end == std::string::npos ? std::string::npos : end - start - 1);
    }
    static constexpr const char* kProgramExtensions[] = {".exe", ".com", ".bat", ".cmd"};
    for (size_t at = start; at + 4 <= command.size(); ++at) {
        if (at + 4 < command.size() && !IsBlank(command[at + 4]))
            continue;
        for (const char* extension : kProgramExtensions)
            if (std::equal(extension, extension + 4, command.begin() + static_cast<std::ptrdiff_t>(at),
                           [](char a, char b) { return a == LowerAscii(b); }))
                return command.substr(start, at + 4 - start);
    }
    size_t end = start;
    while (end < command.size() && !IsBlank(command[end]))
        ++end;
    return command.substr(start, end - start);
}

// A name without a folder is found where the platform would start it from.
std::string LocateProgram(const std::string& path)
{
    if (path.find_first_of("\\/:") != std::string::npos)
        return path;
    char found[MAX_PATH * 4];
    const DWORD length = SearchPathA(nullptr, path.c_str(), ".exe", sizeof found, found, nullptr);
    return length > 0 && length < sizeof found ? std::string(found, length) : path;
}

// VERSION.dll is none of the platform's known DLLs: imported, it would be
// looked for beside the program first, in what may be a download folder.
// Loaded from the system folder instead, once, and kept to the end.
struct VersionFunctions {
    decltype(&GetFileVersionInfoSizeW) InfoSize = nullptr;
    decltype(&GetFileVersionInfoW) Info = nullptr;
    decltype(&VerQueryValueW) QueryValue = nullptr;
};

template <typename Function>
void Resolve(HMODULE module, const char* name, Function& function)
{
    // Through the generic function type, which casts to any other without
    // a warning.
    function = reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// All three, or none: without them no file has version information.
const VersionFunctions& Version()
{
    static const VersionFunctions functions = [] {
        VersionFunctions found;
        const HMODULE module = LoadLibraryExW(L"version.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        if (!module)
            return found;
        Resolve(module, "GetFileVersionInfoSizeW", found.InfoSize);
        Resolve(module, "GetFileVersionInfoW", found.Info);
        Resolve(module, "VerQueryValueW", found.QueryValue);
        return found.InfoSize && found.Info && found.QueryValue ? found : VersionFunctions{};
    }();
    return functions;
}

std::string FileDescriptionOf(const std::string& path)
{
    const VersionFunctions& version = Version();
    if (!version.InfoSize)
        return {};
    const std::wstring file = WidenText(path);
    DWORD ignored = 0;
    const DWORD size = version.InfoSize(file.c_str(), &ignored);
    if (size == 0)
        return {};
    std::vector<BYTE> data(size);
    if (!version.Info(file.c_str(), 0, size, data.data()))
        return {};
    // The tables the resource lists, then the two that most programs carry.
    std::vector<std::wstring> tables;
    struct Translation {
        WORD language;
        WORD codePage;
    };
    Translation* translations = nullptr;
    UINT bytes = 0;
    if (version.QueryValue(data.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations), &bytes))
        for (UINT i = 0; i < bytes / sizeof(Translation); ++i) {
            wchar_t name[16];
            swprintf(name, 16, L"%04x%04x", translations[i].language, translations[i].codePage);
            tables.push_back(name);
        }
    tables.push_back(L"040904b0");
    tables.push_back(L"040904e4");
    for (const std::wstring& table : tables) {
        wchar_t* text = nullptr;
        UINT length = 0;
        const std::wstring query = L"\\StringFileInfo\\" + table + L"\\FileDescription";
        if (!version.QueryValue(data.data(), query.c_str(), reinterpret_cast<void**>(&text), &length) || !text)
            continue;
        std::wstring description(text, length);
        description.erase(std::find(description.begin(), description.end(), L'\0'), description.end());
        if (description.find_first_not_of(L' ') != std::wstring::npos)
            return NarrowText(description);
    }
    return {};
}

// The text as an XML attribute value: markup characters as entities, the
// white space that attribute normalisation would turn into blanks as
// character references. False for a character that XML 1.0 cannot hold.
bool AppendAttributeValue(std::wstring& out, const std::string& text)
{
    const std::wstring wide = WidenText(text);
    for (size_t i = 0; i < wide.size(); ++i) {
        wchar_t c = wide[i];
        switch (c) {
        case L'&': out += L"&amp;"; continue;
        case L'<': out += L"&lt;"; continue;
        case L'>': out += L"&gt;"; continue;
        case L'"': out += L"&quot;"; continue;
        case L'\'': out += L"&apos;"; continue;
        case L'\t': out += L"&#9;"; continue;
        case L'\n': out += L"&#10;"; continue;
        case L'\r': out += L"&#13;"; continue;
        }
        if (c < 0x20 || c == 0xFFFE || c == 0xFFFF || IS_LOW_SURROGATE(c))
            return false;
        if (IS_HIGH_SURROGATE(c)) {
            if (i + 1 >= wide.size() || !IS_LOW_SURROGATE(wide[i + 1]))
                return false;
            out += c;
            c = wide[++i];
        }
        out += c;
    }
    return true;
}

std::string Utf8Of(const std::wstring& text)
{
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(std::max(length, 0)), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), length, nullptr,
                        nullptr);
    return bytes;
}

bool IsChanged(EntryState state) { return state == esModified || state == esAdded; }

} // namespace

std::string ProgramDisplayName(const std::string& command)
{
    const std::string path = ProgramPathOf(ExpandVariables(command));
    if (path.empty())
        return {};
    std::string description = FileDescriptionOf(LocateProgram(path));
    if (!description.empty())
        return description;
    return path.substr(path.find_last_of("\\/:") + 1);
}

namespace {

void SortUnique(std::vector<std::string>& keys)
{
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
}

// The line for one extension or scheme: what its user's choice names where
// the machine has that type, else its own type (the fallback, whose open
// command the catalog holds as fallbackCommand).
// Adds the line of one identifier; counts into leftOut what has no type to
// name and into choiceMissing a choice the line cannot follow.
void AddOpeningType(DefaultAssociationList& list, size_t& leftOut, size_t& choiceMissing,
                    const AssociationLocations& locations, const std::string& identifier, const std::string& choice,
                    const std::string& fallback, const std::string& fallbackCommand)
{
    ClassesOrigin chosenOrigin = ClassesOrigin::None;
    const OpeningType opening = TypeThatOpens(choice, fallback, [&](const std::string& name) {
        chosenOrigin = OriginInLayers(locations, name);
        return chosenOrigin != ClassesOrigin::None;
    });
    if (opening.ProgId.empty()) {
        ++leftOut;
        return;
    }
    if (IsRegistryPath(opening.ProgId)) {
        ++list.ByRegistryPath;
        return;
    }
    std::string command = fallbackCommand;
    if (opening.ProgId != fallback) {
        // A type no extension names is not in the catalog.
        CreatorEntry chosen;
        chosen.Name = opening.ProgId;
        chosen.ReadFromRegistry(SourcesOf(locations, chosenOrigin).Span());
        command = chosen.Command;
    }
    choiceMissing += opening.ChoiceMissing ? 1 : 0;
    std::string program = ProgramDisplayName(command);
    list.Entries.push_back({identifier, opening.ProgId, program.empty() ? opening.ProgId : std::move(program)});
}

} // namespace

DefaultAssociationList CollectDefaultAssociations(const AssociationCatalog& catalog,
                                                  std::vector<std::string> extensionKeys,
                                                  const AssociationLocations& locations,
                                                  std::vector<std::string> schemeKeys)
{
    SortUnique(extensionKeys);
    SortUnique(schemeKeys);
    DefaultAssociationList list;
    for (const std::string& key : extensionKeys) {
        const ExtensionEntry* extension = Find(catalog.ExtensionMap, key);
        if (!extension || extension->State == esDeleted) {
            ++list.LeftOut;
            continue;
        }
        const CreatorEntry* creator = Find(catalog.CreatorMap, extension->Creator);
        AddOpeningType(list, list.LeftOut, list.ChoiceMissing, locations, key, extension->UserChoice,
                       extension->Creator, creator ? creator->Command : std::string());
    }
    for (const std::string& key : schemeKeys) {
        const SchemeEntry* scheme = Find(catalog.SchemeMap, key);
        if (!scheme || scheme->State == esDeleted) {
            ++list.SchemesLeftOut;
            continue;
        }
        AddOpeningType(list, list.SchemesLeftOut, list.SchemeChoicesMissing, locations, key, scheme->UserChoice,
                       scheme->Name, scheme->Command);
    }
    return list;
}

std::vector<std::string> ChangedAssociationKeys(const AssociationCatalog& catalog)
{
    std::vector<std::string> keys;
    Walk(catalog.ExtensionMap, [&](const std::string& key, const ExtensionEntry& extension) {
        if (extension.State == esDeleted)
            return;
        const CreatorEntry* creator = Find(catalog.CreatorMap, extension.Creator);
        if (IsChanged(extension.State) || (creator && IsChanged(creator->State)))
            keys.push_back(key);
    });
    return keys;
}

std::vector<std::string> ChangedSchemeKeys(const AssociationCatalog& catalog)
{
    std::vector<std::string> keys;
    Walk(catalog.SchemeMap, [&](const std::string& key, const SchemeEntry& scheme) {
        if (IsChanged(scheme.State))
            keys.push_back(key);
    });
    return keys;
}

DefaultAssociationsFile BuildDefaultAssociationsXml(const std::vector<DefaultAssociation>& entries,
                                                    const DefaultsOptions& options)
{
    std::wstring xml = L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<DefaultAssociations";
    if (options.Version > 0)
        xml += L" Version=\"" + std::to_wstring(options.Version) + L"\"";
    xml += L">\r\n";
    for (const DefaultAssociation& entry : entries) {
        xml += L"  <Association Identifier=\"";
        bool representable = AppendAttributeValue(xml, entry.Identifier);
        xml += L"\" ProgId=\"";
        representable = AppendAttributeValue(xml, entry.ProgId) && representable;
        xml += L"\" ApplicationName=\"";
        representable = AppendAttributeValue(xml, entry.ApplicationName) && representable;
        xml += options.Suggested ? L"\" Suggested=\"true\" />\r\n" : L"\" />\r\n";
        if (!representable)
            return {{}, EntryFailure{entry.Identifier.starts_with('.') ? EntryKind::Extension : EntryKind::Scheme,
                                     EntryOperation::Export, entry.Identifier, ERROR_NO_UNICODE_TRANSLATION}};
    }
    xml += L"</DefaultAssociations>\r\n";
    return {Utf8Of(xml), {}};
}

std::optional<unsigned> ParseAssociationsVersion(const std::string& text)
{
    constexpr unsigned kLargest = 2147483647;
    unsigned value = 0;
    if (text.empty())
        return std::nullopt;
    for (const char c : text) {
        if (c < '0' || c > '9' || value > (kLargest - static_cast<unsigned>(c - '0')) / 10)
            return std::nullopt;
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    return value > 0 ? std::optional<unsigned>(value) : std::nullopt;
}

std::string Base64Of(const std::string& bytes)
{
    static constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    for (size_t at = 0; at < bytes.size(); at += 3) {
        const size_t count = std::min<size_t>(3, bytes.size() - at);
        unsigned group = 0;
        for (size_t i = 0; i < 3; ++i)
            group = group << 8 | (i < count ? static_cast<unsigned char>(bytes[at + i]) : 0u);
        for (size_t i = 0; i < 4; ++i)
            text += i <= count ? kDigits[group >> (18 - 6 * i) & 0x3F] : '=';
    }
    return text;
}

std::string SiblingPath(const std::string& path, const std::string& extension)
{
    const size_t nameStart = path.find_last_of("\\/:") + 1;
    const size_t dot = path.find_last_of('.');
    std::string sibling = dot != std::string::npos && dot > nameStart ? path.substr(0, dot) + extension
                                                                        : path + extension;
    return LowerCaseName(sibling) == LowerCaseName(path) ? path + extension : sibling;
}
