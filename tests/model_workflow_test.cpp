// The rules of the edit, add and delete workflows and of the typed-name
// check, on a catalog built in memory: what each confirmed dialog leaves in
// the entries, their marks and the creators' extension lists.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "dialogs/AssociationForm.h"
#include "model/CatalogEdits.h"

namespace {

ExtensionEntry Extension(const std::string& name, const std::string& creator, const std::string& contentType)
{
    ExtensionEntry entry;
    entry.Name = name;
    entry.Creator = creator;
    entry.ContentType = contentType;
    return entry;
}

CreatorEntry Creator(const std::string& name, const std::string& kind, const std::string& icon)
{
    CreatorEntry entry;
    entry.Name = name;
    entry.Kind = kind;
    entry.IconSource = icon;
    entry.ParseIconSource();
    entry.Command = name + ".exe \"%1\"";
    return entry;
}

class WorkflowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        catalog.Clear();
        loaded.clear();
        for (const ExtensionEntry& entry :
             {Extension(".txt", "txtfile", "text/plain"), Extension(".log", "txtfile", ""),
              Extension(".htm", "htmlfile", "text/html"), Extension(".xyz", "", "application/x-xyz"),
              Extension(".zfsendtotarget", "CLSID\\{888DCA60}", "")})
            catalog.ExtensionMap[entry.Name] = entry;
        CreatorEntry html = Creator("htmlfile", "HTML 文書", "ie.exe,1");
        html.UsesDde = true;
        html.DdeMessage = "\"file:%1\"";
        html.DdeApplication = "IExplore";
        html.DdeTopic = "WWW_OpenURL";
        for (CreatorEntry entry :
             {Creator("txtfile", "テキスト", "shell32.dll,-152"), html, Creator("CLSID\\{888DCA60}", "", "")})
            catalog.CreatorMap[entry.Name] = entry;
        for (const auto& [name, extension] : catalog.ExtensionMap)
            if (!extension.Creator.empty())
                catalog.CreatorMap[extension.Creator].AddExtension(name);
    }

    ImageLoader Loader()
    {
        return [this](const CreatorEntry& creator) {
            loaded.push_back(creator.Name + " " + creator.IconSource);
        };
    }
    bool Edit(const std::string& extension, const std::function<void(AssociationFields&)>& change)
    {
        AssociationFields fields = FieldsOf(catalog, extension);
        change(fields);
        return ApplyEdit(catalog, fields, Loader());
    }
    AddResult Add(const AssociationFields& fields) { return ApplyAdd(catalog, fields, Loader()); }
    void Delete(const std::string& extension) { ApplyDelete(catalog, FieldsOf(catalog, extension)); }

    ExtensionEntry& Ext(const std::string& name) { return catalog.ExtensionMap.at(name); }
    CreatorEntry& Cre(const std::string& name) { return catalog.CreatorMap.at(name); }

    // Every marked extension as name:state, then every creator with its
    // mark and its extension list: one text that tells any two outcomes
    // apart.
    std::string Summary() const
    {
        std::string text;
        for (const auto& [name, entry] : catalog.ExtensionMap)
            if (entry.State != esUnchanged)
                text += name + ":" + std::to_string(entry.State) + " ";
        for (const auto& [name, entry] : catalog.CreatorMap)
            text += name + (entry.State != esUnchanged ? ":" + std::to_string(entry.State) : "") + "[" +
                    entry.ExtensionText + "] ";
        return text;
    }

    AssociationCatalog catalog;
    std::vector<std::string> loaded;
};

using Strings = std::vector<std::string>;

} // namespace

