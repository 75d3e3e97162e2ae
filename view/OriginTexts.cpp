#include "view/OriginTexts.h"

namespace {
struct OriginTexts {
    const char* column;
    const char* sentence; // after the subject
};
// Indexed by ClassesOrigin.
constexpr OriginTexts kOrigins[] = {
    {"", "はレジストリにありません。"},
    {"ユーザー", "はこのユーザーだけの設定です。ほかのユーザーには関係しません。"},
    {"コンピューター", "はこのコンピューターのすべてのユーザーに共通の設定です。"},
    {"ユーザー＋コンピューター",
     "はこのユーザーの設定とコンピューター全体の設定の両方にあり、このユーザーの設定が使われます。"},
};

const OriginTexts& TextsOf(ClassesOrigin origin) { return kOrigins[static_cast<int>(origin)]; }
} // namespace

const char* OriginText(ClassesOrigin origin) { return TextsOf(origin).column; }

std::string OriginSentence(ClassesOrigin origin, const std::string& subject)
{
    return subject + TextsOf(origin).sentence;
}

std::string UserChoiceSentence(const std::string& chosenName, const std::string& opened)
{
    return opened + "を実際に開くのは、ユーザーが Windows で選んだ「" + chosenName +
           "」です。ここで関連付けを変えても、開くプログラムは変わりません。";
}
