#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>

#include "app/MainForm.h"
#include "tests/support/DataFoldersOverride.h"
#include "tests/support/MessageBoxHook.h"
#include "tests/support/PlatformTools.h"
#include "tests/support/ScratchRegistry.h"
#include "tests/support/SettingsFileGuard.h"

namespace {

constexpr const char* kKeys[] = {"Top",  "Left", "Width",   "Height",       "Extention", "Mime",
                                 "Creator", "Kind", "Icon_File_No", "Exec_Prog", "ViewStyle"};

struct Geometry {
    int left, top, width, height;
    bool operator==(const Geometry&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Geometry& g)
{
    return out << g.left << "," << g.top << " " << g.width << "x" << g.height;
}

Geometry WindowGeometry(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return Geometry{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

std::array<int, 6> ColumnWidths(HWND list)
{
    std::array<int, 6> widths{};
    for (int column = 0; column < 6; ++column) {
        LVCOLUMNA info{};
        info.mask = LVCF_WIDTH;
        widths[column] = SendMessageA(list, LVM_GETCOLUMNA, column, reinterpret_cast<LPARAM>(&info)) ? info.cx : -1;
    }
    return widths;
}

void SetColumnWidths(HWND list, const std::array<int, 6>& widths)
{
    for (int column = 0; column < 6; ++column) {
        LVCOLUMNA info{};
        info.mask = LVCF_WIDTH;
        info.cx = widths[column];
        SendMessageA(list, LVM_SETCOLUMNA, column, reinterpret_cast<LPARAM>(&info));
    }
}

} // namespace

// The settings file beside the program: read when the main window is made,
// written when it closes.
class SettingsTest : public RegistryTest {
protected:
    std::unique_ptr<TForm1> Open()
    {
        auto form = std::make_unique<TForm1>();
        EXPECT_TRUE(form->Create());
        return form;
    }

    // Closes the way the user does; true when the window is gone.
    bool Close(TForm1& form)
    {
        SendMessageA(form.Handle(), WM_CLOSE, 0, 0);
        PumpMessages();
        return form.Handle() == nullptr;
    }

    int Stored(const char* key) { return GetPrivateProfileIntA("MORVIDO", key, -12345, file.Path().c_str()); }
    void Store(const char* key, const char* value)
    {
        WritePrivateProfileStringA("MORVIDO", key, value, file.Path().c_str());
        file.ForgetCachedFile();
    }

    SettingsFileGuard file;
    MessageBoxHook hook;
};

TEST_F(SettingsTest, WithoutFileTheWindowOpensAtTheDefaults)
{
    auto form = Open();
    EXPECT_EQ(WindowGeometry(form->Handle()), (Geometry{50, 25, 800, 480}));
    EXPECT_EQ(form->ViewStyle(), 0) << "large icons";
    EXPECT_EQ(ColumnWidths(form->List().ListView1), (std::array<int, 6>{55, 125, 90, 200, 110, 185}));
    for (int direction : form->List().SortDirection)
        EXPECT_EQ(direction, -1);
    EXPECT_FALSE(file.Exists()) << "reading creates nothing";
}

TEST_F(SettingsTest, ClosingWritesEveryKeyAndTheNextWindowRestoresThem)
{
    const Geometry placed{120, 70, 640, 400};
    const std::array<int, 6> widths{61, 72, 83, 94, 105, 116};
    {
        auto form = Open();
        SetWindowPos(form->Handle(), nullptr, placed.left, placed.top, placed.width, placed.height, SWP_NOZORDER);
        form->SetViewStyle(3);
        SetColumnWidths(form->List().ListView1, widths);
        ASSERT_TRUE(Close(*form));
        EXPECT_TRUE(hook.Records().empty()) << "nothing to ask without changes";
    }
    const int expected[] = {70, 120, 640, 400, 61, 72, 83, 94, 105, 116, 3};
    for (size_t i = 0; i < std::size(kKeys); ++i) {
        SCOPED_TRACE(kKeys[i]);
        EXPECT_EQ(Stored(kKeys[i]), expected[i]);
    }

    auto again = Open();
    EXPECT_EQ(WindowGeometry(again->Handle()), placed);
    EXPECT_EQ(again->ViewStyle(), 3) << "report view";
    EXPECT_EQ(ColumnWidths(again->List().ListView1), widths);

    {
        SCOPED_TRACE("column widths outside the report view");
        again->SetViewStyle(1);
        SetColumnWidths(again->List().ListView1, {50, 60, 70, 80, 90, 100});
        ASSERT_TRUE(Close(*again));
        EXPECT_EQ(Stored("ViewStyle"), 1);
        EXPECT_EQ(Stored("Extention"), 50);
        EXPECT_EQ(Stored("Exec_Prog"), 100);
    }
}

TEST_F(SettingsTest, UnusableSavedValuesOpenAtTheDefaults)
{
    {
        SCOPED_TRACE("a view style the list does not know");
        Store("ViewStyle", "9");
        auto form = Open();
        EXPECT_EQ(form->ViewStyle(), 0);
    }
    {
        SCOPED_TRACE("a window on no monitor");
        Store("Left", "-20000");
        Store("Top", "-15000");
        Store("Width", "700");
        Store("Height", "400");
        auto form = Open();
        EXPECT_EQ(WindowGeometry(form->Handle()), (Geometry{50, 25, 800, 480}));
    }
    {
        SCOPED_TRACE("text where a number belongs, and a negative place that is on screen");
        Store("Left", "abc");
        Store("Top", "10");
        Store("Width", "-5");
        Store("Mime", "wide");
        Store("Kind", "-1");
        auto form = Open();
        EXPECT_EQ(WindowGeometry(form->Handle()), (Geometry{50, 25, 800, 480}));
        EXPECT_EQ(ColumnWidths(form->List().ListView1)[1], 125);
    }
    {
        Store("Left", "-100");
        Store("Top", "10");
        Store("Width", "700");
        Store("Height", "400");
        auto form = Open();
        EXPECT_EQ(WindowGeometry(form->Handle()), (Geometry{-100, 10, 700, 400})) << "partly visible is kept";
    }
}

TEST_F(SettingsTest, CancelledCloseKeepsTheWindowAndWritesNothing)
{
    auto form = Open();
    form->Editor().Modified = true;
    hook.Answer(IDCANCEL);
    EXPECT_FALSE(Close(*form));
    ASSERT_EQ(hook.Records().size(), 1u);
    EXPECT_TRUE(IsWindow(form->Handle()));
    EXPECT_TRUE(form->Editor().Modified);
    EXPECT_FALSE(file.Exists());
    form->Editor().Modified = false;
}

TEST_F(SettingsTest, UnwritableFileIsReportedAndTheWindowStillCloses)
{
    ASSERT_TRUE(CreateDirectoryA(file.Path().c_str(), nullptr));
    auto form = Open();
    EXPECT_TRUE(Close(*form));
    ASSERT_EQ(hook.Records().size(), 1u);
    EXPECT_EQ(hook.Records()[0].text, file.Path() + " に書き込めません");
    EXPECT_EQ(hook.Records()[0].caption, "エラー");
    EXPECT_EQ(hook.Records()[0].buttons, static_cast<UINT>(MB_OK));
    EXPECT_EQ(hook.Records()[0].icon, static_cast<UINT>(MB_ICONERROR));
}

TEST_F(SettingsTest, ReadOnlyProgramFolderKeepsTheSettingsInTheUserFolder)
{
    ScratchFolder scratch;
    ASSERT_TRUE(WriteFileBytes(scratch.File("program"), "a file where the program's folder should be"));
    DataFoldersOverride folders(scratch.File("program\\"), scratch.File("profile\\"));
    auto form = Open();
    form->SetViewStyle(2);
    ASSERT_TRUE(Close(*form));
    EXPECT_TRUE(hook.Records().empty()) << "no error at close";
    EXPECT_FALSE(file.Exists());
    const std::string saved = scratch.File("profile\\morvido\\morvido.ini");
    EXPECT_EQ(GetPrivateProfileIntA("MORVIDO", "ViewStyle", -1, saved.c_str()), 2);
    EXPECT_EQ(Open()->ViewStyle(), 2) << "read back from the user's folder";
}
