// The program's only road to the registry. One object serves one job: set
// the location, open a key below it, read or write values, close.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

#include "model/RegistryLocation.h"
#include "model/Scoped.h"

// What a read of a value that may be missing found.
enum class ValueRead {
    Missing, // no key is current, or the value cannot be queried
    Read,    // the text was read
    Failed,  // the value is there but is not text, or its data could not be read
};

// What a removal that answered `removal` achieved, given the answer of a
// look at the key afterwards: ERROR_SUCCESS when the key is known to be
// gone, otherwise the removal's failure.
LONG RemovalOutcome(LONG removal, LONG lookAfter);

class RegistryAccess {
public:
    RegistryAccess() = default;
    RegistryAccess(const RegistryAccess&) = delete;
    RegistryAccess& operator=(const RegistryAccess&) = delete;

    // Later paths are below location; closes the current key.
    void SetRoot(const RegistryLocation& location);

    // Opens the key for reading, or with canCreate creates it (and missing
    // parents) with write access. After a failed open no key is current.
    bool OpenKey(const std::string& path, bool canCreate);
    void CloseKey();
    // True when the open that made the current key created it: the key then
    // holds nothing but what this object has put there since.
    bool CreatedCurrentKey() const { return currentIsNew_; }

    bool ValueExists(const std::string& name) const;

    // A missing value or one without data reads as empty text. Fails, leaving
    // text untouched, for a value that is not REG_SZ / REG_EXPAND_SZ or when
    // the query itself fails.
    bool ReadText(const std::string& name, std::string& text) const;

    // ValueExists and ReadText in one query: reads text only when the value
    // exists. text is untouched unless the result is Read.
    ValueRead ReadTextIfExists(const std::string& name, std::string& text) const;

    // Stores text as REG_SZ, or as REG_EXPAND_SZ when it replaces such a
    // value so that %SystemRoot% style paths keep working; a text value that
    // already holds exactly these bytes is left as it is. Refuses when no
    // key is current, the key was opened read-only, or it is the root.
    bool WriteText(const std::string& name, const std::string& text);

    // True when the value is gone afterwards: a value that was never there
    // is no failure.
    bool DeleteValue(const std::string& name);

    // ERROR_SUCCESS when the key opens with read rights, ERROR_FILE_NOT_FOUND
    // when it is not there, or the failure; the current key is unchanged.
    LONG KeyStatus(const std::string& path) const;
    bool KeyExists(const std::string& path) const { return KeyStatus(path) == ERROR_SUCCESS; }

    // Removes the key with all its sub-keys, deepest first, and returns the
    // status of that removal. Never removes the location itself: an empty
    // path is refused.
    LONG DeleteKey(const std::string& path);

    // Deletes the key when it is there: ERROR_SUCCESS when it is gone
    // afterwards, so a key that was never there is no failure; otherwise the
    // failure, also when the key can no longer be seen for want of rights.
    LONG RemoveKey(const std::string& path);

    // The registry's answer to the last open, write or value delete.
    LONG LastStatus() const { return lastStatus_; }

    // Empties names, then fills it with the sub-key names of the current key.
    void GetKeyNames(std::vector<std::string>& names) const;

private:
    RegistryLocation location_ = ClassesRoot();
    ScopedHKey current_;
    bool currentIsRoot_ = false;
    bool currentWritable_ = false;
    bool currentIsNew_ = false;
    LONG lastStatus_ = ERROR_SUCCESS;
};
