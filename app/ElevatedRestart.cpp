#include "app/ElevatedRestart.h"

#include <shellapi.h>

#include <utility>

#include "app/SingleInstanceGuard.h"

namespace {

std::function<DWORD(const ElevatedStart&)> overridden;

// The error of the call that just failed; never "success", which would
// make a failed start look like one.
DWORD LastFailure()
{
    const DWORD error = GetLastError();
    return error != ERROR_SUCCESS ? error : ERROR_GEN_FAILURE;
}

// The full path however long it is; empty on failure.
std::wstring ProgramFile()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::wstring CurrentFolder()
{
    std::wstring folder(GetCurrentDirectoryW(0, nullptr), L'\0');
    const DWORD length = GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data());
    folder.resize(length < folder.size() ? length : 0);
    return folder;
}

DWORD ShellStart(const ElevatedStart& start)
{
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    // Our own message says why a start failed; the call returns only once
    // the start is done, as the window closes right after it.
    info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.hwnd = start.Owner;
    info.lpVerb = start.Verb.c_str();
    info.lpFile = start.File.c_str();
    info.lpDirectory = start.Folder.empty() ? nullptr : start.Folder.c_str();
    info.nShow = SW_SHOWNORMAL;
    return ShellExecuteExW(&info) ? ERROR_SUCCESS : LastFailure();
}

} // namespace

DWORD StartElevatedCopy(HWND owner, SingleInstanceGuard* guard)
{
    const ElevatedStart start{owner, L"runas", ProgramFile(), CurrentFolder()};
    if (start.File.empty())
        return LastFailure();
    if (guard)
        guard->Release();
    const DWORD result = overridden ? overridden(start) : ShellStart(start);
    // Should another copy have taken the guard meanwhile, this one goes on
    // without it rather than close under the user.
    if (result != ERROR_SUCCESS && guard)
        guard->Take();
    return result;
}

void OverrideElevatedStart(std::function<DWORD(const ElevatedStart&)> start) { overridden = std::move(start); }
