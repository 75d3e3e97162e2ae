#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <fstream>
#include <vector>

#include "model/CreatorEntry.h"
#include "ui/ScopedGdi.h"
#include "persist/DataFolders.h"
#include "view/ShellServices.h"

namespace {
// A valid one-image .ico file: 16 x 16 pixels, 32 bits, a plain square.
std::vector<char> TinyIcon()
{
    std::vector<char> bytes;
    auto put16 = [&](std::uint16_t v) {
        bytes.push_back(static_cast<char>(v & 0xFF));
        bytes.push_back(static_cast<char>(v >> 8));
    };
    auto put32 = [&](std::uint32_t v) {
        put16(static_cast<std::uint16_t>(v & 0xFFFF));
        put16(static_cast<std::uint16_t>(v >> 16));
    };
    constexpr std::uint32_t kPixels = 16 * 16 * 4;
    constexpr std::uint32_t kMask = 16 * 4; // 16 rows of 1 bit, padded to 32
    constexpr std::uint32_t kImage = 40 + kPixels + kMask;
    put16(0); // directory: reserved, type icon, one image
    put16(1);
    put16(1);
    bytes.push_back(16); // width, height, colours, reserved
    bytes.push_back(16);
    bytes.push_back(0);
    bytes.push_back(0);
    put16(1);  // planes
    put16(32); // bits
    put32(kImage);
    put32(6 + 16);
    put32(40); // BITMAPINFOHEADER, height doubled for the mask
    put32(16);
    put32(32);
    put16(1);
    put16(32);
    put32(0);
    put32(kPixels + kMask);
    put32(0);
    put32(0);
    put32(0);
    put32(0);
    for (std::uint32_t i = 0; i < 16 * 16; ++i)
        put32(0xFF2080C0);
    bytes.insert(bytes.end(), kMask, '\0');
    return bytes;
}

std::string TempFolder()
{
    char path[MAX_PATH];
    GetTempPathA(MAX_PATH, path);
    return path;
}

class TempFile {
public:
    TempFile(const std::string& name, const std::vector<char>& bytes) : path_(TempFolder() + name)
    {
        std::ofstream(path_, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    ~TempFile() { DeleteFileA(path_.c_str()); }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

bool IsIcon(HICON icon)
{
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info))
        return false;
    ScopedBitmap color(info.hbmColor);
    ScopedBitmap mask(info.hbmMask);
    return info.fIcon != FALSE;
}
} // namespace

TEST(ShellServices, FindsItsFolders)
{
    const std::string folder = ExecutableDirectory();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '\\');
    char module[MAX_PATH];
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    EXPECT_EQ(std::string(module).rfind(folder, 0), 0u);
    EXPECT_EQ(std::string(module).find('\\', folder.size()), std::string::npos);

    const std::string shell = SystemShellLibraryPath();
    char system[MAX_PATH];
    const UINT length = GetSystemDirectoryA(system, MAX_PATH);
    EXPECT_EQ(shell, std::string(system, length) + "\\SHELL32.DLL");
    EXPECT_NE(GetFileAttributesA(shell.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(ShellServices, ExpandsEnvironmentVariablesOfAnyLength)
{
    EXPECT_EQ(ExpandEnvironmentText("plain\\name.dll"), "plain\\name.dll");
    const std::string longValue(5000, 'v');
    SetEnvironmentVariableA("MORVIDO_TEST_LONG", longValue.c_str());
    EXPECT_EQ(ExpandEnvironmentText("%MORVIDO_TEST_LONG%\\x.ico"), longValue + "\\x.ico");
    SetEnvironmentVariableA("MORVIDO_TEST_LONG", nullptr);
    EXPECT_EQ(ExpandEnvironmentText("%MORVIDO_NOT_SET%\\x"), "%MORVIDO_NOT_SET%\\x");
}

TEST(ShellServices, ExtractsIconsFromLibrariesAndIconFiles)
{
    {
        SCOPED_TRACE("the system shell library");
        const std::string shell = SystemShellLibraryPath();
        EXPECT_GT(IconCountOf(shell), 1);
        ScopedIcon icon(ExtractIconFromFile(shell, 0));
        EXPECT_TRUE(IsIcon(icon.Get()));
        ScopedIcon second(ExtractIconFromFile(shell, 1));
        EXPECT_TRUE(IsIcon(second.Get()));
    }
    {
        SCOPED_TRACE("a file name stored with %SystemRoot%");
        const std::string stored = "%SystemRoot%\\system32\\shell32.dll";
        EXPECT_GT(IconCountOf(stored), 1);
        ScopedIcon icon(ExtractIconFromFile(stored, 0));
        EXPECT_TRUE(IsIcon(icon.Get()));
    }
    {
        SCOPED_TRACE("a program");
        const std::string program = "%SystemRoot%\\system32\\notepad.exe";
        EXPECT_GE(IconCountOf(program), 1);
        ScopedIcon icon(ExtractIconFromFile(program, 0));
        EXPECT_TRUE(IsIcon(icon.Get()));
    }
    {
        SCOPED_TRACE("an icon file, with the icon number -1 replaced by 0 as the scan does");
        TempFile ico("morvido-test-アイコン.ico", TinyIcon());
        EXPECT_EQ(IconCountOf(ico.Path()), 1);
        CreatorEntry creator;
        creator.IconSource = ico.Path() + ",-1";
        creator.ParseIconSource();
        EXPECT_EQ(creator.IconNumber, -1);
        const int number = creator.IconNumber == -1 ? 0 : creator.IconNumber;
        ScopedIcon icon(ExtractIconFromFile(creator.IconFile, number));
        EXPECT_TRUE(IsIcon(icon.Get()));
        EXPECT_EQ(ExtractIconFromFile(ico.Path(), 1), nullptr) << "no second icon";
    }
}

TEST(ShellServices, GivesNoIconForTextAndMissingFiles)
{
    const std::string text = "just some text, not an icon\r\n";
    TempFile file("morvido-test-notes.txt", std::vector<char>(text.begin(), text.end()));
    const std::string missing = TempFolder() + "morvido-test-missing.dll";
    for (const std::string& path : {file.Path(), missing, std::string()}) {
        SCOPED_TRACE(path);
        EXPECT_EQ(ExtractIconFromFile(path, 0), nullptr);
        EXPECT_EQ(IconCountOf(path), 0);
    }
}
