// Registry scripts (REGEDIT4) of the catalog's entries, and writing them to
// a file. No windows: failures come back as values.
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "model/AssociationCatalog.h"
#include "model/ErrorReport.h"
#include "model/RegistryLocation.h"

// The code page in which the platform's regedit reads REGEDIT4 files: the
// ANSI code page of the system locale. GetACP() is not it, as the
// program's manifest makes its own code page UTF-8.
UINT SystemAnsiCodePage();

// The bytes of a whole script in the target code page, or the first entry
// that no script can carry: Problem's status is ERROR_NO_UNICODE_TRANSLATION
// for a text that code page cannot represent, ERROR_INVALID_DATA for a name
// or text with a control character other than tab (a line break would start
// a line of its own in the script).
struct RegScript {
    std::string Bytes;
    std::optional<EntryFailure> Problem; // empty when Bytes holds the script
};

// The header, then every entry not marked esUnchanged (deleted ones with
// their current texts): extensions, then creators, then schemes, each in
// key order.
// Key lines name the keys below location. The entries' texts are in
// sourceCodePage, as the program's narrow texts come (CP_ACP: the active
// code page).
RegScript BuildChangesScript(const AssociationCatalog& catalog, const RegistryLocation& location, UINT codePage,
                             UINT sourceCodePage = CP_ACP);

// The header, the extension under extensionKey and the creator it names,
// both looked up with FindOrAdd; without a creator, the empty entry that the
// lookup adds writes nothing.
RegScript BuildSelectedScript(AssociationCatalog& catalog, const std::string& extensionKey,
                              const RegistryLocation& location, UINT codePage, UINT sourceCodePage = CP_ACP);

// The header and the scheme under that key of the SchemeMap, if any.
RegScript BuildSchemeScript(const AssociationCatalog& catalog, const std::string& schemeKey,
                            const RegistryLocation& location, UINT codePage, UINT sourceCodePage = CP_ACP);

// The header, the extensions under these keys (in key order, each once;
// keys the catalog lacks add nothing), then the creators they name, each
// once and in key order. For one extension that is BuildSelectedScript's
// script, without adding to the catalog.
RegScript BuildAssociationsScript(const AssociationCatalog& catalog, std::vector<std::string> extensionKeys,
                                  const RegistryLocation& location, UINT codePage, UINT sourceCodePage = CP_ACP);

// The script that sets one text value, the path a policy reads
// ("REGEDIT4", an empty line, the key line and the value line), in
// codePage; empty when the text holds a control character or a character
// that codePage cannot represent: neither could reach the value as it is.
std::optional<std::string> BuildValueScript(const RegistryLocation& key, const std::string& valueName,
                                            const std::string& text, UINT codePage, UINT sourceCodePage = CP_ACP);

enum class FileWrite { Written, OpenFailed, WriteFailed };

// Writes bytes to a new file beside path and moves it over path only once
// every byte is on disk, so a failure leaves an earlier file as it was.
FileWrite WriteFileWhole(const std::string& path, const std::string& bytes);

// Files one save writes, each whole, in order; the first that fails stops
// the rest. Failed is the index of that one, or the number of files.
struct FileToWrite {
    std::string Path;
    std::string Bytes;
};
struct FilesWrite {
    size_t Failed = 0;
    FileWrite Result = FileWrite::Written;
};
FilesWrite WriteFilesInOrder(const std::vector<FileToWrite>& files);
