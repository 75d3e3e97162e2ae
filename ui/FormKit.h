// What every window of the program shares: its font, layouts given in
// pixels at 96 DPI and scaled to the window's DPI, centring, and the modal
// loop of windows that are created once and shown many times.
#pragma once
#include <windows.h>

#include <string>

inline constexpr const char* kFormFontName = "ＭＳ Ｐゴシック";
// Character height in pixels at 96 DPI.
inline constexpr int kFormFontHeight = 12;

// The window's DPI; 96 when the system cannot tell.
UINT WindowDpi(HWND window);
inline int ScaleToDpi(int pixels, UINT dpi) { return MulDiv(pixels, static_cast<int>(dpi), 96); }

// The program's font at the DPI given; the caller owns it.
HFONT CreateFormFont(UINT dpi);
// Gives the window and all its descendants the font.
void SetFontOfTree(HWND window, HFONT font);

// Moves and sizes a child; place and size are 96-DPI pixels of its parent's
// client area.
void PlaceChild(HWND child, int x, int y, int width, int height, UINT dpi);
// Sizes the window so that its client area is width x height 96-DPI pixels.
void SetClientSize(HWND window, int width, int height, UINT dpi);
// Centres the window on the work area of the primary monitor.
void CenterOnDesktop(HWND window);

// The window's text; empty for a window that has none.
std::string WindowText(HWND window);

// Shows `window` modally over `owner` and runs messages until `closed`
// becomes true; the window is then hidden, not destroyed, so it keeps its
// state for the next showing.
void RunModal(HWND window, HWND owner, bool& closed);

// Runs the open-file or save-file dialog over `owner`. The filter is
// written as the program shows it, "text|pattern|text|pattern"; title and
// default extension may be nullptr. The dialog starts with path and leaves
// the chosen one there; false when cancelled or when the dialog failed
// (CommDlgExtendedError tells which).
enum class FileDialog { Open, Save };
bool ChooseFile(FileDialog kind, HWND owner, const char* title, const char* filter, const char* defaultExtension,
                std::string& path);
