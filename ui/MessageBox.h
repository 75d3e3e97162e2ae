// The message boxes every window shows, with the program's fixed captions.
#pragma once
#include <windows.h>
#include <string>

inline constexpr const char* kCaptionError = "エラー";
inline constexpr const char* kCaptionConfirm = "確認";
inline constexpr const char* kCaptionInfo = "情報";

// Owned by the active window of this thread when there is one, so the box
// stays in front of the window it is about.
int ShowMessage(const std::string& text, const char* caption, UINT flags);
inline void ShowError(const std::string& text) { ShowMessage(text, kCaptionError, MB_OK | MB_ICONERROR); }
inline void ShowInfo(const std::string& text) { ShowMessage(text, kCaptionInfo, MB_OK | MB_ICONINFORMATION); }
