// The messages about saving associations to a file that the main window
// and the command line both show, so both say the same.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "persist/DefaultAssociations.h"
#include "persist/RegScript.h"
#include "view/EntryMessages.h"

// After a prefix and a name from view/EntryMessages.h.
inline constexpr const char* kUnknownExtensionTail = ")はレジストリにありません。";

inline constexpr const char* kFileOpenFailedMessage = "ファイルを開くことができませんでした。";
inline constexpr const char* kFileWriteFailedMessage = "ファイルに書き込むことができませんでした。";
inline constexpr const char* kNoDefaultAssociationMessage = "保存できる関連付けがありません。";
// After the messages of the entries that could not be read.
inline constexpr const char* kUnreadEntriesMessage = "読み込めなかったデータがあるため、ファイルは保存しませんでした。";

// Empty for a file that was written.
inline std::string FileWriteMessage(FileWrite result)
{
    switch (result) {
    case FileWrite::Written:
        return {};
    case FileWrite::OpenFailed:
        return kFileOpenFailedMessage;
    case FileWrite::WriteFailed:
        break;
    }
    return kFileWriteFailedMessage;
}

// What the default associations file leaves out, and where it names the
// creator in place of a user's choice it cannot name; empty when neither.
inline std::string LeftOutMessage(const DefaultAssociationList& list)
{
    std::string counted;
    if (list.LeftOut > 0)
        counted = "クリエーターが設定されていない拡張子" + std::to_string(list.LeftOut) + "個";
    if (list.ByRegistryPath > 0) {
        counted += counted.empty() ? "" : "と、";
        counted += "クリエーターがレジストリのパス(CLSID\\{…}など)の拡張子" + std::to_string(list.ByRegistryPath) + "個";
    }
    std::string message = counted.empty() ? counted : counted + "は保存しませんでした。";
    if (list.ChoiceMissing > 0)
        message += (message.empty() ? "" : "\n") + std::string("ユーザーの選択が、このコンピューターにない種類かレジストリのパスを指している拡張子") +
                   std::to_string(list.ChoiceMissing) + "個は、クリエーターで保存しました。";
    if (list.SchemesLeftOut > 0)
        message += (message.empty() ? "" : "\n") + std::string("削除したプロトコルか、見つからないプロトコル") +
                   std::to_string(list.SchemesLeftOut) + "個は保存しませんでした。";
    if (list.SchemeChoicesMissing > 0)
        message += (message.empty() ? "" : "\n") +
                   std::string("ユーザーの選択がこのコンピューターにない種類を指しているプロトコル") +
                   std::to_string(list.SchemeChoicesMissing) + "個は、プロトコルのキーで保存しました。";
    return message;
}

inline constexpr const char* kPolicyPathRefusedMessage =
    "グループポリシーに指定するパスに、改行などの制御文字か、レジストリファイルに保存できない文字があります。";

// The deployment files a save wrote beside the XML, one line each.
inline std::string DeploymentFilesMessage(const std::string& base64Path, const std::string& policyPath)
{
    std::string message;
    if (!base64Path.empty())
        message += "Intune用のBase64を保存しました: " + base64Path;
    if (!policyPath.empty())
        message += (message.empty() ? "" : "\n") + std::string("グループポリシー用のレジストリファイルを保存しました: ") + policyPath;
    return message;
}

// Empty when every file was written. With one file, the message of that
// file; with more, which one failed and which stay written before it.
inline std::string FilesWriteMessage(const std::vector<FileToWrite>& files, const FilesWrite& result)
{
    const std::string failure = FileWriteMessage(result.Result);
    if (failure.empty() || files.size() < 2 || result.Failed >= files.size())
        return failure;
    std::string message = failure + "\n" + files[result.Failed].Path;
    for (size_t i = 0; i < result.Failed; ++i)
        message += (i == 0 ? "\n保存済みのファイル: " : ", ") + files[i].Path;
    return message;
}
