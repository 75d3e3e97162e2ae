#include <windows.h>

#include <string>

#include "app/Application.h"
#include "app/CommandLine.h"
#include "model/RegistryLocation.h"
#include "model/Scoped.h"

#ifdef MORVIDO_TEST_SEAMS
// Lets the tests start real copies of the program on a scratch key of
// HKEY_CURRENT_USER instead of the machine's classes: the variable names
// that key's path below HKEY_CURRENT_USER. The user's classes and choices
// are the keys of the same path ending in "-user" and "-fileexts", the
// choices of URL schemes the one ending in "-urls". Only
// the tests' build has it: a shipped program always works on the real
// classes, whatever its environment says.
static void RedirectClassesRootForTests()
{
    char path[512];
    const DWORD length = GetEnvironmentVariableA("MORVIDO_CLASSES_ROOT", path, sizeof path);
    if (length == 0 || length >= sizeof path)
        return;
    ScopedHKey key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Put(), nullptr) !=
            ERROR_SUCCESS ||
        RegOverridePredefKey(ClassesRoot().Root, key.Get()) != ERROR_SUCCESS)
        return;
    const std::string scratch = path;
    OverrideAssociationLocations(AssociationLocations{
        RegistryLocation{HKEY_CURRENT_USER, scratch + "-user", UserClasses().ScriptName}, ClassesRoot(),
        RegistryLocation{HKEY_CURRENT_USER, scratch + "-fileexts", UserFileExts().ScriptName},
        RegistryLocation{HKEY_CURRENT_USER, scratch + "-urls", UserUrlAssociations().ScriptName}});
}
#endif

// Windows before 10 version 1903 ignores the manifest's UTF-8 code page,
// and every narrow text of the program would be garbled there.
static bool ActiveCodePageIsUtf8() { return GetACP() == CP_UTF8; }

// In UTF-16, as no narrow text shows right where it is needed. A box for
// the command line as well: its console output converts through the same
// code page.
constexpr const wchar_t* kNeedsNewerWindows = L"morvidoを使うには、Windows 10 バージョン 1903 以降が必要です。";

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    // DLLs loaded later come from the system folder only, never from the
    // folder the program was started from, which may be a download folder.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!ActiveCodePageIsUtf8()) {
        MessageBoxW(nullptr, kNeedsNewerWindows, L"エラー", MB_OK | MB_ICONERROR);
        return 1;
    }
#ifdef MORVIDO_TEST_SEAMS
    RedirectClassesRootForTests();
#endif
    // Only a bare start opens the window; everything else is for scripts.
    const CommandLineRequest request = ParseCommandLine(CommandLineArguments());
    if (request.Action != CommandAction::OpenWindow)
        return RunCommandLine(request);
    return RunMorvido();
}
