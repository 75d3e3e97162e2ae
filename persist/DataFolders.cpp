#include "persist/DataFolders.h"

#include <windows.h>
#include <shlobj.h>

#include <vector>


#include "model/Scoped.h"
#include "model/TextConversion.h"

namespace {

std::optional<DataFolders>& Override()
{
    static std::optional<DataFolders> folders;
    return folders;
}

std::string LocalAppDataDirectory()
{
    PWSTR path = nullptr;
    std::string result;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &path)) && path && *path)
        result = NarrowText(path) + '\\';
    CoTaskMemFree(path);
    return result;
}

bool IsFolder(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace

DataFolders CurrentDataFolders()
{
    if (Override())
        return *Override();
    return DataFolders{ExecutableDirectory(), LocalAppDataDirectory()};
}

void OverrideDataFolders(std::optional<DataFolders> folders) { Override() = std::move(folders); }

std::array<std::string, 2> DataFolderChoices(const std::string& sub)
{
    const DataFolders folders = CurrentDataFolders();
    // Without a user folder the second place would be relative to whatever
    // the current directory is; offer the program's folder again instead.
    if (folders.user.empty())
        return {folders.program + sub, folders.program + sub};
    return {folders.program + sub, folders.user + "morvido\\" + sub};
}

bool EnsureFolder(const std::string& folder)
{
    std::string path = folder;
    while (!path.empty() && path.back() == '\\')
        path.pop_back();
    if (path.empty())
        return false;
    if (CreateDirectoryA(path.c_str(), nullptr))
        return true;
    if (GetLastError() == ERROR_PATH_NOT_FOUND) {
        const size_t slash = path.find_last_of('\\');
        if (slash == std::string::npos || !EnsureFolder(path.substr(0, slash)))
            return false;
        CreateDirectoryA(path.c_str(), nullptr);
    }
    return IsFolder(path);
}

bool FolderIsWritable(const std::string& folder)
{
    if (!IsFolder(folder))
        return false;
    const std::string probe = folder + "morvido-write-test-" + std::to_string(GetCurrentProcessId()) + ".tmp";
    // Deleted as its handle closes, so not even a crash leaves it behind.
    ScopedKernelHandle file(CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    if (file.Get() == INVALID_HANDLE_VALUE) {
        file.Release();
        return false;
    }
    return true;
}

std::string ExecutableDirectory()
{
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return std::string();
        // A name that fills the whole buffer may have been cut short.
        if (length < buffer.size()) {
            std::string path(buffer.data(), length);
            const size_t slash = path.find_last_of('\\');
            path.resize(slash == std::string::npos ? 0 : slash + 1);
            return path;
        }
        buffer.resize(buffer.size() * 2);
    }
}
