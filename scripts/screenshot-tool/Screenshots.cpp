// Opens the main window, the progress window, the about window, the four
// pages of each association dialog, the verb dialog, the creator chooser and the choice of
// the default associations file over a scratch set of associations and
// saves each as a bitmap file in the folder given on the command line.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "app/AboutForm.h"
#include "app/Application.h"
#include "app/MainForm.h"
#include "dialogs/AssociationForm.h"
#include "dialogs/CreatorChooser.h"
#include "dialogs/DefaultsScopeForm.h"
#include "ui/resource.h"
#include "model/Scoped.h"
#include "view/ProgressForm.h"

namespace {

std::string outputFolder;
TForm6* aboutForm = nullptr;

void Pump(int rounds = 20)
{
    for (int round = 0; round < rounds; ++round) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(25);
    }
}

// Runs messages until `done` holds, for at most two seconds.
void PumpUntil(const std::function<bool()>& done)
{
    for (int round = 0; round < 80 && !done(); ++round)
        Pump(1);
}

// Copies what the screen shows of the window, frame included.
bool SaveWindow(HWND window, const std::string& name)
{
    // Every part painted now, and given time to reach the screen: Wine
    // copies what windows drew to the screen only every so often, when the
    // thread next looks for messages, and a copy taken before shows a page
    // half drawn. The look is not allowed to run other messages: captures
    // run inside timer steps that must not nest.
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    for (int round = 0; round < 4; ++round) {
        Sleep(60);
        MSG msg;
        PeekMessageA(&msg, nullptr, WM_NULL, WM_NULL, PM_NOREMOVE);
    }
    RECT rect{};
    GetWindowRect(window, &rect);
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    GdiFlush();
    SelectObject(memory, old);

    const std::string path = outputFolder + "\\" + name + ".bmp";
    bool written = false;
    if (FILE* file = std::fopen(path.c_str(), "wb")) {
        const DWORD imageSize = static_cast<DWORD>(width) * height * 4;
        BITMAPFILEHEADER header{};
        header.bfType = 0x4D42;
        header.bfOffBits = sizeof header + sizeof info.bmiHeader;
        header.bfSize = header.bfOffBits + imageSize;
        written = std::fwrite(&header, sizeof header, 1, file) == 1 &&
                  std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, file) == 1 &&
                  std::fwrite(bits, imageSize, 1, file) == 1;
        std::fclose(file);
    }
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    std::printf("%s %s\n", written ? "saved" : "FAILED", path.c_str());
    return written;
}

void SetText(HKEY root, const std::string& path, const char* name, const std::string& text)
{
    ScopedHKey key;
    if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Put(), nullptr) ==
        ERROR_SUCCESS)
        RegSetValueExA(key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>(text.size() + 1));
}

