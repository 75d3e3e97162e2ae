// A URL scheme (protocol) of the classes, such as mailto or ms-teams: a
// class key with a "URL Protocol" value and an open command, laid out as a
// creator's key is, so the creator's reading, writing, backups and layer
// rules apply to it unchanged. What sets it apart is the user's own choice
// for it, which Windows keeps below UrlAssociations, not in the classes.
#pragma once
#include <string>

#include "model/CreatorEntry.h"
#include "model/EditFlags.h"

struct SchemeEntry : CreatorEntry {
    std::string UserChoice; // the ProgId the user chose for the scheme, or empty

    // The creator's operations, hidden by these so that a failure names a
    // protocol, not a creator.
    bool ReadFromRegistry(std::span<const RegistryLocation> sources) { return ReadAs(sources, EntryKind::Scheme); }
    bool WriteToRegistry(const WriteTarget& target) { return WriteAs(target, EntryKind::Scheme); }
    bool DeleteFromRegistry(const RegistryLocation& location) { return DeleteAs(location, EntryKind::Scheme); }
};

// Schemes Windows keeps for itself (the web, local files, its settings
// pages): a change to them would reach every program, so they are only
// shown. Names without regard to case.
bool IsReservedScheme(const std::string& name);

// What the dialog and the delete may change of a scheme with these
// EditFlags: a reserved scheme, and one Windows marks FTA_NoEdit, is only
// shown and never deleted.
EditLocks SchemeLocks(const std::string& name, DWORD editFlags);
