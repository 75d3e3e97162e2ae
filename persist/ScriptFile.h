// Reading a registry script from a file for review. No windows: what went
// wrong comes back as a value.
#pragma once
#include <optional>
#include <string>

#include "model/RegFile.h"

// Larger files are refused before they are read: no association script
// comes near it, and reading one whole would hold all of it in memory.
inline constexpr unsigned long long kLargestScript = 64ull * 1024 * 1024;

enum class ScriptFileStatus { Parsed, NotFound, TooLarge, ReadFailed, Faulty };

struct ScriptFile {
    ScriptFileStatus Status = ScriptFileStatus::ReadFailed;
    std::optional<RegFile> File; // when Parsed
    int ErrorLine = 0;           // when Faulty
    std::string Error;           // when Faulty: the reader's reason
};

// Reads the whole file and parses it as the platform's regedit would, with
// REGEDIT4 texts in the system's ANSI code page.
ScriptFile ReadScriptFile(const std::string& path);
