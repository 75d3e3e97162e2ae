// A registry script as the platform's regedit reads it, parsed into its
// key blocks and values, without touching the registry. Both forms regedit
// writes are read: "REGEDIT4" in the system's ANSI code page, and "Windows
// Registry Editor Version 5.00" in UTF-16 LE with a byte-order mark.
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One value line: "name"=…, @=… for the default value, "name"=- to delete.
struct RegFileValue {
    std::string Name;     // the program's narrow text; empty for the default value (@)
    bool Delete = false;  // "name"=-
    DWORD Type = REG_SZ;  // REG_SZ for a quoted string, REG_DWORD for dword:, REG_BINARY for hex:, n for hex(n):
    // The bytes the registry would hold: for a quoted string its UTF-16 LE
    // text with one terminating zero, for dword: four bytes little-endian,
    // for hex forms the bytes as written.
    std::vector<unsigned char> Data;
    // For REG_SZ and REG_EXPAND_SZ (quoted or hex(1)/hex(2)), the text in
    // the program's narrow texts, up to the first terminating zero; hex
    // strings are UTF-16 LE in a Unicode script and ANSI in a REGEDIT4 one.
    // Empty for other types, and for string bytes that do not convert.
    std::optional<std::string> Text;
    int Line = 0; // 1-based line on which the value begins
};

// One key line ([path] or [-path]) and the values that follow it.
struct RegFileKey {
    std::string Path;    // as written, without the brackets or the minus; the program's narrow text
    bool Delete = false; // [-path]: the key and all its sub-keys go
    std::vector<RegFileValue> Values; // in file order; a [-path] block has none
    int Line = 0;
};

struct RegFile {
    bool Unicode = false; // "Windows Registry Editor Version 5.00"
    std::vector<RegFileKey> Keys; // in file order; a key may appear more than once
};

// Either the parsed file, or the first line at fault and why. A file that
// does not start with either header is at fault on line 1.
struct RegFileParse {
    std::optional<RegFile> File;
    int ErrorLine = 0;     // 1-based, when File is empty
    std::string Error;     // short Japanese reason, when File is empty
};

// Parses a whole file. ansiCodePage is the code page of REGEDIT4 texts
// (SystemAnsiCodePage() for what regedit itself reads).
RegFileParse ParseRegFile(std::string_view bytes, UINT ansiCodePage);
