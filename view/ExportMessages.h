// The messages about saving associations to a file that the main window
// and the command line both show, so both say the same.
#pragma once
#include <cstddef>
#include <string>

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

// What the default associations file leaves out; empty when it left out nothing.
inline std::string LeftOutMessage(const DefaultAssociationList& list)
{
    std::string counted;
    if (list.LeftOut > 0)
        counted = "クリエーターが設定されていない拡張子" + std::to_string(list.LeftOut) + "個";
    if (list.ByRegistryPath > 0) {
        counted += counted.empty() ? "" : "と、";
        counted += "クリエーターがレジストリのパス(CLSID\\{…}など)の拡張子" + std::to_string(list.ByRegistryPath) + "個";
    }
    return counted.empty() ? counted : counted + "は保存しませんでした。";
}
