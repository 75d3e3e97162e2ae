#include "model/RegFile.h"

#include <climits>

#include "model/TextConversion.h"

namespace {
constexpr const char* kNotRegFile = "レジストリファイルではありません。";
constexpr const char* kTooLarge = "ファイルが大きすぎます。";
constexpr const char* kUnreadableLine = "この行は読み取れません。";
constexpr const char* kKeyEnd = "キーの名前の終わりの「]」がありません。";
constexpr const char* kKeyEmpty = "キーの名前がありません。";
constexpr const char* kValueBeforeKey = "キーの行より前に値があります。";
constexpr const char* kQuoteEnd = "文字列の終わりの「\"」がありません。";
constexpr const char* kBadEscape = "文字列の「\\」のあとには「\\」か「\"」しか書けません。";
constexpr const char* kNoEquals = "値の名前のあとに「=」がありません。";
constexpr const char* kExtraText = "行の終わりに余計な文字があります。";
constexpr const char* kBadType = "値の種類が読み取れません。";
constexpr const char* kBadDword = "dword: の値は 8 桁までの 16 進数で書きます。";
constexpr const char* kBadHex = "16 進数のバイトが読み取れません。";
constexpr const char* kHexNoEnd = "16 進数の値が「\\」のあと続かないまま、ファイルが終わっています。";

constexpr std::string_view kAnsiHeader = "REGEDIT4";
constexpr std::wstring_view kUnicodeHeader = L"Windows Registry Editor Version 5.00";

bool IsBlank(wchar_t c)
{
    return c == L' ' || c == L'\t';
}

std::wstring_view SkipBlanks(std::wstring_view text)
{
    size_t start = 0;
    while (start < text.size() && IsBlank(text[start]))
        ++start;
    return text.substr(start);
}

// What follows a statement may be blanks and a comment, nothing else.
bool OnlyCommentLeft(std::wstring_view rest)
{
    rest = SkipBlanks(rest);
    return rest.empty() || rest.front() == L';';
}

int HexDigit(wchar_t c)
{
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    return -1;
}

// The leading hex digits of text as a number; returns how many there are.
// Callers refuse a run of more than eight, whose number would overflow.
size_t ReadHexNumber(std::wstring_view text, DWORD& number)
{
    number = 0;
    size_t digits = 0;
    for (; digits < text.size() && HexDigit(text[digits]) >= 0; ++digits)
        number = (number << 4) | static_cast<DWORD>(HexDigit(text[digits]));
    return digits;
}

bool StartsWith(std::wstring_view text, std::wstring_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

// Bytes of codePage as UTF-16. Strict refuses bytes the code page does not
// define; code pages that cannot check (ERROR_INVALID_FLAGS) convert as is.
std::optional<std::wstring> DecodeCodePage(std::string_view bytes, UINT codePage, bool strict)
{
    if (bytes.empty())
        return std::wstring();
    DWORD flags = strict ? MB_ERR_INVALID_CHARS : 0;
    const int size = static_cast<int>(bytes.size());
    int length = MultiByteToWideChar(codePage, flags, bytes.data(), size, nullptr, 0);
    if (length <= 0 && flags != 0 && GetLastError() == ERROR_INVALID_FLAGS) {
        flags = 0;
        length = MultiByteToWideChar(codePage, flags, bytes.data(), size, nullptr, 0);
    }
    if (length <= 0)
        return std::nullopt;
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(codePage, flags, bytes.data(), size, wide.data(), length);
    return wide;
}

// UTF-16 LE bytes; an odd last byte is no character and is left out, as
// regedit reads whole characters only.
std::wstring DecodeUtf16(std::string_view bytes)
{
    std::wstring wide(bytes.size() / 2, L'\0');
    for (size_t i = 0; i < wide.size(); ++i)
        wide[i] = static_cast<wchar_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                       (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    return wide;
}

bool HasLoneSurrogate(std::wstring_view text)
{
    for (size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
            ++i;
        else if (c >= 0xD800 && c <= 0xDFFF)
            return true;
    }
    return false;
}

void AppendUtf16(std::vector<unsigned char>& data, std::wstring_view text)
{
    data.reserve(data.size() + 2 * text.size());
    for (const wchar_t c : text) {
        data.push_back(static_cast<unsigned char>(c & 0xFF));
        data.push_back(static_cast<unsigned char>((c >> 8) & 0xFF));
    }
}

// The text of string bytes written as hex, up to the first terminating zero;
// none when the bytes are no text of the script's encoding.
std::optional<std::string> HexStringText(const std::vector<unsigned char>& data, bool unicode, UINT ansiCodePage)
{
    if (unicode) {
        std::wstring text;
        size_t i = 0;
        for (; i + 1 < data.size(); i += 2) {
            const wchar_t c = static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
            if (c == L'\0')
                break;
            text.push_back(c);
        }
        const bool terminated = i + 1 < data.size();
        if ((!terminated && data.size() % 2 != 0) || HasLoneSurrogate(text))
            return std::nullopt;
        return NarrowText(text);
    }
    size_t length = 0;
    while (length < data.size() && data[length] != 0)
        ++length;
    const std::optional<std::wstring> text =
        DecodeCodePage(std::string_view(reinterpret_cast<const char*>(data.data()), length), ansiCodePage, true);
    if (!text)
        return std::nullopt;
    return NarrowText(*text);
}

// Lines end in CR LF, LF or CR alone, as regedit splits them.
class LineReader {
public:
    explicit LineReader(std::wstring_view text) : Text(text) {}

    bool Next(std::wstring_view& line)
    {
        if (Position >= Text.size())
            return false;
        const size_t end = Text.find_first_of(L"\r\n", Position);
        ++Number;
        if (end == std::wstring_view::npos) {
            line = Text.substr(Position);
            Position = Text.size();
            return true;
        }
        line = Text.substr(Position, end - Position);
        Position = end + 1;
        if (Text[end] == L'\r' && Position < Text.size() && Text[Position] == L'\n')
            ++Position;
        return true;
    }

    int Line() const { return Number; }

private:
    std::wstring_view Text;
    size_t Position = 0;
    int Number = 0;
};

class Parser {
public:
    Parser(std::wstring_view text, bool unicode, UINT ansiCodePage)
        : Lines(text), Unicode(unicode), AnsiCodePage(ansiCodePage)
    {
    }

    RegFileParse Run()
    {
        RegFile file;
        file.Unicode = Unicode;
        std::wstring_view line;
        Lines.Next(line); // the header, checked by the caller
        while (Lines.Next(line)) {
            const int number = Lines.Line();
            const std::wstring_view rest = SkipBlanks(line);
            if (rest.empty() || rest.front() == L';')
                continue;
            if (rest.front() == L'[') {
                RegFileKey key;
                key.Line = number;
                if (!ReadKey(rest, key))
                    return Failure(number);
                file.Keys.push_back(std::move(key));
            } else if (rest.front() == L'@' || rest.front() == L'"') {
                if (file.Keys.empty()) {
                    Error = kValueBeforeKey;
                    return Failure(number);
                }
                RegFileValue value;
                value.Line = number;
                if (!ReadValue(rest, value))
                    return Failure(number);
                // regedit passes over the values of a key it deletes.
                if (!file.Keys.back().Delete)
                    file.Keys.back().Values.push_back(std::move(value));
            } else {
                Error = kUnreadableLine;
                return Failure(number);
            }
        }
        RegFileParse parse;
        parse.File = std::move(file);
        return parse;
    }

private:
    RegFileParse Failure(int line) const
    {
        RegFileParse parse;
        parse.ErrorLine = line;
        parse.Error = Error;
        return parse;
    }

    // The last "]" closes the name: key names may hold "]" themselves.
    bool ReadKey(std::wstring_view rest, RegFileKey& key)
    {
        const size_t close = rest.rfind(L']');
        if (close == std::wstring_view::npos) {
            Error = kKeyEnd;
            return false;
        }
        if (!OnlyCommentLeft(rest.substr(close + 1))) {
            Error = kExtraText;
            return false;
        }
        std::wstring_view path = rest.substr(1, close - 1);
        if (!path.empty() && path.front() == L'-') {
            key.Delete = true;
            path.remove_prefix(1);
        }
        if (path.empty()) {
            Error = kKeyEmpty;
            return false;
        }
        key.Path = NarrowText(std::wstring(path));
        return true;
    }

    bool ReadValue(std::wstring_view rest, RegFileValue& value)
    {
        const bool named = rest.front() == L'"';
        rest.remove_prefix(1);
        if (named) {
            std::wstring name;
            if (!ReadQuoted(rest, name))
                return false;
            value.Name = NarrowText(name);
        }
        rest = SkipBlanks(rest);
        if (rest.empty() || rest.front() != L'=') {
            Error = kNoEquals;
            return false;
        }
        rest = SkipBlanks(rest.substr(1));

        if (!rest.empty() && rest.front() == L'-') {
            value.Delete = true;
            return EndOfStatement(rest.substr(1));
        }
        if (!rest.empty() && rest.front() == L'"') {
            rest.remove_prefix(1);
            std::wstring text;
            if (!ReadQuoted(rest, text))
                return false;
            value.Type = REG_SZ;
            AppendUtf16(value.Data, text);
            AppendUtf16(value.Data, std::wstring_view(L"\0", 1));
            value.Text = NarrowText(text);
            return EndOfStatement(rest);
        }
        if (StartsWith(rest, L"dword:")) {
            value.Type = REG_DWORD;
            return ReadDword(rest.substr(6), value.Data);
        }
        if (StartsWith(rest, L"hex:")) {
            value.Type = REG_BINARY;
            rest.remove_prefix(4);
        } else if (StartsWith(rest, L"hex(")) {
            rest.remove_prefix(4);
            if (!ReadHexType(rest, value.Type))
                return false;
        } else {
            Error = kBadType;
            return false;
        }
        if (!ReadHexBytes(rest, value.Data))
            return false;
        if (value.Type == REG_SZ || value.Type == REG_EXPAND_SZ)
            value.Text = HexStringText(value.Data, Unicode, AnsiCodePage);
        return true;
    }

    // rest starts after the opening quote and ends up after the closing one.
    // Only the escapes regedit writes are read: what else a backslash starts
    // differs between regedit's versions.
    bool ReadQuoted(std::wstring_view& rest, std::wstring& text)
    {
        for (size_t i = 0; i < rest.size(); ++i) {
            const wchar_t c = rest[i];
            if (c == L'"') {
                rest.remove_prefix(i + 1);
                return true;
            }
            if (c == L'\\') {
                if (i + 1 == rest.size())
                    break;
                const wchar_t escaped = rest[++i];
                if (escaped != L'\\' && escaped != L'"') {
                    Error = kBadEscape;
                    return false;
                }
                text.push_back(escaped);
            } else {
                text.push_back(c);
            }
        }
        Error = kQuoteEnd;
        return false;
    }

    bool EndOfStatement(std::wstring_view rest)
    {
        if (OnlyCommentLeft(rest))
            return true;
        Error = kExtraText;
        return false;
    }

    bool ReadDword(std::wstring_view rest, std::vector<unsigned char>& data)
    {
        rest = SkipBlanks(rest);
        DWORD number = 0;
        const size_t digits = ReadHexNumber(rest, number);
        const std::wstring_view after = rest.substr(digits);
        if (digits == 0 || digits > 8 || (!after.empty() && !IsBlank(after.front()) && after.front() != L';')) {
            Error = kBadDword;
            return false;
        }
        for (int shift = 0; shift < 32; shift += 8)
            data.push_back(static_cast<unsigned char>((number >> shift) & 0xFF));
        return EndOfStatement(after);
    }

    // rest starts after "hex(" and ends up after "):".
    bool ReadHexType(std::wstring_view& rest, DWORD& type)
    {
        DWORD number = 0;
        const size_t digits = ReadHexNumber(rest, number);
        if (digits == 0 || digits > 8 || !StartsWith(rest.substr(digits), L"):")) {
            Error = kBadType;
            return false;
        }
        type = number;
        rest.remove_prefix(digits + 2);
        return true;
    }

    // Bytes of one or two hex digits, separated by commas; a backslash after
    // a comma continues them on the next line that is not empty or a comment.
    bool ReadHexBytes(std::wstring_view rest, std::vector<unsigned char>& data)
    {
        for (;;) {
            rest = SkipBlanks(rest);
            bool continued = false;
            while (!rest.empty() && rest.front() != L';') {
                if (rest.front() == L'\\') {
                    if (!EndOfStatement(rest.substr(1)))
                        return false;
                    continued = true;
                    break;
                }
                const int high = HexDigit(rest.front());
                if (high < 0) {
                    Error = kBadHex;
                    return false;
                }
                int byte = high;
                size_t digits = 1;
                if (rest.size() > 1 && HexDigit(rest[1]) >= 0) {
                    byte = high * 16 + HexDigit(rest[1]);
                    digits = 2;
                }
                data.push_back(static_cast<unsigned char>(byte));
                rest = SkipBlanks(rest.substr(digits));
                if (rest.empty() || rest.front() == L';')
                    break;
                if (rest.front() != L',') {
                    Error = kBadHex;
                    return false;
                }
                rest = SkipBlanks(rest.substr(1));
            }
            if (!continued)
                return true;
            do {
                if (!Lines.Next(rest)) {
                    Error = kHexNoEnd;
                    return false;
                }
                rest = SkipBlanks(rest);
            } while (rest.empty() || rest.front() == L';');
        }
    }

    LineReader Lines;
    bool Unicode;
    UINT AnsiCodePage;
    const char* Error = "";
};

std::string_view FirstLine(std::string_view bytes)
{
    return bytes.substr(0, bytes.find_first_of("\r\n"));
}

RegFileParse FailOnFirstLine(const char* error)
{
    RegFileParse parse;
    parse.ErrorLine = 1;
    parse.Error = error;
    return parse;
}
} // namespace

RegFileParse ParseRegFile(std::string_view bytes, UINT ansiCodePage)
{
    // Every conversion below counts in int.
    if (bytes.size() > static_cast<size_t>(INT_MAX) / 2)
        return FailOnFirstLine(kTooLarge);

    std::wstring text;
    bool unicode = true;
    if (bytes.substr(0, 2) == "\xFF\xFE") {
        text = DecodeUtf16(bytes.substr(2));
    } else {
        // Text editors save a Unicode script again as UTF-8, with or without
        // its byte-order mark. The header alone is checked first, so that a
        // large file of something else is not converted in vain.
        const bool utf8Mark = bytes.substr(0, 3) == "\xEF\xBB\xBF";
        const std::string_view body = utf8Mark ? bytes.substr(3) : bytes;
        UINT codePage = CP_UTF8;
        if (!utf8Mark && FirstLine(body) == kAnsiHeader) {
            unicode = false;
            codePage = ansiCodePage;
        } else if (DecodeCodePage(FirstLine(body), CP_UTF8, false) != std::optional<std::wstring>(kUnicodeHeader)) {
            return FailOnFirstLine(kNotRegFile);
        }
        std::optional<std::wstring> decoded = DecodeCodePage(body, codePage, false);
        if (!decoded)
            return FailOnFirstLine(kNotRegFile);
        text = std::move(*decoded);
    }
    const std::wstring_view firstLine = std::wstring_view(text).substr(0, text.find_first_of(L"\r\n"));
    if (unicode && firstLine != kUnicodeHeader)
        return FailOnFirstLine(kNotRegFile);
    return Parser(text, unicode, ansiCodePage).Run();
}
