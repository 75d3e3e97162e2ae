#include "app/Application.h"

#include <windows.h>
#include <commctrl.h>

#include <exception>
#include <stdexcept>
#include <string>

#include "app/AboutForm.h"
#include "app/MainForm.h"
#include "ui/MessageBox.h"
#include "dialogs/AssociationForm.h"
#include "dialogs/CreatorChooser.h"
#include "model/ErrorReport.h"
#include "model/RegText.h"
#include "view/EntryMessages.h"
#include "view/ProgressForm.h"

namespace {

// Runs until the main window is gone. Every way it closes passes through
// a message of this loop (or of a modal loop inside one), so the check
// after each message is enough and the window needs no quit message.
void RunMessageLoop(TForm1& mainForm)
{
    MSG msg;
    while (mainForm.Handle() && GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (mainForm.TranslateShortcut(msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

} // namespace

void ConnectForms(TForm1& form1, TAssociationForm& form5, TForm6& form6, TForm7& form7, TAssociationForm& form10,
                  TAssociationForm& form11)
{
    form1.Form5 = &form5;
    form1.Form6 = &form6;
    form1.Form7 = &form7;
    form1.Form10 = &form10;
    form1.Form11 = &form11;
    form5.Form7 = &form7;
    form11.Form7 = &form7;
    // Typed names are checked against the catalog as it stands on OK.
    AssociationEditor& editor = form1.Editor();
    form5.CheckNames = [&editor](const AssociationFields& fields) { return editor.CheckNames(fields, false); };
    form11.CheckNames = [&editor](const AssociationFields& fields) { return editor.CheckNames(fields, true); };
    for (TAssociationForm* form : {&form5, &form11})
        form->LocksFor = [&editor](const std::string& creator) { return editor.LocksOf(creator); };
    form7.CreatorFields = [&editor](const std::string& creator) { return editor.ChosenCreatorFields(creator); };
}

int RunMorvido()
{
    static SingleInstanceGuard guard;
    if (!guard.Take()) {
        MessageBoxA(nullptr, kAlreadyRunningMessage, kCaptionError, MB_OK | MB_ICONERROR);
        return 1;
    }

    try {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
        SetErrorSink([](const EntryFailure& failure) { ShowError(EntryFailureMessage(failure)); });

        // Every window is made once, in this order, and lives to the end.
        static TForm1 form1;
        if (!form1.Create())
            throw std::runtime_error("メインウィンドウを作成できませんでした。");
        // Each owned by the main window; a window that cannot be made ends
        // the start with its message.
        const auto create = [](auto& form, const char* failure) {
            if (!form.Create(form1.Handle()))
                throw std::runtime_error(failure);
        };
        static TForm3 form3;
        create(form3, "進行状況ウィンドウを作成できませんでした。");
        form1.Form3 = &form3;
        static TForm5 form5;
        create(form5, "編集ダイアログを作成できませんでした。");
        static TForm6 form6;
        create(form6, "バージョン情報ウィンドウを作成できませんでした。");
        static TForm7 form7;
        create(form7, "クリエーター選択ダイアログを作成できませんでした。");
        static TForm10 form10;
        create(form10, "削除ダイアログを作成できませんでした。");
        static TForm11 form11;
        create(form11, "追加ダイアログを作成できませんでした。");
        ConnectForms(form1, form5, form6, form7, form10, form11);
        form1.InstanceGuard = &guard;

        form1.Editor().Modified = false;
        form1.ReloadFromRegistry(false);
        ShowWindow(form1.Handle(), SW_SHOWNORMAL);
        UpdateWindow(form1.Handle());
        RunMessageLoop(form1);
    } catch (const std::exception& error) {
        MessageBoxA(nullptr, error.what(), kVersionLine, MB_OK | MB_ICONERROR);
    }

    guard.Release();
    return 0;
}
