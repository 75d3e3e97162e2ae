#pragma once
#include <cstdint>

// The change mark that every entry carries until the commit acts on it.
// The values are bit-like on purpose: 3 is never used.
enum EntryState : std::int16_t {
    esUnchanged = 0,
    esModified = 1,
    esDeleted = 2,
    esAdded = 4,
};
