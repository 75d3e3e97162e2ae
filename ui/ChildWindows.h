// Making the child controls of a window: panels that paint a raised edge,
// and controls that hand what their own children tell them (commands,
// notifications, colour requests) to the top-level window, which handles
// every command and notification of the form.
#pragma once
#include <windows.h>

inline constexpr const char* kPanelClass = "TPanel";

// Registers a window class with the face colour, and the icon iconId
// unless it is 0, once; false on failure.
bool RegisterFormClass(HINSTANCE instance, const char* name, WNDPROC procedure, int iconId);

// Registers the panel class once; false on failure.
bool RegisterPanelClass(HINSTANCE instance);

// A visible child control at (0, 0) with no size; the layout places it.
HWND CreateChild(const char* className, const char* text, DWORD style, HWND parent, int id, DWORD exStyle = 0);

// Makes control hand what its children tell it to the top-level window.
void ForwardToTopLevel(HWND control);
