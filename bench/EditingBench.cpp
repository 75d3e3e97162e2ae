#include "bench/EditingBench.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <set>

#include "app/MainForm.h"
#include "bench/BenchTools.h"
#include "dialogs/AssociationForm.h"
#include "model/CatalogEdits.h"
#include "model/AssociationCatalog.h"
#include "model/ErrorReport.h"
#include "model/Scoped.h"
#include "persist/DataFolders.h"
#include "persist/RegScript.h"
#include "persist/RegistryCommit.h"
#include "view/ListControl.h"

namespace {

// --- (e) ------------------------------------------------------------------

// Inside the edit dialog's modal loop: types a new kind and presses OK,
// noting the moment of the press.
struct EditPress {
    TAssociationForm* form = nullptr;
    std::string kind;
    double pressed = 0;
} editPress;

void CALLBACK PressOk(HWND, UINT, UINT_PTR timer, DWORD)
{
    if (!IsWindowVisible(editPress.form->Handle()))
        return;
    KillTimer(nullptr, timer);
    SetWindowTextA(editPress.form->Edit3, editPress.kind.c_str());
    editPress.pressed = Now();
    SendMessageA(editPress.form->Button2, BM_CLICK, 0, 0);
}

int FindRow(HWND list, const std::string& caption)
{
    for (int row = 0; row < RowCount(list); ++row)
        if (RowText(list, row, 0) == caption)
            return row;
    return -1;
}

// --- (g) ------------------------------------------------------------------

std::set<std::string> MarkedNames(const AssociationCatalog& catalog)
{
    std::set<std::string> names;
    for (const auto& [key, entry] : catalog.ExtensionMap)
        if (entry.State != esUnchanged)
            names.insert(entry.Name);
    for (const auto& [key, entry] : catalog.CreatorMap)
        if (entry.State != esUnchanged)
            names.insert(entry.Name);
    return names;
}

// Marks about a thousand entries the way the workflows do: content types
// edited, creators edited, associations added and deleted.
void MarkEntries(AssociationCatalog& catalog)
{
    std::vector<std::string> withCreator;
    // Only associations of the machine's classes alone: a change to a key
    // the user's classes hold as well ends the commit with a message about
    // it, which would wait for an answer.
    for (const auto& [key, entry] : catalog.ExtensionMap) {
        const CreatorEntry* creator = entry.Creator.empty() ? nullptr : Find(catalog.CreatorMap, entry.Creator);
        if (creator && !creator->Kind.empty() && entry.Origin == ClassesOrigin::Machine &&
            creator->Origin == ClassesOrigin::Machine)
            withCreator.push_back(key);
    }
    const ImageLoader noImage = [](const CreatorEntry&) { return 0; };
    const size_t step = std::max<size_t>(1, withCreator.size() / 700);
    size_t used = 0;
    for (size_t at = 0; at < withCreator.size() && used < 700; at += step, ++used) {
        AssociationFields fields = FieldsOf(catalog, withCreator[at]);
        if (used < 400)
            fields.ContentType = "application/x-bench-" + std::to_string(used);
        else if (used < 500)
            fields.Kind = "Bench kind " + std::to_string(used);
        else {
            ApplyDelete(catalog, fields);
            continue;
        }
        ApplyEdit(catalog, fields, noImage);
    }
    for (int added = 0; added < 120; ++added) {
        AssociationFields fields;
        fields.Extension = ".zzbench" + std::to_string(added);
        fields.ContentType = "application/x-zzbench";
        fields.Creator = "Bench.Added." + std::to_string(added);
        fields.Kind = "追加した種類 " + std::to_string(added);
        fields.IconSource = "shell32.dll,3";
        fields.Command = "\"C:\\Program Files\\Bench\\bench.exe\" \"%1\"";
        fields.UsesDde = added % 10 == 0;
        fields.DdeMessage = "[open(\"%1\")]";
        fields.DdeApplication = "Bench";
        fields.DdeTopic = "System";
        ApplyAdd(catalog, fields, noImage);
    }
}

void SetDefault(HKEY root, const std::string& path, const std::string& text)
{
    HKEY key;
    if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, "", 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
    RegCloseKey(key);
}

void SetOrRemove(HKEY root, const std::string& path, const std::string& text)
{
    if (text.empty())
        RegDeleteTreeA(root, path.c_str()), RegDeleteKeyA(root, path.c_str());
    else
        SetDefault(root, path, text);
}

// The registry work of the commit, made directly: the floor of (g).
void WriteDirectly(const AssociationCatalog& catalog)
{
    const HKEY root = HKEY_CLASSES_ROOT;
    for (const auto& [key, entry] : catalog.ExtensionMap) {
        if (entry.State == esDeleted) {
            RegDeleteTreeA(root, entry.Name.c_str());
            RegDeleteKeyA(root, entry.Name.c_str());
        } else if (entry.State != esUnchanged) {
            HKEY extension;
            if (RegCreateKeyExA(root, entry.Name.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &extension, nullptr) !=
                ERROR_SUCCESS)
                continue;
            RegSetValueExA(extension, "", 0, REG_SZ, reinterpret_cast<const BYTE*>(entry.Creator.c_str()),
                           static_cast<DWORD>(entry.Creator.size() + 1));
            if (entry.ContentType.empty())
                RegDeleteValueA(extension, "Content Type");
            else
                RegSetValueExA(extension, "Content Type", 0, REG_SZ,
                               reinterpret_cast<const BYTE*>(entry.ContentType.c_str()),
                               static_cast<DWORD>(entry.ContentType.size() + 1));
            RegCloseKey(extension);
        }
    }
    for (const auto& [key, entry] : catalog.CreatorMap) {
        if (entry.State == esDeleted) {
            RegDeleteTreeA(root, entry.Name.c_str());
            RegDeleteKeyA(root, entry.Name.c_str());
        } else if (entry.State != esUnchanged) {
            SetDefault(root, entry.Name, entry.Kind);
            SetOrRemove(root, entry.Name + "\\DefaultIcon", entry.IconSource);
            SetOrRemove(root, entry.Name + "\\shell\\open\\command", entry.Command);
            if (entry.UsesDde) {
                SetOrRemove(root, entry.Name + "\\shell\\open\\ddeexec", entry.DdeMessage);
                SetOrRemove(root, entry.Name + "\\shell\\open\\ddeexec\\application", entry.DdeApplication);
                SetOrRemove(root, entry.Name + "\\shell\\open\\ddeexec\\ifexec", entry.DdeIfExec);
                SetOrRemove(root, entry.Name + "\\shell\\open\\ddeexec\\topic", entry.DdeTopic);
            } else {
                SetOrRemove(root, entry.Name + "\\shell\\open\\ddeexec", "");
            }
        }
    }
}

// The keys a commit touches, copied out of the seeded set once, and put
// back into a fresh area of their own before every run. That area lies
// outside the seeded (volatile) set: keys the commit creates cannot live
// below a volatile key.
class CommitArea {
public:
    CommitArea(const std::string& scratchPath, const std::set<std::string>& names)
        : scratchPath_(scratchPath), snapshotPath_(scratchPath + "\\snapshot"), areaPath_(scratchPath + "\\commit")
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, snapshotPath_.c_str());
        ScopedHKey snapshot;
        RegCreateKeyExA(HKEY_CURRENT_USER, snapshotPath_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        snapshot.Put(), nullptr);
        for (const std::string& name : names) {
            ScopedHKey source;
            if (RegOpenKeyExA(HKEY_CLASSES_ROOT, name.c_str(), 0, KEY_READ, source.Put()) != ERROR_SUCCESS)
                continue;
            ScopedHKey copy;
            RegCreateKeyExA(snapshot.Get(), name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, copy.Put(),
                            nullptr);
            RegCopyTreeA(source.Get(), nullptr, copy.Get());
        }
    }
    ~CommitArea()
    {
        RegOverridePredefKey(HKEY_CLASSES_ROOT, previous_);
        area_.Reset();
        for (const std::string& path : {areaPath_, snapshotPath_, scratchPath_}) {
            RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str());
            RegDeleteKeyA(HKEY_CURRENT_USER, path.c_str());
        }
    }

    // A fresh copy of the touched keys as HKEY_CLASSES_ROOT. Without one the
    // run stops: the commit must never reach the prefix's own classes.
    void Restore(HKEY seeded)
    {
        previous_ = seeded;
        area_.Reset();
        RegDeleteTreeA(HKEY_CURRENT_USER, areaPath_.c_str());
        ScopedHKey snapshot;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, areaPath_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            area_.Put(), nullptr) != ERROR_SUCCESS ||
            RegOpenKeyExA(HKEY_CURRENT_USER, snapshotPath_.c_str(), 0, KEY_READ, snapshot.Put()) != ERROR_SUCCESS ||
            RegCopyTreeA(snapshot.Get(), nullptr, area_.Get()) != ERROR_SUCCESS ||
            RegOverridePredefKey(HKEY_CLASSES_ROOT, area_.Get()) != ERROR_SUCCESS) {
            fprintf(stderr, "cannot prepare the keys for the commit\n");
            ExitProcess(3);
        }
    }
    const std::string& AreaPath() const { return areaPath_; }

