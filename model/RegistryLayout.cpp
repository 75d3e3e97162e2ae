#include "model/RegistryLayout.h"

#include <algorithm>
#include <cstring>
#include <type_traits>
#include <vector>

#include "model/LayerCopy.h"
#include "model/RegText.h"
#include "model/RegistryAccess.h"

namespace {

using X = ExtensionEntry;
using C = CreatorEntry;
using V = VerbEntry;

constexpr LayoutValue<X> kExtensionLayout[] = {
    {"", "", &X::Creator, true, LayoutRole::Value},
    {"", "Content Type", &X::ContentType, true, LayoutRole::Value},
};

constexpr LayoutValue<C> kCreatorLayout[] = {
    {"", "", &C::Kind, true, LayoutRole::Value},
    {"", kUrlProtocolValue, &C::UrlProtocol, true, LayoutRole::Presence},
    {"\\DefaultIcon", "", &C::IconSource, true, LayoutRole::Value},
    {"\\shell\\open\\command", "", &C::Command, true, LayoutRole::Value},
    {"\\shell\\open\\ddeexec", "", &C::DdeMessage, true, LayoutRole::DdeKey},
    {"\\shell\\open\\ddeexec\\application", "", &C::DdeApplication, true, LayoutRole::DdeValue},
    {"\\shell\\open\\ddeexec\\ifexec", "", &C::DdeIfExec, true, LayoutRole::DdeValue},
    {"\\shell\\open\\ddeexec\\topic", "", &C::DdeTopic, true, LayoutRole::DdeValue},
};

// Open's command and DDE are the creator's own: its share of the table ends
// before them.
constexpr LayoutValue<V> kVerbLayout[] = {
    {"", "", &V::Text, true, LayoutRole::Value},
    {"", "MUIVerb", &V::MuiVerb, true, LayoutRole::Value},
    {"", "Extended", &V::Extended, true, LayoutRole::Presence},
    {"", "ExplorerCommandHandler", &V::Handler, true, LayoutRole::Marker},
    {"\\command", "DelegateExecute", &V::Handler, true, LayoutRole::Marker},
    {"\\command", "", &V::Command, true, LayoutRole::Value},
    {"\\ddeexec", "", &V::DdeMessage, true, LayoutRole::DdeKey},
    {"\\ddeexec\\application", "", &V::DdeApplication, true, LayoutRole::DdeValue},
    {"\\ddeexec\\ifexec", "", &V::DdeIfExec, true, LayoutRole::DdeValue},
    {"\\ddeexec\\topic", "", &V::DdeTopic, true, LayoutRole::DdeValue},
};
constexpr size_t kOpenVerbShare = 5;

constexpr const char* kShellKey = "\\shell";

std::span<const LayoutValue<X>> LayoutOf(const X&) { return kExtensionLayout; }
std::span<const LayoutValue<C>> LayoutOf(const C&) { return kCreatorLayout; }
std::span<const LayoutValue<V>> LayoutOf(const V& verb)
{
    return verb.IsOpen() ? std::span<const LayoutValue<V>>(kVerbLayout).first(kOpenVerbShare) : kVerbLayout;
}

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
    return (value.role != LayoutRole::DdeKey && value.role != LayoutRole::DdeValue) || UsesDde(entry);
}

bool Flags(LayoutRole role) { return role == LayoutRole::Presence || role == LayoutRole::Marker; }

