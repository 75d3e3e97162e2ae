// The main window's commands as tables: the toolbar buttons with their
// hints, the menus and the keyboard shortcuts.
#pragma once
#include <windows.h>

#include <array>
#include <map>
#include <span>
#include <string>

struct ToolbarButton {
    int number; // SpeedButtonN
    UINT command;
    int x;      // 96-DPI pixels from the toolbar's left
    int glyph;
    const char* hint; // tooltip|status bar text
};

// Left to right.
std::span<const ToolbarButton> ToolbarButtons();

// Creates the buttons on the toolbar panel, each with its tooltip and its
// hint, and keeps them by number.
void CreateToolbarButtons(HWND panel, HWND tooltip, std::array<HWND, 13>& buttons,
                          std::map<HWND, std::string>& hints);

// The menu bar, with each item's shortcut after a tab.
HMENU CreateMainMenu();
// The context menu of the list.
HMENU CreateListMenu();
HACCEL CreateShortcuts();

// The sorts as the protocol view offers them in menu: the first column
// holds the scheme, and a scheme has no content type or creator to sort by.
void ShowSchemeSorts(HMENU menu, bool schemes);

// The menu's mark and the status bar's text of where commits write;
// account: the one whose own classes the user's target changes.
void CheckSaveTarget(HMENU menu, bool user);
std::string SaveTargetText(bool user, bool elevated, const std::string& account);
