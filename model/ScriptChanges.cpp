#include "model/ScriptChanges.h"

#include <algorithm>
#include <map>
#include <optional>
#include <span>
#include <string_view>

#include "model/AssociationFields.h"
#include "model/CatalogScan.h"
#include "model/DangerousTypes.h"
#include "model/EditFlags.h"
#include "model/KeyNames.h"
#include "model/RegistryLayout.h"
#include "model/RegistryLocation.h"
#include "model/VerbEdits.h"

namespace {

// The short forms of the roots that scripts from elsewhere use.
struct RootAbbreviation {
    const char* shortName;
    const char* longName;
};
constexpr RootAbbreviation kRootAbbreviations[] = {
    {"HKCR", "HKEY_CLASSES_ROOT"},
    {"HKLM", "HKEY_LOCAL_MACHINE"},
    {"HKCU", "HKEY_CURRENT_USER"},
};

enum class ScriptLayer { Merged, User, Machine };

// The layer a key path names and the path below its classes; none for a
// path outside the classes, or the classes' own key.
struct ClassesPath {
    ScriptLayer layer = ScriptLayer::Merged;
    std::string below;
};
std::optional<ClassesPath> InClasses(std::string path)
{
    const size_t rootEnd = path.find('\\');
    for (const RootAbbreviation& root : kRootAbbreviations)
        if (SameAsciiNoCase(std::string_view(path).substr(0, rootEnd), root.shortName))
            path.replace(0, rootEnd == std::string::npos ? path.size() : rootEnd, root.longName);
    const std::pair<const RegistryLocation&, ScriptLayer> layers[] = {
        {ClassesRoot(), ScriptLayer::Merged},
        {MachineClasses(), ScriptLayer::Machine},
        {UserClasses(), ScriptLayer::User},
    };
    for (const auto& [location, layer] : layers) {
        const std::string& name = location.ScriptName;
        if (path.size() > name.size() + 1 && path[name.size()] == '\\' &&
            SameAsciiNoCase(std::string_view(path).substr(0, name.size()), name))
            return ClassesPath{layer, path.substr(name.size() + 1)};
    }
    return std::nullopt;
}

// One step of the script on an entry's keys, with paths below the entry's
// key in lower case ("" for the key itself, else with a leading backslash).
enum class Step { RemoveKey, MakeKey, SetValue, ClearValue };
struct Event {
    Step step;
    std::string key;
    std::string value;
    std::string text;
    int line;         // where the script says it
    std::string item; // as a left-out line names it
};

bool AtOrAbove(const std::string& upper, const std::string& key)
{
    return key.size() >= upper.size() && key.compare(0, upper.size(), upper) == 0 &&
           (key.size() == upper.size() || key[upper.size()] == '\\');
}

// The last step that decides one value, or nullptr where the script says
// nothing of it.
const Event* ValueDecider(const std::vector<Event>& events, const std::string& key, const std::string& value)
{
    const Event* decider = nullptr;
    for (const Event& event : events)
        if ((event.step == Step::RemoveKey && AtOrAbove(event.key, key)) ||
            ((event.step == Step::SetValue || event.step == Step::ClearValue) && event.key == key &&
             event.value == value))
            decider = &event;
    return decider;
}

// What the script leaves in one value; said is false where it says nothing of it.
struct FinalValue {
    bool said = false;
    bool present = false;
    std::string text;
};
FinalValue ValueAfter(const std::vector<Event>& events, const std::string& key, const std::string& value)
{
    const Event* decider = ValueDecider(events, key, value);
    if (!decider)
        return {};
    return FinalValue{true, decider->step == Step::SetValue, decider->text};
}

// The last step that decides whether the key is there, or nullptr.
const Event* KeyDecider(const std::vector<Event>& events, const std::string& key)
{
    const Event* decider = nullptr;
    for (const Event& event : events)
        if ((event.step == Step::RemoveKey && AtOrAbove(event.key, key)) ||
            (event.step == Step::MakeKey && AtOrAbove(key, event.key)))
            decider = &event;
    return decider;
}

// Whether the key is there once the script has run; none where it says
// nothing of it.
std::optional<bool> KeyAfter(const std::vector<Event>& events, const std::string& key)
{
    const Event* decider = KeyDecider(events, key);
    if (!decider)
        return std::nullopt;
    return decider->step == Step::MakeKey;
}

// A field the script may set: a value of the layout below the entry's key.
struct Slot {
    std::string key;
    std::string value;
    LayoutRole role;
};
template <typename Entry>
void AddSlots(std::span<const LayoutValue<Entry>> layout, const std::string& prefix, std::vector<Slot>& slots)
{
    for (const LayoutValue<Entry>& value : layout)
        slots.push_back({LowerCaseName(prefix + value.subKey), LowerCaseName(value.valueName), value.role});
}

constexpr const char* kShell = "\\shell";

// The verb a path below a creator's key is about, as spelled; empty for none.
std::string VerbOfPath(const std::string& below)
{
    if (!AtOrAbove(kShell, LowerCaseName(below)) || below.size() <= 7)
        return {};
    const size_t end = below.find('\\', 7);
    return below.substr(7, end == std::string::npos ? std::string::npos : end - 7);
}

// One key block of the script, for an entry of the classes.
struct Block {
    const RegFileKey* key;
    std::string below; // below the entry's key, as spelled: "" or "\\sub\\key"
};
struct EntryGroup {
    std::string name; // as the script first spells it
    std::vector<Block> blocks;
    std::vector<Event> events;
    std::vector<std::string> verbs; // named by the script, each once
};

// Whether the script gives the entry's own key a "URL Protocol" value.
bool MarksScheme(const EntryGroup& group)
{
    return std::any_of(group.blocks.begin(), group.blocks.end(), [](const Block& block) {
        return block.below.empty() && !block.key->Delete &&
               std::any_of(block.key->Values.begin(), block.key->Values.end(), [](const RegFileValue& value) {
                   return !value.Delete && SameAsciiNoCase(value.Name, kUrlProtocolValue);
               });
    });
}

std::string ValueItem(const std::string& path, const std::string& name)
{
    return path + (name.empty() ? " @" : " \"" + name + "\"");
}

class Loader {
public:
    Loader(AssociationCatalog& catalog, const ScriptReads& reads) : catalog_(catalog), reads_(reads) {}

