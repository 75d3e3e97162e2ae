// What Windows marks as not to be edited in a file type: the creator key's
// EditFlags value, and what each of its flags locks, as the shell's own
// file-types dialog honoured them.
#pragma once
#include <windows.h>

#include <string>

#include "model/RegistryLocation.h"

// The creator's EditFlags: a REG_DWORD, or exactly 4 bytes of REG_BINARY (as
// installers often write it). Anything else, or no value, is 0.
DWORD ReadEditFlags(const std::string& creator, const RegistryLocation& location = ClassesRoot());
// The EditFlags the merged view shows: the user's key's where the user holds
// one, whatever the spelling, else the machine's. 0 for an empty name.
DWORD ReadShownEditFlags(const std::string& creator, const AssociationLocations& locations);

// The parts of the association dialog a creator's flags lock. FTA_NoEdit
// locks every field and keeps the dialog from changing anything.
struct EditLocks {
    bool WholeDialog = false; // FTA_NoEdit: shown read-only, with a line saying why
    bool Remove = false;      // FTA_NoRemove: the delete is refused
    bool Kind = false;        // FTA_NoEditDesc
    bool Icon = false;        // FTA_NoEditIcon: the icon source and its picker
    bool Command = false;     // FTA_NoEditVerbCmd, FTA_NoEditVerbExe: the commands and their browse buttons
    bool Dde = false;         // FTA_NoDDE: the DDE group
    bool ContentType = false; // FTA_NoEditMIME
    bool NewVerb = false;     // FTA_NoNewVerb: no verb is added
    bool EditVerb = false;    // FTA_NoEditVerb: no verb is edited
    bool RemoveVerb = false;  // FTA_NoRemoveVerb: no verb is deleted
    bool Reserved = false;    // a scheme Windows keeps for itself: locked whole for that reason

    bool operator==(const EditLocks&) const = default;
};
EditLocks LocksOf(DWORD editFlags);
