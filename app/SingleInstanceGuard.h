// The named mutex that keeps a second copy of the window from starting.
// The main window lets go of it for the elevated copy it starts.
#pragma once
#include "model/Scoped.h"

inline constexpr const char* kMutexName = "MORVIDO";

class SingleInstanceGuard {
public:
    // Takes the guard; false when another copy holds it. A guard that
    // cannot be made at all does not stop the program: true without one.
    bool Take();
    // Lets another copy take it; harmless when not held.
    void Release();

private:
    ScopedKernelHandle mutex_;
};
