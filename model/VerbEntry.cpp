#include "model/VerbEntry.h"

#include <algorithm>

bool VerbEntry::IsOpen() const { return SameVerbName(Name, "open"); }

bool SameVerbName(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
               return lower(x) == lower(y);
           });
}
