// Whether this process runs with an administrator's full rights, which it
// needs to write the machine's classes. Behind one seam, because tests
// cannot vary it: under Wine every process is elevated.
#pragma once
#include <optional>

// The token's elevation, or the answer a test put in its place.
bool ProcessIsElevated();

// Replaces the answer of ProcessIsElevated until reset with std::nullopt.
void OverrideProcessElevation(std::optional<bool> answer);
