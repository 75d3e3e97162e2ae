#include "app/DefaultsCommand.h"

#include <windows.h>

#include "model/KeyNames.h"
#include "model/RegistryLocation.h"
#include "model/TextConversion.h"
#include "ui/MessageBox.h"
#include "dialogs/DefaultsScopeForm.h"
#include "dialogs/SaveDialog.h"
#include "persist/RegScript.h"
#include "view/ExportMessages.h"

namespace {
constexpr const char* kNothingToSave = "保存する関連付けがありません。\n一覧の項目を選ぶか、関連付けを変更してください。";
constexpr const char* kSaveDialogTitle = "既定の関連付けをXMLに保存";
constexpr const char* kSaveDialogFilter = "XMLﾌｧｲﾙ(*.xml)|*.xml";
constexpr const char* kSameFileMessage =
    "XMLファイル、Intune用のファイルとレジストリファイルには、別々のファイルを指定してください。\n何も保存していません。";

// Whether two paths name the same file, as the file system spells names:
// without regard to case, relative ones from the current folder.
bool SameFile(const std::string& a, const std::string& b)
{
    if (a.empty() || b.empty())
        return false;
    const auto full = [](const std::string& path) {
        const std::wstring wide = WidenText(path);
        std::wstring out(MAX_PATH, L'\0');
        DWORD length = GetFullPathNameW(wide.c_str(), static_cast<DWORD>(out.size()), out.data(), nullptr);
        if (length >= out.size()) {
            out.resize(length);
            length = GetFullPathNameW(wide.c_str(), static_cast<DWORD>(out.size()), out.data(), nullptr);
        }
        return length == 0 || length >= out.size() ? path : LowerCaseName(NarrowText(out.substr(0, length)));
    };
    return full(a) == full(b);
}
} // namespace

DefaultsTargets TargetsBeside(const std::string& xml, const DefaultsOptions& options)
{
    return {xml, options.IntuneBase64 ? SiblingPath(xml, ".txt") : std::string(),
            options.PolicyScript ? SiblingPath(xml, ".reg") : std::string()};
}

DefaultsSaveResult SaveDefaultsFiles(const DefaultAssociationList& list, const DefaultsOptions& options,
                                     const DefaultsTargets& targets)
{
    DefaultsSaveResult result{LeftOutMessage(list), {}};
    if (list.Entries.empty()) {
        result.Failure = kNoDefaultAssociationMessage;
        return result;
    }
    const DefaultAssociationsFile xml = BuildDefaultAssociationsXml(list.Entries, options);
    if (xml.Problem) {
        result.Failure = EntryFailureMessage(*xml.Problem);
        return result;
    }
    // A second file written over the first would leave only the last.
    if (SameFile(targets.Xml, targets.Base64) || SameFile(targets.Xml, targets.Policy) ||
        SameFile(targets.Base64, targets.Policy)) {
        result.Failure = kSameFileMessage;
        return result;
    }
    std::vector<FileToWrite> files{{targets.Xml, xml.Bytes}};
    if (!targets.Base64.empty())
        files.push_back({targets.Base64, Base64Of(xml.Bytes)});
    if (!targets.Policy.empty()) {
        std::optional<std::string> script = BuildValueScript(AssociationsPolicyKey(), kAssociationsPolicyValue,
                                                             options.PolicyPath, SystemAnsiCodePage());
        if (!script) {
            result.Failure = kPolicyPathRefusedMessage;
            return result;
        }
        files.push_back({targets.Policy, std::move(*script)});
    }
    result.Failure = FilesWriteMessage(files, WriteFilesInOrder(files));
    if (result.Failure.empty())
        if (const std::string written = DeploymentFilesMessage(targets.Base64, targets.Policy); !written.empty())
            result.Note += (result.Note.empty() ? "" : "\n") + written;
    return result;
}

void SaveDefaultAssociationsFile(HWND owner, const AssociationCatalog& catalog, const std::string& selectedKey,
                                 bool selectedScheme)
{
    // The choices and the file name of the last save are offered again.
    static TForm12 form12;
    static std::string fileName;

    const std::vector<std::string> changed = ChangedAssociationKeys(catalog);
    const std::vector<std::string> changedSchemes = ChangedSchemeKeys(catalog);
    const bool anyChanged = !changed.empty() || !changedSchemes.empty();
    if (selectedKey.empty() && !anyChanged) {
        ShowInfo(kNothingToSave);
        return;
    }
    if (!form12.ShowModal(owner, !selectedKey.empty(), anyChanged))
        return;
    std::vector<std::string> extensions = changed, schemes = changedSchemes;
    if (form12.Scope == DefaultsScope::Selected) {
        extensions.clear();
        schemes.clear();
        (selectedScheme ? schemes : extensions).push_back(selectedKey);
    }
    const DefaultAssociationList list =
        CollectDefaultAssociations(catalog, extensions, CurrentAssociationLocations(), schemes);
    if (list.Entries.empty()) {
        ShowInfo(std::string(kNoDefaultAssociationMessage) + "\n" + LeftOutMessage(list));
        return;
    }
    if (!ExecuteSaveDialog(owner, kSaveDialogTitle, kSaveDialogFilter, "xml", fileName))
        return;
    const DefaultsSaveResult result =
        SaveDefaultsFiles(list, form12.Options, TargetsBeside(fileName, form12.Options));
    if (!result.Failure.empty())
        ShowError(result.Failure);
    else if (!result.Note.empty())
        ShowInfo(result.Note);
}
