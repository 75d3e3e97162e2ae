#include <gtest/gtest.h>

#include <functional>

#include "model/VerbEdits.h"

namespace {
VerbEntry Verb(const char* name, const char* text = "", const char* command = "")
{
    VerbEntry verb;
    verb.Name = name, verb.Text = text, verb.Command = command;
    return verb;
}
VerbEntry ReadVerb(const char* name, const char* text, const char* command = "", const char* handler = "")
{
    VerbEntry verb = Verb(name, text, command);
    verb.Handler = handler;
    verb.Read.emplace();
    return verb;
}

// The verbs as "name:text:command:state", then the default and page 3's command.
std::string Shown(const AssociationFields& fields)
{
    std::string shown;
    for (const VerbEntry& verb : fields.Verbs)
        shown += verb.Name + ":" + verb.Text + ":" + verb.Command + ":" + std::to_string(verb.State) + " ";
    return shown + "| " + EffectiveDefaultVerb(fields) + " | " + fields.Command + (fields.UsesDde ? " dde" : "");
}
} // namespace

TEST(VerbEdits, AddEditDeleteAndDefaultMoveOnlyPlainValues)
{
    struct Case {
        const char* what;
        std::function<void(AssociationFields&)> change;
        const char* expected;
    };
    const Case cases[] = {
        {"nothing changed", [](AssociationFields&) {}, "open:開く::0 print:印刷:p.exe:0 edit:::0 | open | v.exe"},
        {"an added verb is new; a duplicate name in any case is not taken",
         [](AssociationFields& f) {
             AddVerb(f, Verb("play", "再生", "m.exe"));
             AddVerb(f, Verb("PRINT", "x"));
         },
         "open:開く::0 print:印刷:p.exe:0 edit:::0 play:再生:m.exe:4 | open | v.exe"},
        {"a read verb edited is modified, an added one stays added",
         [](AssociationFields& f) {
             EditVerb(f, Verb("Print", "印刷する", "p.exe"));
             AddVerb(f, Verb("play", "再生"));
             EditVerb(f, Verb("play", "再生する"));
         },
         "open:開く::0 print:印刷する:p.exe:1 edit:::0 play:再生する::4 | open | v.exe"},
        {"open's command and DDE are the creator's; its verb changes only with its text",
         [](AssociationFields& f) {
             VerbEntry open = VerbToEdit(f, "open");
             EXPECT_EQ(open.Command, "v.exe");
             open.Command = "w.exe", open.UsesDde = true;
             EditVerb(f, open);
         },
         "open:開く::0 print:印刷:p.exe:0 edit:::0 | open | w.exe dde"},
        {"a read verb deleted stays marked, an added one leaves; open and a handled verb stay",
         [](AssociationFields& f) {
             AddVerb(f, Verb("play"));
             for (const char* name : {"print", "play", "open", "edit"})
                 DeleteVerb(f, name);
             EditVerb(f, Verb("edit", "x"));
         },
         "open:開く::0 print:印刷:p.exe:2 edit:::0 | open | v.exe"},
        {"a deleted verb added again comes back modified with the new values",
         [](AssociationFields& f) {
             DeleteVerb(f, "print");
             EXPECT_EQ(CheckNewVerbName(f, "Print"), VerbNameProblem::None);
             AddVerb(f, Verb("Print", "新", "q.exe"));
         },
         "open:開く::0 print:新:q.exe:1 edit:::0 | open | v.exe"},
        {"the default is the name chosen", [](AssociationFields& f) { SetDefaultVerb(f, "PRINT"); },
         "open:開く::0 print:印刷:p.exe:0 edit:::0 | print | v.exe"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        AssociationFields fields;
        fields.VerbsRead = true, fields.VerbsOf = "doc", fields.Command = "v.exe";
        fields.Verbs = {ReadVerb("open", "開く"), ReadVerb("print", "印刷", "p.exe"), ReadVerb("edit", "", "", "1")};
        c.change(fields);
        EXPECT_EQ(Shown(fields), c.expected);
        EXPECT_TRUE(fields.VerbsRead && fields.VerbsOf == "doc");
    }
    AssociationFields empty;
    EXPECT_EQ(CheckNewVerbName(empty, ""), VerbNameProblem::Empty);
    EXPECT_EQ(CheckNewVerbName(empty, "a\\b"), VerbNameProblem::Path);
    AddVerb(empty, Verb("open", "", "n.exe"));
    EXPECT_TRUE(empty.VerbsRead) << "a new creator's first verb: " << Shown(empty);
    EXPECT_EQ(Shown(empty), "open:::4 | open | n.exe");
}
