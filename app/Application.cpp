#include "app/Application.h"

#include <windows.h>
#include <commctrl.h>

#include <exception>
#include <stdexcept>
#include <string>

#include "app/MainForm.h"
#include "app/MessageBox.h"
#include "model/ErrorReport.h"
#include "model/RegText.h"
#include "model/Scoped.h"

namespace {

// Takes the guard; false when another copy holds it. Creating the mutex and
// checking ERROR_ALREADY_EXISTS closes the gap in which two copies started
// together could both miss each other's open.
bool TakeSingleInstanceGuard(ScopedKernelHandle& guard)
{
    ScopedKernelHandle existing(OpenMutexA(MUTEX_ALL_ACCESS, FALSE, kMutexName));
    if (existing)
        return false;
    SECURITY_ATTRIBUTES attributes{sizeof attributes, nullptr, TRUE};
    guard.Reset(CreateMutexA(&attributes, TRUE, kMutexName));
    if (guard && GetLastError() == ERROR_ALREADY_EXISTS) {
        guard.Reset();
        return false;
    }
    // A guard that could not be created at all does not stop the program.
    return true;
}

int RunMessageLoop()
{
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

} // namespace

int RunMorvido()
{
    ScopedKernelHandle guard;
    if (!TakeSingleInstanceGuard(guard)) {
        MessageBoxA(nullptr, kAlreadyRunningMessage, kCaptionError, MB_OK | MB_ICONERROR);
        return 1;
    }

    try {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
        SetErrorSink([](const std::string& message) { ShowError(message); });

        static TForm1 form1;
        if (!form1.Create())
            throw std::runtime_error("メインウィンドウを作成できませんでした。");
        form1.Modified = false;
        form1.ReloadFromRegistry(false);
        ShowWindow(form1.Handle(), SW_SHOWNORMAL);
        UpdateWindow(form1.Handle());
        RunMessageLoop();
    } catch (const std::exception& error) {
        MessageBoxA(nullptr, error.what(), kVersionLine, MB_OK | MB_ICONERROR);
    }

    if (guard)
        ReleaseMutex(guard.Get());
    return 0;
}
