// How morvido folds the case of registry key names. The catalog, the merge
// of the two layers of classes and the user's choices all key by it, so one
// name finds one entry wherever it was read.
#pragma once
#include <string>

// Lower case by the locale rules of the ANSI code page.
std::string LowerCaseName(const std::string& name);
