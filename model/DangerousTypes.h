// File types whose files run code when opened. Changing or deleting their
// association changes what runs, or stops programs and scripts from
// starting, so the program asks before doing either.
#pragma once
#include <string>

// True for an extension (with or without its dot, in any case) that the
// platform calls dangerous (AssocIsDangerous), and in any case for the
// kinds of programs and scripts every Windows runs.
bool IsDangerousType(const std::string& extension);
