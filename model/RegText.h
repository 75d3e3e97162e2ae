// Pieces of the REGEDIT4 script that both entry kinds write. Lines end in
// CR LF; texts go out as the bytes they hold.
#pragma once
#include <string>
#include <string_view>

#include "MorvidoVersion.h"
#include "model/RegistryLocation.h"

inline constexpr const char* kVersionLine = MORVIDO_VERSION_LINE;

// Every occurrence of pattern (left to right, not overlapping) replaced.
// An empty pattern or replacement leaves the source as it is.
std::string ReplaceAll(std::string_view source, std::string_view pattern, std::string_view replacement);

// Backslashes doubled first, then quotes escaped, so the added backslashes
// are not doubled again.
std::string EscapeRegValue(std::string_view value);

// "REGEDIT4", an empty line and the comment line with the version.
void AppendRegHeader(std::string& out);
// An empty line, then the key line for path below location.
void AppendRegKey(std::string& out, const RegistryLocation& location, std::string_view path);
// @="value", written as given.
void AppendRegDefault(std::string& out, std::string_view value);
// "name"="value", written as given.
void AppendRegNamedValue(std::string& out, std::string_view name, std::string_view value);