// Name followed by a sub-key, built in one buffer that every step of an
// operation reuses.
class KeyPath {
public:
    explicit KeyPath(const std::string& name) : name_(name) { path_.reserve(name.size() + 40); }
    const std::string& Of(const std::string& subKey) { return Of(subKey.c_str()); }
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
std::span<const LayoutValue<VerbEntry>> VerbLayout(const VerbEntry& verb) { return LayoutOf(verb); }

// Each key is opened once for all its values, in the first source that
// holds it. A missing key simply has nothing to read, and a missing value
// leaves its field as it was; a key the registry refuses, or a value that
// is not text, stops the read: the entry's texts are not known, and empty
// ones would be saved as if they were.
template <typename Entry>
bool ReadLayoutTexts(std::span<const RegistryLocation> sources, const std::string& key, Entry& entry, LONG& status)
{
    std::vector<RegistryAccess> registries(sources.size());
    for (size_t at = 0; at < sources.size(); ++at)
        registries[at].SetRoot(sources[at]);
    KeyPath path(key);
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
    const auto layout = LayoutOf(entry);
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
            if (Flags(value.role)) {
                if (registry->ValueExists(value.valueName))
                    entry.*value.field = "1";
                continue;
            }
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
    for (const LayoutValue<Entry>& value : LayoutOf(entry))
        snapshot.Texts.push_back(entry.*value.field);
    return snapshot;
}

template <typename Entry>
bool ReadLayout(std::span<const RegistryLocation> sources, Entry& entry, LONG& status)
{
    const bool read = ReadLayoutTexts(sources, entry.Name, entry, status);
    entry.Read = SnapshotOf(entry);
    return read;
}

bool ReadVerbs(std::span<const RegistryLocation> sources, CreatorEntry& creator, LONG& status)
{
    creator.Verbs.clear();
    creator.DefaultVerb.clear();
    const std::string shell = creator.Name + kShellKey;
    // The verbs of every layer, each once, in the order of the first layer
    // that lists it; the default verb from the first layer that holds shell.
    std::vector<std::string> names;
    bool defaultRead = false;
    for (const RegistryLocation& source : sources) {
        RegistryAccess registry;
        registry.SetRoot(source);
        if (!registry.OpenKey(shell, false))
            continue;
        if (!defaultRead && registry.ReadTextIfExists("", creator.DefaultVerb) == ValueRead::Failed) {
            status = ERROR_INVALID_DATATYPE;
            return false;
        }
        defaultRead = true;
        std::vector<std::string> layer;
        registry.GetKeyNames(layer);
        for (std::string& name : layer)
            if (std::none_of(names.begin(), names.end(), [&](const std::string& n) { return SameVerbName(n, name); }))
                names.push_back(std::move(name));
    }
    creator.DefaultVerbRead = creator.DefaultVerb;
    creator.VerbsRead = true;
    bool allRead = true;
    for (const std::string& name : names) {
        VerbEntry& verb = creator.Verbs.emplace_back();
        verb.Name = name;
        LONG verbStatus = ERROR_SUCCESS;
        allRead = ReadLayoutTexts(sources, shell + "\\" + name, verb, verbStatus) && allRead;
        verb.Read = SnapshotOf(verb);
        if (verbStatus != ERROR_SUCCESS)
            status = verbStatus;
    }
    return allRead;
}

namespace {

// Whether some text of the layout lives in a key below subKey (the DDE texts
// below ddeexec): such a key holds more than its own value.
template <typename Entry>
bool LayoutHoldsBelow(std::span<const LayoutValue<Entry>> layout, const char* subKey)
{
    return std::any_of(layout.begin(), layout.end(), [&](const LayoutValue<Entry>& value) {
        return Below(value.subKey, subKey);
    });
}

void DropEmpty(std::vector<KeyChange>& changes)
{
    if (!changes.empty() && !changes.back().RemoveWhole && changes.back().Values.empty())
        changes.pop_back();
}

// The default verb, then each verb that changed, below the creator's key.
void PlanVerbs(const CreatorEntry& creator, WriteMode mode, std::vector<KeyChange>& changes)
{
    if (!creator.VerbsRead)
        return;
    const bool replace = mode == WriteMode::Replace;
    if ((!creator.DefaultVerbRead || creator.DefaultVerb != *creator.DefaultVerbRead) &&
        (!creator.DefaultVerb.empty() || (replace && creator.DefaultVerbRead)))
        changes.push_back(KeyChange{kShellKey, false, false, {{"", creator.DefaultVerb, creator.DefaultVerb.empty()}}});
    for (const VerbEntry& verb : creator.Verbs) {
        const std::string key = std::string(kShellKey) + "\\" + verb.Name;
        if (verb.State == esDeleted) {
            if (verb.Read && replace)
                changes.push_back(KeyChange{key, true, false, {}});
            continue;
        }
        if (verb.State == esUnchanged || verb.IsHandled())
            continue;
        for (KeyChange& change : PlanLayoutWrite(verb, replace ? CommitMode(verb) : WriteMode::AddOnly)) {
            change.SubKey = key + change.SubKey;
            changes.push_back(std::move(change));
        }
    }
}

} // namespace

// Texts are compared with the snapshot; DDE turned on writes every DDE text
// it has, and DDE turned off drops the ddeexec key that held them.
template <typename Entry>
std::vector<KeyChange> PlanLayoutWrite(const Entry& entry, WriteMode mode)
{
    const LayoutSnapshot* read = entry.Read ? &*entry.Read : nullptr;
    const bool replace = mode == WriteMode::Replace;
    const auto layout = LayoutOf(entry);
    std::vector<KeyChange> changes;
    for (size_t at = 0; at < layout.size(); ++at) {
        const LayoutValue<Entry>& value = layout[at];
        const std::string& text = entry.*value.field;
        if (changes.empty() || changes.back().SubKey != value.subKey) {
            DropEmpty(changes);
            changes.push_back(KeyChange{value.subKey, false,
                                        value.subKey[0] != '\0' && !LayoutHoldsBelow(layout, value.subKey), {}});
        }
        KeyChange& change = changes.back();
        if (value.role == LayoutRole::DdeKey && !UsesDde(entry)) {
            change.RemoveWhole = replace && (!read || read->UsesDde);
            continue;
        }
        if (!Counts(value, entry) || value.role == LayoutRole::Marker)
            continue;
        const bool changed = !read || text != read->Texts[at] ||
                             ((value.role == LayoutRole::DdeKey || value.role == LayoutRole::DdeValue) && !read->UsesDde);
        if (!changed || (text.empty() && !replace))
            continue;
        if (value.role == LayoutRole::Presence)
            change.Values.push_back({value.valueName, "", text.empty()});
        else
            change.Values.push_back({value.valueName, text, text.empty()});
    }
    DropEmpty(changes);
    if constexpr (std::is_same_v<Entry, CreatorEntry>)
        PlanVerbs(entry, mode, changes);
    return changes;
}

namespace {

bool HasText(const KeyChange& change)
{
    return std::any_of(change.Values.begin(), change.Values.end(), [](const ValueChange& value) { return !value.Clear; });
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
            if (change.GoesWhenCleared) {
                if (const LONG rc = registry.RemoveKey(key); rc != ERROR_SUCCESS)
                    return fail(rc);
                continue;
            }
        }
        if (const LONG rc = CopyOnWrite(target, key); rc != ERROR_SUCCESS)
            return fail(rc);
        if (!registry.OpenKey(key, true))
            return fail(registry.LastStatus());
        for (const ValueChange& value : change.Values)
            if (!(value.Clear ? registry.DeleteValue(value.Name) : registry.WriteText(value.Name, value.Text)))
                return fail(registry.LastStatus());
        registry.CloseKey();
    }
    return true;
}

