#include <windows.h>
#include <dlgs.h>
#include <shlobj.h>

#include <algorithm>

#include <gtest/gtest.h>

#include "app/MainForm.h"
#include "ui/MessageBox.h"
#include "ui/resource.h"
#include "model/AssociationCatalog.h"
#include "model/ErrorReport.h"
#include "model/Elevation.h"
#include "persist/DefaultAssociations.h"
#include "view/EntryMessages.h"
#include "tests/support/DataFoldersOverride.h"
#include "tests/support/GuiDriver.h"
#include "tests/support/MessageBoxHook.h"
#include "tests/support/PlatformTools.h"
#include "tests/support/ScratchRegistry.h"
#include "tests/support/SettingsFileGuard.h"
#include "view/ProgressForm.h"
#include "view/ShellServices.h"

namespace {
std::deque<std::string> dialogAnswers; // a path for OK, "" for Cancel
std::vector<std::string> dialogShown;  // the file name each showing opened with

// Inside the save dialog's modal loop: notes the name it shows, types the
// next answer and presses OK, or Cancel.
void CALLBACK AnswerSaveDialog(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = FindWindowA("#32770", "変更されたデータをレジストリファイルに保存");
    if (!dialog)
        dialog = FindWindowA("#32770", "既定の関連付けをXMLに保存");
    if (!dialog || !IsWindowVisible(dialog) || !GetDlgItem(dialog, cmb13))
        return;
    KillTimer(nullptr, timer);
    char shown[MAX_PATH] = {};
    GetDlgItemTextA(dialog, cmb13, shown, sizeof shown);
    dialogShown.push_back(shown);
    SetDlgItemTextA(dialog, cmb13, dialogAnswers.front().c_str());
    PostMessageA(dialog, WM_COMMAND, dialogAnswers.front().empty() ? IDCANCEL : IDOK, 0);
    dialogAnswers.pop_front();
}

// The choice of the default associations file: notes whether the selected
// row can be chosen and which choice is checked, and confirms it; then the
// save dialog of the same caption as above.
std::vector<int> choiceShown;
std::vector<std::pair<int, std::string>> form12Typed; // an edit gets the text, a check box is clicked
void CALLBACK AnswerDefaultsDialogs(HWND window, UINT message, UINT_PTR timer, DWORD time)
{
    HWND dialog = FindWindowA("#32770", "既定の関連付けをXMLに保存");
    if (!dialog || !IsWindowVisible(dialog) || GetDlgItem(dialog, cmb13))
        return AnswerSaveDialog(window, message, timer, time);
    choiceShown = {IsWindowEnabled(GetDlgItem(dialog, IDC_FORM12_RADIOBUTTON1)),
                   static_cast<int>(IsDlgButtonChecked(dialog, IDC_FORM12_RADIOBUTTON2))};
    for (const auto& [id, text] : form12Typed)
        if (id == IDC_FORM12_EDIT1 || id == IDC_FORM12_EDIT2)
            SetDlgItemTextA(dialog, id, text.c_str());
        else
            SendDlgItemMessageA(dialog, id, BM_CLICK, 0, 0);
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
}
// Every key and value below path, in a fixed order, as one text.
std::string Tree(HKEY root, const std::string& path)
{
    std::string text = "[" + path + "]";
    std::vector<std::string> names = ValueNames(root, path), keys = SubKeyNames(root, path);
    std::sort(names.begin(), names.end()), std::sort(keys.begin(), keys.end());
    for (const std::string& name : names) {
        const StoredValue value = GetValue(root, path, name);
        text += name + "=" + std::to_string(value.type) + ":" + std::string(value.bytes.begin(), value.bytes.end()) + ";";
    }
    for (const std::string& key : keys)
        text += Tree(root, path.empty() ? key : path + "\\" + key);
    return text;
}
} // namespace

