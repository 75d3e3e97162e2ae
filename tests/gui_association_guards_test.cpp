// The questions and refusals before risky changes, and the EditFlags locks of the edit dialog.
#include <windows.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include "dialogs/AssociationForm.h"
#include "dialogs/AssociationGuards.h"
#include "ui/resource.h"
#include "tests/support/MessageBoxHook.h"
#include "tests/support/ScratchRegistry.h"

TEST(AssociationGuardsTest, TypesThatRunCodeAskFirstAndUnremovableTypesAreRefused)
{
    // answer 0 leaves it to the hook: No for a question; shown names the boxes as below.
    struct Case { const char* extension; DWORD flags; bool deleting; int answer; bool allowed; const char* shown; }
    cases[] = {
        {".EXE", 0, true, 0, false, "question"},        {"ps1", 0, false, IDYES, true, "question"},
        {".Js", 0, false, 0, false, "question"},        {".txt", 0, true, 0, true, ""},
        {".txt", FTA_NoRemove, true, 0, false, "refusal"}, {".bat", FTA_NoRemove, true, 0, false, "refusal"},
        {".txt", 0, false, 0, true, ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.extension) + (c.deleting ? " delete" : " edit"));
        MessageBoxHook hook;
        if (c.answer)
            hook.Answer(c.answer);
        const bool allowed = c.deleting ? AllowDelete(c.extension, "somefile", c.flags)
                                        : ConfirmDangerousChange(c.extension, GuardedChange::Edit);
        EXPECT_EQ(allowed, c.allowed);
        std::string shown;
        for (const MessageBoxRecord& box : hook.Records()) {
            const auto says = [&](const char* words) { return box.text.find(words) != std::string::npos; };
            const bool question = box.buttons == MB_YESNO && box.defaultButton == IDNO &&
                                  box.icon == MB_ICONWARNING && says("正しく動かなくなる");
            const bool refusal = box.buttons == MB_OK && says("削除できません");
            shown += !says(c.extension) ? "other: " + box.text
                     : question         ? "question"
                     : refusal          ? "refusal"
                                        : "other: " + box.text;
        }
        EXPECT_EQ(shown, c.shown);
    }
}

// Wine honours no key permissions, so the refusal comes from a stand-in.
ChoiceRemoval RefuseRemoval(const std::string&, const RegistryLocation&) { return ChoiceRemoval::Refused; }
ChoiceRemoval RefuseTheNewerChoice(const std::string&, const RegistryLocation&) { return ChoiceRemoval::OlderOnly; }

TEST(AssociationGuardsTest, ARefusedReleaseOfTheUsersChoiceSaysWhatItChanged)
{
    ScratchClassesRoot scratch;
    const RegistryLocation fileExts{HKEY_CURRENT_USER, scratch.Path(), "FileExts"};
    SetText(HKEY_CURRENT_USER, scratch.Path() + "\\.pdf\\UserChoice", "ProgId", "Reader.Pdf");
    MessageBoxHook hook;
    hook.Answer(IDYES); // release it
    hook.Answer(IDNO);  // do not open the settings
    EXPECT_EQ(ReleaseUserChoice(".pdf", "PDF 文書", fileExts, RefuseRemoval), ChoiceRelease::Refused);
    ASSERT_EQ(hook.Records().size(), 2u);
    EXPECT_NE(hook.Records()[0].text.find("「PDF 文書」"), std::string::npos) << hook.Records()[0].text;
    EXPECT_NE(hook.Records()[1].text.find("解除できませんでした"), std::string::npos) << hook.Records()[1].text;
    EXPECT_NE(hook.Records()[1].text.find("既定のアプリ"), std::string::npos);
    EXPECT_EQ(hook.Records()[1].buttons, static_cast<UINT>(MB_YESNO));
    EXPECT_EQ(ReadUserChoice(".pdf", fileExts), "Reader.Pdf");

    hook.Answer(IDYES);
    EXPECT_EQ(ReleaseUserChoice(".pdf", "PDF 文書", fileExts), ChoiceRelease::Released);
    EXPECT_EQ(ReadUserChoice(".pdf", fileExts), "");
    EXPECT_EQ(hook.Records().size(), 3u) << "a release that works asks and says nothing more";

    hook.Answer(IDYES);
    hook.Answer(IDNO);
    EXPECT_EQ(ReleaseUserChoice(".pdf", "PDF 文書", fileExts, RefuseTheNewerChoice), ChoiceRelease::PartlyReleased);
    ASSERT_EQ(hook.Records().size(), 5u);
    const std::string partly = hook.Records()[4].text;
    EXPECT_EQ(partly.find("何も変更していません"), std::string::npos) << partly;
    EXPECT_NE(partly.find("(UserChoice) は解除しました"), std::string::npos) << partly;
}

TEST(AssociationGuardsTest, EditFlagsLockTheEditDialogsFields)
{
    TForm5 form;
    ASSERT_TRUE(form.Create(nullptr));
    SendMessageA(form.CheckBox1, BM_SETCHECK, BST_CHECKED, 0); // an association with DDE
    // Read-only edits as "r", disabled controls as "-", then the reason line.
    const auto describe = [&] {
        std::string text;
        for (HWND edit : {form.Edit2, form.Edit9, form.Edit3, form.Edit1, form.Edit4, form.Edit5})
            text += (GetWindowLongA(edit, GWL_STYLE) & ES_READONLY) ? "r" : "w";
        text += " ";
        for (HWND control : {form.Button6, form.Button1, form.ListView1, form.Button4, form.CheckBox1, form.Edit5,
                             form.Button2})
            text += IsWindowEnabled(control) ? "e" : "-";
        HWND reason = GetDlgItem(form.TabSheets[0], IDC_ASSOC_LABEL_LOCKED);
        if (GetWindowLongA(reason, GWL_STYLE) & WS_VISIBLE && GetWindowTextLengthA(reason) > 0)
            text += " reason";
        return text;
    };
    form.ApplyLocks(LocksOf(FTA_NoEdit));
    EXPECT_EQ(describe(), "rrrrrr ------- reason");
    form.ApplyLocks(LocksOf(FTA_NoEditIcon | FTA_NoDDE));
    EXPECT_EQ(describe(), "wwwrwr e--e--e");
    form.ApplyLocks(LocksOf(FTA_NoEditMIME | FTA_NoEditDesc | FTA_NoEditVerbCmd));
    EXPECT_EQ(describe(), "rwrwrw eee-eee");

    SCOPED_TRACE("the creator the dialog will write brings its own locks, but never locks the dialog");
    form.LocksFor = [](const std::string& creator) { return LocksOf(creator == "lockedfile" ? FTA_NoEdit : 0); };
    SetWindowTextA(form.Edit9, "plainfile");
    form.ApplyLocks(LocksOf(0));
    AssociationFields chosen;
    chosen.Creator = "lockedfile";
    chosen.UsesDde = true;
    form.ShowCreatorFields(chosen); // as the chooser does
    EXPECT_EQ(describe(), "rwrrrr e-----e");
    SetWindowTextA(form.Edit9, "plainfile"); // typed back
    EXPECT_EQ(describe(), "wwwwww eeeeeee");
    DestroyWindow(form.Handle());
}
