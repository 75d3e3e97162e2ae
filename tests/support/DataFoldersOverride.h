// Points the folders where the program keeps its settings and backups at
// scratch places for the lifetime of the object, so no test writes into the
// real user profile.
#pragma once
#include <string>

#include "persist/DataFolders.h"

class DataFoldersOverride {
public:
    DataFoldersOverride(const std::string& program, const std::string& user)
    {
        OverrideDataFolders(DataFolders{program, user});
    }
    ~DataFoldersOverride() { OverrideDataFolders(std::nullopt); }
    DataFoldersOverride(const DataFoldersOverride&) = delete;
    DataFoldersOverride& operator=(const DataFoldersOverride&) = delete;
};
