#include "app/MainForm.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <iterator>

#include "ui/MessageBox.h"
#include "persist/DataFolders.h"

namespace {

constexpr const char* kSettingsFile = "morvido.ini";
constexpr const char* kSection = "MORVIDO";
// The message is "%s に書き込めません" with the file's full path for %s.
constexpr const char* kWriteFailedTail = " に書き込めません";

constexpr int kDefaultTop = 25, kDefaultLeft = 50, kDefaultWidth = 800, kDefaultHeight = 480;
constexpr int kDefaultViewStyle = 0;

struct ColumnSetting {
    const char* key;
    int defaultWidth;
};

// In column order.
constexpr ColumnSetting kColumns[] = {
    {"Extention", 55}, {"Mime", 125}, {"Creator", 90}, {"Kind", 200}, {"Icon_File_No", 110}, {"Exec_Prog", 185},
};

// Beside the program where that folder can be written, otherwise in the
// user's own folder, so a standard user running it from where programs are
// installed keeps the settings and sees no error at every close.
std::string SettingsSavePath(bool createFolder)
{
    const auto [program, user] = DataFolderChoices("");
    if (FolderIsWritable(program))
        return program + kSettingsFile;
    if (createFolder)
        EnsureFolder(user);
    return user + kSettingsFile;
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The file that saving writes, so the settings saved last are the ones
// restored; while it is not there yet, the other one, so a file beside the
// program from before keeps working.
std::string SettingsLoadPath()
{
    const std::string saved = SettingsSavePath(false);
    if (FileExists(saved))
        return saved;
    for (const std::string& folder : DataFolderChoices("")) {
        if (FileExists(folder + kSettingsFile))
            return folder + kSettingsFile;
    }
    return saved;
}

// A key that is absent or does not hold a whole decimal number reads as its
// default (the profile functions' own integer reading would give 0 for
// text).
int ReadInteger(const std::string& path, const char* key, int defaultValue)
{
    char text[64] = {};
    GetPrivateProfileStringA(kSection, key, "", text, sizeof text, path.c_str());
    if (text[0] == '\0')
        return defaultValue;
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text, &end, 10);
    while (*end == ' ' || *end == '\t')
        ++end;
    if (end == text || *end != '\0' || errno == ERANGE || value < INT_MIN || value > INT_MAX)
        return defaultValue;
    return static_cast<int>(value);
}

bool WriteInteger(const std::string& path, const char* key, int value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    return WritePrivateProfileStringA(kSection, key, text, path.c_str()) != FALSE;
}

int ColumnWidth(HWND list, int column)
{
    LVCOLUMNA info{};
    info.mask = LVCF_WIDTH;
    return SendMessageA(list, LVM_GETCOLUMNA, column, reinterpret_cast<LPARAM>(&info)) ? info.cx : 0;
}

// Through the column itself, which the list keeps in every view style; the
// plain width message is refused outside the report view.
void SetColumnWidth(HWND list, int column, int width)
{
    LVCOLUMNA info{};
    info.mask = LVCF_WIDTH;
    info.cx = width;
    SendMessageA(list, LVM_SETCOLUMNA, column, reinterpret_cast<LPARAM>(&info));
}

// The window's place as the user left it: a minimised window reports a
// parking place far off-screen, so its restored place is taken instead.
RECT NormalWindowRect(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    if (!IsIconic(window))
        return rect;
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (!GetWindowPlacement(window, &placement))
        return rect;
    // The restored place is in work-area coordinates.
    rect = placement.rcNormalPosition;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (GetMonitorInfoA(MonitorFromRect(&rect, MONITOR_DEFAULTTOPRIMARY), &monitor))
        OffsetRect(&rect, monitor.rcWork.left - monitor.rcMonitor.left, monitor.rcWork.top - monitor.rcMonitor.top);
    return rect;
}

} // namespace

void TForm1::LoadSettings()
{
    const std::string path = SettingsLoadPath();
    int top = ReadInteger(path, "Top", kDefaultTop);
    int left = ReadInteger(path, "Left", kDefaultLeft);
    int width = ReadInteger(path, "Width", kDefaultWidth);
    int height = ReadInteger(path, "Height", kDefaultHeight);
    // A place saved on a monitor that is gone (or a nonsensical size) would
    // open the window where nobody can reach it.
    const RECT saved{left, top, left + width, top + height};
    if (width <= 0 || height <= 0 || !MonitorFromRect(&saved, MONITOR_DEFAULTTONULL)) {
        top = kDefaultTop;
        left = kDefaultLeft;
        width = kDefaultWidth;
        height = kDefaultHeight;
    }
    SetWindowPos(hwnd_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);

    int widths[std::size(kColumns)];
    for (size_t column = 0; column < std::size(kColumns); ++column)
        widths[column] = ReadInteger(path, kColumns[column].key, kColumns[column].defaultWidth);
    SetViewStyle(ReadInteger(path, "ViewStyle", kDefaultViewStyle));
    for (size_t column = 0; column < std::size(kColumns); ++column)
        SetColumnWidth(ListView1, static_cast<int>(column), widths[column]);

    SortDirection.fill(-1);
}

void TForm1::SaveSettings()
{
    const std::string path = SettingsSavePath(true);
    const RECT rect = NormalWindowRect(hwnd_);
    struct Value {
        const char* key;
        int value;
    };
    Value values[4 + std::size(kColumns) + 1] = {
        {"Top", rect.top},
        {"Left", rect.left},
        {"Width", rect.right - rect.left},
        {"Height", rect.bottom - rect.top},
    };
    size_t count = 4;
    for (size_t column = 0; column < std::size(kColumns); ++column)
        values[count++] = Value{kColumns[column].key, ColumnWidth(ListView1, static_cast<int>(column))};
    values[count++] = Value{"ViewStyle", ViewStyle()};

    // Writing stops at the first key that fails; the keys before it stay.
    for (const Value& value : values) {
        if (!WriteInteger(path, value.key, value.value)) {
            ShowError(path + kWriteFailedTail);
            return;
        }
    }
}
