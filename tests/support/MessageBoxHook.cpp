#include "tests/support/MessageBoxHook.h"

namespace {
constexpr int kTextId = 0xFFFF;
constexpr int kIconId = 0x14;

thread_local MessageBoxHook* currentHook = nullptr;

bool HasVisibleButton(HWND box, int id)
{
    HWND button = GetDlgItem(box, id);
    return button && IsWindowVisible(button);
}

struct FindBox {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindBoxProc(HWND window, LPARAM lParam)
{
    auto* find = reinterpret_cast<FindBox*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == find->processId && IsWindowVisible(window) && IsMessageBox(window)) {
        find->found = window;
        return FALSE;
    }
    return TRUE;
}
} // namespace

bool IsMessageBox(HWND window)
{
    char className[32] = {};
    GetClassNameA(window, className, sizeof className);
    return lstrcmpA(className, "#32770") == 0 && GetDlgItem(window, kTextId) != nullptr;
}

MessageBoxRecord ReadMessageBox(HWND box)
{
    MessageBoxRecord record;
    char buffer[4096] = {};
    GetWindowTextA(box, buffer, sizeof buffer);
    record.caption = buffer;
    buffer[0] = '\0';
    GetDlgItemTextA(box, kTextId, buffer, sizeof buffer);
    record.text = buffer;

    const bool ok = HasVisibleButton(box, IDOK), cancel = HasVisibleButton(box, IDCANCEL);
    const bool yes = HasVisibleButton(box, IDYES), no = HasVisibleButton(box, IDNO);
    const bool abort = HasVisibleButton(box, IDABORT), retry = HasVisibleButton(box, IDRETRY);
    if (yes && no)
        record.buttons = cancel ? MB_YESNOCANCEL : MB_YESNO;
    else if (abort)
        record.buttons = MB_ABORTRETRYIGNORE;
    else if (retry)
        record.buttons = MB_RETRYCANCEL;
    else if (ok)
        record.buttons = cancel ? MB_OKCANCEL : MB_OK;
    else
        record.buttons = 0xFFFF;

    const HICON icon = reinterpret_cast<HICON>(SendDlgItemMessageA(box, kIconId, STM_GETICON, 0, 0));
    if (icon) {
        const struct {
            LPCSTR id;
            UINT flag;
        } icons[] = {{IDI_HAND, MB_ICONERROR},
                     {IDI_QUESTION, MB_ICONQUESTION},
                     {IDI_EXCLAMATION, MB_ICONWARNING},
                     {IDI_ASTERISK, MB_ICONINFORMATION}};
        for (const auto& candidate : icons)
            if (LoadIconA(nullptr, candidate.id) == icon)
                record.icon = candidate.flag;
        if (record.icon == 0)
            record.icon = 0xFFFF;
    }
    return record;
}

void PressButton(HWND box, int id)
{
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
}

HWND WaitForMessageBox(DWORD processId, DWORD timeoutMs)
{
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    do {
        FindBox find{processId, nullptr};
        EnumWindows(FindBoxProc, reinterpret_cast<LPARAM>(&find));
        if (find.found)
            return find.found;
        Sleep(50);
    } while (GetTickCount64() < end);
    return nullptr;
}

MessageBoxHook::MessageBoxHook()
{
    previous_ = currentHook;
    currentHook = this;
    hook_ = SetWindowsHookExA(WH_CBT, CbtProc, nullptr, GetCurrentThreadId());
}

MessageBoxHook::~MessageBoxHook()
{
    if (hook_)
        UnhookWindowsHookEx(hook_);
    currentHook = previous_;
}

LRESULT CALLBACK MessageBoxHook::CbtProc(int code, WPARAM wParam, LPARAM lParam)
{
    MessageBoxHook* self = currentHook;
    if (code == HCBT_ACTIVATE && self)
        self->OnActivate(reinterpret_cast<HWND>(wParam));
    return CallNextHookEx(self ? self->hook_ : nullptr, code, wParam, lParam);
}

void MessageBoxHook::OnActivate(HWND window)
{
    if (!IsMessageBox(window) || handled_.count(window))
        return;
    handled_.insert(window);
    records_.push_back(ReadMessageBox(window));
    int answer;
    if (!answers_.empty()) {
        answer = answers_.front();
        answers_.pop_front();
    } else if (HasVisibleButton(window, IDOK)) {
        answer = IDOK;
    } else if (HasVisibleButton(window, IDCANCEL)) {
        answer = IDCANCEL;
    } else {
        answer = IDNO;
    }
    PressButton(window, answer);
}

void PumpMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}
