#include "model/CatalogEdits.h"

#include <algorithm>
#include <iterator>

#include "model/KeyNames.h"
#include "model/RegistryLayout.h"

namespace {

// Every field the dialog sets; the extension list stays.
void TakeSettings(CreatorEntry& stored, const CreatorEntry& working)
{
    stored.Name = working.Name;
    stored.UsesDde = working.UsesDde;
    for (const LayoutValue<CreatorEntry>& value : CreatorLayout())
        stored.*value.field = working.*value.field;
    stored.ParseIconSource();
    // Verbs the dialog never read stay as they are.
    if (working.VerbsRead) {
        stored.VerbsRead = true;
        stored.DefaultVerb = working.DefaultVerb;
        stored.Verbs = working.Verbs;
    }
}

void TakeValues(ExtensionEntry& stored, ExtensionEntry working, const EditLocks& locks)
{
    if (locks.ContentType)
        working.ContentType = stored.ContentType;
    if (stored == working)
        return;
    stored.Name = working.Name;
    stored.Creator = working.Creator;
    stored.ContentType = working.ContentType;
    stored.State = esModified;
}

// The extension no longer counts for the creator it named before; that
// creator keeps its mark and stays, even with an empty list.
void LeavePreviousCreator(AssociationCatalog& catalog, const std::string& previous, const std::string& extension)
{
    if (CreatorEntry* creator = Find(catalog.CreatorMap, previous))
        creator->RemoveExtension(extension);
}

// What a creator's EditFlags lock, field by field.
struct LockedField {
    bool EditLocks::*lock;
    std::string CreatorEntry::*field;
};
constexpr LockedField kLockedFields[] = {
    {&EditLocks::Kind, &CreatorEntry::Kind},           {&EditLocks::Icon, &CreatorEntry::IconSource},
    {&EditLocks::Command, &CreatorEntry::Command},      {&EditLocks::Dde, &CreatorEntry::DdeMessage},
    {&EditLocks::Dde, &CreatorEntry::DdeApplication},  {&EditLocks::Dde, &CreatorEntry::DdeIfExec},
    {&EditLocks::Dde, &CreatorEntry::DdeTopic},
};

// A verb of the list, deleted or not, or nullptr.
const VerbEntry* ListedVerb(const std::vector<VerbEntry>& verbs, const std::string& name)
{
    for (const VerbEntry& verb : verbs)
        if (SameVerbName(verb.Name, name))
            return &verb;
    return nullptr;
}

// What the verb locks keep: no verb added, edited or deleted where they
// say so, and the commands and DDE of every verb where those are locked.
void KeepLockedVerbs(CreatorEntry& working, const CreatorEntry& stored, const EditLocks& locks)
{
    if (!working.VerbsRead)
        return;
    if (locks.WholeDialog) {
        working.VerbsRead = stored.VerbsRead;
        working.DefaultVerb = stored.DefaultVerb;
        working.Verbs = stored.Verbs;
        return;
    }
    std::vector<VerbEntry> kept;
    for (VerbEntry verb : working.Verbs) {
        const VerbEntry* before = ListedVerb(stored.Verbs, verb.Name);
        if (!before) {
            if (!locks.NewVerb)
                kept.push_back(std::move(verb));
            continue;
        }
        if ((verb.State == esDeleted && locks.RemoveVerb) || (verb.State != esDeleted && locks.EditVerb)) {
            kept.push_back(*before);
            continue;
        }
        if (locks.Command)
            verb.Command = before->Command;
        if (locks.Dde) {
            verb.UsesDde = before->UsesDde;
            verb.DdeMessage = before->DdeMessage, verb.DdeApplication = before->DdeApplication;
            verb.DdeIfExec = before->DdeIfExec, verb.DdeTopic = before->DdeTopic;
        }
        kept.push_back(std::move(verb));
    }
    working.Verbs = std::move(kept);
}

// The dialog may show a locked field as the user cannot change it, or not
// at all (the add dialog): whatever it confirms, the stored values stand.
void KeepLockedValues(CreatorEntry& working, const CreatorEntry& stored, const EditLocks& locks)
{
    for (const LockedField& locked : kLockedFields)
        if (locks.*locked.lock)
            working.*locked.field = stored.*locked.field;
    if (locks.Dde)
        working.UsesDde = stored.UsesDde;
    working.ParseIconSource();
    KeepLockedVerbs(working, stored, locks);
}

// A creator named by a registry path is a key of some other structure
// (CLSID\{...}): the dialog only adds to it. A field left empty keeps the
// stored value, and DDE stays on once on.
void KeepUnsetValues(CreatorEntry& working, const CreatorEntry& stored)
{
    for (const FieldBinding& binding : FieldTable())
        if (binding.creatorField && binding.readBack && (working.*binding.creatorField).empty())
            working.*binding.creatorField = stored.*binding.creatorField;
    working.UsesDde = working.UsesDde || stored.UsesDde;
    working.ParseIconSource();
}

// The creator named in the dialog takes its values, or is created from
// them, and lists the extension. A deleted creator that gets an extension
// again is added anew with the dialog's values, even when they equal its
// cleared ones.
void ApplyCreatorPart(AssociationCatalog& catalog, const AssociationFields& fields, const std::string& extension,
                      const ImageLoader& loadImage, const EditLocks& locks)
{
    CreatorEntry working = WorkingCreator(fields);
    bool reloadIcon = false;
    CreatorEntry* stored = Find(catalog.CreatorMap, working.Name);
    // The dialog has no field for the scheme's mark: it stays as the key holds it.
    if (stored)
        working.UrlProtocol = stored->UrlProtocol;
    if (stored && IsRegistryPath(working.Name))
        KeepUnsetValues(working, *stored);
    // A name that is not in the catalog may still be a locked key in
    // another spelling: its locked fields are then left out.
    if (!stored || stored->State != esDeleted)
        KeepLockedValues(working, stored ? *stored : CreatorEntry{}, locks);
    if (!stored) {
        stored = &catalog.CreatorMap.emplace(working.Name, working).first->second;
        stored->State = esAdded;
        reloadIcon = true;
    } else if (const bool deleted = stored->State == esDeleted; deleted || !(*stored == working)) {
        reloadIcon = deleted || stored->IconSource != working.IconSource;
        TakeSettings(*stored, working);
        stored->State = deleted ? esAdded : esModified;
    }
    if (!extension.empty())
        stored->AddExtension(extension);
    if (reloadIcon && loadImage)
        loadImage(*stored);
}

// Cleared, but with where it lives and what the scan read of it: added
// again, only what then differs from the read is written.
template <typename Entry>
void MarkDeleted(Entry& entry, const std::string& name)
{
    const ClassesOrigin origin = entry.Origin;
    std::optional<LayoutSnapshot> read = std::move(entry.Read);
    entry.Clear();
    entry.Name = name;
    entry.Origin = origin;
    entry.Read = std::move(read);
    entry.State = esDeleted;
}

bool CarriesMark(const AssociationCatalog& catalog, const std::string& extension, const std::string& creator)
{
    const ExtensionEntry* stored = Find(catalog.ExtensionMap, extension);
    if (stored && stored->State != esUnchanged)
        return true;
    if (creator.empty())
        return false;
    const CreatorEntry* named = Find(catalog.CreatorMap, creator);
    return named && named->State != esUnchanged;
}

// The verbs an add leaves out stay the scheme's; the dialog's own come
// after them, replacing any of the same name.
void KeepUnsetVerbs(CreatorEntry& working, const CreatorEntry& stored)
{
    if (!working.VerbsRead || !stored.VerbsRead)
        return;
    std::vector<VerbEntry> verbs;
    for (const VerbEntry& verb : stored.Verbs)
        if (!ListedVerb(working.Verbs, verb.Name))
            verbs.push_back(verb);
    std::move(working.Verbs.begin(), working.Verbs.end(), std::back_inserter(verbs));
    working.Verbs = std::move(verbs);
    if (working.DefaultVerb.empty())
        working.DefaultVerb = stored.DefaultVerb;
}

// Stages the dialog's values in a scheme: a name, not a creator, so the
// key's texts take the dialog's and the "URL Protocol" value stays. An add
// (keepUnset) only fills in. True when the scheme carries a mark.
bool StageScheme(SchemeEntry& stored, const AssociationFields& fields, const EditLocks& locks, bool keepUnset)
{
    AssociationFields named = fields;
    named.Creator = stored.Name;
    CreatorEntry working = WorkingCreator(named);
    const bool deleted = stored.State == esDeleted;
    // A deleted scheme was cleared: added again, it is a scheme again.
    working.UrlProtocol = deleted ? "1" : stored.UrlProtocol;
    if (!deleted && keepUnset) {
        KeepUnsetValues(working, stored);
        KeepUnsetVerbs(working, stored);
    }
    if (!deleted)
        KeepLockedValues(working, stored, locks);
    if (deleted || !(static_cast<const CreatorEntry&>(stored) == working)) {
        TakeSettings(stored, working);
        if (deleted || stored.State == esUnchanged)
            stored.State = deleted ? esAdded : esModified;
    }
    return stored.State != esUnchanged;
}

} // namespace

