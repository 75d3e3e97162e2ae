#include "ui/MessageBox.h"

int ShowMessage(const std::string& text, const char* caption, UINT flags)
{
    return MessageBoxA(GetActiveWindow(), text.c_str(), caption, flags);
}
