// One creator key of the classes: the file-type key that extensions name
// in their default value, with its description, icon, open command and
// DDE conversation, plus the extensions that point to it.
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "model/ClassesOrigin.h"
#include "model/EntryState.h"
#include "model/ErrorReport.h"
#include "model/LayoutSnapshot.h"
#include "model/RegistryLocation.h"
#include "model/VerbEntry.h"

// The value whose presence makes a class key a URL scheme.
inline constexpr const char* kUrlProtocolValue = "URL Protocol";

struct CreatorEntry {
    std::string Name;           // key name, spelled as the extensions spell it
    std::string Kind;           // the key's default value
    // "1" while the key holds a "URL Protocol" value, which makes it a URL
    // scheme (its text, empty by custom, means nothing to Windows).
    std::string UrlProtocol;
    std::string IconSource;     // default of Name\DefaultIcon: file,number
    std::string Command;        // default of Name\shell\open\command
    bool UsesDde = false;       // Name\shell\open\ddeexec exists / is to be written
    std::string DdeMessage;     // default of ...\ddeexec
    std::string DdeApplication; // default of ...\ddeexec\application
    std::string DdeIfExec;      // default of ...\ddeexec\ifexec
    std::string DdeTopic;       // default of ...\ddeexec\topic
    EntryState State = esUnchanged;
    ClassesOrigin Origin = ClassesOrigin::None; // where the key lives, as the last scan found it
    std::optional<LayoutSnapshot> Read; // what the last read found; none for an entry no read has seen
    std::string IconFile;         // file part of IconSource, as stored
    std::int32_t IconNumber = 0;  // number part of IconSource
    // The verbs below shell, open among them, once read (ReadVerbs): the scan
    // leaves them unread, as most creators are never opened for editing.
    bool VerbsRead = false;
    std::string DefaultVerb;        // default of Name\shell: the verb a double click runs, where it names one
    std::optional<std::string> DefaultVerbRead; // DefaultVerb as the read found it
    std::vector<VerbEntry> Verbs;   // in the order read, added ones after; deleted ones stay until the commit
    std::vector<std::string> Extensions; // always sorted byte-wise, no duplicates
    std::int32_t ExtensionCount = 0;
    std::string ExtensionText;    // each extension followed by one space

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

    // The verb a double click runs, as Windows picks it: the first verb the
    // default verb names (a list separated by commas or spaces) that is
    // there, else open when it is there, else the first verb. Empty without
    // verbs.
    std::string EffectiveDefaultVerb() const;
    // The verb of that name (any case) that is not deleted, or nullptr.
    const VerbEntry* FindVerb(const std::string& name) const;

    // Recomputes IconFile and IconNumber from IconSource.
    void ParseIconSource();

    // Appends this entry's blocks of a registry script for its key below
    // location (CR LF line ends).
    void WriteRegText(const RegistryLocation& location, std::string& out) const;

    // Keep Extensions sorted and ExtensionCount / ExtensionText in step.
    // Adding a name already there, or removing one that is not, does nothing.
    void AddExtension(const std::string& extension);
    void RemoveExtension(const std::string& extension);

    // State, the parsed icon and the extension list do not take
    // part; the DDE texts count only while UsesDde is on; the verbs count
    // once read on both sides.
    friend bool operator==(const CreatorEntry& a, const CreatorEntry& b);

protected:
    // The operations above, their failures reported as an entry of `kind`:
    // a scheme's key is laid out as a creator's, but the user knows it as
    // a protocol.
    bool ReadAs(std::span<const RegistryLocation> sources, EntryKind kind);
    bool WriteAs(const WriteTarget& target, EntryKind kind);
    bool DeleteAs(const RegistryLocation& location, EntryKind kind);

private:
    void RebuildExtensionText();
};

// A name that is a registry path rather than a key name, such as
// CLSID\{...}: it addresses a key of some other structure.
inline bool IsRegistryPath(const std::string& name) { return name.find('\\') != std::string::npos; }
