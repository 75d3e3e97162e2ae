#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/Application.h"
#include "model/Scoped.h"
#include "tests/support/MessageBoxHook.h"
#include "tests/support/ScratchRegistry.h"

namespace {

std::string ProgramPath()
{
    char path[MAX_PATH * 4];
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string self(path, length);
    return self.substr(0, self.find_last_of('\\') + 1) + "morvido.exe";
}

struct Process {
    ScopedKernelHandle handle;
    DWORD id = 0;
};

Process Start()
{
    Process process;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::string command = "\"" + ProgramPath() + "\"";
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        ADD_FAILURE() << "cannot start " << command;
        return process;
    }
    CloseHandle(info.hThread);
    process.handle.Reset(info.hProcess);
    process.id = info.dwProcessId;
    return process;
}

struct FindMain {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindMainProc(HWND window, LPARAM lParam)
{
    auto* find = reinterpret_cast<FindMain*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (pid == find->processId && IsWindowVisible(window) && lstrcmpA(className, "TForm1") == 0) {
        find->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND WaitForMainWindow(DWORD processId, DWORD timeoutMs)
{
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    do {
        FindMain find{processId, nullptr};
        EnumWindows(FindMainProc, reinterpret_cast<LPARAM>(&find));
        if (find.found)
            return find.found;
        Sleep(50);
    } while (GetTickCount64() < end);
    return nullptr;
}

DWORD WaitForExit(const Process& process, DWORD timeoutMs)
{
    if (WaitForSingleObject(process.handle.Get(), timeoutMs) != WAIT_OBJECT_0) {
        TerminateProcess(process.handle.Get(), 99);
        return 99;
    }
    DWORD code = 0;
    GetExitCodeProcess(process.handle.Get(), &code);
    return code;
}

void ExpectAlreadyRunningBox(HWND box)
{
    ASSERT_NE(box, nullptr) << "the second copy shows no message";
    const MessageBoxRecord record = ReadMessageBox(box);
    EXPECT_EQ(record.caption, "エラー");
    EXPECT_EQ(record.text, "morvidoがすでに動作しています。morvidoは二重起動できません。");
    EXPECT_EQ(record.buttons, static_cast<UINT>(MB_OK));
    EXPECT_EQ(record.icon, static_cast<UINT>(MB_ICONERROR));
    PressButton(box, IDOK);
}

// The copies started here read a scratch key instead of the machine's classes.
class SingleInstanceTest : public ::testing::Test {
protected:
    void SetUp() override { SetEnvironmentVariableA("MORVIDO_CLASSES_ROOT", scratch_.Path().c_str()); }
    void TearDown() override { SetEnvironmentVariableA("MORVIDO_CLASSES_ROOT", nullptr); }

    ScratchClassesRoot scratch_;
};

} // namespace

TEST_F(SingleInstanceTest, SecondCopyIsRefusedWhileTheFirstRuns)
{
    Process first = Start();
    HWND main = WaitForMainWindow(first.id, 30000);
    ASSERT_NE(main, nullptr) << "the first copy shows no main window";

    Process second = Start();
    ExpectAlreadyRunningBox(WaitForMessageBox(second.id, 30000));
    EXPECT_EQ(WaitForExit(second, 30000), 1u);
    EXPECT_EQ(WaitForMainWindow(second.id, 0), nullptr) << "the refused copy creates no window";

    EXPECT_EQ(WaitForSingleObject(first.handle.Get(), 0), static_cast<DWORD>(WAIT_TIMEOUT))
        << "the first copy keeps running";
    EXPECT_TRUE(IsWindow(main));
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForExit(first, 30000), 0u);

    SCOPED_TRACE("after the first copy has ended, a new one starts normally");
    Process third = Start();
    HWND again = WaitForMainWindow(third.id, 30000);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(WaitForMessageBox(third.id, 0), nullptr);
    PostMessageA(again, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForExit(third, 30000), 0u);
}

TEST_F(SingleInstanceTest, TwoCopiesStartedTogetherLeaveOneRunning)
{
    Process a = Start();
    Process b = Start();
    // Exactly one of them must refuse; find out which.
    HWND boxA = nullptr, boxB = nullptr, mainA = nullptr, mainB = nullptr;
    const ULONGLONG end = GetTickCount64() + 30000;
    while (GetTickCount64() < end && !((boxA || boxB) && (mainA || mainB))) {
        boxA = WaitForMessageBox(a.id, 0);
        boxB = WaitForMessageBox(b.id, 0);
        mainA = WaitForMainWindow(a.id, 0);
        mainB = WaitForMainWindow(b.id, 0);
        Sleep(50);
    }
    ASSERT_TRUE((boxA != nullptr) != (boxB != nullptr)) << "exactly one copy must refuse";
    ASSERT_TRUE((mainA != nullptr) != (mainB != nullptr)) << "exactly one copy must run";
    Process& refused = boxA ? a : b;
    Process& running = boxA ? b : a;
    ExpectAlreadyRunningBox(boxA ? boxA : boxB);
    EXPECT_EQ(WaitForExit(refused, 30000), 1u);
    PostMessageA(mainA ? mainA : mainB, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForExit(running, 30000), 0u);
}
