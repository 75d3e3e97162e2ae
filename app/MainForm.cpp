#include "app/MainForm.h"

#include "app/resource.h"
#include "model/RegText.h"

bool TForm1::Create()
{
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExA(instance, kMainFormClass, &wc)) {
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = WindowProc;
        wc.hInstance = instance;
        wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_MORVIDO));
        wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = kMainFormClass;
        if (!RegisterClassExA(&wc))
            return false;
    }
    return CreateWindowExA(0, kMainFormClass, "", WS_OVERLAPPEDWINDOW, 202, 111, 688, 434, nullptr, nullptr, instance,
                           this) != nullptr;
}

LRESULT TForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        FormCreate();
        return 0;
    case WM_CLOSE:
        if (FormCloseQuery())
            DestroyWindow(hwnd_);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd_, message, wParam, lParam);
}

void TForm1::FormCreate()
{
    SetWindowTextA(hwnd_, kVersionLine);
}

bool TForm1::FormCloseQuery()
{
    return true;
}

// Placeholders until their windows and workflows exist.
void TForm1::SetViewStyle(int) {}
int TForm1::ViewStyle() const { return 0; }
void TForm1::EditAssociation() {}
void TForm1::AddAssociation() {}
void TForm1::DeleteAssociation() {}
bool TForm1::CommitChanges() { return false; }
void TForm1::ExportSelected() {}
void TForm1::ExportChanges() {}
void TForm1::ShowHelp() {}
void TForm1::ShowAbout() {}