    ScriptLoad Run(const RegFile& script)
    {
        Group(script);
        std::map<std::string, std::string> namedCreators; // lower case: as spelled
        for (EntryGroup& group : groups_)
            if (IsExtension(group)) {
                Collect(group, ExtensionSlots());
                const FinalValue creator = ValueAfter(group.events, "", "");
                if (creator.present && !creator.text.empty())
                    namedCreators.emplace(LowerCaseName(creator.text), creator.text);
            }
        std::map<std::string, std::string> knownCreators;
        Walk(catalog_.CreatorMap, [&](const std::string& name, const CreatorEntry&) {
            knownCreators.emplace(LowerCaseName(name), name);
        });
        // A key an extension names stays a creator, also one that is a
        // scheme as well (a browser's): its change then shows, and warns,
        // on the extensions it reaches. Any other key may be a scheme the
        // machine has.
        const auto creatorKey = [&](const EntryGroup& group) {
            const std::string lower = LowerCaseName(group.name);
            return IsExtension(group) || knownCreators.count(lower) != 0 || namedCreators.count(lower) != 0;
        };
        if (!std::all_of(groups_.begin(), groups_.end(), creatorKey) && !catalog_.SchemesRead && reads_.Schemes)
            reads_.Schemes(catalog_);
        for (EntryGroup& group : groups_) {
            if (IsExtension(group))
                continue;
            const std::string lower = LowerCaseName(group.name);
            const auto known = knownCreators.find(lower);
            const auto named = namedCreators.find(lower);
            if (known == knownCreators.end() && named == namedCreators.end()) {
                if (MarksScheme(group) || Find(catalog_.SchemeMap, lower)) {
                    StageScheme(group);
                    continue;
                }
                for (const Block& block : group.blocks)
                    LeaveOut(block.key->Line, block.key->Path);
                continue;
            }
            group.name = known != knownCreators.end() ? known->second : named->second;
            Collect(group, CreatorSlots(group));
            StageCreator(group);
        }
        for (EntryGroup& group : groups_)
            if (IsExtension(group))
                StageExtension(group);
        std::stable_sort(leftOut_.begin(), leftOut_.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        load_.LeftOutCount = leftOut_.size();
        for (size_t at = 0; at < leftOut_.size() && at < kLeftOutNamed; ++at)
            load_.FirstLeftOut.push_back(leftOut_[at].second);
        std::sort(load_.DangerousExtensions.begin(), load_.DangerousExtensions.end());
        load_.DangerousExtensions.erase(
            std::unique(load_.DangerousExtensions.begin(), load_.DangerousExtensions.end()),
            load_.DangerousExtensions.end());
        return std::move(load_);
    }

private:
    static bool IsExtension(const EntryGroup& group) { return group.name[0] == '.'; }

    // Named in the order of the script's lines, whatever entry they belong
    // to; one step that several locked values share is named once.
    void LeaveOut(int line, const std::string& what, LeftOutReason reason = LeftOutReason::NoField)
    {
        std::pair<int, LeftOutItem> item{line, LeftOutItem{what, reason}};
        if (std::find(leftOut_.begin(), leftOut_.end(), item) == leftOut_.end())
            leftOut_.push_back(std::move(item));
    }

    DWORD FlagsOf(const std::string& name) const
    {
        return reads_.EditFlags && !name.empty() ? reads_.EditFlags(name) : 0;
    }

    // Each key line into the group of its entry, in script order; lines
    // outside the classes are left out at once.
    void Group(const RegFile& script)
    {
        std::map<std::string, size_t> index;
        for (const RegFileKey& key : script.Keys) {
            const std::optional<ClassesPath> path = InClasses(key.Path);
            if (!path || path->below.empty() || path->below[0] == '\\') {
                LeaveOut(key.Line, key.Path);
                continue;
            }
            load_.NamesUserClasses = load_.NamesUserClasses || path->layer == ScriptLayer::User;
            load_.NamesMachineClasses = load_.NamesMachineClasses || path->layer == ScriptLayer::Machine;
            const size_t nameEnd = path->below.find('\\');
            const std::string name = path->below.substr(0, nameEnd);
            const auto [at, added] = index.emplace(LowerCaseName(name), groups_.size());
            if (added)
                groups_.push_back(EntryGroup{name, {}, {}, {}});
            groups_[at->second].blocks.push_back(
                {&key, nameEnd == std::string::npos ? std::string() : path->below.substr(nameEnd)});
        }
    }

    std::vector<Slot> ExtensionSlots() const
    {
        std::vector<Slot> slots;
        AddSlots(ExtensionLayout(), "", slots);
        return slots;
    }

    std::vector<Slot> CreatorSlots(EntryGroup& group) const
    {
        std::vector<Slot> slots;
        AddSlots(CreatorLayout(), "", slots);
        slots.push_back({kShell, "", LayoutRole::Value}); // the default verb
        for (const Block& block : group.blocks) {
            const std::string verb = VerbOfPath(block.below);
            if (verb.empty() || std::any_of(group.verbs.begin(), group.verbs.end(),
                                            [&](const std::string& named) { return SameVerbName(named, verb); }))
                continue;
            group.verbs.push_back(verb);
            VerbEntry entry;
            entry.Name = verb;
            AddSlots(VerbLayout(entry), std::string(kShell) + "\\" + verb, slots);
        }
        return slots;
    }

    // The events of the group's blocks that fall on a field; the rest is
    // left out, a key whole, a value by its name.
    void Collect(EntryGroup& group, const std::vector<Slot>& slots)
    {
        for (const Block& block : group.blocks) {
            const std::string key = LowerCaseName(block.below);
            const bool known = std::any_of(slots.begin(), slots.end(), [&](const Slot& slot) {
                return AtOrAbove(key, slot.key);
            });
            if (!known) {
                LeaveOut(block.key->Line, block.key->Path);
                continue;
            }
            if (block.key->Delete) {
                group.events.push_back({Step::RemoveKey, key, {}, {}, block.key->Line, block.key->Path});
                continue;
            }
            group.events.push_back({Step::MakeKey, key, {}, {}, block.key->Line, block.key->Path});
            for (const RegFileValue& value : block.key->Values) {
                const std::string name = LowerCaseName(value.Name);
                const auto slot = std::find_if(slots.begin(), slots.end(), [&](const Slot& candidate) {
                    return candidate.key == key && candidate.value == name;
                });
                const bool text = (value.Type == REG_SZ || value.Type == REG_EXPAND_SZ) && value.Text;
                const std::string item = ValueItem(block.key->Path, value.Name);
                if (slot == slots.end() || slot->role == LayoutRole::Marker ||
                    (!value.Delete && !text && slot->role != LayoutRole::Presence)) {
                    LeaveOut(value.Line, item);
                    continue;
                }
                if (value.Delete)
                    group.events.push_back({Step::ClearValue, key, name, {}, value.Line, item});
                else
                    group.events.push_back(
                        {Step::SetValue, key, name, text ? *value.Text : std::string(), value.Line, item});
            }
        }
    }

    // The texts of the table as the script leaves them, where it says
    // anything of them; true when it said something.
    template <typename Entry>
    bool TakeTexts(const std::vector<Event>& events, const std::string& prefix, Entry& entry) const
    {
        bool said = false;
        for (const LayoutValue<Entry>& value : LayoutOf(entry)) {
            if (value.role == LayoutRole::Marker)
                continue;
            const std::string key = LowerCaseName(prefix + value.subKey);
            // The DDE key's being there is the entry's using DDE.
            if constexpr (requires { entry.UsesDde; })
                if (value.role == LayoutRole::DdeKey)
                    if (const std::optional<bool> there = KeyAfter(events, key)) {
                        entry.UsesDde = *there;
                        said = true;
                    }
            const FinalValue final = ValueAfter(events, key, LowerCaseName(value.valueName));
            if (!final.said)
                continue;
            said = true;
            if (value.role == LayoutRole::Presence)
                entry.*value.field = final.present ? "1" : "";
            else
                entry.*value.field = final.text;
        }
        return said;
    }

    static std::span<const LayoutValue<ExtensionEntry>> LayoutOf(const ExtensionEntry&) { return ExtensionLayout(); }
    static std::span<const LayoutValue<CreatorEntry>> LayoutOf(const CreatorEntry&) { return CreatorLayout(); }
    static std::span<const LayoutValue<VerbEntry>> LayoutOf(const VerbEntry& verb) { return VerbLayout(verb); }

    // An entry that now differs from before is an add where it was not
    // there (or deleted), else an edit.
    template <typename Entry>
    bool Counted(const std::optional<Entry>& before, const Entry& after)
    {
        if (before && before->State == after.State && *before == after)
            return false;
        ++(!before || before->State == esDeleted ? load_.Adds : load_.Edits);
        return true;
    }

    void NoteDangerous(const std::vector<std::string>& extensions)
    {
        for (const std::string& extension : extensions)
            if (IsDangerousType(extension))
                load_.DangerousExtensions.push_back(extension);
    }

    ImageLoader IconNoter()
    {
        return [this](const CreatorEntry& creator) { load_.NewIcons.push_back(creator.Name); };
    }

    void StageCreator(const EntryGroup& group)
    {
        const Event* keyDecider = KeyDecider(group.events, "");
        CreatorEntry* stored = Find(catalog_.CreatorMap, group.name);
        const bool live = stored && stored->State != esDeleted;
        const EditLocks locks = LocksOf(FlagsOf(group.name));
        if (keyDecider && keyDecider->step == Step::RemoveKey) {
            if (!live || IsRegistryPath(group.name))
                return;
            if (locks.Remove) {
                LeaveOut(keyDecider->line, keyDecider->item, LeftOutReason::RemoveLocked);
                return;
            }
            NoteDangerous(stored->Extensions);
            ApplyCreatorDelete(catalog_, group.name);
            ++load_.Deletes;
            return;
        }
        if (!stored && !keyDecider)
            return;
        if (stored && reads_.CreatorVerbs)
            reads_.CreatorVerbs(catalog_, group.name);
        stored = Find(catalog_.CreatorMap, group.name);
        const std::optional<CreatorEntry> before = stored ? std::optional<CreatorEntry>(*stored) : std::nullopt;
        const AssociationFields fields = WantedFields(group, live ? stored : nullptr, group.name);
        ApplyCreatorEdit(catalog_, fields, IconNoter(), locks);
        const CreatorEntry& after = catalog_.CreatorMap.at(group.name);
        if (Counted(before, after))
            NoteDangerous(after.Extensions);
        NoteKept(group, WorkingCreator(fields), after);
    }

    // A scheme's key is laid out as a creator's and staged through the
    // scheme's own rules; one Windows keeps to itself takes nothing.
    void StageScheme(EntryGroup& group)
    {
        const std::string key = LowerCaseName(group.name);
        SchemeEntry* stored = Find(catalog_.SchemeMap, key);
        const std::string name = stored ? stored->Name : group.name;
        const EditLocks locks = SchemeLocks(name, FlagsOf(name));
        if (locks.WholeDialog || (!stored && !IsSchemeName(name))) {
            const LeftOutReason reason = locks.Reserved      ? LeftOutReason::ReservedScheme
                                         : locks.WholeDialog ? LeftOutReason::Locked
                                                             : LeftOutReason::NoField;
            for (const Block& block : group.blocks)
                LeaveOut(block.key->Line, block.key->Path, reason);
            return;
        }
        Collect(group, CreatorSlots(group));
        const Event* keyDecider = KeyDecider(group.events, "");
        const bool live = stored && stored->State != esDeleted;
        if (keyDecider && keyDecider->step == Step::RemoveKey) {
            if (!live)
                return;
            if (locks.Remove) {
                LeaveOut(keyDecider->line, keyDecider->item, LeftOutReason::RemoveLocked);
                return;
            }
            ApplySchemeDelete(catalog_, key);
            ++load_.Deletes, ++load_.SchemeChanges;
            return;
        }
        if (stored && reads_.SchemeVerbs)
            reads_.SchemeVerbs(catalog_, key);
        stored = Find(catalog_.SchemeMap, key);
        const std::optional<SchemeEntry> before = stored ? std::optional<SchemeEntry>(*stored) : std::nullopt;
        AssociationFields fields = WantedFields(group, live ? stored : nullptr, name);
        if (stored) {
            ApplySchemeEdit(catalog_, key, fields, locks);
        } else {
            fields.Extension = name;
            ApplySchemeAdd(catalog_, fields, locks);
        }
        const SchemeEntry& after = catalog_.SchemeMap.at(key);
        if (Counted(before, after)) {
            ++load_.SchemeChanges;
            if (!before || before->State == esDeleted || before->IconSource != after.IconSource)
                load_.NewSchemeIcons.push_back(key);
        }
        NoteKept(group, WorkingCreator(fields), after);
    }

    // The creator's part of the dialog as the script leaves it: the live
    // entry's values with the script's over them, the verbs through the
    // rules of their page.
    AssociationFields WantedFields(const EntryGroup& group, const CreatorEntry* live, const std::string& name) const
    {
        CreatorEntry working = live ? *live : CreatorEntry{};
        working.Name = name;
        TakeTexts(group.events, "", working);
        AssociationFields fields;
        ShowCreator(fields, working);
        if (!live) {
            fields.VerbsRead = true;
            fields.VerbsOf = name;
            fields.Verbs.clear();
        }
        StageVerbs(group, fields);
        return fields;
    }

    // Each value the script sets that the staged entry does not hold: the
    // locks kept it. Named by the step that said it.
    template <typename Entry>
    void NoteKeptValues(const std::vector<Event>& events, const std::string& prefix, const Entry& wanted,
                        const Entry& staged)
    {
        for (const LayoutValue<Entry>& value : LayoutOf(wanted)) {
            if (value.role == LayoutRole::Marker)
                continue;
            const std::string key = LowerCaseName(prefix + value.subKey);
            const Event* decider = ValueDecider(events, key, LowerCaseName(value.valueName));
            bool kept = decider && wanted.*value.field != staged.*value.field;
            if constexpr (requires { wanted.UsesDde; })
                if (value.role == LayoutRole::DdeKey && wanted.UsesDde != staged.UsesDde)
                    if (const Event* keyDecider = KeyDecider(events, key))
                        decider = keyDecider, kept = true;
            // The scheme's mark is no field of the dialog: the rules keep it
            // as the key has it, lock or not.
            const bool mark = SameAsciiNoCase(value.valueName, kUrlProtocolValue);
            if (kept)
                LeaveOut(decider->line, decider->item, mark ? LeftOutReason::NoField : LeftOutReason::Locked);
        }
    }

    void NoteKept(const EntryGroup& group, CreatorEntry wanted, const CreatorEntry& staged)
    {
        // The dialog's fields carry no scheme mark: the script's own stands.
        if (const FinalValue mark = ValueAfter(group.events, "", LowerCaseName(kUrlProtocolValue)); mark.said)
            wanted.UrlProtocol = mark.present ? "1" : "";
        NoteKeptValues(group.events, "", wanted, staged);
        if (!wanted.VerbsRead || !staged.VerbsRead)
            return;
        for (const std::string& name : group.verbs) {
            const std::string key = std::string(kShell) + "\\" + name;
            const VerbEntry* want = wanted.FindVerb(name);
            const VerbEntry* kept = staged.FindVerb(name);
            if (want && kept) {
                NoteKeptValues(group.events, key, *want, *kept);
            } else if (want || kept) {
                if (const Event* decider = KeyDecider(group.events, LowerCaseName(key)))
                    LeaveOut(decider->line, decider->item, want ? LeftOutReason::Locked : LeftOutReason::RemoveLocked);
            }
        }
        const Event* defaultVerb = ValueDecider(group.events, kShell, "");
        if (defaultVerb && wanted.DefaultVerb != staged.DefaultVerb)
            LeaveOut(defaultVerb->line, defaultVerb->item, LeftOutReason::Locked);
    }

    // The verbs the catalog lists and those the script names, each through
    // the rules of the page of verbs.
    void StageVerbs(const EntryGroup& group, AssociationFields& fields) const
    {
        std::vector<std::string> names = group.verbs;
        for (const VerbEntry& verb : fields.Verbs)
            if (std::none_of(names.begin(), names.end(), [&](const std::string& n) { return SameVerbName(n, verb.Name); }))
                names.push_back(verb.Name);
        for (const std::string& name : names) {
            const std::string key = std::string(kShell) + "\\" + name;
            const std::optional<bool> there = KeyAfter(group.events, LowerCaseName(key));
            VerbEntry verb = VerbToEdit(fields, name);
            const bool listed = !verb.Name.empty();
            if (there == false) {
                DeleteVerb(fields, name);
                if (!listed || !verb.IsOpen())
                    continue;
            }
            // A verb the script does not bring back stays as the catalog has it.
            if (!listed && there != true)
                continue;
            if (!listed)
                verb.Name = name;
            const bool said = TakeTexts(group.events, key, verb);
            // Open's command and DDE are the creator's, staged above.
            if (verb.IsOpen()) {
                verb.Command = fields.Command, verb.UsesDde = fields.UsesDde;
                verb.DdeMessage = fields.DdeMessage, verb.DdeApplication = fields.DdeApplication;
                verb.DdeIfExec = fields.DdeIfExec, verb.DdeTopic = fields.DdeTopic;
            }
            if (!listed)
                AddVerb(fields, verb);
            else if (said)
                EditVerb(fields, verb);
        }
        const FinalValue defaultVerb = ValueAfter(group.events, kShell, "");
        if (defaultVerb.said) {
            fields.VerbsRead = true;
            fields.DefaultVerb = defaultVerb.text;
        }
    }

    void StageExtension(const EntryGroup& group)
    {
        const std::string key = LowerCaseName(group.name);
        const Event* keyDecider = KeyDecider(group.events, "");
        ExtensionEntry* stored = Find(catalog_.ExtensionMap, key);
        const bool live = stored && stored->State != esDeleted;
        if (keyDecider && keyDecider->step == Step::RemoveKey) {
            if (live) {
                // As the delete dialog: the creator's flags may forbid it.
                if (LocksOf(FlagsOf(stored->Creator)).Remove) {
                    LeaveOut(keyDecider->line, keyDecider->item, LeftOutReason::RemoveLocked);
                    return;
                }
                NoteDangerous({key});
                ApplyDelete(catalog_, FieldsOf(catalog_, key), false);
                ++load_.Deletes;
            }
            return;
        }
        if (!stored && !keyDecider)
            return;
        const std::optional<ExtensionEntry> before = stored ? std::optional<ExtensionEntry>(*stored) : std::nullopt;
        ExtensionEntry working = live ? *stored : ExtensionEntry{};
        working.Name = key;
        TakeTexts(group.events, "", working);
        AssociationFields fields;
        if (!working.Creator.empty()) {
            if (Find(catalog_.CreatorMap, working.Creator)) {
                if (reads_.CreatorVerbs)
                    reads_.CreatorVerbs(catalog_, working.Creator);
                fields = ChosenCreatorFields(catalog_, working.Creator);
            } else {
                fields.Creator = working.Creator;
            }
        }
        ShowExtension(fields, working);
        fields.Extension = key;
        // The locks of the creator the extension names, as the dialogs take them.
        const EditLocks locks = LocksOf(FlagsOf(working.Creator));
        if (!stored) {
            const AddResult added = ApplyAdd(catalog_, fields, IconNoter(), locks);
            if (added.newExtension)
                load_.AddedExtensions.push_back(added.extension);
            NoteDangerous({key});
            ++load_.Adds;
            return;
        }
        ApplyEdit(catalog_, fields, IconNoter(), locks);
        const ExtensionEntry& after = catalog_.ExtensionMap.at(key);
        if (Counted(before, after))
            NoteDangerous({key});
        NoteKeptValues(group.events, "", working, after);
    }

    AssociationCatalog& catalog_;
    const ScriptReads& reads_;
    std::vector<EntryGroup> groups_;
    std::vector<std::pair<int, LeftOutItem>> leftOut_; // by line
    ScriptLoad load_;
};

} // namespace

ScriptLoad StageScriptChanges(AssociationCatalog& catalog, const RegFile& script, const ScriptReads& reads)
{
    return Loader(catalog, reads).Run(script);
}

ScriptReads RegistryReads(const AssociationLocations& locations)
{
    ScriptReads reads;
    reads.CreatorVerbs = [locations](AssociationCatalog& catalog, const std::string& creator) {
        ReadCreatorVerbs(catalog, locations, creator);
    };
    reads.SchemeVerbs = [locations](AssociationCatalog& catalog, const std::string& scheme) {
        ReadSchemeVerbs(catalog, locations, scheme);
    };
    reads.Schemes = [locations](AssociationCatalog& catalog) {
        ReadSchemes(catalog, locations, ReadMergedKeyNames(locations));
    };
    reads.EditFlags = [locations](const std::string& name) { return ReadShownEditFlags(name, locations); };
    return reads;
}
