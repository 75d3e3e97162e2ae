// The program's narrow texts (the active code page, UTF-8 under the
// manifest) in the UTF-16 that the platform keeps, and back, converted as
// the platform's narrow functions convert them.
#pragma once
#include <string>

std::wstring WidenText(const std::string& text);
std::string NarrowText(const std::wstring& text);

// The program's narrow text as the bytes of codePage, for a reader that
// reads that code page. A character the code page lacks becomes its default
// character ("?"), never a look-alike that could read as something else
// (the yen sign as a backslash in code page 932).
std::string TextInCodePage(const std::string& text, unsigned codePage);