// Each field of both entries reaches its own control's value and back: the
// not-running message and the topic in particular, which stand in the
// reverse order of their controls' numbers.
TEST_F(WorkflowTest, FieldTableMovesEachFieldToItsOwnControl)
{
    const AssociationFields shown = FieldsOf(catalog, ".htm");
    const std::vector<std::string> texts{shown.Extension,  shown.ContentType,      shown.Creator,
                                         shown.Kind,       shown.ExtensionText,    shown.IconSource,
                                         shown.SelectedIconFile, shown.Command,    shown.DdeMessage,
                                         shown.DdeApplication,   shown.DdeIfExec,  shown.DdeTopic};
    EXPECT_EQ(texts, (Strings{".htm", "text/html", "htmlfile", "HTML 文書", ".htm ", "ie.exe,1", "ie.exe",
                              "htmlfile.exe \"%1\"", "\"file:%1\"", "IExplore", "", "WWW_OpenURL"}));
    EXPECT_TRUE(shown.UsesDde);

    AssociationFields typed = shown;
    typed.DdeIfExec = "if";
    typed.SelectedIconFile = "elsewhere.dll";
    const CreatorEntry working = WorkingCreator(typed);
    EXPECT_EQ(working.DdeIfExec + "|" + working.DdeTopic, "if|WWW_OpenURL");
    EXPECT_EQ(working.IconFile, "ie.exe") << "parsed from the icon source, not the list's file";
    typed.UsesDde = false;
    EXPECT_EQ(WorkingCreator(typed).DdeTopic, "") << "DDE texts count only while ticked";
    EXPECT_EQ(FieldsOf(catalog, ".xyz").Kind, "") << "no creator, no creator fields";
}

