// The rules of the edit, add and delete workflows and of the creator
// chooser, over the catalog and the plain values of the association dialog:
// which entries change, which get which mark, how the creators' extension
// lists move, and what each workflow reports. The dialogs only move these
// values to and from their controls; nothing here opens a window or touches
// the registry.
#pragma once
#include <functional>
#include <string>

#include "dialogs/AssociationFields.h"
#include "model/AssociationCatalog.h"

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
// treats its creator the same way.
bool ApplyEdit(AssociationCatalog& catalog, const AssociationFields& fields, const ImageLoader& loadImage);

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
AddResult ApplyAdd(AssociationCatalog& catalog, const AssociationFields& fields, const ImageLoader& loadImage);

// Marks the extension the delete dialog shows as deleted, and its creator
// too when no other extension uses it. A creator named by a registry path
// (a key of some other structure, such as CLSID\{...}) is never marked.
void ApplyDelete(AssociationCatalog& catalog, const AssociationFields& fields);

// A typed name that is a registry path rather than a key name: committed,
// it would write below some other key. The control to focus and the
// message, or control 0 when the names are fine. Creators the catalog
// already holds under such a name stay acceptable.
struct NameProblem {
    int control = 0;
    const char* message = nullptr;
};
NameProblem CheckTypedNames(const AssociationCatalog& catalog, const AssociationFields& fields, bool extensionTyped);

inline constexpr const char* kExtensionPathMessage = "拡張子に「\\」を使うことはできません。";
inline constexpr const char* kCreatorPathMessage = "新しいクリエーターの名前に「\\」を使うことはできません。";
