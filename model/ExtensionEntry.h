// One extension key of HKEY_CLASSES_ROOT (".txt"): the creator it names and
// its MIME content type.
#pragma once
#include <string>

#include "model/EntryState.h"

struct ExtensionEntry {
    std::string Name;        // key name with its leading dot
    std::string Creator;     // the key's default value
    std::string ContentType; // the value "Content Type"
    EntryState State = esUnchanged;

    void Clear();

    // Each operation reports its own failure through ReportError and returns
    // false; an entry without a name addresses nothing and does nothing.
    bool ReadFromRegistry();
    bool WriteToRegistry();
    bool DeleteFromRegistry();

    // Appends this entry's block of a registry script (CR LF line ends).
    void WriteRegText(std::string& out) const;

    friend bool operator==(const ExtensionEntry& a, const ExtensionEntry& b)
    {
        return a.Name == b.Name && a.Creator == b.Creator && a.ContentType == b.ContentType;
    }
};
