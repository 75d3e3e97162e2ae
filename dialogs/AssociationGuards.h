// The questions and refusals that stand before a change Windows warns
// against: a type that runs code, a type marked as not to be removed, and
// the user's own choice of program. Each shows its message boxes and
// answers whether the command may go on; none changes the catalog.
#pragma once
#include <windows.h>

#include <string>

#include "model/RegistryLocation.h"
#include "model/UserChoice.h"

enum class GuardedChange { Edit, Delete };

// For a type that runs code (IsDangerousType), asks with No as the default
// and a sentence on what breaks; true when the user goes on, and at once
// for every other type.
bool ConfirmDangerousChange(const std::string& extension, GuardedChange change);

// The delete command's gate: refuses with a message when the creator's
// EditFlags forbid removing it, else asks as above. True to go on.
bool AllowDelete(const std::string& extension, const std::string& creator, DWORD creatorEditFlags);

// The command "ユーザーの選択を解除": asks, then deletes the extension's
// user choice so that the classes apply again. When Windows refuses, says
// so and offers to open its own settings page for default apps; nothing
// else changes. When Windows lets only the older choice go, says what did
// change with the same offer (PartlyReleased). chosenName is the chosen
// type's name as the list shows it.
enum class ChoiceRelease { Cancelled, Released, PartlyReleased, Absent, Refused };
using ChoiceRemover = ChoiceRemoval (*)(const std::string& extension, const RegistryLocation& fileExts);
ChoiceRelease ReleaseUserChoice(const std::string& extension, const std::string& chosenName,
                                const RegistryLocation& fileExts = UserFileExts(),
                                ChoiceRemover remove = RemoveUserChoice);

inline constexpr const char* kDefaultAppsSettings = "ms-settings:defaultapps";
