// Copy on write between the two layers of the classes. Where the user's
// classes hold a key, Windows takes its values from that key alone and the
// machine's key of the same path adds only the sub-keys the user's lacks.
// A key that a per-user write creates would so hide every value of the
// machine's key for this user, unless those values come along.
#pragma once
#include <windows.h>

#include <string>

#include "model/RegistryLocation.h"

// Walks path from its first key down. Each key that target.Layer lacks and
// target.Below holds is created in Layer with a copy of every value of
// Below's key, whatever its type (not its sub-keys: they merge on their
// own); the walk ends at the first key neither holds. ERROR_SUCCESS, or the
// failure of the first key that could not be made. Without Below, nothing
// to do.
LONG CopyOnWrite(const WriteTarget& target, const std::string& path);

// Whether location holds the key (any case); a key that cannot be opened
// for another reason than its absence counts as held, as the registry
// still shows it.
bool LayerHoldsKey(const RegistryLocation& location, const std::string& path);
