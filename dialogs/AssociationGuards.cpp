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

    const ChoiceRemoval removal = remove(extension, fileExts);
    if (removal == ChoiceRemoval::Removed)
        return ChoiceRelease::Released;
    if (removal == ChoiceRemoval::Absent) {
        ShowInfo(Quoted(extension) + "にはユーザーの選択がありません。");
        return ChoiceRelease::Absent;
    }
    const bool partly = removal == ChoiceRemoval::OlderOnly;
    const std::string why = "(保護されている種類か、キーのアクセス許可によるものです)。";
    const std::string refused =
        partly ? Quoted(extension) +
                     "の古い形式のユーザーの選択 (UserChoice) は解除しましたが、新しい形式の選択 (UserChoiceLatest) "
                     "の解除は Windows が拒んでいます" + why + "Windows は引き続き" + Quoted(chosenName) +
                     "で開きます。"
               : Quoted(extension) + "のユーザーの選択は解除できませんでした。Windows がこの変更を拒んでいます" +
                     why + "何も変更していません。";
    if (ShowMessage(refused + "\n\nWindows の設定の「既定のアプリ」を開いて、そこで選び直しますか?", kCaptionError,
                    MB_YESNO | MB_ICONWARNING) == IDYES) {
        const auto opened = reinterpret_cast<INT_PTR>(
            ShellExecuteA(GetActiveWindow(), "open", kDefaultAppsSettings, nullptr, nullptr, SW_SHOWNORMAL));
        if (opened <= 32)
            ShowError("Windows の設定を開けませんでした。");
    }
    return partly ? ChoiceRelease::PartlyReleased : ChoiceRelease::Refused;
}
