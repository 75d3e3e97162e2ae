#include "model/RegistryLayout.h"

#include <cstring>
#include <vector>

#include "model/RegText.h"
#include "model/RegistryAccess.h"

namespace {

using X = ExtensionEntry;
using C = CreatorEntry;

constexpr LayoutValue<X> kExtensionLayout[] = {
    {"", "", &X::Creator, true, LayoutRole::Value},
    {"", "Content Type", &X::ContentType, true, LayoutRole::Value},
};

constexpr LayoutValue<C> kCreatorLayout[] = {
    {"", "", &C::Kind, true, LayoutRole::Value},
    {"\\DefaultIcon", "", &C::IconSource, true, LayoutRole::Value},
    {"\\shell\\open\\command", "", &C::Command, true, LayoutRole::Value},
    {"\\shell\\open\\ddeexec", "", &C::DdeMessage, true, LayoutRole::DdeKey},
    {"\\shell\\open\\ddeexec\\application", "", &C::DdeApplication, true, LayoutRole::DdeValue},
    {"\\shell\\open\\ddeexec\\ifexec", "", &C::DdeIfExec, true, LayoutRole::DdeValue},
    {"\\shell\\open\\ddeexec\\topic", "", &C::DdeTopic, true, LayoutRole::DdeValue},
};

template <typename Entry>
std::span<const LayoutValue<Entry>> LayoutOf();
template <>
std::span<const LayoutValue<X>> LayoutOf<X>() { return kExtensionLayout; }
template <>
std::span<const LayoutValue<C>> LayoutOf<C>() { return kCreatorLayout; }

template <typename Entry>
bool UsesDde(const Entry& entry)
{
    if constexpr (requires { entry.UsesDde; })
        return entry.UsesDde;
    else
        return false;
}

template <typename Entry>
void SetUsesDde(Entry& entry, bool uses)
{
    if constexpr (requires { entry.UsesDde; })
        entry.UsesDde = uses;
}

// The DDE texts are part of the entry only while it uses DDE.
template <typename Entry>
bool Counts(const LayoutValue<Entry>& value, const Entry& entry)
{
    return value.role == LayoutRole::Value || UsesDde(entry);
}

// Name followed by a sub-key, built in one buffer that every step of an
// operation reuses.
class KeyPath {
public:
    explicit KeyPath(const std::string& name) : name_(name) { path_.reserve(name.size() + 40); }
    const std::string& Of(const char* subKey)
    {
        path_.assign(name_);
        path_.append(subKey);
        return path_;
    }

private:
    const std::string& name_;
    std::string path_;
};

bool Below(const char* subKey, const std::string& removed)
{
    return !removed.empty() && std::strncmp(subKey, removed.c_str(), removed.size()) == 0 &&
           subKey[removed.size()] == '\\';
}

} // namespace

std::span<const LayoutValue<ExtensionEntry>> ExtensionLayout() { return kExtensionLayout; }
std::span<const LayoutValue<CreatorEntry>> CreatorLayout() { return kCreatorLayout; }

// Each key is opened once for all its values, in the first source that
// holds it. A missing key simply has nothing to read, and a missing value
// leaves its field as it was; a key the registry refuses, or a value that
// is not text, stops the read: the entry's texts are not known, and empty
// ones would be saved as if they were.
template <typename Entry>
bool ReadLayout(std::span<const RegistryLocation> sources, Entry& entry, LONG& status)
{
    std::vector<RegistryAccess> registries(sources.size());
    for (size_t at = 0; at < sources.size(); ++at)
        registries[at].SetRoot(sources[at]);
    KeyPath path(entry.Name);
    LONG refusal = ERROR_SUCCESS;
    const auto open = [&](const char* subKey) -> RegistryAccess* {
        for (RegistryAccess& registry : registries) {
            if (registry.OpenKey(path.Of(subKey), false))
                return &registry;
            if (registry.LastStatus() == ERROR_ACCESS_DENIED) {
                refusal = ERROR_ACCESS_DENIED;
                return nullptr;
            }
        }
        return nullptr;
    };
    const auto layout = LayoutOf<Entry>();
    for (size_t at = 0; at < layout.size();) {
        const LayoutValue<Entry>& first = layout[at];
        const auto sameKey = [&] { return at < layout.size() && std::strcmp(layout[at].subKey, first.subKey) == 0; };
        // Opening the ddeexec key both tells whether the entry uses DDE and
        // reads it; below a missing one nothing is opened.
        RegistryAccess* registry = nullptr;
        if (first.role == LayoutRole::DdeKey) {
            registry = open(first.subKey);
            SetUsesDde(entry, registry != nullptr);
        } else if (Counts(first, entry)) {
            registry = open(first.subKey);
        }
        if (refusal != ERROR_SUCCESS) {
            status = refusal;
            return false;
        }
        for (; sameKey(); ++at) {
            const LayoutValue<Entry>& value = layout[at];
            if (!registry || !Counts(value, entry))
                continue;
            if (registry->ReadTextIfExists(value.valueName, entry.*value.field) == ValueRead::Failed) {
                status = ERROR_INVALID_DATATYPE;
                return false;
            }
        }
        if (registry)
            registry->CloseKey();
    }
    return true;
}

