#include "dialogs/Workflows.h"

#include "ui/resource.h"
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
}

void TakeValues(ExtensionEntry& stored, const ExtensionEntry& working)
{
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
                      const ImageLoader& loadImage)
{
    CreatorEntry working = WorkingCreator(fields);
    bool reloadIcon = false;
    CreatorEntry* stored = Find(catalog.CreatorMap, working.Name);
    if (stored && IsRegistryPath(working.Name))
        KeepUnsetValues(working, *stored);
    if (!stored) {
        stored = &catalog.CreatorMap.emplace(working.Name, working).first->second;
        stored->State = esAdded;
        reloadIcon = true;
    } else if (const bool deleted = stored->State == esDeleted; deleted || !(*stored == working)) {
        reloadIcon = deleted || stored->IconSource != working.IconSource;
        TakeSettings(*stored, working);
        stored->State = deleted ? esAdded : esModified;
    }
    stored->AddExtension(extension);
    if (reloadIcon && loadImage)
        loadImage(*stored);
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

bool ApplyEdit(AssociationCatalog& catalog, const AssociationFields& fields, const ImageLoader& loadImage)
{
    const std::string& extension = fields.Extension;
    ExtensionEntry& stored = FindOrAdd(catalog.ExtensionMap, extension);
    LeavePreviousCreator(catalog, stored.Creator, extension);
    TakeValues(stored, WorkingExtension(fields));
    if (!fields.Creator.empty())
        ApplyCreatorPart(catalog, fields, extension, loadImage);
    return CarriesMark(catalog, extension, fields.Creator);
}

std::string NormalisedExtensionName(const std::string& typed)
{
    if (typed.empty())
        return typed;
    return LowerCaseName(typed[0] == '.' ? typed : "." + typed);
}

AddResult ApplyAdd(AssociationCatalog& catalog, const AssociationFields& fields, const ImageLoader& loadImage)
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
        TakeValues(*stored, working);
    } else {
        working.State = esAdded;
        catalog.ExtensionMap.emplace(extension, working);
        result.newExtension = true;
    }
    if (!fields.Creator.empty())
        ApplyCreatorPart(catalog, fields, extension, loadImage);
    result.changed = CarriesMark(catalog, extension, fields.Creator);
    return result;
}

void ApplyDelete(AssociationCatalog& catalog, const AssociationFields& fields)
{
    const std::string& extension = fields.Extension;
    ExtensionEntry& entry = FindOrAdd(catalog.ExtensionMap, extension);
    entry.Clear();
    entry.Name = extension;
    entry.State = esDeleted;
    if (fields.Creator.empty())
        return;
    CreatorEntry& creator = FindOrAdd(catalog.CreatorMap, fields.Creator);
    creator.RemoveExtension(extension);
    if (creator.ExtensionCount != 0 || IsRegistryPath(fields.Creator))
        return;
    creator.Clear();
    creator.Name = fields.Creator;
    creator.State = esDeleted;
}

NameProblem CheckTypedNames(const AssociationCatalog& catalog, const AssociationFields& fields, bool extensionTyped)
{
    if (extensionTyped && IsRegistryPath(fields.Extension))
        return {IDC_ASSOC_EDIT10, kExtensionPathMessage};
    if (IsRegistryPath(fields.Creator) && !Find(catalog.CreatorMap, fields.Creator))
        return {IDC_ASSOC_EDIT9, kCreatorPathMessage};
    return {};
}
