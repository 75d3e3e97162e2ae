// Moves a settings file beside the test program out of the way for the
// lifetime of the object and puts it back afterwards, so tests that open
// and close the main window start without one and leave none behind.
#pragma once
#include <windows.h>

#include <string>

#include "persist/DataFolders.h"

class SettingsFileGuard {
public:
    SettingsFileGuard() : path_(ExecutableDirectory() + "morvido.ini"), saved_(path_ + ".saved-by-test")
    {
        Remove(saved_);
        moved_ = MoveFileExA(path_.c_str(), saved_.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
        Remove(path_);
        ForgetCachedFile();
    }
    ~SettingsFileGuard()
    {
        Remove(path_);
        if (moved_)
            MoveFileExA(saved_.c_str(), path_.c_str(), MOVEFILE_REPLACE_EXISTING);
        ForgetCachedFile();
    }

    // The profile functions keep the last file in memory; a test that
    // changes the file behind their back must make them read it again.
    void ForgetCachedFile() const { WritePrivateProfileStringA(nullptr, nullptr, nullptr, path_.c_str()); }
    SettingsFileGuard(const SettingsFileGuard&) = delete;
    SettingsFileGuard& operator=(const SettingsFileGuard&) = delete;

    const std::string& Path() const { return path_; }
    bool Exists() const { return GetFileAttributesA(path_.c_str()) != INVALID_FILE_ATTRIBUTES; }

private:
    // The file, or the directory a test put in its place.
    static void Remove(const std::string& path)
    {
        if (!DeleteFileA(path.c_str()))
            RemoveDirectoryA(path.c_str());
    }

    std::string path_;
    std::string saved_;
    bool moved_ = false;
};
