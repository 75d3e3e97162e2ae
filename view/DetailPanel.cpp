#include "view/DetailPanel.h"

#include <algorithm>
#include <string>

#include "ui/ChildWindows.h"
#include "ui/FormKit.h"
#include "ui/resource.h"
#include "view/OriginTexts.h"
#include "view/PathShortening.h"
#include "view/ShellServices.h"

namespace {

constexpr const char* kGroupCaption = "拡張子";

// Places in pixels at 96 DPI.
constexpr int kGroupBoxLeft = 8, kGroupBoxTop = 37, kGroupBoxWidth = 537, kGroupBoxHeight = 105;
constexpr int kGroupBoxMargin = 30;      // window outer width minus group box width
constexpr int kProgramLabelMargin = 150; // group box width minus Label4 width
constexpr int kDetailRightMargin = 8;
constexpr int kImage1Left = 16, kImage1Top = 22, kImage1Size = 33;

// Sub-items as numbered in rows.
constexpr int kCreatorColumn = 2, kKindColumn = 3, kProgramColumn = 5;

// The labels inside GroupBox1. A width of 0 reaches to the group box's
// right edge, as the names and kinds they show vary in length.
struct DetailLabel {
    HWND DetailPanel::*control;
    int id;
    int x, y, width;
    const char* text;
};

constexpr DetailLabel kDetailLabels[] = {
    {&DetailPanel::Label6, IDC_FORM1_LABEL6, 64, 15, 51, "ｸﾘｴｰﾀ- ："},
    {&DetailPanel::Label2, IDC_FORM1_LABEL2, 115, 15, 0, "Creator"},
    {&DetailPanel::Label5, IDC_FORM1_LABEL5, 64, 33, 76, "ﾌｧｲﾙの種類 ："},
    {&DetailPanel::Label3, IDC_FORM1_LABEL3, 140, 33, 0, "Kind"},
    {&DetailPanel::Label1, IDC_FORM1_LABEL1, 64, 50, 76, "実行ﾌﾟﾛｸﾞﾗﾑ ："},
    {&DetailPanel::Label4, IDC_FORM1_LABEL4, 140, 50, kGroupBoxWidth - 146, "Program"},
    // The three lines under the picture sit closer than those beside it,
    // so the verbs fit in the group box.
    {&DetailPanel::Label7, IDC_FORM1_LABEL7, 16, 64, 0, ""},
    {&DetailPanel::Label8, IDC_FORM1_LABEL8, 16, 78, 0, ""},
    {&DetailPanel::Label9, IDC_FORM1_LABEL9, 16, 92, 0, ""},
};

// "動作: 印刷 (既定)、開く、編集": the default first, each by its menu
// text without accelerator marks, else by its name. Empty without verbs.
std::string VerbsSentence(const CreatorEntry& creator)
{
    const std::string defaultVerb = creator.EffectiveDefaultVerb();
    auto shown = [](const VerbEntry& verb) {
        std::string text = ResolveIndirectText(verb.MuiVerb.empty() ? verb.Text : verb.MuiVerb), plain;
        // A Japanese menu text's "(&O)" goes whole, as a menu without
        // underlines shows it; elsewhere "&&" stands for "&".
        if (text.size() >= 4 && text.compare(text.size() - 4, 2, "(&") == 0 && text.back() == ')')
            text.resize(text.size() - 4);
        for (size_t at = 0; at < text.size(); ++at) {
            if (text[at] == '&' && at + 1 < text.size())
                ++at; // the marked letter stays, and "&&" leaves one "&"
            if (text[at] != '&' || (at > 0 && text[at - 1] == '&'))
                plain += text[at];
        }
        return plain.empty() ? verb.Name : plain;
    };
    std::string sentence;
    if (const VerbEntry* first = creator.FindVerb(defaultVerb))
        sentence = shown(*first) + " (既定)";
    for (const VerbEntry& verb : creator.Verbs)
        if (verb.State != esDeleted && !SameVerbName(verb.Name, defaultVerb))
            sentence += (sentence.empty() ? "" : "、") + shown(verb);
    return sentence.empty() ? sentence : "動作: " + sentence;
}

int TextHeightOf(HFONT font)
{
    ScopedWindowDC dc(nullptr, font);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc.Get(), &metrics);
    return metrics.tmHeight;
}

