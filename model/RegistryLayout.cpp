#include "model/RegistryLayout.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "model/LayerCopy.h"
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
bool ReadLayoutTexts(std::span<const RegistryLocation> sources, Entry& entry, LONG& status)
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

template <typename Entry>
LayoutSnapshot SnapshotOf(const Entry& entry)
{
    LayoutSnapshot snapshot;
    snapshot.UsesDde = UsesDde(entry);
    for (const LayoutValue<Entry>& value : LayoutOf<Entry>())
        snapshot.Texts.push_back(entry.*value.field);
    return snapshot;
}

template <typename Entry>
bool ReadLayout(std::span<const RegistryLocation> sources, Entry& entry, LONG& status)
{
    const bool read = ReadLayoutTexts(sources, entry, status);
    entry.Read = SnapshotOf(entry);
    return read;
}

// Texts are compared with the snapshot; DDE turned on writes every DDE text
// it has, and DDE turned off drops the ddeexec key that held them.
template <typename Entry>
std::vector<KeyChange> PlanLayoutWrite(const Entry& entry, WriteMode mode)
{
    const LayoutSnapshot* read = entry.Read ? &*entry.Read : nullptr;
    const bool replace = mode == WriteMode::Replace;
    const auto layout = LayoutOf<Entry>();
    std::vector<KeyChange> changes;
    for (size_t at = 0; at < layout.size(); ++at) {
        const LayoutValue<Entry>& value = layout[at];
        const std::string& text = entry.*value.field;
        if (changes.empty() || changes.back().SubKey != value.subKey) {
            if (!changes.empty() && !changes.back().RemoveWhole && changes.back().Values.empty())
                changes.pop_back();
            changes.push_back(KeyChange{value.subKey, false, {}});
        }
        KeyChange& change = changes.back();
        if (value.role == LayoutRole::DdeKey && !UsesDde(entry)) {
            change.RemoveWhole = replace && (!read || read->UsesDde);
            continue;
        }
        if (!Counts(value, entry))
            continue;
        const bool changed = !read || text != read->Texts[at] || (value.role != LayoutRole::Value && !read->UsesDde);
        if (changed && (!text.empty() || replace))
            change.Values.emplace_back(value.valueName, text);
    }
    if (!changes.empty() && !changes.back().RemoveWhole && changes.back().Values.empty())
        changes.pop_back();
    return changes;
}

namespace {

// Whether some text of the layout lives in a key below subKey (the DDE texts
// below ddeexec): such a key holds more than its own value.
template <typename Entry>
bool LayoutHoldsBelow(const std::string& subKey)
{
    for (const LayoutValue<Entry>& value : LayoutOf<Entry>())
        if (Below(value.subKey, subKey))
            return true;
    return false;
}

bool HasText(const KeyChange& change)
{
    return std::any_of(change.Values.begin(), change.Values.end(), [](const auto& value) { return !value.second.empty(); });
}

} // namespace

// Each key is opened once for all its values. A key holding only cleared
// values is opened only where it is: the write never creates a key to
// empty it, unless the machine's classes below hold it, whose values the
// user's empty key then hides. A key that cannot be opened for writing is
// a failed write, even when there was only something to remove.
template <typename Entry>
bool WriteLayout(const WriteTarget& target, const Entry& entry, WriteMode mode, LONG& status)
{
    RegistryAccess registry;
    registry.SetRoot(target.Layer);
    KeyPath path(entry.Name);
    const auto fail = [&](LONG failure) {
        status = failure;
        return false;
    };
    const std::vector<KeyChange> plan = PlanLayoutWrite(entry, mode);
    if (entry.Read && plan.empty())
        return true;
    // The entry's own key is there after every write, as the list shows it.
    if (const LONG rc = CopyOnWrite(target, entry.Name); rc != ERROR_SUCCESS)
        return fail(rc);
    if (!registry.OpenKey(entry.Name, true))
        return fail(registry.LastStatus());
    registry.CloseKey();
    for (const KeyChange& change : plan) {
        const std::string& key = path.Of(change.SubKey.c_str());
        if (change.RemoveWhole) {
            if (const LONG rc = registry.RemoveKey(key); rc != ERROR_SUCCESS)
                return fail(rc);
            continue;
        }
        const bool hides = target.Below && LayerHoldsKey(*target.Below, key);
        if (!HasText(change) && !hides) {
            if (!LayerHoldsKey(target.Layer, key))
                continue;
            // A sub-key that held one text of the layout goes with it.
            if (!change.SubKey.empty() && !LayoutHoldsBelow<Entry>(change.SubKey)) {
                if (const LONG rc = registry.RemoveKey(key); rc != ERROR_SUCCESS)
                    return fail(rc);
                continue;
            }
        }
        if (const LONG rc = CopyOnWrite(target, key); rc != ERROR_SUCCESS)
            return fail(rc);
        if (!registry.OpenKey(key, true))
            return fail(registry.LastStatus());
        for (const auto& [name, text] : change.Values)
            if (!(text.empty() ? registry.DeleteValue(name) : registry.WriteText(name, text)))
                return fail(registry.LastStatus());
        registry.CloseKey();
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
template bool WriteLayout(const WriteTarget&, const ExtensionEntry&, WriteMode, LONG&);
template bool WriteLayout(const WriteTarget&, const CreatorEntry&, WriteMode, LONG&);
template std::vector<KeyChange> PlanLayoutWrite(const ExtensionEntry&, WriteMode);
template std::vector<KeyChange> PlanLayoutWrite(const CreatorEntry&, WriteMode);
template LayoutSnapshot SnapshotOf(const ExtensionEntry&);
template LayoutSnapshot SnapshotOf(const CreatorEntry&);
template void AppendLayoutText(const RegistryLocation&, const ExtensionEntry&, WriteMode, std::string&);
template void AppendLayoutText(const RegistryLocation&, const CreatorEntry&, WriteMode, std::string&);
template bool LayoutTextsPass(const ExtensionEntry&, bool (*)(std::string_view));
template bool LayoutTextsPass(const CreatorEntry&, bool (*)(std::string_view));
template bool SameLayoutTexts(const ExtensionEntry&, const ExtensionEntry&);
template bool SameLayoutTexts(const CreatorEntry&, const CreatorEntry&);
