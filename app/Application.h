// Start-up: the single-instance guard, the windows, the first load and the
// message loop.
#pragma once

inline constexpr const char* kMutexName = "MORVIDO";
inline constexpr const char* kAlreadyRunningMessage =
    "morvidoがすでに動作しています。morvidoは二重起動できません。";

// Runs the program to its end; returns the process exit code.
int RunMorvido();
