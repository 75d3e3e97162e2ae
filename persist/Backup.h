// A restorable copy of every key a commit is about to write or delete, taken
// before it changes anything: importing the file with the platform's
// registry editor puts those keys back exactly as they were.
#pragma once
#include <string>

#include "model/AssociationCatalog.h"
#include "model/RegistryLocation.h"

inline constexpr const char* kBackupFailedMessage =
    "バックアップファイルを書き込むことができませんでした。\nレジストリーは変更されていません。";

struct BackupResult {
    bool written = false;
    std::string path; // the backup file's full path, when written
};

// Backs up the extension, creator and scheme key below location of every marked
// entry with a name,
// each with all its values and sub-keys, to a new file in "backup" beside
// the program or, where that folder cannot be written, in
// "morvido\backup" of the user's local application data folder. The file is
// a Unicode registry script whose every key is preceded by a line deleting
// it, so keys the commit creates go again on a restore. Not written when a
// key cannot be read completely (a key that cannot be opened for any other
// reason than its absence counts), or no file can be created. Without marked
// entries nothing is written and the result is a success without a path.
BackupResult WriteCommitBackup(const AssociationCatalog& catalog, const RegistryLocation& location);
