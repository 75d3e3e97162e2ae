#include "model/RegText.h"

std::string ReplaceAll(std::string_view source, std::string_view pattern, std::string_view replacement)
{
    if (pattern.empty() || replacement.empty())
        return std::string(source);
    std::string result;
    result.reserve(source.size());
    size_t start = 0;
    for (size_t found; (found = source.find(pattern, start)) != std::string_view::npos;
         start = found + pattern.size()) {
        result.append(source, start, found - start);
        result.append(replacement);
    }
    result.append(source, start);
    return result;
}

std::string EscapeRegValue(std::string_view value)
{
    return ReplaceAll(ReplaceAll(value, "\\", "\\\\"), "\"", "\\\"");
}

void AppendRegHeader(std::string& out)
{
    out += "REGEDIT4\r\n\r\n; ";
    out += kVersionLine;
    out += "\r\n";
}

void AppendRegKey(std::string& out, const RegistryLocation& location, std::string_view path)
{
    out += "\r\n[";
    out += location.ScriptPath(path);
    out += "]\r\n";
}

void AppendRegDefault(std::string& out, std::string_view value)
{
    out += "@=\"";
    out += value;
    out += "\"\r\n";
}

void AppendRegNamedValue(std::string& out, std::string_view name, std::string_view value)
{
    out += '"';
    out += name;
    out += "\"=\"";
    out += value;
    out += "\"\r\n";
}
