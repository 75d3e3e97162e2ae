#include "model/CreatorEntry.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "model/ErrorReport.h"
#include "model/RegText.h"
#include "model/RegistryAccess.h"

namespace {
constexpr const char* kDefaultIcon = "\\DefaultIcon";
constexpr const char* kOpenCommand = "\\shell\\open\\command";
constexpr const char* kDdeExec = "\\shell\\open\\ddeexec";
constexpr const char* kDdeApplication = "\\shell\\open\\ddeexec\\application";
constexpr const char* kDdeIfExec = "\\shell\\open\\ddeexec\\ifexec";
constexpr const char* kDdeTopic = "\\shell\\open\\ddeexec\\topic";

bool Fail(const CreatorEntry& entry, const char* tail)
{
    ReportError(kCreatorPrefix + entry.Name + tail);
    return false;
}

// Name followed by a sub-key suffix, built in one buffer that every step of
// an operation reuses.
class KeyPath {
public:
    explicit KeyPath(const std::string& name) : name_(name) { path_.reserve(name.size() + 40); }
    const std::string& Of(const char* suffix)
    {
        path_.assign(name_);
        path_.append(suffix);
        return path_;
    }

private:
    const std::string& name_;
    std::string path_;
};

// Reads the default value of the current key into field. A missing value
// leaves the field as it was; a non-text value fails. One query serves
// nearly every case: only an empty result read into a field that holds
// text needs a second look, to tell an empty value from a missing one (the
// scan reads into cleared entries, where both mean an empty field).
bool ReadDefault(RegistryAccess& registry, std::string& field)
{
    if (!registry.HasCurrentKey())
        return true;
    std::string text;
    if (!registry.ReadText("", text))
        return false;
    if (!text.empty())
        field = std::move(text);
    else if (!field.empty() && registry.ValueExists(""))
        field.clear();
    return true;
}

// Opens path without creating it and reads its default value into field.
// A key that is missing or refused simply has nothing to read.
bool ReadDefaultOf(RegistryAccess& registry, const std::string& path, std::string& field)
{
    registry.OpenKey(path, false);
    const bool ok = ReadDefault(registry, field);
    registry.CloseKey();
    return ok;
}

bool WriteDefaultOf(RegistryAccess& registry, const std::string& path, const std::string& text)
{
    const bool ok = registry.OpenKey(path, true) && registry.WriteText("", text);
    registry.CloseKey();
    return ok;
}

// Writes a non-empty text as the default of path, or removes path; known
// to be absent already, it is left alone.
bool StoreOrRemoveKey(RegistryAccess& registry, const std::string& path, const std::string& text, bool absent)
{
    if (text.empty())
        return absent || registry.RemoveKey(path);
    return WriteDefaultOf(registry, path, text);
}

bool IsSpace(unsigned char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Decimal number as the C library reads one: leading white space, an
// optional sign, digits up to the first non-digit; 0 without digits. A
// number beyond 32 bits is clamped instead of wrapping.
std::int32_t ParseIconNumber(std::string_view text)
{
    size_t at = 0;
    while (at < text.size() && IsSpace(static_cast<unsigned char>(text[at])))
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        negative = text[at] == '-';
        ++at;
    }
    constexpr std::int64_t kLimit = std::int64_t{INT32_MAX} + 1;
    std::int64_t magnitude = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at)
        magnitude = std::min(magnitude * 10 + (text[at] - '0'), kLimit);
    if (negative)
        return static_cast<std::int32_t>(-magnitude);
    return static_cast<std::int32_t>(std::min<std::int64_t>(magnitude, INT32_MAX));
}
} // namespace

void CreatorEntry::Clear()
{
    Name.clear();
    Kind.clear();
    IconSource.clear();
    Command.clear();
    UsesDde = false;
    DdeMessage.clear();
    DdeApplication.clear();
    DdeIfExec.clear();
    DdeTopic.clear();
    State = esUnchanged;
    IconFile.clear();
    IconNumber = 0;
    ImageIndex = 0;
    Extensions.clear();
    ExtensionCount = 0;
    ExtensionText.clear();
}

bool CreatorEntry::ReadFromRegistry()
{
    if (Name.empty())
        return true;
    RegistryAccess registry;
    registry.SetRoot(HKEY_CLASSES_ROOT);
    KeyPath path(Name);
    if (!ReadDefaultOf(registry, Name, Kind))
        return Fail(*this, kReadFailedTail);
    if (!ReadDefaultOf(registry, path.Of(kDefaultIcon), IconSource))
        return Fail(*this, kReadFailedTail);
    ParseIconSource();
    if (!ReadDefaultOf(registry, path.Of(kOpenCommand), Command))
        return Fail(*this, kReadFailedTail);

    // Opening the ddeexec key both tells whether it exists and reads it, so
    // the key is opened once.
    if (registry.OpenKey(path.Of(kDdeExec), false)) {
        UsesDde = true;
        const bool ok = ReadDefault(registry, DdeMessage);
        registry.CloseKey();
        if (!ok || !ReadDefaultOf(registry, path.Of(kDdeApplication), DdeApplication) ||
            !ReadDefaultOf(registry, path.Of(kDdeIfExec), DdeIfExec) ||
            !ReadDefaultOf(registry, path.Of(kDdeTopic), DdeTopic))
            return Fail(*this, kReadFailedTail);
    } else {
        UsesDde = false;
    }
    State = esUnchanged;
    return true;
}

