// Points the folders where the program keeps its settings and backups at
// scratch places for the lifetime of the object, so no test writes into the
// real user profile. Likewise the answer to whether the process is
// elevated, which no assertion that ends a test early may leave behind.
#pragma once
#include <string>

#include "model/Elevation.h"
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

class ElevationOverride {
public:
    explicit ElevationOverride(bool elevated) { OverrideProcessElevation(elevated); }
    ~ElevationOverride() { OverrideProcessElevation(std::nullopt); }
    ElevationOverride(const ElevationOverride&) = delete;
    ElevationOverride& operator=(const ElevationOverride&) = delete;
};
