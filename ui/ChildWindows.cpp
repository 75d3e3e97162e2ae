#include "ui/ChildWindows.h"

#include <commctrl.h>

namespace {

LRESULT ForwardToForm(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return SendMessageA(GetAncestor(window, GA_ROOT), message, wParam, lParam);
}

bool IsForwarded(UINT message)
{
    return message == WM_COMMAND || message == WM_NOTIFY || message == WM_CTLCOLORSTATIC ||
           message == WM_CTLCOLORBTN;
}

LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (IsForwarded(message))
        return ForwardToForm(window, message, wParam, lParam);
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        RECT rect;
        GetClientRect(window, &rect);
        DrawEdge(dc, &rect, BDR_RAISEDINNER, BF_RECT);
        EndPaint(window, &paint);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK ForwardingSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR)
{
    if (IsForwarded(message))
        return ForwardToForm(window, message, wParam, lParam);
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(window, ForwardingSubclass, id);
    return DefSubclassProc(window, message, wParam, lParam);
}

} // namespace

bool RegisterFormClass(HINSTANCE instance, const char* name, WNDPROC procedure, int iconId)
{
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExA(instance, name, &wc))
        return true;
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    if (iconId) {
        wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(iconId));
        wc.hIconSm = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(iconId), IMAGE_ICON,
                                                   GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    }
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = name;
    return RegisterClassExA(&wc) != 0;
}

bool RegisterPanelClass(HINSTANCE instance) { return RegisterFormClass(instance, kPanelClass, PanelProc, 0); }

HWND CreateChild(const char* className, const char* text, DWORD style, HWND parent, int id, DWORD exStyle)
{
    return CreateWindowExA(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
}

void ForwardToTopLevel(HWND control) { SetWindowSubclass(control, ForwardingSubclass, 0, 0); }