int TextWidth(HWND control, const std::string& text)
{
    ScopedWindowDC dc(control, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32A(dc.Get(), text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

} // namespace

bool DetailPanel::Create(HWND parent)
{
    GroupBox1 = CreateChild(WC_BUTTONA, kGroupCaption, BS_GROUPBOX, parent, IDC_FORM1_GROUPBOX1);
    if (!GroupBox1)
        return false;
    ForwardToTopLevel(GroupBox1);
    Image1 = CreateChild(WC_STATICA, "", SS_ICON | SS_NOTIFY | SS_CENTERIMAGE, GroupBox1, IDC_FORM1_IMAGE1);
    for (const DetailLabel& label : kDetailLabels)
        this->*label.control =
            CreateChild(WC_STATICA, label.text, SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_ENDELLIPSIS, GroupBox1, label.id);
    return Image1 != nullptr;
}

void DetailPanel::Layout(UINT dpi)
{
    RECT group{};
    GetWindowRect(GroupBox1, &group);
    SetWindowPos(GroupBox1, nullptr, ScaleToDpi(kGroupBoxLeft, dpi), ScaleToDpi(kGroupBoxTop, dpi),
                 group.right > group.left ? group.right - group.left : ScaleToDpi(kGroupBoxWidth, dpi),
                 ScaleToDpi(kGroupBoxHeight, dpi), SWP_NOZORDER | SWP_NOACTIVATE);
    PlaceChild(Image1, kImage1Left, kImage1Top, kImage1Size, kImage1Size, dpi);
}

void DetailPanel::Resize(int outerWidth, UINT dpi, HFONT font)
{
    const int groupWidth = std::max(0, outerWidth - ScaleToDpi(kGroupBoxMargin, dpi));
    SetWindowPos(GroupBox1, nullptr, 0, 0, groupWidth, ScaleToDpi(kGroupBoxHeight, dpi),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const int labelHeight = TextHeightOf(font);
    for (const DetailLabel& label : kDetailLabels) {
        int width = ScaleToDpi(label.width, dpi);
        if (label.control == &DetailPanel::Label4)
            width = groupWidth - ScaleToDpi(kProgramLabelMargin, dpi);
        else if (label.width == 0)
            width = groupWidth - ScaleToDpi(label.x + kDetailRightMargin, dpi);
        SetWindowPos(this->*label.control, nullptr, ScaleToDpi(label.x, dpi), ScaleToDpi(label.y, dpi),
                     std::max(0, width), labelHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void DetailPanel::Show(const ListRow& row, HIMAGELIST images, const AssociationCatalog& catalog)
{
    const ExtensionEntry* extension = Find(catalog.ExtensionMap, row.Caption);
    const CreatorEntry* creator =
        extension && !extension->Creator.empty() ? Find(catalog.CreatorMap, extension->Creator) : nullptr;
    SetWindowTextA(Label7, extension ? OriginSentence(extension->Origin, "拡張子「" + row.Caption + "」").c_str() : "");
    const std::string choice = row.ChoiceDiffers ? UserChoiceSentence(extension->UserChoice)
                               : creator ? OriginSentence(creator->Origin, "クリエーター「" + creator->Name + "」")
                                         : std::string();
    SetWindowTextA(Label8, choice.c_str());
    SetWindowTextA(Label9, creator && creator->VerbsRead ? VerbsSentence(*creator).c_str() : "");
    ShowRowTexts(row, images, "拡張子 " + row.Caption + " について", row.Column(kCreatorColumn));
}

void DetailPanel::ShowScheme(const ListRow& row, HIMAGELIST images, const SchemeEntry& scheme)
{
    SetWindowTextA(Label7, OriginSentence(scheme.Origin, "プロトコル「" + scheme.Name + "」").c_str());
    const std::string choice = row.ChoiceDiffers ? UserChoiceSentence(scheme.UserChoice, "このプロトコルの URL") : "";
    SetWindowTextA(Label8, choice.c_str());
    SetWindowTextA(Label9, scheme.VerbsRead ? VerbsSentence(scheme).c_str() : "");
    ShowRowTexts(row, images, "プロトコル " + scheme.Name + " について", scheme.Name);
}

void DetailPanel::ShowRowTexts(const ListRow& row, HIMAGELIST images, const std::string& caption,
                               const std::string& key)
{
    SetWindowTextA(GroupBox1, caption.c_str());
    detailIcon_.Reset(ImageList_GetIcon(images, row.Image, ILD_NORMAL));
    SendMessageA(Image1, STM_SETICON, reinterpret_cast<WPARAM>(detailIcon_.Get()), 0);
    SetWindowTextA(Label2, key.c_str());
    SetWindowTextA(Label3, row.Column(kKindColumn).c_str());
    RECT bounds{};
    GetClientRect(Label4, &bounds);
    const std::string program = ShortenPath(row.Column(kProgramColumn), bounds.right - bounds.left,
                                            [this](const std::string& text) { return TextWidth(Label4, text); });
    SetWindowTextA(Label4, program.c_str());
}

void DetailPanel::Clear(HICON placeholder)
{
    SetWindowTextA(GroupBox1, kGroupCaption);
    SendMessageA(Image1, STM_SETICON, reinterpret_cast<WPARAM>(placeholder), 0);
    detailIcon_.Reset();
    SetWindowTextA(Label2, "");
    SetWindowTextA(Label3, "");
    SetWindowTextA(Label4, "");
    SetWindowTextA(Label7, "");
    SetWindowTextA(Label8, "");
    SetWindowTextA(Label9, "");
}

void DetailPanel::ShowPlaceholder(HICON placeholder)
{
    if (!reinterpret_cast<HICON>(SendMessageA(Image1, STM_GETICON, 0, 0)))
        SendMessageA(Image1, STM_SETICON, reinterpret_cast<WPARAM>(placeholder), 0);
}
