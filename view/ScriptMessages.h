// What the window and the command line say about a registry script loaded
// for review, so both say the same.
#pragma once
#include <string>

#include "model/ScriptChanges.h"
#include "persist/ScriptFile.h"

// Why nothing was loaded from the file; empty when it was parsed.
std::string ScriptFileMessage(const std::string& path, const ScriptFile& file);

// What the script changes and what it leaves out; userTarget: the commit
// writes the user's classes, so a script naming the machine's is told, and
// the other way round.
std::string ScriptLoadReport(const std::string& path, const ScriptLoad& load, bool userTarget);

// One left-out line of the report: the script's path, and why where a lock
// or a reserved scheme kept it out.
std::string LeftOutLine(const LeftOutItem& item);
