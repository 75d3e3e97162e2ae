// The messages about entries that the program shows: every one starts with
// the entry's kind and name, prefix + name + tail.
#pragma once
#include <string>

#include "model/EditFlags.h"
#include "model/ErrorReport.h"

inline constexpr const char* kExtensionPrefix = "拡張子(";
inline constexpr const char* kCreatorPrefix = "クリエーター(";
inline constexpr const char* kSchemePrefix = "プロトコル(";

inline constexpr const char* kReadFailedTail = ")のデータをレジストりーから読み込むことができませんでした。";
inline constexpr const char* kWriteFailedTail = ")のデータをレジストりーに書き込むことができませんでした。";
inline constexpr const char* kDeleteFailedTail = ")をレジストりーから削除することができませんでした。";
inline constexpr const char* kUnrepresentableTail = ")のデータに、ファイルに保存できない文字があります。";
inline constexpr const char* kControlCharacterTail =
    ")のデータに、レジストリファイルに保存できない改行などの制御文字があります。";

std::string EntryFailureMessage(const EntryFailure& failure);

// Why a scheme is only shown, for the refusal of a change to it.
std::string LockedSchemeMessage(const std::string& scheme, const EditLocks& locks);