class SaveCommandsTest : public RegistryTest {
protected:
    void SetUp() override
    {
        dialogShown.clear();
        SetText(".txt", "", "txtfile");
        SetText(".log", "", "logfile");
        SetText("logfile", "", "ログ");
        sink_ = SetErrorSink([](const EntryFailure& failure) { ShowError(EntryFailureMessage(failure)); }); // as the program does
        ASSERT_TRUE(form.Create() && progress.Create(form.Handle()));
        form.Form3 = &progress;
        form.ReloadFromRegistry(false);
        ShowWindow(form.Handle(), SW_SHOW);
    }
    void TearDown() override { SetErrorSink(sink_); }

    void Command(UINT id) { SendMessageA(form.Handle(), WM_COMMAND, id, 0); }
    void Export(UINT id, const std::string& answer)
    {
        dialogAnswers.push_back(answer);
        SetTimer(nullptr, 0, 100, id == IDM_EXPORT_DEFAULTS ? AnswerDefaultsDialogs : AnswerSaveDialog);
        Command(id);
    }
    // Marks as the workflows leave them.
    ExtensionEntry& Mark(const std::string& name, const std::string& creator, EntryState state)
    {
        form.Editor().Modified = true;
        return form.Editor().Catalog.ExtensionMap[name] = ExtensionEntry{name, creator, "", state};
    }
    CreatorEntry& MarkCreator(const std::string& name, EntryState state)
    {
        form.Editor().Modified = true;
        CreatorEntry& entry = form.Editor().Catalog.CreatorMap[name];
        entry.Name = name;
        entry.State = state;
        return entry;
    }
    // The texts of the boxes shown with this caption, buttons and icon.
    std::vector<std::string> Shown(const char* caption, UINT style) const
    {
        std::vector<std::string> texts;
        for (const MessageBoxRecord& record : hook.Records())
            if (record.caption == caption && (record.buttons | record.icon) == style)
                texts.push_back(record.text);
        return texts;
    }

    ErrorSink sink_;
    SettingsFileGuard settings;
    // Backups of the commits go to a scratch folder.
    ScratchFolder dataFolder;
    DataFoldersOverride folders{dataFolder.Path(), dataFolder.Path()};
    MessageBoxHook hook;
    TForm1 form;
    TForm3 progress;
};

TEST_F(SaveCommandsTest, CommitWritesTheMarksThenReloads)
{
    Mark(".txt", "txtfile", esModified).ContentType = "text/x-edited";
    MarkCreator("txtfile", esModified).Command = "\"C:\\Program Files\\edit.exe\" \"%1\"";
    Mark(".new", "newfile", esAdded);
    MarkCreator("newfile", esAdded).Kind = "新しい種類";
    Mark(".log", "", esDeleted);
    form.Editor().Catalog.CreatorMap["logfile"].Clear();
    MarkCreator("logfile", esDeleted);

    Command(IDM_COMMIT);
    EXPECT_TRUE(hook.Records().empty()) << "no failure, and the reload asks nothing";
    EXPECT_EQ(GetValue(".txt", "Content Type").Text(), "text/x-edited");
    EXPECT_EQ(GetValue("txtfile\\shell\\open\\command", "").Text(), "\"C:\\Program Files\\edit.exe\" \"%1\"");
    EXPECT_EQ(GetValue(".new", "").Text() + GetValue("newfile", "").Text(), "newfile新しい種類");
    EXPECT_FALSE(KeyExists(".log") || KeyExists("logfile"));
    EXPECT_FALSE(form.Editor().Modified);
    EXPECT_EQ(Find(form.Editor().Catalog.ExtensionMap, ".log"), nullptr) << "the reload rebuilt the catalog";
    EXPECT_EQ(ListView_GetItemCount(form.List().ListView1), 2);

    Mark(".txt", "txtfile", esModified).ContentType = "text/x-other";
    form.Editor().Modified = false;
    Command(IDM_COMMIT);
    Command(IDM_EXPORT_CHANGES);
    const std::string nothing = "すでに変更された情報がレジストリに反映されているか、\n変更された情報がありません。";
    EXPECT_EQ(Shown("情報", MB_OK | MB_ICONINFORMATION), (std::vector<std::string>{nothing, nothing}));
    EXPECT_EQ(GetValue(".txt", "Content Type").Text(), "text/x-edited") << "nothing was written";
}

