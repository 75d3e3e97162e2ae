#include "model/VerbEntry.h"

#include "model/KeyNames.h"

bool VerbEntry::IsOpen() const { return SameVerbName(Name, "open"); }

bool SameVerbName(const std::string& a, const std::string& b)
{
    return SameAsciiNoCase(a, b);
}
