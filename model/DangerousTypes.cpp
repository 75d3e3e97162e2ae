#include "model/DangerousTypes.h"

#include <windows.h>
#include <shlwapi.h>

#include <string_view>

#include "model/TextConversion.h"

namespace {
// Not left to the platform alone: its list depends on the build and on each
// type's flags, and some systems (Wine among them) call nothing dangerous.
constexpr std::string_view kAlwaysDangerous[] = {".exe", ".com", ".bat", ".cmd", ".pif", ".scr",
                                                 ".lnk", ".msi", ".reg", ".cpl", ".hta", ".js",
                                                 ".jse", ".vbs", ".vbe", ".wsf", ".ps1"};

// lower is in lower case already.
bool SameAsciiNoCase(std::string_view text, std::string_view lower)
{
    if (text.size() != lower.size())
        return false;
    for (size_t i = 0; i < text.size(); ++i) {
        char x = text[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x - 'A' + 'a');
        if (x != lower[i])
            return false;
    }
    return true;
}
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
