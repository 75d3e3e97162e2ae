#include "dialogs/AssociationGuards.h"

#include <shellapi.h>

#include "ui/MessageBox.h"
#include "model/DangerousTypes.h"
#include "model/EditFlags.h"

namespace {
std::string Quoted(const std::string& name) { return "「" + name + "」"; }
} // namespace

bool ConfirmDangerousChange(const std::string& extension, GuardedChange change)
{
    if (!IsDangerousType(extension))
        return true;
    const bool edit = change == GuardedChange::Edit;
    const std::string text =
        Quoted(extension) + "はプログラムやスクリプトとして実行されるファイルの種類です。\n" +
        (edit ? "関連付けを変えると、このファイルを開いたときに動くものが変わり、"
              : "関連付けを削除すると、このファイルを開いても実行されなくなり、") +
        "Windows やほかのプログラムが正しく動かなくなることがあります。\n\n" +
        (edit ? "変更しますか?" : "削除しますか?");
    return ShowMessage(text, kCaptionConfirm, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

bool AllowDelete(const std::string& extension, const std::string& creator, DWORD creatorEditFlags)
{
    if (LocksOf(creatorEditFlags).Remove) {
        ShowError("クリエーター" + Quoted(creator) +
                  "は Windows によって削除できないものとされているため、" + Quoted(extension) +
                  "の関連付けは削除できません。");
        return false;
    }
    return ConfirmDangerousChange(extension, GuardedChange::Delete);
}

ChoiceRelease ReleaseUserChoice(const std::string& extension, const std::string& chosenName,
                                const RegistryLocation& fileExts, ChoiceRemover remove)
{
    const std::string question = Quoted(extension) + "は、ユーザーが Windows で選んだ" + Quoted(chosenName) +
                                 "で開かれています。\nこの選択を解除すると、この一覧の関連付けのとおりに"
                                 "開かれるようになります。\n\n解除しますか?";
    if (ShowMessage(question, kCaptionConfirm, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return ChoiceRelease::Cancelled;

    const LONG status = remove(extension, fileExts);
    if (status == ERROR_SUCCESS)
        return ChoiceRelease::Released;
    if (status == ERROR_FILE_NOT_FOUND) {
        ShowInfo(Quoted(extension) + "にはユーザーの選択がありません。");
        return ChoiceRelease::Absent;
    }
    const std::string refused =
        Quoted(extension) + "のユーザーの選択は解除できませんでした。Windows がこの変更を拒んでいます"
                            "(保護されている種類か、キーのアクセス許可によるものです)。何も変更していません。\n\n"
                            "Windows の設定の「既定のアプリ」を開いて、そこで選び直しますか?";
    if (ShowMessage(refused, kCaptionError, MB_YESNO | MB_ICONWARNING) == IDYES) {
        const auto opened = reinterpret_cast<INT_PTR>(
            ShellExecuteA(GetActiveWindow(), "open", kDefaultAppsSettings, nullptr, nullptr, SW_SHOWNORMAL));
        if (opened <= 32)
            ShowError("Windows の設定を開けませんでした。");
    }
    return ChoiceRelease::Refused;
}
