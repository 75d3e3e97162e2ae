// Answers the message boxes that the code under test shows: records caption,
// text, buttons and icon of each, then presses the answer queued for it.
#pragma once
#include <windows.h>

#include <deque>
#include <set>
#include <string>
#include <vector>

struct MessageBoxRecord {
    std::string caption;
    std::string text;
    UINT buttons = 0; // MB_OK, MB_OKCANCEL, MB_YESNO, MB_YESNOCANCEL, ...
    UINT icon = 0;    // MB_ICONERROR, MB_ICONQUESTION, MB_ICONWARNING, MB_ICONINFORMATION or 0
    int defaultButton = 0; // the id Enter presses (IDYES, IDNO, ...), 0 when none
};

// True for a message box window (a dialog with the message text control).
bool IsMessageBox(HWND window);
MessageBoxRecord ReadMessageBox(HWND box);
void PressButton(HWND box, int id);
// A visible message box of another process, or nullptr after the timeout.
HWND WaitForMessageBox(DWORD processId, DWORD timeoutMs);

// Hooks the message boxes of the calling thread while it exists.
class MessageBoxHook {
public:
    MessageBoxHook();
    ~MessageBoxHook();
    MessageBoxHook(const MessageBoxHook&) = delete;
    MessageBoxHook& operator=(const MessageBoxHook&) = delete;

    // The button pressed for the next box (IDOK, IDYES, IDNO, IDCANCEL...).
    // Without a queued answer the box gets OK, or else Cancel, or else No.
    void Answer(int id) { answers_.push_back(id); }

    const std::vector<MessageBoxRecord>& Records() const { return records_; }
    void ClearRecords() { records_.clear(); }

private:
    static LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK CallWndProc(int code, WPARAM wParam, LPARAM lParam);
    void OnActivate(HWND window);

    HHOOK hook_ = nullptr;
    HHOOK styleHook_ = nullptr;
    MessageBoxHook* previous_ = nullptr;
    std::deque<int> answers_;
    std::vector<MessageBoxRecord> records_;
    std::set<HWND> handled_;
};

// Runs the pending messages of this thread until none are left.
void PumpMessages();
