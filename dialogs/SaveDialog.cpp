#include "dialogs/SaveDialog.h"

#include <commdlg.h>

#include "ui/FormKit.h"
#include "ui/MessageBox.h"

namespace {
constexpr const char* kSaveDialogTitle = "変更されたデータをレジストリファイルに保存";
constexpr const char* kSaveDialogFilter = "ﾚｼﾞｽﾄﾘﾌｧｲﾙ(*.reg)|*.reg";
constexpr const char* kDialogFailed = "保存するファイルを選ぶことができませんでした。";
} // namespace

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