AssociationFields FieldsOf(AssociationCatalog& catalog, const std::string& extension)
{
    const ExtensionEntry& entry = FindOrAdd(catalog.ExtensionMap, extension);
    AssociationFields fields;
    if (!entry.Creator.empty())
        fields = ChosenCreatorFields(catalog, entry.Creator);
    ShowExtension(fields, entry);
    // The row's key, whatever name the entry holds.
    fields.Extension = extension;
    return fields;
}

AssociationFields ChosenCreatorFields(AssociationCatalog& catalog, const std::string& creator)
{
    AssociationFields fields;
    ShowCreator(fields, FindOrAdd(catalog.CreatorMap, creator));
    // The name asked for, also when only the lookup made the entry.
    fields.Creator = creator;
    return fields;
}

bool ApplyEdit(AssociationCatalog& catalog, const AssociationFields& fields, const ImageLoader& loadImage,
               const EditLocks& locks)
{
    const std::string& extension = fields.Extension;
    ExtensionEntry& stored = FindOrAdd(catalog.ExtensionMap, extension);
    LeavePreviousCreator(catalog, stored.Creator, extension);
    TakeValues(stored, WorkingExtension(fields), locks);
    if (!fields.Creator.empty())
        ApplyCreatorPart(catalog, fields, extension, loadImage, locks);
    return CarriesMark(catalog, extension, fields.Creator);
}

