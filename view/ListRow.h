// One row of the association list as texts, and the comparisons that sort
// rows. No windows: the list control hands its texts in and out.
#pragma once
#include <array>
#include <string>

inline constexpr int kListColumnCount = 8;

struct ListRow {
    std::string Caption;                 // column 0: the extension's catalog key
    std::array<std::string, kListColumnCount - 1> SubItems; // columns 1 to 7
    int Image = 0;
    // The user's choice names another type than the creator: the creator's
    // command is not what opens the file.
    bool ChoiceDiffers = false;

    // Column 0 is the caption, columns 1 to 7 the sub-items 0 to 6.
    const std::string& Column(int column) const { return column == 0 ? Caption : SubItems[column - 1]; }
};

// A text converted once for the many comparisons of a sort: two prepared
// texts compare as the platform's comparison of the narrow texts (lstrcmpA)
// does, which converts both on every call.
std::wstring PreparedForComparison(const std::string& text);
int ComparePrepared(const std::wstring& first, const std::wstring& second);
