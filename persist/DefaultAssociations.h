// The default associations file that Windows applies to the users of many
// machines at sign-in (the Group Policy "Set a default associations
// configuration file", or Dism /Online /Import-DefaultAppAssociations):
// which file type opens each extension by default. No windows: failures
// come back as values.
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "model/AssociationCatalog.h"
#include "model/ErrorReport.h"

// One line of the file, in the program's narrow texts (the active code page).
struct DefaultAssociation {
    std::string Identifier;      // the extension, with its dot
    std::string ProgId;          // the creator it names
    std::string ApplicationName; // the program that opens it, as Windows names it
};

struct DefaultAssociationList {
    std::vector<DefaultAssociation> Entries; // in extension order, each extension once
    size_t LeftOut = 0;                      // extensions asked for that name no creator
    size_t ByRegistryPath = 0;               // extensions asked for whose creator is a registry path
};

// The lines for these extension keys. An extension the catalog lacks, one
// marked deleted or one that names no creator is left out and counted in
// LeftOut; one whose creator is a registry path (CLSID\{...}), which is no
// ProgId, in ByRegistryPath. ApplicationName is ProgramDisplayName of the
// creator's command, or the creator's name where the command names no
// program.
DefaultAssociationList CollectDefaultAssociations(const AssociationCatalog& catalog,
                                                  std::vector<std::string> extensionKeys);

// The keys of every changed association that still exists: extensions
// added or edited, and those whose creator was added or edited.
std::vector<std::string> ChangedAssociationKeys(const AssociationCatalog& catalog);

// The name Windows shows for the program that a command runs: the
// FileDescription of its version resource, else its file name without the
// folder; empty when the command names no program. The program is a quoted
// path, or an unquoted one up to the first name with a program's extension
// (paths with spaces are often registered so), or else the first word;
// %VARIABLES% are expanded and a bare file name is looked up as the
// platform would start it.
std::string ProgramDisplayName(const std::string& command);

// The whole file as UTF-8 bytes, or the extension whose texts no XML file
// can hold (control characters, broken surrogates).
struct DefaultAssociationsFile {
    std::string Bytes;
    std::optional<EntryFailure> Problem; // empty when Bytes holds the file
};
DefaultAssociationsFile BuildDefaultAssociationsXml(const std::vector<DefaultAssociation>& entries);