namespace {

// The blocks of the entry's table below key, without the closing empty line.
template <typename Entry>
void AppendBlocks(const RegistryLocation& location, const std::string& key, const Entry& entry, WriteMode mode,
                  std::string& out)
{
    KeyPath path(key);
    const char* lastKey = nullptr;
    for (const LayoutValue<Entry>& value : LayoutOf(entry)) {
        const std::string& text = entry.*value.field;
        if (!Counts(value, entry) || value.role == LayoutRole::Marker ||
            ((mode == WriteMode::AddOnly || value.role == LayoutRole::Presence) && text.empty()))
            continue;
        if (!lastKey || std::strcmp(lastKey, value.subKey) != 0)
            AppendRegKey(out, location, path.Of(value.subKey));
        lastKey = value.subKey;
        const std::string shown = value.role == LayoutRole::Presence ? std::string()
                                  : value.escaped                   ? EscapeRegValue(text)
                                                                    : text;
        if (value.valueName[0] == '\0')
            AppendRegDefault(out, shown);
        else
            AppendRegNamedValue(out, value.valueName, shown);
    }
}

// Only the verbs a creator was read or set up with; open is the creator's
// own blocks.
void AppendVerbBlocks(const RegistryLocation& location, const CreatorEntry& creator, std::string& out)
{
    if (!creator.VerbsRead)
        return;
    const std::string shell = creator.Name + kShellKey;
    if (!creator.DefaultVerb.empty()) {
        AppendRegKey(out, location, shell);
        AppendRegDefault(out, EscapeRegValue(creator.DefaultVerb));
    }
    for (const VerbEntry& verb : creator.Verbs)
        if (verb.State != esDeleted && !verb.IsOpen())
            AppendBlocks(location, shell + "\\" + verb.Name, verb, WriteMode::AddOnly, out);
}

} // namespace