void CreatorEntry::ParseIconSource()
{
    IconFile.clear();
    IconNumber = 0;
    const size_t comma = IconSource.find(',');
    if (comma == std::string::npos) {
        IconFile = IconSource;
        return;
    }
    IconFile.assign(IconSource, 0, comma);
    IconNumber = ParseIconNumber(std::string_view(IconSource).substr(comma + 1));
}

bool CreatorEntry::WriteToRegistry()
{
    if (Name.empty())
        return true;
    RegistryAccess registry;
    registry.SetRoot(HKEY_CLASSES_ROOT);
    KeyPath path(Name);

    // A key that cannot be opened for writing is a failed write, even when
    // there was only something to remove.
    if (!registry.OpenKey(Name, true))
        return Fail(*this, kWriteFailedTail);
    // Below a key that this write created there is nothing to remove. A key
    // named by a registry path (CLSID\{...}) belongs to some other structure:
    // the write adds what is set and removes nothing, as if just created.
    const bool created = registry.CreatedCurrentKey() || Name.find('\\') != std::string::npos;
    bool ok = Kind.empty() ? (created || registry.DeleteValue("")) : registry.WriteText("", Kind);
    registry.CloseKey();
    if (!ok || !StoreOrRemoveKey(registry, path.Of(kDefaultIcon), IconSource, created) ||
        !StoreOrRemoveKey(registry, path.Of(kOpenCommand), Command, created))
        return Fail(*this, kWriteFailedTail);

    if (UsesDde) {
        // An empty message removes ddeexec with everything below it, so the
        // sub-keys written next come back under a ddeexec without a default,
        // and the empty ones are gone already.
        const bool subKeysAbsent = created || DdeMessage.empty();
        ok = StoreOrRemoveKey(registry, path.Of(kDdeExec), DdeMessage, created) &&
             StoreOrRemoveKey(registry, path.Of(kDdeApplication), DdeApplication, subKeysAbsent) &&
             StoreOrRemoveKey(registry, path.Of(kDdeIfExec), DdeIfExec, subKeysAbsent) &&
             StoreOrRemoveKey(registry, path.Of(kDdeTopic), DdeTopic, subKeysAbsent);
    } else {
        // ddeexec goes whole, its application, ifexec and topic with it.
        ok = created || registry.RemoveKey(path.Of(kDdeExec));
    }
    if (!ok)
        return Fail(*this, kWriteFailedTail);
    State = esUnchanged;
    return true;
}

bool CreatorEntry::DeleteFromRegistry()
{
    if (Name.empty())
        return true;
    RegistryAccess registry;
    registry.SetRoot(HKEY_CLASSES_ROOT);
    return registry.RemoveKey(Name) || Fail(*this, kDeleteFailedTail);
}

void CreatorEntry::WriteRegText(std::string& out) const
{
    if (Name.empty())
        return;
    // Key names go out as they are; every value is escaped, since an
    // unescaped backslash or quote corrupts or drops the value on import.
    KeyPath path(Name);
    AppendRegKey(out, Name);
    AppendRegDefault(out, EscapeRegValue(Kind));
    AppendRegKey(out, path.Of(kDefaultIcon));
    AppendRegDefault(out, EscapeRegValue(IconSource));
    AppendRegKey(out, path.Of(kOpenCommand));
    AppendRegDefault(out, EscapeRegValue(Command));
    if (UsesDde) {
        AppendRegKey(out, path.Of(kDdeExec));
        AppendRegDefault(out, EscapeRegValue(DdeMessage));
        AppendRegKey(out, path.Of(kDdeApplication));
        AppendRegDefault(out, EscapeRegValue(DdeApplication));
        AppendRegKey(out, path.Of(kDdeIfExec));
        AppendRegDefault(out, EscapeRegValue(DdeIfExec));
        AppendRegKey(out, path.Of(kDdeTopic));
        AppendRegDefault(out, EscapeRegValue(DdeTopic));
    }
    out += "\r\n";
}

void CreatorEntry::AddExtension(const std::string& extension)
{
    if (std::find(Extensions.begin(), Extensions.end(), extension) != Extensions.end())
        return;
    if (!std::is_sorted(Extensions.begin(), Extensions.end())) {
        // Someone filled the list by hand: restore the order as a whole.
        Extensions.push_back(extension);
        std::sort(Extensions.begin(), Extensions.end());
        ExtensionCount = static_cast<std::int32_t>(Extensions.size());
        RebuildExtensionText();
        return;
    }
    // Inserting at the sorted position gives the list that appending and
    // re-sorting would; the scan adds in key order, so mostly at the end.
    const auto at = std::upper_bound(Extensions.begin(), Extensions.end(), extension);
    const bool atEnd = at == Extensions.end();
    Extensions.insert(at, extension);
    ExtensionCount = static_cast<std::int32_t>(Extensions.size());
    if (atEnd) {
        ExtensionText += extension;
        ExtensionText += ' ';
    } else {
        RebuildExtensionText();
    }
}

void CreatorEntry::RemoveExtension(const std::string& extension)
{
    const auto found = std::find(Extensions.begin(), Extensions.end(), extension);
    if (found == Extensions.end())
        return;
    Extensions.erase(found);
    ExtensionCount = static_cast<std::int32_t>(Extensions.size());
    RebuildExtensionText();
}

void CreatorEntry::RebuildExtensionText()
{
    ExtensionText.clear();
    for (const std::string& extension : Extensions) {
        ExtensionText += extension;
        ExtensionText += ' ';
    }
}