TEST_F(WorkflowTest, EditMarksWhatChanged)
{
    const std::string clsid = "CLSID\\{888DCA60}[.zfsendtotarget ] ";
    struct Case {
        const char* name;
        const char* extension;
        std::function<void(AssociationFields&)> change;
        bool result;
        std::string summary;
        Strings loads;
    };
    const Case cases[] = {
        {"content type only", ".txt", [](AssociationFields& f) { f.ContentType = "text/x-new"; }, true,
         ".txt:1 " + clsid + "htmlfile[.htm ] txtfile[.log .txt ] ", {}},
        {"creator emptied", ".txt", [](AssociationFields& f) { f.Creator.clear(); }, true,
         ".txt:1 " + clsid + "htmlfile[.htm ] txtfile[.log ] ", {}},
        {"existing creator typed over with the old values", ".txt",
         [](AssociationFields& f) { f.Creator = "htmlfile"; }, true,
         ".txt:1 " + clsid + "htmlfile:1[.htm .txt ] txtfile[.log ] ", {"htmlfile shell32.dll,-152"}},
        {"new creator name", ".txt", [](AssociationFields& f) { f.Creator = "txt2"; }, true,
         ".txt:1 " + clsid + "htmlfile[.htm ] txt2:4[.txt ] txtfile[.log ] ", {"txt2 shell32.dll,-152"}},
        {"name differing in case", ".log", [](AssociationFields& f) { f.Creator = "TXTFILE"; }, true,
         ".log:1 " + clsid + "TXTFILE:4[.log ] htmlfile[.htm ] txtfile[.txt ] ", {"TXTFILE shell32.dll,-152"}},
        {"DDE unticked", ".htm", [](AssociationFields& f) { f.UsesDde = false; }, true,
         clsid + "htmlfile:1[.htm ] txtfile[.log .txt ] ", {}},
        {"icon changed", ".log", [](AssociationFields& f) { f.IconSource = "other.dll,2"; }, true,
         clsid + "htmlfile[.htm ] txtfile:1[.log .txt ] ", {"txtfile other.dll,2"}},
        {"nothing changed", ".txt", [](AssociationFields&) {}, false, clsid + "htmlfile[.htm ] txtfile[.log .txt ] ",
         {}},
        {"DDE text typed while unticked", ".txt", [](AssociationFields& f) { f.DdeTopic = "ignored"; }, false,
         clsid + "htmlfile[.htm ] txtfile[.log .txt ] ", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        EXPECT_EQ(Edit(c.extension, c.change), c.result);
        EXPECT_EQ(Summary(), c.summary);
        EXPECT_EQ(loaded, c.loads);
    }

    SCOPED_TRACE("the creator typed over takes every value, keeps its list and gets the new image");
    SetUp();
    Edit(".txt", [](AssociationFields& f) { f.Creator = "htmlfile"; });
    const CreatorEntry& html = Cre("htmlfile");
    EXPECT_EQ(html.Kind + "|" + html.Command + "|" + html.DdeTopic, "テキスト|txtfile.exe \"%1\"|");
    EXPECT_FALSE(html.UsesDde);
    EXPECT_EQ(loaded, (Strings{"htmlfile " + html.IconSource}));

    SCOPED_TRACE("the chooser's values leave the chosen creator unchanged");
    SetUp();
    AssociationFields fields = FieldsOf(catalog, ".txt");
    fields.ContentType = "text/typed-before-choosing";
    const AssociationFields chosen = ChosenCreatorFields(catalog, "htmlfile");
    for (const FieldBinding& binding : FieldTable())
        if (binding.creatorField)
            fields.*binding.text = chosen.*binding.text;
    fields.UsesDde = chosen.UsesDde;
    EXPECT_TRUE(ApplyEdit(catalog, fields, Loader()));
    EXPECT_EQ(Summary(), ".txt:1 CLSID\\{888DCA60}[.zfsendtotarget ] htmlfile[.htm .txt ] txtfile[.log ] ");
    EXPECT_EQ(Ext(".txt").ContentType, "text/typed-before-choosing");
    EXPECT_TRUE(loaded.empty());

    SCOPED_TRACE("an earlier mark counts; added becomes modified; deleted stays until something is typed");
    SetUp();
    Ext(".log").State = esModified;
    EXPECT_TRUE(Edit(".log", [](AssociationFields&) {}));
    Ext(".txt").State = esAdded;
    Edit(".txt", [](AssociationFields& f) { f.ContentType = "x"; });
    EXPECT_EQ(Ext(".txt").State, esModified);
    Delete(".htm");
    EXPECT_TRUE(Edit(".htm", [](AssociationFields&) {}));
    EXPECT_EQ(Ext(".htm").State, esDeleted);
    Edit(".htm", [](AssociationFields& f) { f.ContentType = "text/html"; });
    EXPECT_EQ(Ext(".htm").State, esModified);
}

TEST_F(WorkflowTest, AddNormalisesTheExtensionName)
{
    const std::pair<const char*, const char*> names[] = {
        {"TXT", ".txt"}, {".Txt", ".txt"}, {".", "."}, {" txt", ". txt"}, {"", ""}, {"ＤＯＣ", ".ｄｏｃ"}};
    for (const auto& [typed, stored] : names)
        EXPECT_EQ(NormalisedExtensionName(typed), stored) << typed;
}

TEST_F(WorkflowTest, AddCreatesRepointsOrLeavesAlone)
{
    auto fields = [](const char* extension, const char* creator, const char* icon) {
        AssociationFields typed;
        typed.Extension = extension;
        typed.Creator = creator;
        typed.IconSource = icon;
        typed.DdeTopic = "not stored while unticked";
        return typed;
    };
    const std::string clsid = "CLSID\\{888DCA60}[.zfsendtotarget ] ";
    struct Case {
        const char* name;
        std::function<AssociationFields(AssociationCatalog&)> typed;
        bool changed, newExtension;
        std::string summary;
    };
    const Case cases[] = {
        {"an unmarked association with its own values", [](AssociationCatalog& c) { return FieldsOf(c, ".txt"); },
         false, false, clsid + "htmlfile[.htm ] txtfile[.log .txt ] "},
        {"re-pointed to another creator, typed in capitals without the dot",
         [](AssociationCatalog& c) {
             AssociationFields typed = FieldsOf(c, ".htm");
             typed.Extension = "TXT";
             return typed;
         },
         true, false, ".txt:1 " + clsid + "htmlfile[.htm .txt ] txtfile[.log ] "},
        {"a new extension with a new creator", [&](AssociationCatalog&) { return fields("Abc", "abcfile", "a.ico,0"); },
         true, true, ".abc:4 " + clsid + "abcfile:4[.abc ] htmlfile[.htm ] txtfile[.log .txt ] "},
        {"an existing creator named with empty fields", [&](AssociationCatalog&) { return fields(".n", "txtfile", ""); },
         true, true, ".n:4 " + clsid + "htmlfile[.htm ] txtfile:1[.log .n .txt ] "},
        {"no extension typed", [&](AssociationCatalog&) { return fields("", "zzz", ""); }, false, false,
         clsid + "htmlfile[.htm ] txtfile[.log .txt ] "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        const AddResult result = Add(c.typed(catalog));
        EXPECT_EQ(result.changed, c.changed);
        EXPECT_EQ(result.newExtension, c.newExtension);
        EXPECT_EQ(Summary(), c.summary);
    }

    SetUp();
    Add(fields("Abc", "abcfile", "a.ico,0"));
    Add(fields(".n", "txtfile", ""));
    EXPECT_EQ(Cre("abcfile").DdeTopic, "");
    EXPECT_EQ(Cre("txtfile").Kind, "") << "the named creator took the empty values";
    EXPECT_EQ(loaded, (Strings{"abcfile a.ico,0", "txtfile "})) << "and a new image, as its icon source changed";
    Add(fields(".n", "CLSID\\{888DCA60}", "typed.ico,1"));
    const CreatorEntry& com = Cre("CLSID\\{888DCA60}");
    EXPECT_EQ(com.IconSource + "|" + com.Command, "typed.ico,1|CLSID\\{888DCA60}.exe \"%1\"") << "only added to";
}

TEST_F(WorkflowTest, DeleteMarksTheExtensionAndAnUnusedCreator)
{
    Delete(".txt");
    EXPECT_EQ(Summary(), ".txt:2 CLSID\\{888DCA60}[.zfsendtotarget ] htmlfile[.htm ] txtfile[.log ] ");
    EXPECT_EQ(Ext(".txt").Name + "|" + Ext(".txt").Creator + "|" + Ext(".txt").ContentType, ".txt||");
    EXPECT_EQ(Cre("txtfile").Kind, "テキスト") << "still used by .log";

    Delete(".log");
    Delete(".txt");
    Delete(".xyz");
    Delete(".zfsendtotarget");
    EXPECT_EQ(Summary(), ".log:2 .txt:2 .xyz:2 .zfsendtotarget:2 CLSID\\{888DCA60}[] htmlfile[.htm ] txtfile:2[] ")
        << "the last extension takes its creator along, unless the creator is a registry path";
    EXPECT_EQ(Cre("txtfile").Name + "|" + Cre("txtfile").Kind + "|" + Cre("txtfile").Command, "txtfile||");

    SCOPED_TRACE("added again naming its deleted creator, and an association added since the last commit");
    AssociationFields again;
    again.Extension = ".txt";
    again.Creator = "txtfile";
    again.ContentType = "text/plain";
    EXPECT_TRUE(Add(again).changed);
    EXPECT_EQ(Ext(".txt").State, esModified);
    EXPECT_EQ(Cre("txtfile").State, esAdded) << "with the dialog's values, even when they equal its cleared ones";
    again.Extension = ".new";
    again.Creator = "newfile";
    Add(again);
    Delete(".new");
    EXPECT_EQ(Ext(".new").State, esDeleted);
    EXPECT_EQ(Cre("newfile").State, esDeleted);
}

TEST_F(WorkflowTest, TypedRegistryPathsAreRefusedUnlessTheCreatorExists)
{
    using F = AssociationFields;
    struct Case {
        const char* extension;
        const char* creator;
        bool extensionTyped;
        std::string F::*field;
        const char* message;
    };
    const Case cases[] = {
        {".txt", "txtfile", true, nullptr, ""},
        {".txt", "new\\creator", false, &F::Creator, "新しいクリエーターの名前に「\\」を使うことはできません。"},
        {".txt", "CLSID\\{888DCA60}", false, nullptr, ""},
        {"a\\b", "new\\creator", true, &F::Extension, "拡張子に「\\」を使うことはできません。"},
        {"a\\b", "txtfile", false, nullptr, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.extension) + " " + c.creator);
        AssociationFields fields;
        fields.Extension = c.extension;
        fields.Creator = c.creator;
        const NameProblem problem = CheckTypedNames(catalog, fields, c.extensionTyped);
        EXPECT_EQ(problem.field, c.field);
        EXPECT_EQ(problem.field ? NameProblemMessage(problem, fields) : "", c.message);
    }
}
