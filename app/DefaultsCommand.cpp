#include "app/DefaultsCommand.h"

#include "ui/MessageBox.h"
#include "dialogs/DefaultsScopeForm.h"
#include "dialogs/SaveDialog.h"
#include "persist/DefaultAssociations.h"
#include "view/ExportMessages.h"

namespace {
constexpr const char* kNothingToSave = "保存する関連付けがありません。\n一覧の項目を選ぶか、関連付けを変更してください。";
constexpr const char* kSaveDialogTitle = "既定の関連付けをXMLに保存";
constexpr const char* kSaveDialogFilter = "XMLﾌｧｲﾙ(*.xml)|*.xml";
} // namespace

void SaveDefaultAssociationsFile(HWND owner, const AssociationCatalog& catalog, const std::string& selectedKey)
{
    // The choice and the file name of the last save are offered again.
    static TForm12 form12;
    static std::string fileName;

    const std::vector<std::string> changed = ChangedAssociationKeys(catalog);
    if (selectedKey.empty() && changed.empty()) {
        ShowInfo(kNothingToSave);
        return;
    }
    if (!form12.ShowModal(owner, !selectedKey.empty(), !changed.empty()))
        return;
    const DefaultAssociationList list = CollectDefaultAssociations(
        catalog, form12.Scope == DefaultsScope::Selected ? std::vector<std::string>{selectedKey} : changed);
    if (list.Entries.empty()) {
        ShowInfo(std::string(kNoDefaultAssociationMessage) + "\n" + LeftOutMessage(list));
        return;
    }
    if (!ExecuteSaveDialog(owner, kSaveDialogTitle, kSaveDialogFilter, "xml", fileName))
        return;
    const DefaultAssociationsFile file = BuildDefaultAssociationsXml(list.Entries);
    const std::string failure =
        file.Problem ? EntryFailureMessage(*file.Problem) : FileWriteMessage(WriteFileWhole(fileName, file.Bytes));
    if (!failure.empty())
        ShowError(failure);
    else if (const std::string leftOut = LeftOutMessage(list); !leftOut.empty())
        ShowInfo(leftOut);
}
