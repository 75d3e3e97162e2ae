// What the association dialog shows, as plain values, and the one table
// that says which entry field each of them stands for. Every fill and every
// read-back of the three dialog variants and of the creator chooser goes
// through that table, and so does everything else that stages a change
// (a registry script loaded for review, say). No windows here.
#pragma once
#include <span>
#include <string>
#include <vector>

#include "model/CreatorEntry.h"
#include "model/ExtensionEntry.h"

struct AssociationFields {
    std::string Extension;        // Edit10
    std::string ContentType;      // Edit2
    std::string Creator;          // Edit9
    std::string Kind;             // Edit3
    std::string ExtensionText;    // Label12, shown only
    std::string IconSource;       // Edit1
    std::string SelectedIconFile; // the icon list's file, no control
    std::string Command;          // Edit4
    bool UsesDde = false;         // CheckBox1
    std::string DdeMessage;       // Edit5
    std::string DdeApplication;   // Edit6
    std::string DdeIfExec;        // Edit8
    std::string DdeTopic;         // Edit7
    // The creator's verbs, open among them, once read: the page of verbs.
    // VerbsOf names the creator they were read from; taken over by another,
    // they are that one's new verbs.
    bool VerbsRead = false;
    std::string VerbsOf;
    std::string DefaultVerb;
    std::vector<VerbEntry> Verbs;

    bool operator==(const AssociationFields&) const = default;
};

// One text of the dialog: its value, and the field of the extension entry
// and/or the creator entry that it shows.
struct FieldBinding {
    std::string AssociationFields::*text;
    std::string ExtensionEntry::*extensionField; // nullptr when none
    std::string CreatorEntry::*creatorField;     // nullptr when none
    bool readBack;  // taken back into the working entries on OK
    bool ddeField;  // taken back only while DDE is ticked
};

// The field-to-entry table, in the order the dialog shows the fields.
std::span<const FieldBinding> FieldTable();

// The extension's part of the dialog: extension, content type, creator.
void ShowExtension(AssociationFields& fields, const ExtensionEntry& extension);
// The creator's part ("showing a creator"): creator down to the DDE topic.
void ShowCreator(AssociationFields& fields, const CreatorEntry& creator);

// Cleared working entries filled from what the user confirmed. The DDE
// texts count only with DDE ticked; the icon file is parsed from the
// icon source, not taken from the list's remembered file.
ExtensionEntry WorkingExtension(const AssociationFields& fields);
CreatorEntry WorkingCreator(const AssociationFields& fields);
