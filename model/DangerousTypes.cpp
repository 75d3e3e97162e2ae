#include "model/DangerousTypes.h"

#include <windows.h>
#include <shlwapi.h>

#include <string_view>

#include "model/KeyNames.h"
#include "model/TextConversion.h"

namespace {
// Not left to the platform alone: its list depends on the build and on each
// type's flags, and some systems (Wine among them) call nothing dangerous.
constexpr std::string_view kAlwaysDangerous[] = {".exe", ".com", ".bat", ".cmd", ".pif", ".scr",
                                                 ".lnk", ".msi", ".reg", ".cpl", ".hta", ".js",
                                                 ".jse", ".vbs", ".vbe", ".wsf", ".ps1"};
} // namespace

bool IsDangerousType(const std::string& extension)
{
    if (extension.empty())
        return false;
    const std::string dotted = extension[0] == '.' ? extension : "." + extension;
    for (std::string_view known : kAlwaysDangerous)
        if (SameAsciiNoCase(dotted, known))
            return true;
    return AssocIsDangerous(WidenText(dotted).c_str()) != FALSE;
}
