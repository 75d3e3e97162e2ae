#include "persist/RegScript.h"

#include <algorithm>
#include <set>
#include <utility>

#include "model/ErrorReport.h"
#include "model/RegText.h"
#include "model/Scoped.h"
#include "persist/ExportMessages.h"

namespace {

const char* MessagePrefix(const ExtensionEntry&) { return kExtensionPrefix; }
const char* MessagePrefix(const CreatorEntry&) { return kCreatorPrefix; }

// Appends the UTF-8 text in codePage; false when a character has no exact
// byte sequence there. A best-fit look-alike would change the value on
// import, or even turn "¥" into a backslash that escapes the next byte.
bool AppendInCodePage(const std::string& utf8, UINT codePage, std::string& out)
{
    if (utf8.empty())
        return true;
    const int wideLength =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    if (wideLength <= 0)
        return false;
    if (codePage == CP_UTF8) {
        out += utf8;
        return true;
    }
    std::wstring wide(static_cast<size_t>(wideLength), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), wideLength);
    BOOL usedDefault = FALSE;
    const int length =
        WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength, nullptr, 0, nullptr, &usedDefault);
    if (length <= 0 || usedDefault)
        return false;
    const size_t start = out.size();
    out.resize(start + static_cast<size_t>(length));
    if (WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength, out.data() + start, length,
                            nullptr, &usedDefault) != length ||
        usedDefault) {
        out.resize(start);
        return false;
    }
    return true;
}

// Entries write their blocks in UTF-8, which is escaped there: no byte of a
// multi-byte UTF-8 character is a backslash or a quote. Only the finished
// block takes the code page's bytes, where a character such as 表 ends in
// the backslash byte and must not be escaped again.
class ScriptBuilder {
public:
    explicit ScriptBuilder(UINT codePage) : codePage_(codePage)
    {
        std::string header;
        AppendRegHeader(header);
        AppendInCodePage(header, codePage_, script_.Bytes);
    }

    template <typename Entry>
    void Add(const Entry& entry)
    {
        if (!script_.Problem.empty())
            return;
        std::string block;
        entry.WriteRegText(block);
        if (!AppendInCodePage(block, codePage_, script_.Bytes))
            script_.Problem = MessagePrefix(entry) + entry.Name + kUnrepresentableTail;
    }

    template <typename Entry>
    void AddMarked(const std::map<std::string, Entry>& map)
    {
        Walk(map, [this](const std::string&, const Entry& entry) {
            if (entry.State != esUnchanged)
                Add(entry);
        });
    }

    RegScript Finish()
    {
        if (!script_.Problem.empty())
            script_.Bytes.clear();
        return std::move(script_);
    }

private:
    UINT codePage_;
    RegScript script_;
};

bool WriteAll(HANDLE file, const std::string& bytes)
{
    constexpr size_t kChunk = 1 << 20;
    for (size_t at = 0; at < bytes.size();) {
        const DWORD size = static_cast<DWORD>(std::min(kChunk, bytes.size() - at));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + at, size, &written, nullptr) || written == 0)
            return false;
        at += written;
    }
    return true;
}

} // namespace

UINT SystemAnsiCodePage()
{
    DWORD codePage = 0;
    const int got = GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                                   reinterpret_cast<LPWSTR>(&codePage), sizeof codePage / sizeof(WCHAR));
    // A locale without an ANSI code page of its own leaves the one in force.
    return got != 0 && codePage != 0 ? codePage : GetACP();
}

RegScript BuildChangesScript(const AssociationCatalog& catalog, UINT codePage)
{
    ScriptBuilder script(codePage);
    script.AddMarked(catalog.ExtensionMap);
    script.AddMarked(catalog.CreatorMap);
    return script.Finish();
}

RegScript BuildSelectedScript(AssociationCatalog& catalog, const std::string& extensionKey, UINT codePage)
{
    const ExtensionEntry& extension = FindOrAdd(catalog.ExtensionMap, extensionKey);
    ScriptBuilder script(codePage);
    script.Add(extension);
    script.Add(FindOrAdd(catalog.CreatorMap, extension.Creator));
    return script.Finish();
}

RegScript BuildAssociationsScript(const AssociationCatalog& catalog, std::vector<std::string> extensionKeys,
                                  UINT codePage)
{
    std::sort(extensionKeys.begin(), extensionKeys.end());
    extensionKeys.erase(std::unique(extensionKeys.begin(), extensionKeys.end()), extensionKeys.end());
    ScriptBuilder script(codePage);
    // A creator that several extensions share is written once.
    std::set<std::string> creators;
    for (const std::string& key : extensionKeys) {
        if (const ExtensionEntry* extension = Find(catalog.ExtensionMap, key)) {
            script.Add(*extension);
            creators.insert(extension->Creator);
        }
    }
    for (const std::string& name : creators)
        if (const CreatorEntry* creator = Find(catalog.CreatorMap, name))
            script.Add(*creator);
    return script.Finish();
}

FileWrite WriteFileWhole(const std::string& path, const std::string& bytes)
{
    // Beside the target, so that the move stays on one volume.
    std::string temporary;
    ScopedKernelHandle file;
    for (int attempt = 0; attempt < 100 && !file; ++attempt) {
        temporary = path + ".~" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(attempt) + ".tmp";
        const HANDLE opened =
            CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (opened != INVALID_HANDLE_VALUE)
            file.Reset(opened);
        else if (GetLastError() != ERROR_FILE_EXISTS)
            break;
    }
    if (!file)
        return FileWrite::OpenFailed;
    bool written = WriteAll(file.Get(), bytes) && FlushFileBuffers(file.Get());
    written = CloseHandle(file.Release()) && written;
    if (written &&
        MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return FileWrite::Written;
    DeleteFileA(temporary.c_str());
    return FileWrite::WriteFailed;
}
