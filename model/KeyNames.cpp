#include "model/KeyNames.h"

#include <windows.h>

namespace {
bool IsAscii(const std::string& text)
{
    for (const char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

void LowerAsciiInPlace(std::string& text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
}
} // namespace

bool SameAsciiNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        x = x >= 'A' && x <= 'Z' ? static_cast<char>(x - 'A' + 'a') : x;
        y = y >= 'A' && y <= 'Z' ? static_cast<char>(y - 'A' + 'a') : y;
        if (x != y)
            return false;
    }
    return true;
}

std::string LowerCaseName(const std::string& name)
{
    std::string lower = name;
    // Nearly every key name is plain ASCII; only the rest needs the locale.
    // (In a two-byte code page the second byte of a character may look like
    // an ASCII capital, so bytes are lowered one by one only when all are
    // ASCII.)
    if (IsAscii(name)) {
        LowerAsciiInPlace(lower);
        return lower;
    }
    const int byteLength = static_cast<int>(name.size());
    const int wideLength = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, name.data(), byteLength, nullptr, 0);
    if (wideLength <= 0) {
        // Bytes the code page cannot read: in UTF-8 the ASCII bytes still
        // stand for themselves; elsewhere leave the name as it is.
        if (GetACP() == CP_UTF8)
            LowerAsciiInPlace(lower);
        return lower;
    }
    std::wstring wide(static_cast<size_t>(wideLength), L'\0');
    MultiByteToWideChar(CP_ACP, 0, name.data(), byteLength, wide.data(), wideLength);
    CharLowerBuffW(wide.data(), static_cast<DWORD>(wide.size()));
    const int lowerLength = WideCharToMultiByte(CP_ACP, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    if (lowerLength <= 0)
        return lower;
    lower.assign(static_cast<size_t>(lowerLength), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), wideLength, lower.data(), lowerLength, nullptr, nullptr);
    return lower;
}
