#include "app/CommandLine.h"

#include "model/KeyNames.h"

const char* const kCommandLineUsage =
    "使い方:\n"
    "  morvido\n"
    "      関連づけを編集するウィンドウを開きます。\n"
    "  morvido /export ファイル [.拡張子 ...]\n"
    "      関連づけをREGEDIT4形式のレジストリファイルに保存します。\n"
    "  morvido /defaults ファイル [.拡張子 ...]\n"
    "      既定の関連付けをXMLファイルに保存します。\n"
    "  morvido /check ファイル\n"
    "      レジストリファイルを読み込んだときに変更される関連付けと、読み込まれない項目を表示します。\n"
    "      何も書き込みません。終了コード: 0 すべて読み込めます、1 読み込まれない項目があります、\n"
    "      2 ファイルを読み込めません\n"
    "  morvido /?\n"
    "      この説明を表示します。\n"
    "拡張子を指定しないときは、すべての関連づけを保存します。ウィンドウは開かず、\n"
    "いまのレジストリから保存します。\n"
    "終了コード: 0 保存しました、1 保存できませんでした、2 コマンドラインが正しくありません\n";

namespace {

constexpr const char* kUnknownOption = "コマンドラインが正しくありません: ";
constexpr const char* kFileMissing = "保存するファイルを指定してください。";

// The option's name in lower case without its "/" or "-"; empty when the
// argument is no option.
std::string OptionName(const std::string& argument)
{
    if (argument.size() < 2 || (argument[0] != '/' && argument[0] != '-'))
        return {};
    std::string name = argument.substr(1);
    for (char& c : name)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return name;
}

CommandLineRequest Refuse(std::string problem)
{
    CommandLineRequest request;
    request.Action = CommandAction::Refuse;
    request.Problem = std::move(problem);
    return request;
}

} // namespace

CommandLineRequest ParseCommandLine(const std::vector<std::string>& arguments)
{
    CommandLineRequest request;
    if (arguments.empty())
        return request;
    for (const std::string& argument : arguments)
        if (OptionName(argument) == "?") {
            request.Action = CommandAction::ShowUsage;
            return request;
        }
    const std::string option = OptionName(arguments[0]);
    if (option == "export")
        request.Action = CommandAction::ExportScript;
    else if (option == "defaults")
        request.Action = CommandAction::ExportDefaults;
    else if (option == "check")
        request.Action = CommandAction::CheckScript;
    else
        return Refuse(kUnknownOption + arguments[0]);
    if (arguments.size() < 2 || arguments[1].empty() || arguments[1][0] == '/')
        return Refuse(kFileMissing);
    request.File = arguments[1];
    if (request.Action == CommandAction::CheckScript && arguments.size() > 2)
        return Refuse(kUnknownOption + arguments[2]);
    for (size_t i = 2; i < arguments.size(); ++i) {
        const std::string& extension = arguments[i];
        // An extension is a key name below the classes: a dot, a name, and
        // no backslash, which would make it a path.
        if (extension.size() < 2 || extension[0] != '.' || extension.find('\\') != std::string::npos)
            return Refuse(kUnknownOption + extension);
        request.Extensions.push_back(LowerCaseName(extension));
    }
    return request;
}
