// The rules that stage a change in the catalog, over the catalog and the
// plain values of the association dialog: which entries change, which get
// which mark, how the creators' extension lists move, and what each change
// reports. The dialogs only move these values to and from their controls,
// and anything else that stages changes goes through the same rules; nothing
// here opens a window or touches the registry. What the user changed is
// what an entry then holds against its Read snapshot, which the commit
// writes.
#pragma once
#include <functional>
#include <string>

#include "model/AssociationCatalog.h"
#include "model/AssociationFields.h"
#include "model/EditFlags.h"

// Told of a creator whose icon source the workflow set, so that its rows
// get a new image.
using ImageLoader = std::function<void(const CreatorEntry&)>;

// The association of one extension as the edit and delete dialogs show it:
// the extension's fields and, when it names one, its creator's. Looks both
// up with FindOrAdd.
AssociationFields FieldsOf(AssociationCatalog& catalog, const std::string& extension);

// The creator's part of the dialog for the creator chooser's pick.
AssociationFields ChosenCreatorFields(AssociationCatalog& catalog, const std::string& creator);

// Writes a confirmed edit into the catalog and marks what changed. True
// when the extension, or the creator the dialog names, now carries a mark
// (also one left by an earlier workflow). A creator named by a registry
// path keeps each value that the dialog leaves empty; a deleted creator
// named again becomes esAdded with the dialog's values. The add workflow
// treats its creator the same way. locks are those of the creator the
// dialog names: a field they lock keeps the stored creator's value (and the
// content type the stored extension's), whatever the dialog says.
bool ApplyEdit(AssociationCatalog& catalog, const AssociationFields& fields, const ImageLoader& loadImage,
               const EditLocks& locks = {});

// The extension name the add workflow stores: a dot in front when missing,
// then lower case by the scan's conversion. Empty stays empty.
std::string NormalisedExtensionName(const std::string& typed);

struct AddResult {
    bool changed = false;      // as ApplyEdit's result
    bool newExtension = false; // the add created the extension entry
    std::string extension;     // the normalised name
};
// Writes a confirmed add into the catalog. An empty extension changes
// nothing.
AddResult ApplyAdd(AssociationCatalog& catalog, const AssociationFields& fields, const ImageLoader& loadImage,
                   const EditLocks& locks = {});

// Marks the extension the delete dialog shows as deleted, and its creator
// too when no other extension uses it and removeCreator allows. A creator
// named by a registry path (a key of some other structure, such as
// CLSID\{...}) is never marked. Both keep what the scan read of them.
void ApplyDelete(AssociationCatalog& catalog, const AssociationFields& fields, bool removeCreator = true);

// The creator's part of the dialog alone, staged as ApplyEdit stages it
// but without an extension to list: a script may change a creator without
// naming any extension, and the creator's locks keep what they lock. True
// when the creator carries a mark.
bool ApplyCreatorEdit(AssociationCatalog& catalog, const AssociationFields& fields, const ImageLoader& loadImage,
                      const EditLocks& locks = {});
// Marks the creator deleted as ApplyDelete does, whatever extensions still
// name it; one named by a registry path, or not in the catalog, stays.
void ApplyCreatorDelete(AssociationCatalog& catalog, const std::string& creator);

// A typed name that is a registry path rather than a key name: committed,
// it would write below some other key. The field at fault, or none when the
// names are fine. Creators the catalog already holds under such a name stay
// acceptable.
struct NameProblem {
    std::string AssociationFields::*field = nullptr;
    bool notScheme = false;  // the field holds no name IsSchemeName accepts
    EditLocks lockedScheme;  // with WholeDialog: the typed scheme is there, only shown
};
NameProblem CheckTypedNames(const AssociationCatalog& catalog, const AssociationFields& fields, bool extensionTyped);

// The schemes of the protocol view go through the same dialog: the scheme's
// name stands in the extension's place and its key's texts in the
// creator's. FieldsOfScheme shows the scheme under that key of the
// SchemeMap, which must be there.
AssociationFields FieldsOfScheme(const SchemeEntry& scheme);

// A scheme's name as URLs spell it: an ASCII letter, then letters, digits,
// "+", "-" and ".".
bool IsSchemeName(const std::string& name);

// The name typed into the add dialog of the protocol view, checked on OK
// as CheckTypedNames checks an extension's: a registry path is no scheme
// name either, so one rule covers both. locks are those of the scheme of
// that name: adding one that is only shown would change it.
NameProblem CheckTypedSchemeName(const AssociationFields& fields, const EditLocks& locks);

// Writes a confirmed edit into the scheme under that key and marks it when
// it changed; the fields locks lock keep the stored values, and the "URL
// Protocol" value stays as it is. A deleted scheme is added anew. True when
// the scheme carries a mark.
bool ApplySchemeEdit(AssociationCatalog& catalog, const std::string& key, const AssociationFields& fields,
                     const EditLocks& locks = {});

// Adds the scheme named in fields.Extension with its "URL Protocol" value
// and the dialog's texts, or edits it as above when the catalog holds it.
// An add starts from empty fields, so there a value or verb it leaves
// unset keeps what the scheme holds: adding a name that is already there
// never clears what the user did not type. Answers the scheme's key, empty
// for a name IsSchemeName refuses.
std::string ApplySchemeAdd(AssociationCatalog& catalog, const AssociationFields& fields, const EditLocks& locks = {});

// Marks the scheme under that key deleted, keeping what the scan read of it.
void ApplySchemeDelete(AssociationCatalog& catalog, const std::string& key);
