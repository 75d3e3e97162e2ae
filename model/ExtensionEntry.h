// One extension key of the classes (".txt"): the creator it names and
// its MIME content type.
#pragma once
#include <optional>
#include <span>
#include <string>

#include "model/ClassesOrigin.h"
#include "model/EntryState.h"
#include "model/LayoutSnapshot.h"
#include "model/RegistryLocation.h"

struct ExtensionEntry {
    std::string Name;        // key name with its leading dot
    std::string Creator;     // the key's default value
    std::string ContentType; // the value "Content Type"
    EntryState State = esUnchanged;
    ClassesOrigin Origin = ClassesOrigin::None; // where the key lives, as the last scan found it
    std::optional<LayoutSnapshot> Read; // what the last read found; none for an entry no read has seen
    std::string UserChoice; // the type the user chose to open the extension with, when there is a choice

    void Clear();

    // Each operation works on the entry's key below location, reports its
    // own failure through ReportError and returns false; an entry without a
    // name addresses nothing and does nothing.
    bool ReadFromRegistry(const RegistryLocation& location);
    // Each key from the first of sources that holds it.
    bool ReadFromRegistry(std::span<const RegistryLocation> sources);
    // Writes what differs from Read into target.Layer (every text without
    // a Read); see PlanLayoutWrite.
    bool WriteToRegistry(const WriteTarget& target);
    bool DeleteFromRegistry(const RegistryLocation& location);

    // Appends this entry's block of a registry script for its key below
    // location (CR LF line ends).
    void WriteRegText(const RegistryLocation& location, std::string& out) const;

    friend bool operator==(const ExtensionEntry& a, const ExtensionEntry& b)
    {
        return a.Name == b.Name && a.Creator == b.Creator && a.ContentType == b.ContentType;
    }
};