private:
    std::string scratchPath_, snapshotPath_, areaPath_;
    ScopedHKey area_;
    HKEY previous_ = nullptr;
};

} // namespace

EditingResults MeasureEditing(TForm1& form, TAssociationForm& editForm, int runs, const std::string& scratchPath)
{
    EditingResults results;
    AssociationCatalog& catalog = form.Editor().Catalog;

    // (e) the creator that the most rows share, edited through the dialog.
    const CreatorEntry* shared = nullptr;
    for (const auto& [name, creator] : catalog.CreatorMap)
        if (!shared || creator.ExtensionCount > shared->ExtensionCount)
            shared = &creator;
    results.editRows = shared ? static_cast<size_t>(shared->ExtensionCount) : 0;
    const int row = shared ? FindRow(form.List().ListView1, shared->Extensions.front()) : -1;
    for (int run = 0; run < runs && row >= 0; ++run) {
        ListView_SetItemState(form.List().ListView1, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        editPress = EditPress{&editForm, "Bench kind " + std::to_string(run), 0};
        SetTimer(nullptr, 0, 10, PressOk);
        form.EditAssociation();
        const double done = Now();
        PumpMessages();
        results.edit.push_back(done - editPress.pressed);
    }

    // (f) every column, both ways; each request flips the direction.
    for (int run = 0; run < runs; ++run)
        for (int column = 0; column < 6; ++column)
            for (int way = 0; way < 2; ++way) {
                const double start = Now();
                form.List().SortByColumn(column);
                results.sorts[column][form.List().SortDirection[column] > 0 ? 0 : 1].push_back(Now() - start);
            }

    // (g) and (h) on a freshly read catalog with about a thousand marks.
    form.Editor().Modified = false;
    form.ReloadFromRegistry(false);
    MarkEntries(catalog);
    const AssociationCatalog marked = catalog;
    results.marked = MarkedNames(marked).size();
    HKEY seeded = nullptr;
    {
        ScopedHKey current;
        RegOpenKeyExA(HKEY_CLASSES_ROOT, "", 0, KEY_READ, current.Put());
        seeded = current.Release();
    }
    const std::string backups = TempFile("morvido-bench-data\\");
    CreateDirectoryA(backups.c_str(), nullptr);
    OverrideDataFolders(DataFolders{backups, backups});
    size_t errors = 0;
    const ErrorSink previousSink = SetErrorSink([&errors](const EntryFailure&) { ++errors; });
    const std::string exportFile = TempFile("morvido-bench-changes.reg");
    const std::string regExportFile = TempFile("morvido-bench-reg-export.reg");
    {
        CommitArea area(scratchPath, MarkedNames(marked));
        for (int run = 0; run < runs; ++run) {
            area.Restore(seeded);
            double start = Now();
            WriteDirectly(marked);
            results.commitFloor.push_back(Now() - start);

            area.Restore(seeded);
            catalog = marked;
            start = Now();
            CommitMarkedEntries(catalog, ClassesRoot());
            results.commit.push_back(Now() - start);

            area.Restore(seeded);
            catalog = marked;
            form.Editor().Modified = true;
            start = Now();
            form.Editor().CommitChanges();
            results.commitWithBackup.push_back(Now() - start);

            catalog = marked;
            start = Now();
            const RegScript script = BuildChangesScript(catalog, ClassesRoot(), SystemAnsiCodePage());
            WriteFileWhole(exportFile, script.Bytes);
            results.exportScript.push_back(Now() - start);
            results.exportBytes = static_cast<long long>(script.Bytes.size());

            DeleteFileA(regExportFile.c_str());
            const std::string command = "\"" + SystemProgram("reg.exe") + "\" export HKCU\\" + area.AreaPath() +
                                        " \"" + regExportFile + "\" /y";
            start = Now();
            RunProcess(command, true);
            results.regExport.push_back(Now() - start);
            WIN32_FILE_ATTRIBUTE_DATA data{};
            if (GetFileAttributesExA(regExportFile.c_str(), GetFileExInfoStandard, &data))
                results.regExportBytes = data.nFileSizeLow;
        }
    }
    RegOverridePredefKey(HKEY_CLASSES_ROOT, seeded);
    SetErrorSink(previousSink);
    results.commitErrors = errors;
    DeleteFileA(exportFile.c_str());
    DeleteFileA(regExportFile.c_str());
    OverrideDataFolders(std::nullopt);
    return results;
}
