// The user's own choice of the program that opens an extension. Since
// Windows 8 the shell looks there before the classes: when the choice names
// a file type, editing the classes changes nothing the user sees. The shell
// guards the choice with a hash that only it can make, so morvido reads and
// deletes choices but never writes one.
#pragma once
#include <windows.h>

#include <functional>
#include <map>
#include <string>

#include "model/RegistryLocation.h"

// The sub-keys of an extension below UserFileExts() that hold a choice.
// Newer builds keep UserChoiceLatest beside UserChoice and, where both are
// there, go by UserChoiceLatest; older builds know only UserChoice.
inline constexpr const char* kUserChoiceLatestKey = "UserChoiceLatest";
inline constexpr const char* kUserChoiceKey = "UserChoice";

// The ProgId the extension's choice names, or empty when there is none.
std::string ReadUserChoice(const std::string& extension, const RegistryLocation& fileExts = UserFileExts());

// Every choice below fileExts in one pass, by lower-cased extension name.
// Only the extensions the shell keeps a record for are opened, so the cost
// follows that record, not the number of extensions in the classes.
std::map<std::string, std::string> ReadAllUserChoices(const RegistryLocation& fileExts = UserFileExts());

// What RemoveUserChoice did. A refusal comes from the key's permissions or
// from the shell's protection driver; the driver may let UserChoice go and
// still refuse UserChoiceLatest, the choice the shell goes by.
enum class ChoiceRemoval {
    Removed,   // a choice was there and is gone
    Absent,    // there was none
    OlderOnly, // UserChoice is gone, UserChoiceLatest was refused and stays
    Refused,   // refused before anything was deleted
};

// Deletes the extension's UserChoice and UserChoiceLatest keys (the rest of
// its record stays).
ChoiceRemoval RemoveUserChoice(const std::string& extension, const RegistryLocation& fileExts = UserFileExts());

// True when a choice names a type other than the extension's creator (key
// names, so without regard to case): the creator's command is then not what
// opens the file.
bool ChoiceDiffersFromCreator(const std::string& progId, const std::string& creator);

// The type that opens an extension (or a URL scheme) as the shell goes by
// it: the user's choice where it names a type this machine has, else the
// fallback (an extension's creator, a scheme's own key). A choice of a type
// that is gone is one the shell cannot follow either.
struct OpeningType {
    std::string ProgId;
    bool ChoiceMissing = false; // a choice was there, naming a type the machine lacks
};
OpeningType TypeThatOpens(const std::string& choice, const std::string& fallback,
                          const std::function<bool(const std::string&)>& typeExists);
