// The main window's command "既定の関連付けをXMLに保存": asks whose
// associations and what to write beside the file, asks for the file, writes
// them and tells what it left out and what it wrote. The command line's
// /defaults writes through the same function.
#pragma once
#include <windows.h>

#include <string>

#include "model/AssociationCatalog.h"
#include "persist/DefaultAssociations.h"

// selectedKey is the key of the selected row, empty without one: a scheme
// in the protocol view (selectedScheme), else an extension. Every changed
// association is the changed extensions and the changed schemes.
void SaveDefaultAssociationsFile(HWND owner, const AssociationCatalog& catalog, const std::string& selectedKey,
                                 bool selectedScheme);

// Where one save goes; an empty path is a file that is not written.
struct DefaultsTargets {
    std::string Xml;
    std::string Base64; // the XML as one line of base64, for an MDM setting
    std::string Policy; // the registry script of the Group Policy value
};

// The XML at xml, and the files the options ask for beside it with the same
// name: .txt for the base64, .reg for the policy script.
DefaultsTargets TargetsBeside(const std::string& xml, const DefaultsOptions& options);

// What a save tells: Note what it left out and, once saved, what it wrote
// beside the XML; Failure, when not empty, why it stopped.
struct DefaultsSaveResult {
    std::string Note;
    std::string Failure;
};

// Every file is built before the first is written, so a text no file can
// hold writes none; a failed write names its file and those written before.
DefaultsSaveResult SaveDefaultsFiles(const DefaultAssociationList& list, const DefaultsOptions& options,
                                     const DefaultsTargets& targets);
