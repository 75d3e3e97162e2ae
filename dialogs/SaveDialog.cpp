#include "dialogs/SaveDialog.h"

#include <commdlg.h>

#include "ui/FormKit.h"
#include "ui/MessageBox.h"

namespace {
constexpr const char* kSaveDialogTitle = "変更されたデータをレジストリファイルに保存";
constexpr const char* kSaveDialogFilter = "ﾚｼﾞｽﾄﾘﾌｧｲﾙ(*.reg)|*.reg";
constexpr const char* kDialogFailed = "保存するファイルを選ぶことができませんでした。";
constexpr const char* kOpenDialogTitle = "レジストリファイルを読み込む";
constexpr const char* kOpenDialogFailed = "読み込むファイルを選ぶことができませんでした。";
} // namespace

bool ExecuteSaveDialog1(HWND owner, std::string& fileName)
{
    return ExecuteSaveDialog(owner, kSaveDialogTitle, kSaveDialogFilter, "reg", fileName);
}

bool ExecuteSaveDialog(HWND owner, const char* title, const char* filter, const char* extension,
                       std::string& fileName)
{
    std::string chosen = fileName;
    if (!ChooseFile(FileDialog::Save, owner, title, filter, extension, chosen)) {
        if (CommDlgExtendedError() != 0)
            ShowError(kDialogFailed);
        return false;
    }
    fileName = chosen;
    return true;
}

bool ExecuteOpenDialog1(HWND owner, std::string& fileName)
{
    std::string chosen = fileName;
    if (!ChooseFile(FileDialog::Open, owner, kOpenDialogTitle, kSaveDialogFilter, "reg", chosen)) {
        if (CommDlgExtendedError() != 0)
            ShowError(kOpenDialogFailed);
        return false;
    }
    fileName = chosen;
    return true;
}
