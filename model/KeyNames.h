// How morvido folds the case of registry key names. The catalog, the merge
// of the two layers of classes and the user's choices all key by it, so one
// name finds one entry wherever it was read.
#pragma once
#include <string>
#include <string_view>

// Lower case by the locale rules of the ANSI code page.
std::string LowerCaseName(const std::string& name);

// Equal but for the case of ASCII letters: for names the system spells in
// ASCII (roots, value names, verbs, the extensions it knows), where other
// bytes never fold.
bool SameAsciiNoCase(std::string_view a, std::string_view b);
