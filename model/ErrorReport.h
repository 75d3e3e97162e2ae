// Entry operations tell the user about their own failures, but the model
// opens no windows: the application installs the function that shows the
// message, and tests install one that records it.
#pragma once
#include <functional>
#include <string>

using ErrorSink = std::function<void(const std::string& message)>;

// Returns the sink that was installed before.
ErrorSink SetErrorSink(ErrorSink sink);
void ReportError(const std::string& message);

// Every message about an entry starts with its kind and name:
// prefix + Name + tail.
inline constexpr const char* kExtensionPrefix = "拡張子(";
inline constexpr const char* kCreatorPrefix = "クリエーター(";

// Message tails shared by both entry kinds.
inline constexpr const char* kReadFailedTail = ")のデータをレジストりーから読み込むことができませんでした。";
inline constexpr const char* kWriteFailedTail = ")のデータをレジストりーに書き込むことができませんでした。";
inline constexpr const char* kDeleteFailedTail = ")をレジストりーから削除することができませんでした。";
