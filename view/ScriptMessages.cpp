#include "view/ScriptMessages.h"

#include "model/RegistryLocation.h"

namespace {
constexpr const char* kNothingLoaded = "\n何も読み込んでいません。";
}

std::string ScriptFileMessage(const std::string& path, const ScriptFile& file)
{
    switch (file.Status) {
    case ScriptFileStatus::Parsed:
        return {};
    case ScriptFileStatus::NotFound:
        return "「" + path + "」が見つかりません。" + kNothingLoaded;
    case ScriptFileStatus::TooLarge:
        return "「" + path + "」は64MBより大きいため、読み込めません。" + kNothingLoaded;
    case ScriptFileStatus::Faulty:
        return path + " の " + std::to_string(file.ErrorLine) + " 行目: " + file.Error + kNothingLoaded;
    case ScriptFileStatus::ReadFailed:
        break;
    }
    return "「" + path + "」を読み込むことができませんでした。" + kNothingLoaded;
}

std::string LeftOutLine(const LeftOutItem& item)
{
    switch (item.Reason) {
    case LeftOutReason::NoField:
        break;
    case LeftOutReason::Locked:
        return item.Path + "（編集が禁止されています）";
    case LeftOutReason::RemoveLocked:
        return item.Path + "（削除が禁止されています）";
    case LeftOutReason::ReservedScheme:
        return item.Path + "（Windows が自身で使うプロトコルです）";
    }
    return item.Path;
}

std::string ScriptLoadReport(const std::string& path, const ScriptLoad& load, bool userTarget)
{
    std::string text = "「" + path + "」";
    if (load.Changes() == 0)
        text += "には、変更する関連付けがありません。";
    else
        text += "で変更する関連付け: 編集 " + std::to_string(load.Edits) + " 件、追加 " + std::to_string(load.Adds) +
                " 件、削除 " + std::to_string(load.Deletes) + " 件" +
                (load.SchemeChanges > 0 ? "（うちプロトコル " + std::to_string(load.SchemeChanges) + " 件）" : "");
    if (!load.DangerousExtensions.empty()) {
        text += "\n\n次の種類のファイルは、プログラムやスクリプトとして実行されます。関連付けを変えると、"
                "開いたときに動くものが変わります:";
        for (const std::string& extension : load.DangerousExtensions)
            text += " " + extension;
    }
    if (load.LeftOutCount > 0) {
        text += "\n\n読み込まない項目（関連付けのキーと値のほか）: " + std::to_string(load.LeftOutCount) + " 件";
        for (const LeftOutItem& item : load.FirstLeftOut)
            text += "\n・" + LeftOutLine(item);
        if (load.LeftOutCount > load.FirstLeftOut.size())
            text += "\nほか " + std::to_string(load.LeftOutCount - load.FirstLeftOut.size()) + " 件";
    }
    if (userTarget && load.NamesMachineClasses)
        text += "\n\nこのファイルはすべてのユーザーの関連付け（" + MachineClasses().ScriptName +
                "）を指定していますが、保存先は「このユーザーだけ」です。";
    if (!userTarget && load.NamesUserClasses)
        text += "\n\nこのファイルはこのユーザーの関連付け（" + UserClasses().ScriptName +
                "）を指定していますが、保存先は「すべてのユーザー」です。";
    return text;
}
