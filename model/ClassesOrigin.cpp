#include "model/ClassesOrigin.h"

#include <algorithm>

#include "model/KeyNames.h"

namespace {
// The catalog keys its entries by LowerCaseName, so the merge folds case
// the same way and an entry's origin is found under its own key. (The
// registry folds to upper case; the two differ only for a few letters
// outside ASCII.)
std::vector<OriginName> Sorted(const std::vector<std::string>& names, ClassesOrigin origin)
{
    std::vector<OriginName> sorted;
    sorted.reserve(names.size());
    for (const std::string& name : names)
        sorted.push_back({LowerCaseName(name), name, origin});
    std::sort(sorted.begin(), sorted.end(),
              [](const OriginName& a, const OriginName& b) { return a.Key < b.Key; });
    return sorted;
}
} // namespace

std::vector<OriginName> MergeClassesKeyNames(const std::vector<std::string>& userNames,
                                             const std::vector<std::string>& machineNames)
{
    std::vector<OriginName> user = Sorted(userNames, ClassesOrigin::User);
    std::vector<OriginName> machine = Sorted(machineNames, ClassesOrigin::Machine);
    std::vector<OriginName> merged;
    merged.reserve(user.size() + machine.size());
    auto u = user.begin(), m = machine.begin();
    while (u != user.end() || m != machine.end()) {
        if (m == machine.end() || (u != user.end() && u->Key < m->Key)) {
            merged.push_back(std::move(*u++));
        } else if (u == user.end() || m->Key < u->Key) {
            merged.push_back(std::move(*m++));
        } else {
            merged.push_back(std::move(*u++));
            merged.back().Origin = ClassesOrigin::Both;
            ++m;
        }
    }
    return merged;
}

ClassesOrigin FindOrigin(const std::vector<OriginName>& merged, const std::string& name)
{
    const std::string key = LowerCaseName(name);
    const auto found = std::lower_bound(merged.begin(), merged.end(), key,
                                        [](const OriginName& entry, const std::string& k) { return entry.Key < k; });
    return found != merged.end() && found->Key == key ? found->Origin : ClassesOrigin::None;
}
