#include "view/ListRow.h"

#include <windows.h>

#include "model/TextConversion.h"

std::wstring PreparedForComparison(const std::string& text) { return WidenText(text); }

int ComparePrepared(const std::wstring& first, const std::wstring& second)
{
    // What lstrcmpA does once both texts are converted: the thread's
    // locale, no flags, a result of 1, 2 or 3 for less, equal, greater.
    return CompareStringW(GetThreadLocale(), 0, first.c_str(), -1, second.c_str(), -1) - CSTR_EQUAL;
}
