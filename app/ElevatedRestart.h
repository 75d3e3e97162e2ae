// Starting this program again with an administrator's rights, as the
// platform's own tools do: the manifest asks for none, and the shell's
// "runas" verb lets the user confirm, or sign in as an administrator, when
// the rights are wanted.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

class SingleInstanceGuard;

// What the shell is asked to start.
struct ElevatedStart {
    HWND Owner; // the window the prompt belongs to
    std::wstring Verb;
    std::wstring File;
    std::wstring Folder;
};

// Starts this program's file, in the current folder, elevated. The guard
// is let go first, or the new copy would refuse to start, and taken back
// when none started. ERROR_SUCCESS, ERROR_CANCELLED when the user declined
// at the prompt, or why the start failed.
DWORD StartElevatedCopy(HWND owner, SingleInstanceGuard* guard);

// Puts a recorder in place of the shell until reset with nullptr, so that
// tests start nothing.
void OverrideElevatedStart(std::function<DWORD(const ElevatedStart&)> start);
