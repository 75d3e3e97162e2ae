#include "app/DefaultsCommand.h"

#include "model/RegistryLocation.h"
#include "ui/MessageBox.h"
#include "dialogs/DefaultsScopeForm.h"
#include "dialogs/SaveDialog.h"
#include "persist/RegScript.h"
#include "view/ExportMessages.h"

namespace {
constexpr const char* kNothingToSave = "保存する関連付けがありません。\n一覧の項目を選ぶか、関連付けを変更してください。";
constexpr const char* kSaveDialogTitle = "既定の関連付けをXMLに保存";
constexpr const char* kSaveDialogFilter = "XMLﾌｧｲﾙ(*.xml)|*.xml";
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