template <typename Entry>
void AppendLayoutText(const RegistryLocation& location, const Entry& entry, WriteMode mode, std::string& out)
{
    AppendBlocks(location, entry.Name, entry, mode, out);
    if constexpr (std::is_same_v<Entry, CreatorEntry>)
        AppendVerbBlocks(location, entry, out);
    out += "\r\n";
}

namespace {

template <typename Entry>
bool TextsPass(const Entry& entry, bool (*test)(std::string_view text))
{
    if (!test(entry.Name))
        return false;
    for (const LayoutValue<Entry>& value : LayoutOf(entry))
        if (Counts(value, entry) && !test(entry.*value.field))
            return false;
    return true;
}

} // namespace

template <typename Entry>
bool LayoutTextsPass(const Entry& entry, bool (*test)(std::string_view text))
{
    if (!TextsPass(entry, test))
        return false;
    if constexpr (std::is_same_v<Entry, CreatorEntry>) {
        if (!test(entry.DefaultVerb))
            return false;
        for (const VerbEntry& verb : entry.Verbs)
            if (verb.State != esDeleted && !TextsPass(verb, test))
                return false;
    }
    return true;
}

template <typename Entry>
bool SameLayoutTexts(const Entry& a, const Entry& b)
{
    if (UsesDde(a) != UsesDde(b))
        return false;
    const auto layout = LayoutOf(a);
    if (layout.size() != LayoutOf(b).size())
        return false;
    for (const LayoutValue<Entry>& value : layout)
        if (Counts(value, a) && a.*value.field != b.*value.field)
            return false;
    if constexpr (std::is_same_v<Entry, CreatorEntry>) {
        if (!a.VerbsRead || !b.VerbsRead)
            return true;
        if (a.DefaultVerb != b.DefaultVerb || a.Verbs.size() != b.Verbs.size())
            return false;
        for (size_t at = 0; at < a.Verbs.size(); ++at)
            if (a.Verbs[at].Name != b.Verbs[at].Name || a.Verbs[at].State != b.Verbs[at].State ||
                !SameLayoutTexts(a.Verbs[at], b.Verbs[at]))
                return false;
    }
    return true;
}

template bool ReadLayout(std::span<const RegistryLocation>, ExtensionEntry&, LONG&);
template bool ReadLayout(std::span<const RegistryLocation>, CreatorEntry&, LONG&);
template bool WriteLayout(const WriteTarget&, const ExtensionEntry&, WriteMode, LONG&);
template bool WriteLayout(const WriteTarget&, const CreatorEntry&, WriteMode, LONG&);
template std::vector<KeyChange> PlanLayoutWrite(const ExtensionEntry&, WriteMode);
template std::vector<KeyChange> PlanLayoutWrite(const CreatorEntry&, WriteMode);
template std::vector<KeyChange> PlanLayoutWrite(const VerbEntry&, WriteMode);
template LayoutSnapshot SnapshotOf(const ExtensionEntry&);
template LayoutSnapshot SnapshotOf(const CreatorEntry&);
template void AppendLayoutText(const RegistryLocation&, const ExtensionEntry&, WriteMode, std::string&);
template void AppendLayoutText(const RegistryLocation&, const CreatorEntry&, WriteMode, std::string&);
template bool LayoutTextsPass(const ExtensionEntry&, bool (*)(std::string_view));
template bool LayoutTextsPass(const CreatorEntry&, bool (*)(std::string_view));
template bool SameLayoutTexts(const ExtensionEntry&, const ExtensionEntry&);
template bool SameLayoutTexts(const CreatorEntry&, const CreatorEntry&);
template bool SameLayoutTexts(const VerbEntry&, const VerbEntry&);
