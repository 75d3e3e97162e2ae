// One creator key of HKEY_CLASSES_ROOT: the file-type key that extensions
// name in their default value, with its description, icon, open command and
// DDE conversation, plus the extensions that point to it.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "model/EntryState.h"

struct CreatorEntry {
    std::string Name;           // key name, spelled as the extensions spell it
    std::string Kind;           // the key's default value
    std::string IconSource;     // default of Name\DefaultIcon: file,number
    std::string Command;        // default of Name\shell\open\command
    bool UsesDde = false;       // Name\shell\open\ddeexec exists / is to be written
    std::string DdeMessage;     // default of ...\ddeexec
    std::string DdeApplication; // default of ...\ddeexec\application
    std::string DdeIfExec;      // default of ...\ddeexec\ifexec
    std::string DdeTopic;       // default of ...\ddeexec\topic
    EntryState State = esUnchanged;
    std::string IconFile;         // file part of IconSource, as stored
    std::int32_t IconNumber = 0;  // number part of IconSource
    std::int32_t ImageIndex = 0;  // position in the main window's image lists
    std::vector<std::string> Extensions; // always sorted byte-wise, no duplicates
    std::int32_t ExtensionCount = 0;
    std::string ExtensionText;    // each extension followed by one space

    void Clear();

    // Each operation reports its own failure through ReportError and returns
    // false; an entry without a name addresses nothing and does nothing.
    bool ReadFromRegistry();
    bool WriteToRegistry();
    bool DeleteFromRegistry();

    // Recomputes IconFile and IconNumber from IconSource.
    void ParseIconSource();

    // Appends this entry's blocks of a registry script (CR LF line ends).
    void WriteRegText(std::string& out) const;

    // Keep Extensions sorted and ExtensionCount / ExtensionText in step.
    // Adding a name already there, or removing one that is not, does nothing.
    void AddExtension(const std::string& extension);
    void RemoveExtension(const std::string& extension);

    // State, the parsed icon, the image and the extension list do not take
    // part; the DDE texts count only while UsesDde is on.
    friend bool operator==(const CreatorEntry& a, const CreatorEntry& b)
    {
        if (a.Name != b.Name || a.Kind != b.Kind || a.IconSource != b.IconSource || a.Command != b.Command ||
            a.UsesDde != b.UsesDde)
            return false;
        return !a.UsesDde || (a.DdeMessage == b.DdeMessage && a.DdeApplication == b.DdeApplication &&
                              a.DdeTopic == b.DdeTopic && a.DdeIfExec == b.DdeIfExec);
    }

private:
    void RebuildExtensionText();
};
