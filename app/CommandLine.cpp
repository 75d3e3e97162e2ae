#include "app/CommandLine.h"

#include "model/CatalogEdits.h"
#include "model/KeyNames.h"

const char* const kCommandLineUsage =
    "使い方:\n"
    "  morvido\n"
    "      関連づけを編集するウィンドウを開きます。\n"
    "  morvido /export ファイル [.拡張子 ...]\n"
    "      関連づけをREGEDIT4形式のレジストリファイルに保存します。\n"
    "  morvido /defaults ファイル [.拡張子 ...] [プロトコル ...] [/version N] [/suggested] [/intune ファイル2]\n"
    "           [/gpo パス]\n"
    "      既定の関連付けをXMLファイルに保存します。プロトコルは mailto のように、\n"
    "      ドットとコロンなしで指定します。\n"
    "      /version N   XMLにバージョンN(1以上の整数)を書きます(Windows 11 22H2 以降)。\n"
    "      /suggested   各関連付けを、バージョンごとに一度だけ適用させます。\n"
    "      /intune ファイル2\n"
    "                   XMLを1行のBase64にしてファイル2にも保存します(Intuneなど用、改行なし)。\n"
    "      /gpo パス    グループポリシーがパスのXMLを読むように設定するレジストリファイルを、\n"
    "                   XMLと同じ名前で拡張子.regのファイルにも保存します。\n"
    "  morvido /check ファイル\n"
    "      レジストリファイルを読み込んだときに変更される関連付けと、読み込まれない項目を表示します。\n"
    "      何も書き込みません。終了コード: 0 すべて読み込めます、1 読み込まれない項目があります、\n"
    "      2 ファイルを読み込めません\n"
    "  morvido /?\n"
    "      この説明を表示します。\n"
    "拡張子もプロトコルも指定しないときは、すべての関連づけ(/defaults ではプロトコルも)を保存します。\n"
    "ウィンドウは開かず、いまのレジストリから保存します。\n"
    "終了コード: 0 保存しました、1 保存できませんでした、2 コマンドラインが正しくありません\n";

namespace {

constexpr const char* kUnknownOption = "コマンドラインが正しくありません: ";
constexpr const char* kFileMissing = "保存するファイルを指定してください。";
constexpr const char* kBadVersion = "/version には1から2147483647までの整数を指定してください: ";
constexpr const char* kValueMissing = "値を指定してください: ";

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

// Takes a /defaults option at arguments[i] and its value, moving i past
// what it took; the problem, or empty when it was one.
std::string TakeDefaultsOption(const std::vector<std::string>& arguments, size_t& i, CommandLineRequest& request)
{
    const std::string option = OptionName(arguments[i]);
    if (option == "suggested") {
        request.Defaults.Suggested = true;
        return {};
    }
    if (option != "version" && option != "intune" && option != "gpo")
        return kUnknownOption + arguments[i];
    // No path or number begins with "/": that is the next option.
    if (i + 1 >= arguments.size() || arguments[i + 1].empty() || arguments[i + 1][0] == '/')
        return kValueMissing + arguments[i];
    const std::string& value = arguments[++i];
    if (option == "version") {
        const std::optional<unsigned> version = ParseAssociationsVersion(value);
        if (!version)
            return kBadVersion + value;
        request.Defaults.Version = *version;
    } else if (option == "intune") {
        request.Defaults.IntuneBase64 = true;
        request.IntuneFile = value;
    } else {
        request.Defaults.PolicyScript = true;
        request.Defaults.PolicyPath = value;
    }
    return {};
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
        if (request.Action == CommandAction::ExportDefaults && !OptionName(arguments[i]).empty()) {
            if (std::string problem = TakeDefaultsOption(arguments, i, request); !problem.empty())
                return Refuse(std::move(problem));
            continue;
        }
        const std::string& name = arguments[i];
        // The default associations name schemes as well, without a dot.
        if (request.Action == CommandAction::ExportDefaults && IsSchemeName(name)) {
            request.Schemes.push_back(LowerCaseName(name));
            continue;
        }
        // An extension is a key name below the classes: a dot, a name, and
        // no backslash, which would make it a path.
        if (name.size() < 2 || name[0] != '.' || name.find('\\') != std::string::npos)
            return Refuse(kUnknownOption + name);
        request.Extensions.push_back(LowerCaseName(name));
    }
    return request;
}
