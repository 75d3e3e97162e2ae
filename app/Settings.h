// The settings file morvido.ini: the main window's place and size, its
// view style and the widths of the list's columns, as plain values.
#pragma once
#include <windows.h>

#include <array>
#include <string>

#include "view/ListRow.h"

struct WindowSettings {
    RECT Place{}; // outer rectangle in screen coordinates
    int ViewStyle = 0;
    std::array<int, kListColumnCount> ColumnWidths{};
    // Where commits write: 0 the user's classes, 1 the machine's, -1 not
    // chosen yet (then it follows whether the program runs as administrator).
    int SaveTarget = -1;
};

// The settings saved last, each missing or unreadable value at its default;
// a place on no monitor of the machine (or of no size) at the default place.
WindowSettings LoadWindowSettings();

// Writes the settings, stopping at the first key that fails (the keys
// before it stay); false with the message for the user on failure.
bool SaveWindowSettings(const WindowSettings& settings, std::string& failure);

// The window's place as the user left it: a minimised window reports a
// parking place far off-screen, so its restored place is taken instead.
RECT NormalWindowRect(HWND window);