TEST_F(SaveCommandsTest, FailedCommitKeepsWhatIsPendingAndTheWindowOpen)
{
    Mark(".txt", "txtfile", esModified).ContentType = "text/x-written";
    // No key can be made below a volatile key. The creator sorts before
    // every extension, yet extensions go first.
    for (const char* parent : {".v", "!v"}) {
        ScopedHKey key;
        ASSERT_EQ(RegCreateKeyExA(Root(), parent, 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, key.Put(),
                                  nullptr),
                  ERROR_SUCCESS);
    }
    const std::string longExtension = ".v\\x", longCreator = "!v\\k";
    Mark(longExtension, "", esAdded);
    MarkCreator(longCreator, esAdded);
    // A name that addresses the root itself is never deleted: a refused delete.
    Mark("\\", "", esDeleted);

    SendMessageA(form.SpeedButton[11], BM_CLICK, 0, 0);
    EXPECT_EQ(Shown("エラー", MB_OK | MB_ICONERROR),
              (std::vector<std::string>{
                  "拡張子(" + longExtension + ")のデータをレジストりーに書き込むことができませんでした。",
                  "拡張子(\\)をレジストりーから削除することができませんでした。",
                  "クリエーター(" + longCreator + ")のデータをレジストりーに書き込むことができませんでした。"}));
    EXPECT_EQ(form.Editor().Catalog.ExtensionMap[longExtension].State, esAdded) << "kept, as no reload ran";
    EXPECT_EQ(form.Editor().Catalog.ExtensionMap["\\"].State, esDeleted) << "a refused delete keeps its mark";
    EXPECT_EQ(form.Editor().Catalog.ExtensionMap[".txt"].State, esUnchanged) << "written all the same";
    EXPECT_TRUE(form.Editor().Modified);

    for (int answer : {IDYES, IDCANCEL}) {
        hook.ClearRecords();
        hook.Answer(answer);
        SendMessageA(form.Handle(), WM_CLOSE, 0, 0);
        EXPECT_EQ(hook.Records().size(), answer == IDYES ? 4u : 1u);
        ASSERT_NE(form.Handle(), nullptr);
        EXPECT_FALSE(FileExists(dataFolder.File("morvido.ini"))) << "as after Cancel, the settings are not saved";
        EXPECT_EQ(form.Editor().Catalog.CreatorMap[longCreator].State, esAdded);
    }

    form.Editor().Catalog.ExtensionMap[longExtension].State = form.Editor().Catalog.CreatorMap[longCreator].State = esUnchanged;
    form.Editor().Catalog.ExtensionMap["\\"].State = esUnchanged;
    hook.ClearRecords();
    hook.Answer(IDYES);
    const unsigned notified = AssociationNotificationCount();
    SendMessageA(form.Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(hook.Records().size(), 1u);
    EXPECT_EQ(form.Handle(), nullptr);
    EXPECT_EQ(AssociationNotificationCount() - notified, 1u) << "the shell is told once";
    EXPECT_NE(Find(form.Editor().Catalog.ExtensionMap, longExtension), nullptr) << "and no rescan drops the row";
    EXPECT_TRUE(FileExists(dataFolder.File("morvido.ini")));
}

// The machine's classes need an administrator; the user's take an edit and
// an add and leave the machine's alone, copying what a key of the machine's
// held before hiding it, and refuse a delete they cannot express. Backups
// and exports name the user's classes. The user's own choice shows, is
// marked where it overrides the creator, and can be released.
TEST_F(SaveCommandsTest, PerUserCommitsAndTheUsersChoice)
{
    const HKEY user = HKEY_CURRENT_USER;
    const std::string userClasses = scratch_.UserLocation().Path;
    const std::string choice = scratch_.FileExtsLocation().Path + "\\.txt\\UserChoice";
    ::SetText(user, choice, "ProgId", "otherfile");
    SetText("logfile", "FriendlyTypeName", "@log.dll,-1"); // values the list never shows
    SetDword(Root(), "logfile", "EditFlags", 0x10000);
    const ElevationOverride notElevated(false);
    const auto row = [this](const std::string& extension) {
        const auto& rows = form.List().Rows;
        for (size_t at = 0; at < rows.size(); ++at)
            if (rows[at].Caption == extension)
                return std::pair{static_cast<int>(at), rows[at]};
        return std::pair{-1, ListRow{}};
    };
    const auto select = [&](const std::string& extension) {
        ListView_SetItemState(form.List().ListView1, -1, 0, LVIS_SELECTED);
        ListView_SetItemState(form.List().ListView1, row(extension).first, LVIS_SELECTED, LVIS_SELECTED);
    };
    Command(IDM_RELOAD);
    EXPECT_EQ(row(".txt").second.Column(7), "otherfile");
    EXPECT_TRUE(row(".txt").second.ChoiceDiffers);
    EXPECT_EQ(row(".log").second.Column(6), "コンピューター");

    Mark(".txt", "txtfile", esModified).ContentType = "text/mine";
    Command(IDM_TARGET_MACHINE);
    Command(IDM_COMMIT);
    ASSERT_EQ(Shown("エラー", MB_YESNO | MB_ICONERROR).size(), 1u) << "No: nothing restarts";
    EXPECT_EQ(Shown("エラー", MB_YESNO | MB_ICONERROR)[0].rfind("すべてのユーザーの関連づけを変更するには", 0), 0u);
    const auto backups = [this] { return ListFiles(dataFolder.File("backup\\*.reg")); };
    EXPECT_TRUE(backups().empty()) << "refused before the backup";

    Command(IDM_TARGET_USER);
    hook.ClearRecords();
    form.Editor().DeleteAssociation(".log"); // refused before its dialog
    ASSERT_EQ(Shown("エラー", MB_OK | MB_ICONERROR).size(), 1u);
    EXPECT_NE(Shown("エラー", MB_OK | MB_ICONERROR)[0].find("「.log」の関連付けは、すべてのユーザーの関連付け"),
              std::string::npos);
    Mark(".log", "", esDeleted); // marked before the target changed
    Command(IDM_COMMIT);
    EXPECT_NE(Shown("エラー", MB_OK | MB_ICONERROR).back().find("拡張子「.log」の削除"), std::string::npos);
    EXPECT_TRUE(backups().empty() && KeyExists(".log")) << "refused before anything is written";

    form.Editor().Catalog.ExtensionMap[".log"].State = esUnchanged;
    Mark(".new", "newfile", esAdded);
    MarkCreator("newfile", esAdded).Kind = "新しい種類";
    CreatorEntry& log = form.Editor().Catalog.CreatorMap["logfile"];
    log.Kind = "わたしのログ";
    log.State = esModified;
    hook.ClearRecords();
    Command(IDM_COMMIT);
    EXPECT_TRUE(hook.Records().empty());
    EXPECT_EQ(::GetValue(user, userClasses + "\\.txt", "Content Type").Text(), "text/mine");
    EXPECT_EQ(::GetValue(user, userClasses + "\\newfile", "").Text(), "新しい種類");
    EXPECT_EQ(::GetValue(user, userClasses + "\\logfile", "").Text(), "わたしのログ");
    EXPECT_EQ(::GetValue(user, userClasses + "\\logfile", "FriendlyTypeName").Text(), "@log.dll,-1");
    EXPECT_EQ(::GetValue(user, userClasses + "\\logfile", "EditFlags").bytes, GetValue("logfile", "EditFlags").bytes);
    EXPECT_FALSE(GetValue(".txt", "Content Type").exists || KeyExists(".new") || KeyExists("newfile"))
        << "the machine's classes are untouched";
    EXPECT_EQ(GetValue("logfile", "").Text(), "ログ");
    ASSERT_EQ(backups().size(), 1u);
    const std::string bytes = ReadFileBytes(dataFolder.File("backup\\" + backups()[0])).substr(2);
    const std::wstring backup(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
    std::vector<std::wstring> keyLines;
    for (size_t at = 0; (at = backup.find(L"\r\n[", at)) != std::wstring::npos; at += 3)
        keyLines.push_back(backup.substr(at + 2, backup.find(L']', at) - at - 1));
    EXPECT_EQ(keyLines, (std::vector<std::wstring>{
                            L"[-HKEY_CURRENT_USER\\Software\\Classes\\.new]", L"[-HKEY_CURRENT_USER\\Software\\Classes\\.txt]",
                            L"[-HKEY_CURRENT_USER\\Software\\Classes\\logfile]",
                            L"[-HKEY_CURRENT_USER\\Software\\Classes\\newfile]"}));
    EXPECT_EQ(row(".txt").second.Column(6), "ユーザー＋コンピューター");

    ScratchFolder folder;
    select(".new");
    Export(IDM_EXPORT_SELECTED, folder.File("mine.reg"));
    const std::string script = ReadFileBytes(folder.File("mine.reg"));
    EXPECT_EQ(script.substr(script.find("\r\n\r\n[")),
              "\r\n\r\n[HKEY_CURRENT_USER\\Software\\Classes\\.new]\r\n@=\"newfile\"\r\n\"Content Type\"=\"\"\r\n\r\n"
              "\r\n[HKEY_CURRENT_USER\\Software\\Classes\\newfile]\r\n@=\"\x90\x56\x82\xb5\x82\xa2\x8e\xed\x97\xde\"\r\n"
              "\r\n[HKEY_CURRENT_USER\\Software\\Classes\\newfile\\DefaultIcon]\r\n@=\"\"\r\n"
              "\r\n[HKEY_CURRENT_USER\\Software\\Classes\\newfile\\shell\\open\\command]\r\n@=\"\"\r\n\r\n");

    select(".txt");
    hook.Answer(IDYES);
    Command(IDM_RELEASE_CHOICE);
    EXPECT_FALSE(::KeyExists(user, choice));
    EXPECT_EQ(row(".txt").second.Column(7), "");
}

TEST_F(SaveCommandsTest, ExportsWriteTheFileChosenInTheSaveDialog)
{
    ScratchFolder folder;
    const std::string path = folder.File("changes.reg");
    const std::string key = "\r\n[HKEY_CLASSES_ROOT\\logfile";
    const std::string logScript = "REGEDIT4\r\n\r\n; morvido ver.2.4\r\n\r\n[HKEY_CLASSES_ROOT\\.log]\r\n@=\"logfile\"\r\n" +
                                  std::string("\"Content Type\"=\"\"\r\n\r\n") + key + "]\r\n@=\"\x83\x8D\x83\x4F\"\r\n" +
                                  key + "\\DefaultIcon]\r\n@=\"\"\r\n" + key + "\\shell\\open\\command]\r\n@=\"\"\r\n\r\n";
    ListView_SetItemState(form.List().ListView1, 0, LVIS_SELECTED, LVIS_SELECTED); // .log
    Export(IDM_EXPORT_SELECTED, folder.File("changes"));
    EXPECT_EQ(ReadFileBytes(path), logScript) << "with the default extension; ログ in the system's code page";

    MarkCreator("logfile", esModified).Kind = "Café";
    hook.Answer(IDYES); // replace the file
    Export(IDM_EXPORT_CHANGES, path);
    // Held open by another program, the file cannot be replaced.
    MarkCreator("logfile", esModified).Kind = "ログ";
    const HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    hook.Answer(IDYES);
    Export(IDM_EXPORT_CHANGES, path);
    CloseHandle(held);
    Export(IDM_EXPORT_SELECTED, "");
    EXPECT_EQ(Shown("エラー", MB_OK | MB_ICONERROR),
              (std::vector<std::string>{"クリエーター(logfile)のデータに、ファイルに保存できない文字があります。",
                                        "ファイルに書き込むことができませんでした。"}));
    EXPECT_EQ(hook.Records().size(), 4u) << "asked twice before replacing the file";
    EXPECT_EQ(ReadFileBytes(path), logScript) << "an earlier file stays as it was";
    WIN32_FIND_DATAA found{};
    EXPECT_EQ(FindFirstFileA(folder.File("*.tmp").c_str(), &found), INVALID_HANDLE_VALUE) << "nor a temporary one";
    EXPECT_EQ(dialogShown, (std::vector<std::string>{"", "changes.reg", "changes.reg", "changes.reg"}));
}

TEST_F(SaveCommandsTest, DefaultAssociationsOfTheChangesGoToTheChosenXmlFile)
{
    Command(IDM_EXPORT_DEFAULTS);
    Mark(".log", "logfile", esModified);
    Mark(".none", "", esAdded);
    ScratchFolder folder;
    Export(IDM_EXPORT_DEFAULTS, folder.File("defaults"));
    EXPECT_EQ(choiceShown, (std::vector<int>{FALSE, BST_CHECKED})) << "no row is selected";
    EXPECT_EQ(ReadFileBytes(folder.File("defaults.xml")),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<DefaultAssociations>\r\n"
              "  <Association Identifier=\".log\" ProgId=\"logfile\" ApplicationName=\"logfile\" />\r\n"
              "</DefaultAssociations>\r\n");
    EXPECT_EQ(Shown("情報", MB_OK | MB_ICONINFORMATION),
              (std::vector<std::string>{"保存する関連付けがありません。\n一覧の項目を選ぶか、関連付けを変更してください。",
                                        "クリエーターが設定されていない拡張子1個は保存しませんでした。"}));
}

// In the protocol view the selected row is a scheme, not an extension.
TEST_F(SaveCommandsTest, DefaultAssociationsOfTheProtocolViewNameTheSelectedScheme)
{
    SetText("mailto", "URL Protocol", "");
    Command(IDM_VIEW_PROTOCOLS);
    SetFocus(form.List().ListView1);
    ClickListRow(form.List().ListView1, 0);
    ScratchFolder folder;
    Export(IDM_EXPORT_DEFAULTS, folder.File("s"));
    EXPECT_EQ(ReadFileBytes(folder.File("s.xml")), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<DefaultAssociations>\r\n"
              "  <Association Identifier=\"mailto\" ProgId=\"mailto\" ApplicationName=\"mailto\" />\r\n</DefaultAssociations>\r\n");
}

// Last of the file: the dialog offers these choices again to every later save.
TEST_F(SaveCommandsTest, DefaultAssociationsDialogAddsVersionSuggestedAndDeploymentFiles)
{
    Mark(".log", "logfile", esModified);
    form12Typed = {{IDC_FORM12_EDIT1, "12"}, {IDC_FORM12_CHECKBOX1, ""}, {IDC_FORM12_CHECKBOX2, ""},
                   {IDC_FORM12_CHECKBOX3, ""}, {IDC_FORM12_EDIT2, "\\\\srv\\d.xml"}};
    ScratchFolder folder;
    Export(IDM_EXPORT_DEFAULTS, folder.File("d"));
    form12Typed.clear();
    const std::string xml = ReadFileBytes(folder.File("d.xml"));
    EXPECT_EQ(xml, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<DefaultAssociations Version=\"12\">\r\n"
                   "  <Association Identifier=\".log\" ProgId=\"logfile\" ApplicationName=\"logfile\" Suggested=\"true\" />"
                   "\r\n</DefaultAssociations>\r\n");
    EXPECT_EQ(ReadFileBytes(folder.File("d.txt")), Base64Of(xml));
    EXPECT_NE(ReadFileBytes(folder.File("d.reg")).find("=\"\\\\\\\\srv\\\\d.xml\""), std::string::npos);
    EXPECT_EQ(Shown("情報", MB_OK | MB_ICONINFORMATION),
              (std::vector<std::string>{"Intune用のBase64を保存しました: " + folder.File("d.txt") +
                                        "\nグループポリシー用のレジストリファイルを保存しました: " + folder.File("d.reg")}));
}

// A dropped script is reported before anything is staged, staged only on
// OK, and written only by the commit; loading the backup of that commit and
// committing it gives back both layers as they were, for either target.
TEST_F(SaveCommandsTest, ALoadedScriptWaitsForTheCommitAndItsBackupRestores)
{
    const std::string userClasses = scratch_.UserLocation().Path;
    ::SetText(HKEY_CURRENT_USER, userClasses + "\\.txt", "", "txtfile");
    ::SetText(HKEY_CURRENT_USER, userClasses + "\\.txt", "Content Type", "text/user");
    const auto tree = [&] { return Tree(Root(), "") + Tree(HKEY_CURRENT_USER, userClasses); };
    const auto backups = [this] { return ListFiles(dataFolder.File("backup\\*.reg")); };
    const auto drop = [&](const std::string& path, int answer) {
        const HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + path.size() + 2);
        auto* files = static_cast<DROPFILES*>(GlobalLock(memory));
        files->pFiles = sizeof(DROPFILES);
        path.copy(reinterpret_cast<char*>(files + 1), path.size());
        GlobalUnlock(memory);
        hook.Answer(answer);
        SendMessageA(form.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
    };
    // The one backup written since earlier, loaded and committed.
    const auto restore = [&](const std::vector<std::string>& earlier) {
        std::vector<std::string> now = backups();
        std::erase_if(now, [&](const std::string& file) { return std::count(earlier.begin(), earlier.end(), file); });
        ASSERT_EQ(now.size(), 1u);
        drop(dataFolder.File("backup\\" + now[0]), IDOK);
        Command(IDM_COMMIT);
    };
    Command(IDM_RELOAD);
    const std::string before = tree();
    ScratchFolder folder;
    const std::string script = folder.File("a.reg");
    WriteFileBytes(script, "REGEDIT4\r\n\r\n[HKEY_CLASSES_ROOT\\.txt]\r\n\"Content Type\"=\"text/loaded\"\r\n\r\n"
                           "[HKEY_CLASSES_ROOT\\.new]\r\n@=\"newfile\"\r\n[HKCR\\newfile\\shell\\open\\command]\r\n@=\"new.exe\"\r\n"
                           "[-HKEY_CLASSES_ROOT\\.log]\r\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]\r\n"
                           "\"x\"=\"x.exe\"\r\n");
    Command(IDM_TARGET_MACHINE);
    drop(script, IDCANCEL);
    EXPECT_FALSE(form.Editor().Modified);
    drop(script, IDOK);
    ASSERT_EQ(hook.Records().size(), 2u);
    EXPECT_EQ(hook.Records()[1].text.rfind("「" + script + "」で変更する関連付け: 編集 1 件、追加 2 件、削除 1 件\n\n"
                                           "読み込まない項目（関連付けのキーと値のほか）: 1 件\n"
                                           "・HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\n\n読み込みますか?", 0),
              0u);
    const AssociationCatalog& catalog = form.Editor().Catalog;
    EXPECT_EQ(catalog.ExtensionMap.at(".txt").State + catalog.ExtensionMap.at(".new").State * 10 +
                  catalog.ExtensionMap.at(".log").State * 100 + catalog.CreatorMap.at("newfile").State * 1000,
              esModified + esAdded * 10 + esDeleted * 100 + esAdded * 1000);
    EXPECT_EQ(ListView_GetItemCount(form.List().ListView1), 3);
    EXPECT_EQ(tree(), before) << "nothing is written before the commit";

    Command(IDM_COMMIT);
    EXPECT_EQ(GetValue(".txt", "Content Type").Text() + GetValue(".new", "").Text() +
                  GetValue("newfile\\shell\\open\\command", "").Text() + GetValue("logfile", "").Text(),
              "text/loadednewfilenew.exeログ");
    EXPECT_FALSE(KeyExists(".log") || GetValue("newfile", "").exists);
    EXPECT_FALSE(::GetValue(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "x").exists);
    restore({});
    EXPECT_EQ(tree(), before) << "the machine's backup restored";

    Command(IDM_TARGET_USER);
    WriteFileBytes(script, "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Classes\\.txt]\r\n\"Content Type\"=\"text/mine\"\r\n"
                           "[HKCU\\Software\\Classes\\.log]\r\n\"Content Type\"=\"text/log\"\r\n");
    drop(script, IDOK);
    const std::vector<std::string> earlier = backups();
    Command(IDM_COMMIT);
    const auto user = [&](const char* key, const char* name) {
        return ::GetValue(HKEY_CURRENT_USER, userClasses + "\\" + key, name).Text();
    };
    EXPECT_EQ(user(".txt", "Content Type") + user(".log", "") + user(".log", "Content Type"), "text/minelogfiletext/log");
    restore(earlier);
    EXPECT_EQ(tree(), before) << "the user's backup restored";
}