std::string NormalisedExtensionName(const std::string& typed)
{
    if (typed.empty())
        return typed;
    return LowerCaseName(typed[0] == '.' ? typed : "." + typed);
}

AddResult ApplyAdd(AssociationCatalog& catalog, const AssociationFields& fields, const ImageLoader& loadImage,
                   const EditLocks& locks)
{
    AddResult result;
    result.extension = NormalisedExtensionName(fields.Extension);
    const std::string& extension = result.extension;
    if (extension.empty())
        return result;
    ExtensionEntry working = WorkingExtension(fields);
    working.Name = extension;
    if (ExtensionEntry* stored = Find(catalog.ExtensionMap, extension)) {
        LeavePreviousCreator(catalog, stored->Creator, extension);
        TakeValues(*stored, working, locks);
    } else {
        working.State = esAdded;
        catalog.ExtensionMap.emplace(extension, working);
        result.newExtension = true;
    }
    if (!fields.Creator.empty())
        ApplyCreatorPart(catalog, fields, extension, loadImage, locks);
    result.changed = CarriesMark(catalog, extension, fields.Creator);
    return result;
}

void ApplyDelete(AssociationCatalog& catalog, const AssociationFields& fields, bool removeCreator)
{
    const std::string& extension = fields.Extension;
    MarkDeleted(FindOrAdd(catalog.ExtensionMap, extension), extension);
    if (fields.Creator.empty())
        return;
    CreatorEntry& creator = FindOrAdd(catalog.CreatorMap, fields.Creator);
    creator.RemoveExtension(extension);
    if (creator.ExtensionCount != 0 || IsRegistryPath(fields.Creator) || !removeCreator)
        return;
    MarkDeleted(creator, fields.Creator);
}

bool ApplyCreatorEdit(AssociationCatalog& catalog, const AssociationFields& fields, const ImageLoader& loadImage,
                      const EditLocks& locks)
{
    if (fields.Creator.empty())
        return false;
    ApplyCreatorPart(catalog, fields, std::string(), loadImage, locks);
    return CarriesMark(catalog, std::string(), fields.Creator);
}

void ApplyCreatorDelete(AssociationCatalog& catalog, const std::string& creator)
{
    CreatorEntry* stored = Find(catalog.CreatorMap, creator);
    if (stored && !IsRegistryPath(creator))
        MarkDeleted(*stored, creator);
}

NameProblem CheckTypedNames(const AssociationCatalog& catalog, const AssociationFields& fields, bool extensionTyped)
{
    if (extensionTyped && IsRegistryPath(fields.Extension))
        return {&AssociationFields::Extension};
    if (IsRegistryPath(fields.Creator) && !Find(catalog.CreatorMap, fields.Creator))
        return {&AssociationFields::Creator};
    return {};
}

AssociationFields FieldsOfScheme(const SchemeEntry& scheme)
{
    AssociationFields fields;
    ShowCreator(fields, scheme);
    fields.Extension = scheme.Name;
    fields.ExtensionText.clear();
    return fields;
}

bool IsSchemeName(const std::string& name)
{
    const auto letter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    const auto allowed = [&](char c) {
        return letter(c) || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
    };
    return !name.empty() && letter(name[0]) && std::all_of(name.begin(), name.end(), allowed);
}

NameProblem CheckTypedSchemeName(const AssociationFields& fields, const EditLocks& locks)
{
    if (!IsSchemeName(fields.Extension))
        return {&AssociationFields::Extension, true};
    if (locks.WholeDialog)
        return {&AssociationFields::Extension, false, locks};
    return {};
}

bool ApplySchemeEdit(AssociationCatalog& catalog, const std::string& key, const AssociationFields& fields,
                     const EditLocks& locks)
{
    SchemeEntry* stored = Find(catalog.SchemeMap, key);
    return stored && StageScheme(*stored, fields, locks, false);
}

std::string ApplySchemeAdd(AssociationCatalog& catalog, const AssociationFields& fields, const EditLocks& locks)
{
    if (!IsSchemeName(fields.Extension))
        return {};
    const std::string key = LowerCaseName(fields.Extension);
    if (SchemeEntry* stored = Find(catalog.SchemeMap, key)) {
        StageScheme(*stored, fields, locks, true);
        return key;
    }
    AssociationFields named = fields;
    named.Creator = fields.Extension;
    SchemeEntry& added = catalog.SchemeMap[key];
    static_cast<CreatorEntry&>(added) = WorkingCreator(named);
    added.UrlProtocol = "1";
    added.State = esAdded;
    return key;
}

void ApplySchemeDelete(AssociationCatalog& catalog, const std::string& key)
{
    if (SchemeEntry* scheme = Find(catalog.SchemeMap, key))
        MarkDeleted(*scheme, scheme->Name);
}
