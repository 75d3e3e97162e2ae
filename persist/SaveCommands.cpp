#include "app/MainForm.h"

#include <commdlg.h>

#include "app/FormKit.h"
#include "app/MessageBox.h"
#include "model/AssociationCatalog.h"
#include "persist/Backup.h"
#include "persist/ExportMessages.h"
#include "persist/RegScript.h"
#include "persist/RegistryCommit.h"
#include "view/ListControl.h"

namespace {

constexpr const char* kNothingPending =
    "すでに変更された情報がレジストリに反映されているか、\n変更された情報がありません。";
constexpr const char* kSaveDialogTitle = "変更されたデータをレジストリファイルに保存";
constexpr const char* kSaveDialogFilter = "ﾚｼﾞｽﾄﾘﾌｧｲﾙ(*.reg)|*.reg";
constexpr const char* kDialogFailed = "保存するファイルを選ぶことができませんでした。";

// SaveDialog1. It starts from fileName, the name chosen last, and keeps
// the new choice there; false when the user cancels.
bool ExecuteSaveDialog1(HWND owner, std::string& fileName)
{
    std::string chosen = fileName;
    if (!ChooseFile(FileDialog::Save, owner, kSaveDialogTitle, kSaveDialogFilter, "reg", chosen)) {
        if (CommDlgExtendedError() != 0)
            ShowError(kDialogFailed);
        return false;
    }
    fileName = chosen;
    return true;
}

void SaveScript(const RegScript& script, const std::string& path)
{
    if (!script.Problem.empty()) {
        ShowError(script.Problem);
        return;
    }
    const std::string failure = FileWriteMessage(WriteFileWhole(path, script.Bytes));
    if (!failure.empty())
        ShowError(failure);
}

} // namespace

bool TForm1::CommitChanges()
{
    if (!Modified) {
        ShowInfo(kNothingPending);
        return false;
    }
    // A commit deletes whole keys and overwrites values: without a copy
    // the user could restore, it does not start.
    if (!WriteCommitBackup(Catalog()).written) {
        ShowError(kBackupFailedMessage);
        return false;
    }
    if (!CommitMarkedEntries(Catalog())) {
        // The failed entries keep their marks and the list keeps showing
        // them, so the user can commit again or export what is pending.
        return false;
    }
    Modified = false;
    return true;
}

void TForm1::ExportChanges()
{
    if (!Modified) {
        ShowInfo(kNothingPending);
        return;
    }
    if (!ExecuteSaveDialog1(hwnd_, SaveDialog1FileName))
        return;
    SaveScript(BuildChangesScript(Catalog(), SystemAnsiCodePage()), SaveDialog1FileName);
}

void TForm1::ExportSelected()
{
    const int row = SelectedRow(ListView1);
    if (row < 0)
        return;
    if (!ExecuteSaveDialog1(hwnd_, SaveDialog1FileName))
        return;
    SaveScript(BuildSelectedScript(Catalog(), RowText(ListView1, row, 0), SystemAnsiCodePage()),
               SaveDialog1FileName);
}
