// The default associations file that Windows applies to the users of many
// machines at sign-in (the Group Policy "Set a default associations
// configuration file", or Dism /Online /Import-DefaultAppAssociations):
// which file type opens each extension and each URL scheme by default. No
// windows: failures come back as values.
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "model/AssociationCatalog.h"
#include "model/ErrorReport.h"
#include "model/RegistryLocation.h"

// One line of the file, in the program's narrow texts (the active code page).
struct DefaultAssociation {
    std::string Identifier;      // the extension, with its dot, or the scheme (mailto), without a colon
    std::string ProgId;          // the creator it names
    std::string ApplicationName; // the program that opens it, as Windows names it
};

struct DefaultAssociationList {
    std::vector<DefaultAssociation> Entries; // in extension order, then the schemes in theirs, each once
    size_t LeftOut = 0;                      // extensions asked for that name no creator
    size_t ByRegistryPath = 0;               // extensions asked for whose creator is a registry path
    size_t ChoiceMissing = 0; // extensions saved with their creator, as the user's choice names a type gone
    size_t SchemesLeftOut = 0;       // schemes asked for that are deleted or gone
    size_t SchemeChoicesMissing = 0; // schemes saved with their own key, as the user's choice names a type gone
};

// The lines for these extension keys, naming the type that really opens
// each on this machine (TypeThatOpens: the user's choice where the classes
// of locations hold its type, else the creator), as the platform's own
// export does. An extension the catalog lacks, one marked deleted or one
// left without a type is left out and counted in LeftOut; one whose type is
// a registry path (CLSID\{...}), which is no ProgId, in ByRegistryPath.
// ApplicationName is ProgramDisplayName of that type's open command (the
// catalog's for a creator, else read from both layers as Windows merges
// them), or the type's name where the command names no program.
// The scheme keys (of the SchemeMap) follow the same rule with the
// scheme's own key in the creator's place; one the catalog lacks or marks
// deleted is left out and counted in LeftOut.
DefaultAssociationList CollectDefaultAssociations(const AssociationCatalog& catalog,
                                                  std::vector<std::string> extensionKeys,
                                                  const AssociationLocations& locations,
                                                  std::vector<std::string> schemeKeys = {});

// The keys of every changed association that still exists: extensions
// added or edited, and those whose creator was added or edited.
std::vector<std::string> ChangedAssociationKeys(const AssociationCatalog& catalog);
// The same for the schemes: those added or edited.
std::vector<std::string> ChangedSchemeKeys(const AssociationCatalog& catalog);

// The name Windows shows for the program that a command runs: the
// FileDescription of its version resource, else its file name without the
// folder; empty when the command names no program. The program is a quoted
// path, or an unquoted one up to the first name with a program's extension
// (paths with spaces are often registered so), or else the first word;
// %VARIABLES% are expanded and a bare file name is looked up as the
// platform would start it.
std::string ProgramDisplayName(const std::string& command);

// What a save of the default associations writes beyond the bare file; the
// window's dialog and the command line fill it.
struct DefaultsOptions {
    unsigned Version = 0;     // Version="N" on the root, which Windows 11 22H2 and later read; 0 writes none
    bool Suggested = false;   // Suggested="true" on each association: applied once per Version, not at every sign-in
    bool IntuneBase64 = false; // also the file as one line of base64, the form an MDM setting takes
    bool PolicyScript = false; // also a registry script that points the Group Policy value at PolicyPath
    std::string PolicyPath;    // the path the policy names, e.g. on a share
};

// The Version a text asks for: a positive whole number in decimal digits
// alone, up to 2147483647; nothing for any other text.
std::optional<unsigned> ParseAssociationsVersion(const std::string& text);

// The bytes as base64 on one line, with padding and no line break.
std::string Base64Of(const std::string& bytes);

// path with its file name's extension (after the last dot) replaced by
// extension (with its dot), or extension added where it has none. Where
// that would be path itself (a file named .txt), extension is added.
std::string SiblingPath(const std::string& path, const std::string& extension);

// The whole file as UTF-8 bytes, or the extension or scheme whose texts no XML file
// can hold (control characters, broken surrogates).
struct DefaultAssociationsFile {
    std::string Bytes;
    std::optional<EntryFailure> Problem; // empty when Bytes holds the file
};
DefaultAssociationsFile BuildDefaultAssociationsXml(const std::vector<DefaultAssociation>& entries,
                                                    const DefaultsOptions& options = {});