void SetDword(HKEY root, const std::string& path, const char* name, DWORD value)
{
    ScopedHKey key;
    if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Put(), nullptr) ==
        ERROR_SUCCESS)
        RegSetValueExA(key.Get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

struct Sample {
    const char* extension;
    const char* contentType;
    const char* creator;
    const char* kind;
    const char* icon;
    const char* command;
};

// A few associations as a machine might hold them, one with a long program
// path for the shortened detail line and one without a creator.
const Sample kSamples[] = {
    {".txt", "text/plain", "txtfile", "テキスト ドキュメント", "%SystemRoot%\\system32\\shell32.dll,0",
     "%SystemRoot%\\system32\\notepad.exe %1"},
    {".log", "text/plain", "txtfile", nullptr, nullptr, nullptr},
    {".htm", "text/html", "htmlfile", "HTML ドキュメント", "%SystemRoot%\\system32\\shell32.dll,1",
     "\"C:\\Program Files\\Internet Explorer\\iexplore.exe\" -nohome"},
    {".html", "text/html", "htmlfile", nullptr, nullptr, nullptr},
    {".bmp", "image/bmp", "Paint.Picture", "ビットマップ イメージ", "%SystemRoot%\\system32\\shell32.dll,3",
     "C:\\Program Files\\Sample Software Company\\Picture Editor Professional\\Version 12\\pictedit.exe \"%1\""},
    {".zip", "application/x-zip-compressed", "CompressedFolder", "圧縮 (zip 形式) フォルダー",
     "%SystemRoot%\\system32\\shell32.dll,4", "explorer.exe /select,\"%1\""},
    {".mp3", "audio/mpeg", "mp3file", "MP3 形式サウンド", "%SystemRoot%\\system32\\shell32.dll,5",
     "\"C:\\Program Files\\Windows Media Player\\wmplayer.exe\" /play \"%1\""},
    {".ini", nullptr, "inifile", "構成設定", "%SystemRoot%\\system32\\shell32.dll,6",
     "%SystemRoot%\\system32\\NOTEPAD.EXE %1"},
    {".reg", nullptr, "regfile", "登録エントリ", "regedit.exe,0", "regedit.exe \"%1\""},
    {".xyz", "application/x-sample", nullptr, nullptr, nullptr, nullptr},
};

void SeedAssociations(HKEY root)
{
    for (const Sample& sample : kSamples) {
        SetText(root, sample.extension, "", sample.creator ? sample.creator : "");
        if (sample.contentType)
            SetText(root, sample.extension, "Content Type", sample.contentType);
        if (!sample.creator || !sample.kind)
            continue;
        const std::string creator = sample.creator;
        SetText(root, creator, "", sample.kind);
        SetText(root, creator + "\\DefaultIcon", "", sample.icon);
        SetText(root, creator + "\\shell\\open\\command", "", sample.command);
    }
    SetText(root, "htmlfile\\shell\\open\\ddeexec", "", "\"file:%1\",,-1,,,,,");
    SetText(root, "htmlfile\\shell\\open\\ddeexec\\application", "", "IExplore");
    SetText(root, "htmlfile\\shell\\open\\ddeexec\\topic", "", "WWW_OpenURL");
    // Verbs of every kind: open, print as the default, one shown only with
    // Shift and by its MUIVerb, and one a program handles.
    SetText(root, "htmlfile\\shell", "", "print");
    SetText(root, "htmlfile\\shell\\open", "", "開く(&O)");
    SetText(root, "htmlfile\\shell\\print", "", "印刷(&P)");
    SetText(root, "htmlfile\\shell\\print\\command", "", "\"C:\\Program Files\\Sample\\print.exe\" /p \"%1\"");
    SetText(root, "htmlfile\\shell\\openas", "Extended", "");
    SetText(root, "htmlfile\\shell\\openas", "MUIVerb", "@shell32.dll,-5376");
    SetText(root, "htmlfile\\shell\\openas", "", "プログラムから開く");
    SetText(root, "htmlfile\\shell\\openas\\command", "", "rundll32.exe shell32.dll,OpenAs_RunDLL %1");
    SetText(root, "htmlfile\\shell\\share\\command", "DelegateExecute", "{e2bf9676-5f8f-435c-97eb-11607a5bedf7}");
    SetText(root, "htmlfile\\shell\\share", "", "共有");
    SetText(root, "txtfile\\shell\\print", "", "印刷(&P)");
    SetText(root, "txtfile\\shell\\print\\command", "", "%SystemRoot%\\system32\\notepad.exe /p %1");
    // URL schemes for the protocol view: the web, mail and a program's own.
    for (const char* scheme : {"http", "https", "mailto", "ms-teams"}) {
        const std::string key = scheme;
        SetText(root, key, "", "URL:" + key);
        SetText(root, key, "URL Protocol", "");
        SetText(root, key + "\\DefaultIcon", "", "%SystemRoot%\\system32\\shell32.dll,13");
        SetText(root, key + "\\shell\\open\\command", "", "\"C:\\Program Files\\Sample\\" + key + ".exe\" \"%1\"");
    }
}

void CALLBACK CaptureAbout(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    SaveWindow(aboutForm->Handle(), "about");
    // Closed the way a user closes it: a click on the picture.
    SendMessageA(aboutForm->Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(aboutForm->Image1), STN_CLICKED),
                 reinterpret_cast<LPARAM>(aboutForm->Image1));
}

// Steps run one per tick of a timer, so that they also run inside the
// modal loops of the dialogs they open.
std::vector<std::function<void()>> steps;
size_t nextStep = 0;
int stepFailures = 0;

void CALLBACK RunNextStep(HWND, UINT, UINT_PTR timer, DWORD)
{
    if (nextStep >= steps.size()) {
        KillTimer(nullptr, timer);
        return;
    }
    steps[nextStep++]();
}

