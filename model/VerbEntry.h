// One verb of a file type: a sub-key of <creator>\shell, an entry of its
// context menu. The verb open shares its command and DDE with the creator's
// own fields (the pages of the association dialog edit them there); of
// open, a VerbEntry holds only what the menu shows.
#pragma once
#include <optional>
#include <string>

#include "model/EntryState.h"
#include "model/LayoutSnapshot.h"

struct VerbEntry {
    std::string Name;           // the key below shell
    std::string Text;           // the key's default value: the menu's text
    std::string MuiVerb;        // MUIVerb: the menu's text where set, often an indirect "@file,-id"
    std::string Command;        // default of command
    bool UsesDde = false;       // ddeexec exists / is to be written
    std::string DdeMessage;     // default of ddeexec
    std::string DdeApplication; // default of ddeexec\application
    std::string DdeIfExec;      // default of ddeexec\ifexec
    std::string DdeTopic;       // default of ddeexec\topic
    std::string Extended;       // "1" while the value Extended is there: shown only with Shift
    // "1" where a program implements the verb (DelegateExecute in command,
    // or ExplorerCommandHandler): its command is not what runs, and the
    // verb is shown read-only.
    std::string Handler;
    EntryState State = esUnchanged; // esDeleted: its key goes whole at the commit
    std::optional<LayoutSnapshot> Read; // what the last read found; none for a verb the user added

    bool IsOpen() const;
    bool operator==(const VerbEntry&) const = default;
    bool IsHandled() const { return !Handler.empty(); }
};

// Verb names are key names: without regard to case.
bool SameVerbName(const std::string& a, const std::string& b);
