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
// are the keys of the same path ending in "-user" and "-fileexts". Only
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
        RegistryLocation{HKEY_CURRENT_USER, scratch + "-fileexts", UserFileExts().ScriptName}});
}
#endif

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
#ifdef MORVIDO_TEST_SEAMS
    RedirectClassesRootForTests();
#endif
    // Only a bare start opens the window; everything else is for scripts.
    const CommandLineRequest request = ParseCommandLine(CommandLineArguments());
    if (request.Action != CommandAction::OpenWindow)
        return RunCommandLine(request);
    return RunMorvido();
}
