// A registry script read for review: what it would change in the catalog,
// staged through the same rules as the dialogs, so the list shows it marked
// and only a commit writes it. Only keys of the classes that map to a field
// of an association or of a URL scheme come in, and only as far as the
// EditFlags allow; everything else is counted and named as left out. No
// windows here, and the registry only through ScriptReads.
#pragma once
#include <windows.h>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "model/AssociationCatalog.h"
#include "model/CatalogEdits.h"
#include "model/RegFile.h"
#include "model/RegistryLocation.h"

// Why a part of the script stays out of the catalog.
enum class LeftOutReason {
    NoField,        // outside the classes, or no field of an association
    Locked,         // a value the EditFlags keep from being edited
    RemoveLocked,   // a delete the EditFlags forbid
    ReservedScheme, // a scheme Windows keeps for itself
};
struct LeftOutItem {
    std::string Path; // the script's key path, with its value name where only that was
    LeftOutReason Reason = LeftOutReason::NoField;

    bool operator==(const LeftOutItem&) const = default;
};

// What loading a script did, counted by entry (an extension and a creator
// are one each).
struct ScriptLoad {
    size_t Edits = 0;
    size_t Adds = 0;
    size_t Deletes = 0;
    size_t SchemeChanges = 0; // of the three counts, those of URL schemes
    size_t LeftOutCount = 0;
    std::vector<LeftOutItem> FirstLeftOut; // in script order
    bool NamesUserClasses = false;         // HKEY_CURRENT_USER\Software\Classes
    bool NamesMachineClasses = false;      // HKEY_LOCAL_MACHINE\Software\Classes
    // Extensions whose files run code (IsDangerousType) that a change
    // touches, directly or through their creator; sorted, each once.
    std::vector<std::string> DangerousExtensions;
    std::vector<std::string> AddedExtensions; // keys of the rows the list gains
    std::vector<std::string> NewIcons;        // creators whose icon source changed
    std::vector<std::string> NewSchemeIcons;  // the same for schemes, by their keys

    size_t Changes() const { return Edits + Adds + Deletes; }
};

inline constexpr size_t kLeftOutNamed = 5;

// What the loader needs of the registry, read by the caller so that the
// rules here run over plain values. Each may be empty: nothing is then read,
// and nothing locked.
struct ScriptReads {
    // The verbs of the creator of that name (of the scheme under that key)
    // into the catalog before they are staged, as the dialogs read them.
    std::function<void(AssociationCatalog& catalog, const std::string& creator)> CreatorVerbs;
    std::function<void(AssociationCatalog& catalog, const std::string& scheme)> SchemeVerbs;
    // The SchemeMap, when the script names keys that may be schemes and the
    // catalog has not read it yet.
    std::function<void(AssociationCatalog& catalog)> Schemes;
    // The EditFlags of a class key, from the layer whose values Windows shows.
    std::function<DWORD(const std::string& name)> EditFlags;
};

// All of the above from the registry at these locations.
ScriptReads RegistryReads(const AssociationLocations& locations);

// Stages every change of the script in catalog, in script order per value:
// a [-key] empties what lies at or below it, a value line sets its field,
// "name"=- empties it; an entry whose own key ends removed is deleted.
// Creators and schemes are staged before the extensions that name them, each
// with the locks of its EditFlags; what a lock keeps is left out. A key that
// no extension names is a scheme where the script gives it a "URL Protocol"
// value or the catalog knows it as one; the schemes are read for it first.
ScriptLoad StageScriptChanges(AssociationCatalog& catalog, const RegFile& script, const ScriptReads& reads);
