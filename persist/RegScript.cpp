#include "persist/RegScript.h"

#include <algorithm>
#include <set>
#include <span>
#include <string_view>
#include <utility>

#include "model/ErrorReport.h"
#include "model/RegText.h"
#include "model/RegistryLayout.h"
#include "model/Scoped.h"

namespace {

EntryKind KindOf(const ExtensionEntry&) { return EntryKind::Extension; }
EntryKind KindOf(const CreatorEntry&) { return EntryKind::Creator; }
EntryKind KindOf(const SchemeEntry&) { return EntryKind::Scheme; }

// Appends the text of code page `from` in code page `to`; false when a
// byte sequence is no character of `from`, or a character has no exact
// byte sequence in `to`. A best-fit look-alike would change the value on
// import, or even turn "¥" into a backslash that escapes the next byte.
bool AppendInCodePage(const std::string& text, UINT from, UINT to, std::string& out)
{
    if (text.empty())
        return true;
    const int wideLength =
        MultiByteToWideChar(from, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (wideLength <= 0)
        return false;
    if (from == to) {
        out += text;
        return true;
    }
    std::wstring wide(static_cast<size_t>(wideLength), L'\0');
    MultiByteToWideChar(from, 0, text.data(), static_cast<int>(text.size()), wide.data(), wideLength);
    // UTF-8 holds every character, and takes neither the flag nor the answer.
    const DWORD flags = to == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* askUsedDefault = to == CP_UTF8 ? nullptr : &usedDefault;
    const int length = WideCharToMultiByte(to, flags, wide.data(), wideLength, nullptr, 0, nullptr, askUsedDefault);
    if (length <= 0 || usedDefault)
        return false;
    const size_t start = out.size();
    out.resize(start + static_cast<size_t>(length));
    if (WideCharToMultiByte(to, flags, wide.data(), wideLength, out.data() + start, length, nullptr,
                            askUsedDefault) != length ||
        usedDefault) {
        out.resize(start);
        return false;
    }
    return true;
}

// The entry with its name and the texts of its registry layout in UTF-8;
// false when one is no text of codePage.
template <typename Entry>
bool ToUtf8(Entry& entry, UINT codePage, std::span<const LayoutValue<Entry>> layout)
{
    const auto recode = [codePage](std::string& text) {
        std::string utf8;
        if (!AppendInCodePage(text, codePage, CP_UTF8, utf8))
            return false;
        text = std::move(utf8);
        return true;
    };
    if (!recode(entry.Name))
        return false;
    for (const LayoutValue<Entry>& value : layout)
        if (!recode(entry.*value.field))
            return false;
    return true;
}
bool ToUtf8(ExtensionEntry& entry, UINT codePage) { return ToUtf8(entry, codePage, ExtensionLayout()); }
bool ToUtf8(CreatorEntry& entry, UINT codePage) { return ToUtf8(entry, codePage, CreatorLayout()); }

// A scheme's key is written as the creator's it is laid out as.
const ExtensionEntry& LaidOut(const ExtensionEntry& entry) { return entry; }
const CreatorEntry& LaidOut(const CreatorEntry& entry) { return entry; }

// Entries write their blocks in UTF-8, which is escaped there: no byte of a
// multi-byte UTF-8 character is a backslash or a quote. Texts in another
// code page (the active one where the UTF-8 manifest does not apply) go to
// UTF-8 first, since in Shift-JIS a character such as 表 ends in the
// backslash byte. Only the finished block takes the target's bytes, where
// that byte must not be escaped again.
class ScriptBuilder {
public:
    ScriptBuilder(const RegistryLocation& location, UINT codePage, UINT sourceCodePage)
        : location_(location), codePage_(codePage), source_(sourceCodePage == CP_ACP ? GetACP() : sourceCodePage)
    {
        std::string header;
        AppendRegHeader(header);
        AppendInCodePage(header, CP_UTF8, codePage_, script_.Bytes);
    }

    template <typename Entry>
    void Add(const Entry& entry)
    {
        Add(entry, KindOf(entry));
    }

    // A scheme is written as the creator it is laid out as, but reported as
    // the scheme it is.
    template <typename Entry>
    void Add(const Entry& entry, EntryKind kind)
    {
        if (script_.Problem)
            return;
        std::optional<Entry> recoded;
        if (source_ != CP_UTF8) {
            recoded = entry;
            if (!ToUtf8(*recoded, source_))
                return Refuse(entry, kind, ERROR_NO_UNICODE_TRANSLATION);
        }
        const Entry& utf8 = recoded ? *recoded : entry;
        if (!LayoutTextsPass(utf8, FitsOnOneLine))
            return Refuse(entry, kind, ERROR_INVALID_DATA);
        std::string block;
        utf8.WriteRegText(location_, block);
        if (!AppendInCodePage(block, CP_UTF8, codePage_, script_.Bytes))
            Refuse(entry, kind, ERROR_NO_UNICODE_TRANSLATION);
    }

    template <typename Entry>
    void AddMarked(const std::map<std::string, Entry>& map)
    {
        Walk(map, [this](const std::string&, const Entry& entry) {
            if (entry.State != esUnchanged)
                Add(LaidOut(entry), KindOf(entry));
        });
    }

    RegScript Finish()
    {
        if (script_.Problem)
            script_.Bytes.clear();
        return std::move(script_);
    }

private:
    template <typename Entry>
    void Refuse(const Entry& entry, EntryKind kind, LONG status)
    {
        script_.Problem = EntryFailure{kind, EntryOperation::Export, entry.Name, status};
    }

    // A script has no escape for a line break or another control character:
    // one in a value would end its line there and let the rest stand as a
    // key or value line of its own, which an import by an administrator
    // writes wherever it names. Tab is harmless inside quotes. In UTF-8 no
    // byte of a longer character is below 0x20.
    static bool FitsOnOneLine(std::string_view text)
    {
        return std::none_of(text.begin(), text.end(),
                            [](char c) { return static_cast<unsigned char>(c) < 0x20 && c != '\t'; });
    }

    const RegistryLocation& location_;
    UINT codePage_;
    UINT source_;
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

RegScript BuildChangesScript(const AssociationCatalog& catalog, const RegistryLocation& location, UINT codePage,
                             UINT sourceCodePage)
{
    ScriptBuilder script(location, codePage, sourceCodePage);
    script.AddMarked(catalog.ExtensionMap);
    script.AddMarked(catalog.CreatorMap);
    script.AddMarked(catalog.SchemeMap);
    return script.Finish();
}

RegScript BuildSchemeScript(const AssociationCatalog& catalog, const std::string& schemeKey,
                            const RegistryLocation& location, UINT codePage, UINT sourceCodePage)
{
    ScriptBuilder script(location, codePage, sourceCodePage);
    if (const SchemeEntry* scheme = Find(catalog.SchemeMap, schemeKey))
        script.Add(LaidOut(*scheme), EntryKind::Scheme);
    return script.Finish();
}

RegScript BuildSelectedScript(AssociationCatalog& catalog, const std::string& extensionKey,
                              const RegistryLocation& location, UINT codePage, UINT sourceCodePage)
{
    const ExtensionEntry& extension = FindOrAdd(catalog.ExtensionMap, extensionKey);
    ScriptBuilder script(location, codePage, sourceCodePage);
    script.Add(extension);
    script.Add(FindOrAdd(catalog.CreatorMap, extension.Creator));
    return script.Finish();
}

RegScript BuildAssociationsScript(const AssociationCatalog& catalog, std::vector<std::string> extensionKeys,
                                  const RegistryLocation& location, UINT codePage, UINT sourceCodePage)
{
    std::sort(extensionKeys.begin(), extensionKeys.end());
    extensionKeys.erase(std::unique(extensionKeys.begin(), extensionKeys.end()), extensionKeys.end());
    ScriptBuilder script(location, codePage, sourceCodePage);
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

std::optional<std::string> BuildValueScript(const RegistryLocation& key, const std::string& valueName,
                                            const std::string& text, UINT codePage, UINT sourceCodePage)
{
    std::string utf8;
    if (!AppendInCodePage(text, sourceCodePage == CP_ACP ? GetACP() : sourceCodePage, CP_UTF8, utf8) ||
        std::any_of(utf8.begin(), utf8.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }))
        return std::nullopt;
    std::string script = "REGEDIT4\r\n";
    AppendRegKey(script, key, "");
    AppendRegNamedValue(script, EscapeRegValue(valueName), EscapeRegValue(utf8));
    std::string bytes;
    if (!AppendInCodePage(script, CP_UTF8, codePage, bytes))
        return std::nullopt;
    return bytes;
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

FilesWrite WriteFilesInOrder(const std::vector<FileToWrite>& files)
{
    FilesWrite outcome;
    for (; outcome.Failed < files.size(); ++outcome.Failed) {
        outcome.Result = WriteFileWhole(files[outcome.Failed].Path, files[outcome.Failed].Bytes);
        if (outcome.Result != FileWrite::Written)
            break;
    }
    return outcome;
}