// The values of the entry's own key go while that key is open once; each
// sub-key then holds its text or, with an empty text, is removed. Below a
// key that this write created, or one it removed, nothing is left to
// remove. A key that cannot be opened for writing is a failed write, even
// when there was only something to remove.
template <typename Entry>
bool WriteLayout(const RegistryLocation& location, const Entry& entry, WriteMode mode, LONG& status)
{
    RegistryAccess registry;
    registry.SetRoot(location);
    KeyPath path(entry.Name);
    const bool replace = mode == WriteMode::Replace;
    const auto layout = LayoutOf<Entry>();
    const auto fail = [&] {
        status = registry.LastStatus();
        return false;
    };

    if (!registry.OpenKey(entry.Name, true))
        return fail();
    const bool created = registry.CreatedCurrentKey();
    size_t at = 0;
    for (; at < layout.size() && layout[at].subKey[0] == '\0'; ++at) {
        const std::string& text = entry.*layout[at].field;
        const bool ok = !text.empty() ? registry.WriteText(layout[at].valueName, text)
                                      : !replace || created || registry.DeleteValue(layout[at].valueName);
        if (!ok)
            return fail();
    }
    registry.CloseKey();

    std::string removed; // the sub-key removed last, whose sub-keys are gone with it
    for (; at < layout.size(); ++at) {
        const LayoutValue<Entry>& value = layout[at];
        const std::string& text = entry.*value.field;
        const bool absent = created || Below(value.subKey, removed);
        // Without DDE the ddeexec key goes whole, with everything below it.
        const bool dropsDde = value.role == LayoutRole::DdeKey && !UsesDde(entry);
        if (!dropsDde && !Counts(value, entry))
            continue;
        if (dropsDde || text.empty()) {
            if (!replace || absent)
                continue;
            status = registry.RemoveKey(path.Of(value.subKey));
            if (status != ERROR_SUCCESS)
                return false;
            removed = value.subKey;
            continue;
        }
        const bool ok = registry.OpenKey(path.Of(value.subKey), true) && registry.WriteText(value.valueName, text);
        registry.CloseKey();
        if (!ok)
            return fail();
    }
    return true;
}

template <typename Entry>
void AppendLayoutText(const RegistryLocation& location, const Entry& entry, WriteMode mode, std::string& out)
{
    KeyPath path(entry.Name);
    const char* lastKey = nullptr;
    for (const LayoutValue<Entry>& value : LayoutOf<Entry>()) {
        const std::string& text = entry.*value.field;
        if (!Counts(value, entry) || (mode == WriteMode::AddOnly && text.empty()))
            continue;
        if (!lastKey || std::strcmp(lastKey, value.subKey) != 0)
            AppendRegKey(out, location, path.Of(value.subKey));
        lastKey = value.subKey;
        const std::string shown = value.escaped ? EscapeRegValue(text) : text;
        if (value.valueName[0] == '\0')
            AppendRegDefault(out, shown);
        else
            AppendRegNamedValue(out, value.valueName, shown);
    }
    out += "\r\n";
}

template <typename Entry>
bool LayoutTextsPass(const Entry& entry, bool (*test)(std::string_view text))
{
    if (!test(entry.Name))
        return false;
    for (const LayoutValue<Entry>& value : LayoutOf<Entry>())
        if (Counts(value, entry) && !test(entry.*value.field))
            return false;
    return true;
}

template <typename Entry>
bool SameLayoutTexts(const Entry& a, const Entry& b)
{
    if (UsesDde(a) != UsesDde(b))
        return false;
    for (const LayoutValue<Entry>& value : LayoutOf<Entry>())
        if (Counts(value, a) && a.*value.field != b.*value.field)
            return false;
    return true;
}

template bool ReadLayout(std::span<const RegistryLocation>, ExtensionEntry&, LONG&);
template bool ReadLayout(std::span<const RegistryLocation>, CreatorEntry&, LONG&);
template bool WriteLayout(const RegistryLocation&, const ExtensionEntry&, WriteMode, LONG&);
template bool WriteLayout(const RegistryLocation&, const CreatorEntry&, WriteMode, LONG&);
template void AppendLayoutText(const RegistryLocation&, const ExtensionEntry&, WriteMode, std::string&);
template void AppendLayoutText(const RegistryLocation&, const CreatorEntry&, WriteMode, std::string&);
template bool LayoutTextsPass(const ExtensionEntry&, bool (*)(std::string_view));
template bool LayoutTextsPass(const CreatorEntry&, bool (*)(std::string_view));
template bool SameLayoutTexts(const ExtensionEntry&, const ExtensionEntry&);
template bool SameLayoutTexts(const CreatorEntry&, const CreatorEntry&);
