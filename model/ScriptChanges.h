// A registry script read for review: what it would change in the catalog,
// staged through the same rules as the dialogs, so the list shows it marked
// and only a commit writes it. Only keys of the classes that map to a field
// of an association come in; everything else is counted and named as left
// out. No windows and no registry here, but for the verbs read through the
// caller.
#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "model/AssociationCatalog.h"
#include "model/CatalogEdits.h"
#include "model/RegFile.h"

// What loading a script did, counted by entry (an extension and a creator
// are one each).
struct ScriptLoad {
    size_t Edits = 0;
    size_t Adds = 0;
    size_t Deletes = 0;
    size_t LeftOutCount = 0;
    std::vector<std::string> FirstLeftOut; // the first key paths left out, each with its value name where only that was
    bool NamesUserClasses = false;         // HKEY_CURRENT_USER\Software\Classes
    bool NamesMachineClasses = false;      // HKEY_LOCAL_MACHINE\Software\Classes
    // Extensions whose files run code (IsDangerousType) that a change
    // touches, directly or through their creator; sorted, each once.
    std::vector<std::string> DangerousExtensions;
    std::vector<std::string> AddedExtensions; // keys of the rows the list gains
    std::vector<std::string> NewIcons;        // creators whose icon source changed

    size_t Changes() const { return Edits + Adds + Deletes; }
};

inline constexpr size_t kLeftOutNamed = 5;

// Reads the verbs of the creator of that name into the catalog before they
// are staged, as the dialogs do; may be empty (the verbs then stand as they are).
using VerbReader = std::function<void(AssociationCatalog& catalog, const std::string& creator)>;

// Stages every change of the script in catalog, in script order per value:
// a [-key] empties what lies at or below it, a value line sets its field,
// "name"=- empties it; an entry whose own key ends removed is deleted.
// Creators are staged before the extensions that name them.
ScriptLoad StageScriptChanges(AssociationCatalog& catalog, const RegFile& script, const VerbReader& readVerbs);
