// Where each text of an entry lives below the entry's key, written once:
// reading, writing, the registry script and the comparison of entries all
// walk these tables.
#pragma once
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/CreatorEntry.h"
#include "model/ExtensionEntry.h"
#include "model/LayoutSnapshot.h"
#include "model/RegistryLocation.h"
#include "model/VerbEntry.h"

enum class LayoutRole {
    Value,    // always part of the entry
    DdeKey,   // its key is there exactly while the entry uses DDE
    DdeValue, // part of the entry only while it uses DDE
    Presence, // "1" while the value is there at all, whatever it holds; written as an empty text
    Marker,   // as Presence, but only read: no write or script ever sets it
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
// A creator's verbs follow its own table, below "\\shell": its default
// value names the default verb, and each verb has the verb table below its
// key (open only the part before its command, which is the creator's).
std::span<const LayoutValue<ExtensionEntry>> ExtensionLayout();
std::span<const LayoutValue<CreatorEntry>> CreatorLayout();
std::span<const LayoutValue<VerbEntry>> VerbLayout(const VerbEntry& verb);

// How a write treats the texts that are empty.
enum class WriteMode {
    Replace, // an empty text removes its value, or its key below the entry's
    AddOnly, // an empty text is left out; nothing of the key is removed
};

// How an entry is exported. A creator named by a registry path belongs to
// some other structure (a COM class below CLSID): it gets what the user
// set, and nothing of it is removed.
inline WriteMode ExportMode(const ExtensionEntry&) { return WriteMode::Replace; }
inline WriteMode ExportMode(const VerbEntry&) { return WriteMode::Replace; }
inline WriteMode ExportMode(const CreatorEntry& entry)
{
    return IsRegistryPath(entry.Name) ? WriteMode::AddOnly : WriteMode::Replace;
}
// How a commit writes it: one the user added that no read has seen holds
// no text the user emptied, so its empty texts are left out.
template <typename Entry>
WriteMode CommitMode(const Entry& entry)
{
    return !entry.Read && entry.State == esAdded ? WriteMode::AddOnly : ExportMode(entry);
}

// What a write does to one key below the entry's: the change set of an
// entry, key by key, in the order of its layout.
struct ValueChange {
    std::string Name; // "" for the default value
    std::string Text;
    bool Clear = false; // the value goes
    bool operator==(const ValueChange&) const = default;
};
struct KeyChange {
    std::string SubKey;       // below the entry's key, with a leading backslash; "" for the key itself
    bool RemoveWhole = false; // the key goes with everything below it
    // The key holds one text of the layout and nothing of it below: with
    // that text cleared, the key goes whole.
    bool GoesWhenCleared = false;
    std::vector<ValueChange> Values;
    bool operator==(const KeyChange&) const = default;
};

// The keys and values a write of the entry changes. Against its Read
// snapshot that is only what differs from it: a text the user changed is
// set, one the user emptied is cleared, and DDE turned off removes the
// ddeexec key. Without a snapshot every text counts as changed. A
// creator's verbs follow once read: the default verb where it changed, a
// deleted verb's key whole, and each other verb as its own entry.
template <typename Entry>
std::vector<KeyChange> PlanLayoutWrite(const Entry& entry, WriteMode mode);

// The entry's layout texts as they stand, for its Read.
template <typename Entry>
LayoutSnapshot SnapshotOf(const Entry& entry);

// The operations over a table. Each returns true on success; on failure the
// status is the registry's answer where one call told it.
// A read takes each key from the first of sources that holds it, as the
// merged view shows the user's key over the machine's, and leaves the
// entry's Read snapshot of what it found, also when it fails part way (the
// texts it did not get then stand as they were, so no write takes their
// emptiness for a change).
template <typename Entry>
bool ReadLayout(std::span<const RegistryLocation> sources, Entry& entry, LONG& status);
// Every verb below the creator's shell key in any of sources, each read as
// ReadLayout reads an entry, and the default verb; the creator's verbs are
// then read (VerbsRead).
bool ReadVerbs(std::span<const RegistryLocation> sources, CreatorEntry& creator, LONG& status);
// A write carries out PlanLayoutWrite in target.Layer. For the user's layer,
// each key it creates there that the machine's classes hold first gets
// every value of the machine's key (CopyOnWrite), and a text cleared in a
// key the machine's classes hold is hidden by an empty value-less key
// instead of a removal, which would let the machine's show through.
template <typename Entry>
bool WriteLayout(const WriteTarget& target, const Entry& entry, WriteMode mode, LONG& status);
// With AddOnly, empty texts stay out of the script, and so do keys that get
// no value: importing it must not empty what the write would leave alone.
// A creator's default verb and its verbs other than open follow its blocks,
// with only the texts they hold; without them the script is as it was.
template <typename Entry>
void AppendLayoutText(const RegistryLocation& location, const Entry& entry, WriteMode mode, std::string& out);
// The entry's name and every text of the table that a script of it writes
// pass test.
template <typename Entry>
bool LayoutTextsPass(const Entry& entry, bool (*test)(std::string_view text));
// Every text of the table that the entry holds equals the other's.
template <typename Entry>
bool SameLayoutTexts(const Entry& a, const Entry& b);
