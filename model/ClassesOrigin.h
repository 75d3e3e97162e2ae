// Where a key of the merged classes view comes from. Windows shows the
// user's classes over the machine's: a key that both hold is the user's,
// names compared without regard to case. Under Wine, which does not merge
// the two, the program merges them itself the same way.
#pragma once
#include <string>
#include <vector>

#include "model/RegistryLocation.h"

enum class ClassesOrigin { None, User, Machine, Both };

struct OriginName {
    std::string Key;  // the lower-cased name (LowerCaseName), what the list is sorted by
    std::string Name; // as spelled in the user's classes when they hold it, else the machine's
    ClassesOrigin Origin = ClassesOrigin::None;

    bool operator==(const OriginName&) const = default;
};

// The names of both, each once with its origin, sorted by Key.
std::vector<OriginName> MergeClassesKeyNames(const std::vector<std::string>& userNames,
                                             const std::vector<std::string>& machineNames);

// The origin of a name (any case) in a merged list; None when absent.
ClassesOrigin FindOrigin(const std::vector<OriginName>& merged, const std::string& name);

