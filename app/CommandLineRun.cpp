// The command line's exports: the registry as it is, read without a window,
// saved as the main window saves it.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>

#include "app/CommandLine.h"
#include "app/DefaultsCommand.h"
#include "model/CatalogScan.h"
#include "model/Elevation.h"
#include "model/ErrorReport.h"
#include "model/RegText.h"
#include "model/ScriptChanges.h"
#include "model/Scoped.h"
#include "model/TextConversion.h"
#include "persist/DefaultAssociations.h"
#include "persist/RegScript.h"
#include "persist/ScriptFile.h"
#include "view/ExportMessages.h"
#include "view/ScriptMessages.h"

namespace {

// Where the messages of a run go: the handles the parent gave (a file, a
// pipe, NUL), else the console the program was started from, which a
// program without a console of its own must attach to first. Redirected
// text is read where that console is, so it goes in the console's output
// code page; without a console, as UTF-8.
class ConsoleOutput {
public:
    ConsoleOutput() : out_(Given(STD_OUTPUT_HANDLE)), error_(Given(STD_ERROR_HANDLE))
    {
        // ERROR_ACCESS_DENIED: attached already (Wine gives a program the
        // console of its parent), which is the console to ask.
        if (!AttachConsole(ATTACH_PARENT_PROCESS) && GetLastError() != ERROR_ACCESS_DENIED)
            return;
        if (const UINT codePage = GetConsoleOutputCP())
            codePage_ = codePage;
        if (out_ && error_)
            return;
        const HANDLE console = CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                           nullptr, OPEN_EXISTING, 0, nullptr);
        if (console == INVALID_HANDLE_VALUE)
            return;
        console_.Reset(console);
        out_ = out_ ? out_ : console;
        error_ = error_ ? error_ : console;
    }
    ConsoleOutput(const ConsoleOutput&) = delete;
    ConsoleOutput& operator=(const ConsoleOutput&) = delete;

    void Out(const std::string& text) const { Write(out_, text); }
    void Error(const std::string& text) const { Write(error_, text); }

private:
    // A console handle is of use only once attached to its console.
    static HANDLE Given(DWORD which)
    {
        const HANDLE handle = GetStdHandle(which);
        DWORD mode = 0;
        if (!handle || handle == INVALID_HANDLE_VALUE || GetFileType(handle) == FILE_TYPE_UNKNOWN ||
            GetConsoleMode(handle, &mode))
            return nullptr;
        return handle;
    }

    // Without anywhere to write, the exit code alone tells the caller.
    void Write(HANDLE handle, const std::string& text) const
    {
        if (!handle)
            return;
        const std::string lines = ReplaceAll(text, "\n", "\r\n");
        DWORD written = 0, mode = 0;
        if (GetConsoleMode(handle, &mode)) {
            const std::wstring wide = WidenText(lines);
            WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        } else {
            const std::string bytes = TextInCodePage(lines, codePage_);
            WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        }
    }

    HANDLE out_;
    HANDLE error_;
    UINT codePage_ = CP_UTF8;
    ScopedKernelHandle console_;
};

bool AsksEverything(const CommandLineRequest& request)
{
    return request.Extensions.empty() && request.Schemes.empty();
}

// Whether an entry that failed to read is one the run saves: an extension
// asked for or the creator it names, a scheme asked for (read as a
// creator's key is); with none asked, every entry. Its texts are not
// known, and the file must not hold them as empty ones.
bool SavesUnreadEntry(const AssociationCatalog& catalog, const CommandLineRequest& request,
                      const std::vector<EntryFailure>& unread)
{
    if (AsksEverything(request))
        return !unread.empty();
    const auto failed = [&unread](EntryKind kind, const std::string& name) {
        return std::any_of(unread.begin(), unread.end(),
                           [&](const EntryFailure& failure) { return failure.kind == kind && failure.name == name; });
    };
    const auto& extensions = request.Extensions;
    const auto& schemes = request.Schemes;
    return std::any_of(extensions.begin(), extensions.end(),
                       [&](const std::string& key) {
                           const ExtensionEntry* extension = Find(catalog.ExtensionMap, key);
                           return extension && (failed(EntryKind::Extension, extension->Name) ||
                                                failed(EntryKind::Creator, extension->Creator));
                       }) ||
           std::any_of(schemes.begin(), schemes.end(), [&](const std::string& key) {
               const SchemeEntry* scheme = Find(catalog.SchemeMap, key);
               return scheme && failed(EntryKind::Creator, scheme->Name);
           });
}

// The default associations file, with the files its options ask for.
int SaveDefaults(const CommandLineRequest& request, const AssociationCatalog& catalog,
                 const std::vector<std::string>& keys, const std::vector<std::string>& schemes,
                 const ConsoleOutput& console)
{
    DefaultsTargets targets = TargetsBeside(request.File, request.Defaults);
    targets.Base64 = request.Defaults.IntuneBase64 ? request.IntuneFile : std::string();
    const DefaultsSaveResult saved =
        SaveDefaultsFiles(CollectDefaultAssociations(catalog, keys, CurrentAssociationLocations(), schemes),
                          request.Defaults, targets);
    if (!saved.Note.empty())
        console.Out(saved.Note + "\n");
    if (!saved.Failure.empty()) {
        console.Error(saved.Failure + "\n");
        return kExitFailed;
    }
    return kExitSucceeded;
}

