// What the command line asks of the program. With no arguments it opens its
// window; /export and /defaults save associations of the registry as it is
// and end, for scripts and software deployment.
#pragma once
#include <string>
#include <vector>

#include "persist/DefaultAssociations.h"

inline constexpr int kExitSucceeded = 0;
inline constexpr int kExitFailed = 1; // an unknown extension or scheme, an entry to save that could not be read, a text no
                                      // file can hold, a file not written
inline constexpr int kExitBadCommandLine = 2;
// /check: every key of the script would load (0), some would be left out
// (1), the file is no registry script that can be read (2).
inline constexpr int kExitScriptLoads = 0;
inline constexpr int kExitScriptLeavesOut = 1;
inline constexpr int kExitScriptUnreadable = 2;

extern const char* const kCommandLineUsage;

enum class CommandAction { OpenWindow, ShowUsage, ExportScript, ExportDefaults, CheckScript, Refuse };

struct CommandLineRequest {
    CommandAction Action = CommandAction::OpenWindow;
    std::string File;
    // Keys as the catalog spells them (lower case, with the dot); empty,
    // with Schemes empty too, for every association.
    std::vector<std::string> Extensions;
    // /defaults only: URL schemes (mailto), lower case, without a colon.
    std::vector<std::string> Schemes;
    // /defaults only: Version, Suggested and the deployment files; the
    // policy script goes beside File, with the extension .reg.
    DefaultsOptions Defaults;
    std::string IntuneFile; // the base64 goes there when Defaults.IntuneBase64
    std::string Problem; // why a Refuse was refused
};

// The request of the arguments after the program's name. Options are case
// blind and begin with "/" or "-"; "/?" anywhere asks for the usage text.
CommandLineRequest ParseCommandLine(const std::vector<std::string>& arguments);

// The arguments after the program's name, split as the platform splits
// them, in the program's narrow texts.
std::vector<std::string> CommandLineArguments();

// Carries out a request other than OpenWindow, reporting on the console
// the program was started from (or on the handles it was given), and
// returns the exit code. No window, no single-instance guard.
int RunCommandLine(const CommandLineRequest& request);
