// Where the program keeps its own files, the settings and the registry
// backups: beside the executable where that folder can be written,
// otherwise below "morvido" in the user's local application data folder,
// because a standard user cannot write where programs are installed.
#pragma once
#include <array>
#include <optional>
#include <string>

struct DataFolders {
    std::string program; // the executable's folder, with a trailing backslash
    std::string user;    // the user's local application data folder, likewise
};

// The executable's folder with its trailing backslash.
std::string ExecutableDirectory();

// The real folders, unless a test has pointed them elsewhere.
DataFolders CurrentDataFolders();

// Tests point the folders at scratch places (a "folder" that is an existing
// file cannot be written); nothing clears the override.
void OverrideDataFolders(std::optional<DataFolders> folders);

// The two places for files below sub ("" or a folder name with a trailing
// backslash), the preferred one first: the program's and the user's.
std::array<std::string, 2> DataFolderChoices(const std::string& sub);

// Creates folder and its missing parents; true when it is a folder afterwards.
bool EnsureFolder(const std::string& folder);

// True when a new file can be created in folder (tried, then removed).
bool FolderIsWritable(const std::string& folder);