int SaveAssociations(const CommandLineRequest& request, const AssociationCatalog& catalog,
                     const std::vector<EntryFailure>& unread, const ConsoleOutput& console)
{
    bool known = true;
    for (const std::string& key : request.Extensions)
        if (!Find(catalog.ExtensionMap, key)) {
            console.Error(kExtensionPrefix + key + kUnknownExtensionTail + "\n");
            known = false;
        }
    for (const std::string& key : request.Schemes)
        if (!Find(catalog.SchemeMap, key)) {
            console.Error(kSchemePrefix + key + kUnknownExtensionTail + "\n");
            known = false;
        }
    if (!known)
        return kExitFailed;
    if (SavesUnreadEntry(catalog, request, unread)) {
        console.Error(std::string(kUnreadEntriesMessage) + "\n");
        return kExitFailed;
    }
    std::vector<std::string> keys = request.Extensions;
    std::vector<std::string> schemes = request.Schemes;
    // The SchemeMap holds the schemes only where the run read them.
    if (AsksEverything(request)) {
        Walk(catalog.ExtensionMap, [&keys](const std::string& key, const ExtensionEntry&) { keys.push_back(key); });
        Walk(catalog.SchemeMap, [&schemes](const std::string& key, const SchemeEntry&) { schemes.push_back(key); });
    }

    if (request.Action == CommandAction::ExportDefaults)
        return SaveDefaults(request, catalog, keys, schemes, console);
    const RegScript script = BuildAssociationsScript(catalog, keys, ClassesRoot(), SystemAnsiCodePage());
    const std::string problem = script.Problem ? EntryFailureMessage(*script.Problem)
                                               : FileWriteMessage(WriteFileWhole(request.File, script.Bytes));
    if (!problem.empty()) {
        console.Error(problem + "\n");
        return kExitFailed;
    }
    return kExitSucceeded;
}

// The report the window shows before it loads the script, over the
// registry as it is, with the commit's target the window starts with.
int CheckScript(const std::string& path, const ConsoleOutput& console)
{
    const ScriptFile file = ReadScriptFile(path);
    if (!file.File) {
        console.Error(ScriptFileMessage(path, file) + "\n");
        return kExitScriptUnreadable;
    }
    const ErrorSink previous =
        SetErrorSink([&console](const EntryFailure& failure) { console.Error(EntryFailureMessage(failure) + "\n"); });
    AssociationCatalog catalog;
    const AssociationLocations& locations = CurrentAssociationLocations();
    FillCatalogFromRegistry(catalog, locations);
    const ScriptLoad load = StageScriptChanges(catalog, *file.File, RegistryReads(locations));
    SetErrorSink(previous);
    console.Out(ScriptLoadReport(path, load, !ProcessIsElevated()) + "\n");
    return load.LeftOutCount == 0 ? kExitScriptLoads : kExitScriptLeavesOut;
}

} // namespace

std::vector<std::string> CommandLineArguments()
{
    std::vector<std::string> arguments;
    int count = 0;
    LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!words)
        return arguments;
    for (int i = 1; i < count; ++i)
        arguments.push_back(NarrowText(words[i]));
    LocalFree(words);
    return arguments;
}

int RunCommandLine(const CommandLineRequest& request)
{
    const ConsoleOutput console;
    switch (request.Action) {
    case CommandAction::ExportScript:
    case CommandAction::ExportDefaults:
        break;
    case CommandAction::CheckScript:
        return CheckScript(request.File, console);
    case CommandAction::ShowUsage:
        console.Out(kCommandLineUsage);
        return kExitSucceeded;
    default:
        console.Error(request.Problem + "\n" + kCommandLineUsage);
        return kExitBadCommandLine;
    }
    // Every entry that cannot be read is told, as the window's scan does;
    // the run fails only when the file would hold one of them.
    std::vector<EntryFailure> unread;
    const ErrorSink previous = SetErrorSink([&console, &unread](const EntryFailure& failure) {
        console.Error(EntryFailureMessage(failure) + "\n");
        unread.push_back(failure);
    });
    AssociationCatalog catalog;
    // Finding the schemes opens every class key: only a default
    // associations file that holds them reads them.
    const bool schemes =
        request.Action == CommandAction::ExportDefaults && (AsksEverything(request) || !request.Schemes.empty());
    FillCatalogFromRegistry(catalog, CurrentAssociationLocations(), schemes);
    // The script carries the verbs of the file types it writes.
    if (request.Action == CommandAction::ExportScript)
        Walk(catalog.ExtensionMap, [&](const std::string& key, const ExtensionEntry& extension) {
            if (request.Extensions.empty() ||
                std::find(request.Extensions.begin(), request.Extensions.end(), key) != request.Extensions.end())
                ReadCreatorVerbs(catalog, CurrentAssociationLocations(), extension.Creator);
        });
    const int code = SaveAssociations(request, catalog, unread, console);
    SetErrorSink(previous);
    return code;
}
