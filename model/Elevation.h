// Whether this process runs with an administrator's full rights, which it
// needs to write the machine's classes. Behind one seam, because tests
// cannot vary it: under Wine every process is elevated.
#pragma once
#include <optional>
#include <string>

// The token's elevation, or the answer a test put in its place.
bool ProcessIsElevated();

// Replaces the answer of ProcessIsElevated until reset with std::nullopt.
void OverrideProcessElevation(std::optional<bool> answer);

// "DOMAIN\name" of the account the process token belongs to: the one whose
// own classes a per-user commit changes, which after an elevation with
// another administrator's sign-in is that administrator. Empty when the
// token cannot tell.
std::string ProcessAccountName();
