// Where each text of an entry lives below the entry's key, written once:
// reading, writing, the registry script and the comparison of entries all
// walk these tables.
#pragma once
#include <span>
#include <string>
#include <string_view>

#include "model/CreatorEntry.h"
#include "model/ExtensionEntry.h"
#include "model/RegistryLocation.h"

enum class LayoutRole {
    Value,    // always part of the entry
    DdeKey,   // its key is there exactly while the entry uses DDE
    DdeValue, // part of the entry only while it uses DDE
};

template <typename Entry>
struct LayoutValue {
    const char* subKey;    // below the entry's key, with a leading backslash; "" for the key itself
    const char* valueName; // "" for the default value
    std::string Entry::*field;
    bool escaped; // written with backslashes and quotes escaped in a registry script
    LayoutRole role;
};

// In the order the operations visit them; values of one key stand together.
std::span<const LayoutValue<ExtensionEntry>> ExtensionLayout();
std::span<const LayoutValue<CreatorEntry>> CreatorLayout();

// How a write treats the texts that are empty.
enum class WriteMode {
    Replace, // an empty text removes its value, or its key below the entry's
    AddOnly, // an empty text is left out; nothing of the key is removed
};

// The operations over a table. Each returns true on success; on failure the
// status is the registry's answer where one call told it.
// A read takes each key from the first of sources that holds it, as the
// merged view shows the user's key over the machine's.
template <typename Entry>
bool ReadLayout(std::span<const RegistryLocation> sources, Entry& entry, LONG& status);
template <typename Entry>
bool WriteLayout(const RegistryLocation& location, const Entry& entry, WriteMode mode, LONG& status);
// With AddOnly, empty texts stay out of the script, and so do keys that get
// no value: importing it must not empty what the write would leave alone.
template <typename Entry>
void AppendLayoutText(const RegistryLocation& location, const Entry& entry, WriteMode mode, std::string& out);
// The entry's name and every text of the table that a script of it writes
// pass test.
template <typename Entry>
bool LayoutTextsPass(const Entry& entry, bool (*test)(std::string_view text));
// Every text of the table that the entry holds equals the other's.
template <typename Entry>
bool SameLayoutTexts(const Entry& a, const Entry& b);
