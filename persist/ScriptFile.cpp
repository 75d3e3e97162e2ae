#include "persist/ScriptFile.h"

#include <windows.h>

#include "model/Scoped.h"
#include "persist/RegScript.h"

ScriptFile ReadScriptFile(const std::string& path)
{
    ScriptFile result;
    ScopedKernelHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.Get() == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        file.Release();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            result.Status = ScriptFileStatus::NotFound;
        return result;
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size))
        return result;
    if (static_cast<unsigned long long>(size.QuadPart) > kLargestScript) {
        result.Status = ScriptFileStatus::TooLarge;
        return result;
    }
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() &&
        (!ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) || read != bytes.size()))
        return result;
    RegFileParse parsed = ParseRegFile(bytes, SystemAnsiCodePage());
    if (!parsed.File) {
        result.Status = ScriptFileStatus::Faulty;
        result.ErrorLine = parsed.ErrorLine;
        result.Error = std::move(parsed.Error);
        return result;
    }
    result.Status = ScriptFileStatus::Parsed;
    result.File = std::move(parsed.File);
    return result;
}
