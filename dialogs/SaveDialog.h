// SaveDialog1: the file dialog of both registry script exports.
#pragma once
#include <windows.h>

#include <string>

// Starts from fileName, the name chosen last, and keeps the new choice
// there; false when the user cancels, and after a message when the dialog
// itself failed.
bool ExecuteSaveDialog1(HWND owner, std::string& fileName);
