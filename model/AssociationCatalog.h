// The program's whole in-memory picture of the associations: every
// extension and every creator under its key. The scan fills it, the list
// shows it, the workflows mark changes in it, commit and export walk it.
#pragma once
#include <map>
#include <string>

#include "model/CreatorEntry.h"
#include "model/ExtensionEntry.h"
#include "model/SchemeEntry.h"

// std::less<std::string> compares through std::char_traits<char>, which
// orders bytes as unsigned char: case-sensitive, "Z" before "a", a prefix
// before the longer text, and two-byte characters by their bytes. That is
// the order every walk over the catalog and every extension list uses.
using ExtensionMapType = std::map<std::string, ExtensionEntry>;
using CreatorMapType = std::map<std::string, CreatorEntry>;
using SchemeMapType = std::map<std::string, SchemeEntry>;

class AssociationCatalog {
public:
    ExtensionMapType ExtensionMap; // key: extension name, lower case, with the dot
    CreatorMapType CreatorMap;     // key: creator name as the extensions spell it
    // key: scheme name, lower case. Finding the schemes opens every class
    // key, so they are read only once the protocol view is first shown
    // (SchemesRead), never by the scan of the extensions.
    SchemeMapType SchemeMap;
    bool SchemesRead = false;

    // Empties every map.
    void Clear()
    {
        ExtensionMap.clear();
        CreatorMap.clear();
        SchemeMap.clear();
        SchemesRead = false;
    }
};

// The entry under key, or nullptr; never inserts.
template <typename Entry>
Entry* Find(std::map<std::string, Entry>& map, const std::string& key)
{
    const auto found = map.find(key);
    return found == map.end() ? nullptr : &found->second;
}

template <typename Entry>
const Entry* Find(const std::map<std::string, Entry>& map, const std::string& key)
{
    const auto found = map.find(key);
    return found == map.end() ? nullptr : &found->second;
}

// The entry under key; a missing one is first inserted cleared (empty Name,
// esUnchanged), and the caller fills it.
template <typename Entry>
Entry& FindOrAdd(std::map<std::string, Entry>& map, const std::string& key)
{
    return map.try_emplace(key).first->second;
}

// Removes every entry of one map.
template <typename Entry>
void Empty(std::map<std::string, Entry>& map)
{
    map.clear();
}

// Visits the entries in ascending key order as visit(key, entry); the
// visitor may change the entry, not the map.
template <typename Entry, typename Visitor>
void Walk(std::map<std::string, Entry>& map, Visitor&& visit)
{
    for (auto& [key, entry] : map)
        visit(key, entry);
}

template <typename Entry, typename Visitor>
void Walk(const std::map<std::string, Entry>& map, Visitor&& visit)
{
    for (const auto& [key, entry] : map)
        visit(key, entry);
}