void ShowDialogPage(TAssociationForm& form, int page)
{
    SendMessageA(form.PageControl2, TCM_SETCURSEL, page, 0);
    NMHDR header{form.PageControl2, static_cast<UINT_PTR>(GetDlgCtrlID(form.PageControl2)), TCN_SELCHANGE};
    SendMessageA(form.Handle(), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

// Saves the four pages of the dialog, then presses its cancel button.
void QueuePages(TAssociationForm& form, const std::string& name, const std::function<void()>& beforeClosing = {})
{
    for (int page = 0; page < 4; ++page) {
        steps.push_back([&form, page] { ShowDialogPage(form, page); });
        steps.push_back([&form, page, name] {
            stepFailures += !SaveWindow(form.Handle(), name + "-page" + std::to_string(page + 1));
        });
    }
    if (beforeClosing)
        steps.push_back(beforeClosing);
    steps.push_back([&form] { PostMessageA(form.Handle(), WM_COMMAND, IDCANCEL, 0); });
}

void SelectRow(TForm1& form, const std::string& extension)
{
    const HWND list = form.List().ListView1;
    for (int item = 0; item < ListView_GetItemCount(list); ++item) {
        char caption[32] = {};
        ListView_GetItemText(list, item, 0, caption, sizeof caption);
        if (std::string(caption) == extension)
            ListView_SetItemState(list, item, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
}

void PointAt(HWND control)
{
    RECT rect{};
    GetWindowRect(control, &rect);
    SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    SendMessageA(control, WM_SETCURSOR, reinterpret_cast<WPARAM>(control), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: morvido_screenshots <output folder>\n");
        return 2;
    }
    outputFolder = argv[1];
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    const std::string scratch = "Software\\morvido-screenshots\\" + std::to_string(GetCurrentProcessId());
    ScopedHKey root;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, scratch.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, root.Put(),
                        nullptr) != ERROR_SUCCESS ||
        RegOverridePredefKey(HKEY_CLASSES_ROOT, root.Get()) != ERROR_SUCCESS) {
        std::fprintf(stderr, "cannot redirect HKEY_CLASSES_ROOT\n");
        return 1;
    }
    // The scratch key stands for the machine's classes, its siblings for
    // the user's classes and choices.
    OverrideAssociationLocations(AssociationLocations{
        RegistryLocation{HKEY_CURRENT_USER, scratch + "-user", UserClasses().ScriptName}, ClassesRoot(),
        RegistryLocation{HKEY_CURRENT_USER, scratch + "-fileexts", UserFileExts().ScriptName},
        RegistryLocation{HKEY_CURRENT_USER, scratch + "-urls", UserUrlAssociations().ScriptName}});
    SeedAssociations(root.Get());
    // .txt also in the user's classes, and opened by another type the user
    // chose: the row is marked and the detail panel says so.
    {
        ScopedHKey user;
        RegCreateKeyExA(HKEY_CURRENT_USER, (scratch + "-user").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        user.Put(), nullptr);
        SetText(user.Get(), ".txt", "", "txtfile");
        SetText(user.Get(), ".txt", "Content Type", "text/plain");
        ScopedHKey choices;
        RegCreateKeyExA(HKEY_CURRENT_USER, (scratch + "-fileexts").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        choices.Put(), nullptr);
        SetText(choices.Get(), ".txt\\UserChoice", "ProgId", "Word.Document");
    }

    int failures = 0;
    {
        TForm1 form1;
        TForm3 form3;
        TForm5 form5;
        TForm6 form6;
        TForm7 form7;
        TForm10 form10;
        TForm11 form11;
        if (!form1.Create() || !form3.Create(form1.Handle()) || !form5.Create(form1.Handle()) ||
            !form6.Create(form1.Handle()) || !form7.Create(form1.Handle()) || !form10.Create(form1.Handle()) ||
            !form11.Create(form1.Handle())) {
            std::fprintf(stderr, "cannot create the windows (%d %p %p %p)\n", static_cast<int>(GetLastError()),
                         static_cast<void*>(form1.Handle()), static_cast<void*>(form3.Handle()),
                         static_cast<void*>(form6.Handle()));
            return 1;
        }
        form1.Form3 = &form3;
        ConnectForms(form1, form5, form6, form7, form10, form11);
        aboutForm = &form6;

        form3.ShowProgress();
        form3.SetPosition(37);
        Pump();
        failures += !SaveWindow(form3.Handle(), "progress");
        form3.HideProgress();

        form1.Editor().Modified = false;
        form1.ReloadFromRegistry(false);
        SetWindowPos(form1.Handle(), HWND_TOP, 40, 40, 800, 480, SWP_SHOWWINDOW);
        Pump();

        form1.SetViewStyle(3);
        SelectRow(form1, ".txt");
        form1.ShowSelectedDetail();
        PointAt(form1.SpeedButton[5]);
        // The button's tooltip comes after the system's hover time.
        PumpUntil([&] { return IsWindowVisible(form1.ToolTip1) != FALSE; });
        failures += !SaveWindow(form1.Handle(), "main-report");

        form1.SetViewStyle(0);
        PointAt(form1.List().ListView1);
        Pump();
        failures += !SaveWindow(form1.Handle(), "main-large-icons");

        SetTimer(nullptr, 0, 500, CaptureAbout);
        SendMessageA(form1.Handle(), WM_COMMAND, IDM_ABOUT, 0);

        // The edit dialog on the association with DDE, its chooser, then
        // the delete dialog on it and the add dialog with typed values.
        form1.SetViewStyle(3);
        SelectRow(form1, ".htm");
        QueuePages(form5, "edit", [&] { PostMessageA(form5.TabSheets[0], WM_COMMAND, IDC_ASSOC_BUTTON6, 0); });
        steps.insert(steps.end() - 1, {[&] {
                                           ListView_SetItemState(form7.ListView1, 1, LVIS_SELECTED | LVIS_FOCUSED,
                                                                 LVIS_SELECTED | LVIS_FOCUSED);
                                       },
                                       [&] { stepFailures += !SaveWindow(form7.Handle(), "chooser"); },
                                       [&] { PostMessageA(form7.Handle(), WM_COMMAND, IDCANCEL, 0); }});
        // The verb dialog on print, the third verb of page 4 as Wine lists them.
        steps.insert(steps.end() - 1, {[&] {
                                           ShowDialogPage(form5, 3);
                                           ListView_SetItemState(form5.ListView2, 2, LVIS_SELECTED | LVIS_FOCUSED,
                                                                 LVIS_SELECTED | LVIS_FOCUSED);
                                           PostMessageA(form5.Button8, BM_CLICK, 0, 0);
                                       },
                                       [&] { stepFailures += !SaveWindow(form5.Form8->Handle(), "verb"); },
                                       [&] { PostMessageA(form5.Form8->Handle(), WM_COMMAND, IDCANCEL, 0); }});
        SetTimer(nullptr, 0, 300, RunNextStep);
        form1.EditAssociation();

        steps.clear();
        nextStep = 0;
        QueuePages(form10, "delete");
        SetTimer(nullptr, 0, 300, RunNextStep);
        form1.DeleteAssociation();

        steps.clear();
        nextStep = 0;
        steps.push_back([&] {
            SetWindowTextA(form11.Edit10, "abc");
            SetWindowTextA(form11.Edit2, "application/x-abc");
            SetWindowTextA(form11.Edit9, "abcfile");
            SetWindowTextA(form11.Edit3, "ABC 文書");
        });
        QueuePages(form11, "add");
        SetTimer(nullptr, 0, 300, RunNextStep);
        form1.AddAssociation();

        // The edit dialog of a type Windows marks as not to be edited.
        SetDword(root.Get(), "htmlfile", "EditFlags", 0x8);
        SelectRow(form1, ".htm");
        steps.clear();
        nextStep = 0;
        steps.push_back([&] { stepFailures += !SaveWindow(form5.Handle(), "edit-locked"); });
        steps.push_back([&] { PostMessageA(form5.Handle(), WM_COMMAND, IDCANCEL, 0); });
        SetTimer(nullptr, 0, 300, RunNextStep);
        form1.EditAssociation();
        // The protocol view with the user's choice of mail program, and the
        // edit dialog on a scheme.
        SetText(HKEY_CURRENT_USER, scratch + "-urls\\mailto\\UserChoice", "ProgId", "Sample.Mail");
        SendMessageA(form1.Handle(), WM_COMMAND, IDM_VIEW_PROTOCOLS, 0);
        SelectRow(form1, "mailto");
        form1.ShowSelectedDetail();
        Pump();
        failures += !SaveWindow(form1.Handle(), "main-protocols");
        steps.clear();
        nextStep = 0;
        QueuePages(form5, "edit-protocol");
        SetTimer(nullptr, 0, 300, RunNextStep);
        form1.EditAssociation();
        SendMessageA(form1.Handle(), WM_COMMAND, IDM_VIEW_PROTOCOLS, 0);
        // The choice of the default associations file, both choices offered.
        steps.clear();
        nextStep = 0;
        TForm12 form12;
        steps.push_back([&] {
            RedrawWindow(form12.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        });
        steps.push_back([&] { stepFailures += !SaveWindow(form12.Handle(), "defaults-choice"); });
        steps.push_back([&] { PostMessageA(form12.Handle(), WM_COMMAND, IDCANCEL, 0); });
        SetTimer(nullptr, 0, 300, RunNextStep);
        form12.ShowModal(form1.Handle(), true, true);
        failures += stepFailures;

        form1.Editor().Modified = false;
        DestroyWindow(form1.Handle());
    }
    RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
    root.Reset();
    for (const std::string& path : {scratch, scratch + "-user", scratch + "-fileexts", scratch + "-urls"}) {
        RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, path.c_str());
    }
    return failures ? 1 : 0;
}
