#include <gtest/gtest.h>

#include <cstdio>

#include "model/RegFile.h"
#include "model/TextConversion.h"

namespace {
// A script as regedit writes it in Unicode: byte-order mark and UTF-16 LE.
std::string Utf16(const std::string& text)
{
    std::string bytes = "\xFF\xFE";
    for (const wchar_t c : WidenText(text)) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}

// One line per key and value: line number, name, type, bytes and text.
std::string Describe(const RegFileParse& parse)
{
    if (!parse.File)
        return "error " + std::to_string(parse.ErrorLine) + " " + parse.Error;
    std::string out = parse.File->Unicode ? "unicode\n" : "ansi\n";
    for (const RegFileKey& key : parse.File->Keys) {
        out += std::to_string(key.Line) + (key.Delete ? " [-" : " [") + key.Path + "]\n";
        for (const RegFileValue& value : key.Values) {
            out += std::to_string(value.Line) + " " + (value.Name.empty() ? "@" : '"' + value.Name + '"');
            if (value.Delete) {
                out += " -\n";
                continue;
            }
            out += " " + std::to_string(value.Type) + " ";
            for (size_t i = 0; i < value.Data.size(); ++i) {
                char hex[4];
                std::snprintf(hex, sizeof hex, i ? ",%02x" : "%02x", value.Data[i]);
                out += hex;
            }
            out += value.Text ? " '" + *value.Text + "'\n" : "\n";
        }
    }
    return out;
}

struct ScriptCase {
    const char* what;
    std::string bytes;
    const char* expected;
};
} // namespace

TEST(RegFile, ReadsEveryFormRegeditWritesAndStopsAtTheFirstFault)
{
    const ScriptCase cases[] = {
        {"REGEDIT4 in code page 932, every value form, comments and continuations",
         "REGEDIT4\r\n\r\n; comment\r\n  [HKEY_CLASSES_ROOT\\.txt]  \r\n"
         "@=\"txtfile\"\r\n\"Quoted\"=\"a\\\\b\\\"c\" ; note\r\n\"\x83\x65\"=\"\x83\x65\x83\x4c\"\n"
         "\"Number\"=dword:0000012a\r\n\"Short\" = dword: f\r\n\"Bytes\"=hex:01,ff,\\\r\n"
         "  0A,7\r\n\"Path\"=hex(2):25,41,\\\r\n; between\r\n\r\n  25,00\r\n\"Code\"=hex(2):83,65,00\r\n"
         "\"List\"=hex(7):61,00,00\r\n\"Empty\"=hex:\r\n\"Gone\"=-\r\n[-HKEY_CLASSES_ROOT\\old]\r\n"
         "\"Ignored\"=\"x\"\r\n[HKEY_CLASSES_ROOT\\a]b]\r\n",
         "ansi\n4 [HKEY_CLASSES_ROOT\\.txt]\n5 @ 1 74,00,78,00,74,00,66,00,69,00,6c,00,65,00,00,00 'txtfile'\n"
         "6 \"Quoted\" 1 61,00,5c,00,62,00,22,00,63,00,00,00 'a\\b\"c'\n7 \"テ\" 1 c6,30,ad,30,00,00 'テキ'\n"
         "8 \"Number\" 4 2a,01,00,00\n9 \"Short\" 4 0f,00,00,00\n10 \"Bytes\" 3 01,ff,0a,07\n"
         "12 \"Path\" 2 25,41,25,00 '%A%'\n16 \"Code\" 2 83,65,00 'テ'\n17 \"List\" 7 61,00,00\n"
         "18 \"Empty\" 3 \n19 \"Gone\" -\n20 [-HKEY_CLASSES_ROOT\\old]\n22 [HKEY_CLASSES_ROOT\\a]b]\n"},
        {"a Unicode script: hex strings are UTF-16, and a lone surrogate has no text",
         Utf16("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\ソフト]\n"
               "\"名前\"=\"値\"\r\n@=-\r\n\"E\"=hex(2):25,00,41,00,00,00,42,00\r\n\"S\"=hex(1):00,d8\r\n"),
         "unicode\n3 [HKEY_CURRENT_USER\\Software\\ソフト]\n4 \"名前\" 1 24,50,00,00 '値'\n5 @ -\n"
         "6 \"E\" 2 25,00,41,00,00,00,42,00 '%A'\n7 \"S\" 1 00,d8\n"},
        {"the Unicode header in UTF-8 with its mark",
         "\xEF\xBB\xBFWindows Registry Editor Version 5.00\n[HKEY_CLASSES_ROOT\\x]\n\"T\"=\"テ\"\n",
         "unicode\n2 [HKEY_CLASSES_ROOT\\x]\n3 \"T\" 1 c6,30,00,00 'テ'\n"},
        {"no header", "[HKEY_CLASSES_ROOT\\x]\r\n", "error 1 レジストリファイルではありません。"},
        {"REGEDIT4 in UTF-16", Utf16("REGEDIT4\r\n"), "error 1 レジストリファイルではありません。"},
        {"a value before any key", "REGEDIT4\r\n\r\n@=\"x\"\r\n", "error 3 キーの行より前に値があります。"},
        {"an unterminated string", "REGEDIT4\r\n[HKEY_CLASSES_ROOT\\x]\r\n\"a\"=\"b\\\"\r\n\"c\"=\"d\"\r\n",
         "error 3 文字列の終わりの「\"」がありません。"},
        {"an escape regedit does not write", "REGEDIT4\r\n[HKEY_CLASSES_ROOT\\x]\r\n\"a\"=\"C:\\temp\"\r\n",
         "error 3 文字列の「\\」のあとには「\\」か「\"」しか書けません。"},
        {"a dword of nine digits", "REGEDIT4\r\n[HKEY_CLASSES_ROOT\\x]\r\n\"a\"=dword:000000001\r\n",
         "error 3 dword: の値は 8 桁までの 16 進数で書きます。"},
        {"a bad byte on a continuation line: the value's line",
         "REGEDIT4\r\n[HKEY_CLASSES_ROOT\\x]\r\n\"a\"=hex:01,\\\r\n  02,3g\r\n",
         "error 3 16 進数のバイトが読み取れません。"},
        {"three digits in one byte", "REGEDIT4\r\n[HKEY_CLASSES_ROOT\\x]\r\n\"a\"=hex:012\r\n",
         "error 3 16 進数のバイトが読み取れません。"},
        {"a continuation that never comes", "REGEDIT4\r\n[HKEY_CLASSES_ROOT\\x]\r\n\"a\"=hex:01,\\\r\n\r\n",
         "error 3 16 進数の値が「\\」のあと続かないまま、ファイルが終わっています。"},
        {"text after a string", "REGEDIT4\r\n[HKEY_CLASSES_ROOT\\x]\r\n\"a\"=\"b\" c\r\n",
         "error 3 行の終わりに余計な文字があります。"},
        {"a key without its bracket", "REGEDIT4\r\n\r\n[HKEY_CLASSES_ROOT\\x\r\n", "error 3 キーの名前の終わりの「]」がありません。"},
        {"an unknown type", "REGEDIT4\r\n[HKEY_CLASSES_ROOT\\x]\r\n\"a\"=hex(x):00\r\n", "error 3 値の種類が読み取れません。"},
        {"a line of no form", "REGEDIT4\r\n[HKEY_CLASSES_ROOT\\x]\r\nname=value\r\n", "error 3 この行は読み取れません。"},
    };
    for (const ScriptCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Describe(ParseRegFile(c.bytes, 932)), c.expected);
    }
}
