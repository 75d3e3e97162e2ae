#include "model/Elevation.h"

#include <windows.h>

#include "model/Scoped.h"

namespace {
std::optional<bool> overridden;
}

bool ProcessIsElevated()
{
    if (overridden)
        return *overridden;
    ScopedKernelHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.Put())) {
        token.Release();
        // Unknown counts as not elevated: a write is then refused up front
        // rather than half done.
        return false;
    }
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    return GetTokenInformation(token.Get(), TokenElevation, &elevation, sizeof elevation, &size) &&
           elevation.TokenIsElevated != 0;
}

void OverrideProcessElevation(std::optional<bool> answer) { overridden = answer; }
