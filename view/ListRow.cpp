#include "view/ListRow.h"

#include <windows.h>

int CompareTexts(const std::string& first, const std::string& second)
{
    return lstrcmpA(first.c_str(), second.c_str());
}

int CompareByColumn(const ListRow& first, const ListRow& second, int column, int direction)
{
    return CompareTexts(first.Column(column), second.Column(column)) * direction;
}

int CompareByExtension(const ListRow& first, const ListRow& second)
{
    return CompareTexts(first.Caption, second.Caption);
}
