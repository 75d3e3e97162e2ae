#include "app/Settings.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <iterator>

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
    {"Extention", 55},  {"Mime", 125},     {"Creator", 90},      {"Kind", 200},
    {"Icon_File_No", 110}, {"Exec_Prog", 185}, {"Location", 90}, {"User_Choice", 110},
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


} // namespace

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

WindowSettings LoadWindowSettings()
{
    const std::string path = SettingsLoadPath();
    WindowSettings settings;
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
    settings.Place = RECT{left, top, left + width, top + height};
    for (size_t column = 0; column < std::size(kColumns); ++column)
        settings.ColumnWidths[column] = ReadInteger(path, kColumns[column].key, kColumns[column].defaultWidth);
    settings.ViewStyle = ReadInteger(path, "ViewStyle", kDefaultViewStyle);
    settings.SaveTarget = ReadInteger(path, "SaveTarget", -1);
    return settings;
}

bool SaveWindowSettings(const WindowSettings& settings, std::string& failure)
{
    const std::string path = SettingsSavePath(true);
    const RECT& rect = settings.Place;
    struct Value {
        const char* key;
        int value;
    };
    Value values[4 + std::size(kColumns) + 2] = {
        {"Top", rect.top},
        {"Left", rect.left},
        {"Width", rect.right - rect.left},
        {"Height", rect.bottom - rect.top},
    };
    size_t count = 4;
    for (size_t column = 0; column < std::size(kColumns); ++column)
        values[count++] = Value{kColumns[column].key, settings.ColumnWidths[column]};
    values[count++] = Value{"ViewStyle", settings.ViewStyle};
    values[count++] = Value{"SaveTarget", settings.SaveTarget};

    for (const Value& value : values) {
        if (!WriteInteger(path, value.key, value.value)) {
            failure = path + kWriteFailedTail;
            return false;
        }
    }
    return true;
}
