#include "view/ShellServices.h"

#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <vector>

#include "model/TextConversion.h"
#include "persist/DataFolders.h"

std::string ExpandEnvironmentText(const std::string& file)
{
    if (file.find('%') == std::string::npos)
        return file;
    // The needed size (with the terminating zero) can grow between calls
    // when a variable changes meanwhile, so ask until the text fits.
    std::vector<char> buffer(file.size() + 256);
    for (;;) {
        const DWORD needed = ExpandEnvironmentStringsA(file.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
        if (needed == 0)
            return file;
        if (needed <= buffer.size())
            return std::string(buffer.data());
        buffer.resize(needed);
    }
}

HICON ExtractIconFromFile(const std::string& file, int number)
{
    const std::string expanded = ExpandEnvironmentText(file);
    const HICON icon = ExtractIconA(GetModuleHandleA(nullptr), expanded.c_str(), static_cast<UINT>(number));
    // 1 means "not an executable, library or icon file", not a handle.
    if (reinterpret_cast<UINT_PTR>(icon) <= 1)
        return nullptr;
    return icon;
}

int IconCountOf(const std::string& file)
{
    const std::string expanded = ExpandEnvironmentText(file);
    const HICON count = ExtractIconA(GetModuleHandleA(nullptr), expanded.c_str(), static_cast<UINT>(-1));
    return static_cast<int>(reinterpret_cast<UINT_PTR>(count));
}

namespace {
unsigned notificationCount = 0;
}

void NotifyAssociationsChanged()
{
    ++notificationCount;
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_FLUSH, nullptr, nullptr);
}

unsigned AssociationNotificationCount() { return notificationCount; }

void OpenHelpDocument(HWND owner)
{
    const std::string directory = ExecutableDirectory();
    const std::string page = directory + "readme.htm";
    // Nothing is reported when the page or a program for it is missing:
    // help is a convenience, and the shell shows its own message where it can.
    ShellExecuteA(owner, "open", page.c_str(), nullptr, directory.c_str(), SW_SHOWNORMAL);
}

std::string SystemShellLibraryPath()
{
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const UINT length = GetSystemDirectoryA(buffer.data(), static_cast<UINT>(buffer.size()));
        if (length == 0)
            return "\\SHELL32.DLL";
        // When it does not fit, the result is the size needed with the zero.
        if (length < buffer.size())
            return std::string(buffer.data(), length) + "\\SHELL32.DLL";
        buffer.resize(length);
    }
}

std::string ResolveIndirectText(const std::string& text)
{
    if (text.empty() || text[0] != '@')
        return text;
    wchar_t loaded[512] = {};
    if (FAILED(SHLoadIndirectString(WidenText(text).c_str(), loaded, ARRAYSIZE(loaded), nullptr)))
        return text;
    return NarrowText(loaded);
}
