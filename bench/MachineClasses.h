// A machine-sized set of classes for the scan benchmark: thousands of
// extensions, the file types they name, and many more keys that are
// neither, with the kinds of values real machines hold.
#pragma once
#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

// A file of the prefix that icon sources may name, with the number of
// icons the shell finds in it (0 for files that hold none).
struct IconFileInfo {
    std::string path;     // as the machine spells it in icon sources
    std::string expanded; // with %SystemRoot% replaced
    int iconCount = 0;
};

// The candidate files that exist, each with its icon count.
std::vector<IconFileInfo> ProbeIconFiles();

struct SeedSummary {
    size_t extensions = 0;
    size_t creators = 0;
    size_t others = 0;
    size_t keys = 0;          // every key created, sub-keys included
    size_t iconSources = 0;   // creators with a DefaultIcon
    size_t distinctIcons = 0; // distinct (file, number) pairs among them
};

// Where the set of `extensionCount` extensions lives below HKEY_CURRENT_USER:
// the machine's classes, and beside them the user's classes and the shell's
// record of the user's choices that go with them.
std::string SeedKeyPath(size_t extensionCount);
std::string UserClassesKeyPath(size_t extensionCount);
std::string UserChoicesKeyPath(size_t extensionCount);

// Fills the (empty) key `root` with `extensionCount` extensions, about half
// as many creators and three times as many other keys. The same count
// always gives the same keys and values.
SeedSummary SeedMachineClasses(HKEY root, size_t extensionCount, const std::vector<IconFileInfo>& iconFiles);

struct UserSeedSummary {
    size_t keys = 0;       // direct sub-keys of the user's classes
    size_t extensions = 0; // of them extensions, the machine's as well as the user's own
    size_t overrides = 0;  // extensions and creators the machine holds too
    size_t records = 0;    // extensions in the record of choices
    size_t choices = 0;    // of them with a choice
};

// Fills the (empty) keys `classes` and `choices` with the user's side of the
// machine that SeedMachineClasses seeds for the same count: about one key in
// a hundred of the machine's, some over the machine's own extensions and
// creators and some the user's alone, and a record of choices for one
// extension in ten, half of them with a choice. The same count always gives
// the same keys and values.
UserSeedSummary SeedUserClasses(HKEY classes, HKEY choices, size_t extensionCount,
                                const std::vector<IconFileInfo>& iconFiles);
