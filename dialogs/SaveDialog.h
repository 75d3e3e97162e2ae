// The dialogs that choose the file an export writes, and the script a load reads.
#pragma once
#include <windows.h>

#include <string>

// The save-file dialog with this title, filter ("text|pattern") and default
// extension. It starts from fileName, the name chosen last, and keeps the
// new choice there; false when the user cancels, and after a message when
// the dialog itself failed.
bool ExecuteSaveDialog(HWND owner, const char* title, const char* filter, const char* extension,
                       std::string& fileName);

// SaveDialog1, the dialog of both registry script exports.
bool ExecuteSaveDialog1(HWND owner, std::string& fileName);

// OpenDialog1, the dialog of loading a registry script; false when the user
// cancels, and after a message when the dialog itself failed.
bool ExecuteOpenDialog1(HWND owner, std::string& fileName);
