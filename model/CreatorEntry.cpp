#include "model/CreatorEntry.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "model/ErrorReport.h"
#include "model/RegistryAccess.h"
#include "model/RegistryLayout.h"

namespace {
bool Fail(const CreatorEntry& entry, EntryKind kind, EntryOperation operation, LONG status)
{
    ReportError(EntryFailure{kind, operation, entry.Name, status});
    return false;
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

void CreatorEntry::Clear() { *this = CreatorEntry(); }

bool CreatorEntry::ReadFromRegistry(const RegistryLocation& location)
{
    return ReadFromRegistry(std::span<const RegistryLocation>(&location, 1));
}

bool CreatorEntry::ReadFromRegistry(std::span<const RegistryLocation> sources)
{
    return ReadAs(sources, EntryKind::Creator);
}

bool CreatorEntry::ReadAs(std::span<const RegistryLocation> sources, EntryKind kind)
{
    if (Name.empty())
        return true;
    LONG status = ERROR_SUCCESS;
    if (!ReadLayout(sources, *this, status))
        return Fail(*this, kind, EntryOperation::Read, status);
    ParseIconSource();
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

bool CreatorEntry::WriteToRegistry(const WriteTarget& target) { return WriteAs(target, EntryKind::Creator); }

bool CreatorEntry::WriteAs(const WriteTarget& target, EntryKind kind)
{
    if (Name.empty())
        return true;
    LONG status = ERROR_SUCCESS;
    if (!WriteLayout(target, *this, CommitMode(*this), status))
        return Fail(*this, kind, EntryOperation::Write, status);
    State = esUnchanged;
    return true;
}

bool CreatorEntry::DeleteFromRegistry(const RegistryLocation& location)
{
    return DeleteAs(location, EntryKind::Creator);
}

bool CreatorEntry::DeleteAs(const RegistryLocation& location, EntryKind kind)
{
    if (Name.empty())
        return true;
    RegistryAccess registry;
    registry.SetRoot(location);
    const LONG status = registry.RemoveKey(Name);
    return status == ERROR_SUCCESS || Fail(*this, kind, EntryOperation::Delete, status);
}

void CreatorEntry::WriteRegText(const RegistryLocation& location, std::string& out) const
{
    if (!Name.empty())
        AppendLayoutText(location, *this, ExportMode(*this), out);
}

bool operator==(const CreatorEntry& a, const CreatorEntry& b)
{
    return a.Name == b.Name && SameLayoutTexts(a, b);
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

const VerbEntry* CreatorEntry::FindVerb(const std::string& name) const
{
    for (const VerbEntry& verb : Verbs)
        if (verb.State != esDeleted && SameVerbName(verb.Name, name))
            return &verb;
    return nullptr;
}

std::string CreatorEntry::EffectiveDefaultVerb() const
{
    for (size_t start = 0; start < DefaultVerb.size();) {
        const size_t end = std::min(DefaultVerb.find_first_of(", ", start), DefaultVerb.size());
        if (const VerbEntry* verb = FindVerb(DefaultVerb.substr(start, end - start)))
            return verb->Name;
        start = end + 1;
    }
    if (const VerbEntry* open = FindVerb("open"))
        return open->Name;
    for (const VerbEntry& verb : Verbs)
        if (verb.State != esDeleted)
            return verb.Name;
    return {};
}
