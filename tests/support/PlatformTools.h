// The platform's own registry tools as test oracles, and scratch files for
// what they read and write.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// Runs a command line (a program of the platform such as regedit.exe or
// reg.exe) without a window and waits for it; its exit code, or -1 when it
// cannot be started or does not end in time.
int RunPlatformTool(const std::string& commandLine, DWORD timeoutMs = 120000);

// A fresh folder below the temporary directory, removed with everything in
// it when the object goes.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // The folder with a trailing backslash.
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + name; }

private:
    std::string path_;
};

// Whole files as bytes; an empty text when the file cannot be read.
std::string ReadFileBytes(const std::string& path);
bool WriteFileBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);
// The names of the files a pattern such as "folder\*.reg" finds.
std::vector<std::string> ListFiles(const std::string& pattern);
