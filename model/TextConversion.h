// The program's narrow texts (the active code page, UTF-8 under the
// manifest) in the UTF-16 that the platform keeps, and back, converted as
// the platform's narrow functions convert them.
#pragma once
#include <string>

std::wstring WidenText(const std::string& text);
std::string NarrowText(const std::wstring& text);
