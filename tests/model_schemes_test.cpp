// The scan of the URL schemes over scratch layers of the classes.
#include <windows.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include "model/CatalogEdits.h"
#include "model/CatalogScan.h"
#include "model/SchemeEntry.h"
#include "tests/support/ScratchRegistry.h"

class SchemesTest : public RegistryTest {};

// A key is a scheme by its "URL Protocol" value in the layer whose values
// show, wherever it lives; the user's choice comes from UrlAssociations.
TEST_F(SchemesTest, TheScanFindsSchemesInBothLayersWithTheUsersChoice)
{
    const HKEY user = HKEY_CURRENT_USER;
    const std::string userClasses = scratch_.UserLocation().Path, urls = scratch_.UrlAssociationsLocation().Path;
    ::SetText(user, userClasses + "\\Ms-Teams", "", "URL:Teams");
    ::SetText(user, userClasses + "\\Ms-Teams", kUrlProtocolValue, "");
    ::SetText(user, userClasses + "\\Ms-Teams\\shell\\open\\command", "", "teams.exe %1");
    SetText("mailto", "", "URL:MailTo");
    SetText("mailto", kUrlProtocolValue, "");
    SetText("mailto\\DefaultIcon", "", "mail.exe,2");
    SetText("mailto\\shell\\open\\command", "", "mail.exe \"%1\"");
    SetText("txtfile", "", "Text");
    SetText("txtfile\\shell\\open\\command", "", "notepad.exe %1");
    SetText(".url", kUrlProtocolValue, "");
    // The machine's key marks it, the user's key that hides it does not.
    SetText("hidden", kUrlProtocolValue, "");
    ::SetText(user, userClasses + "\\hidden", "", "plain");
    ::SetText(user, urls + "\\mailto\\UserChoice", "ProgId", "Mail.Client");
    ::SetText(user, urls + "\\MS-TEAMS\\UserChoiceLatest", "ProgId", "Teams.Url");

    AssociationCatalog catalog;
    FillCatalogFromRegistry(catalog, Locations());
    EXPECT_TRUE(catalog.SchemeMap.empty()) << "the scan of the extensions reads no scheme";
    EXPECT_EQ(catalog.CreatorMap.count("mailto"), 0u);
    ReadSchemes(catalog, Locations(), ReadMergedKeyNames(Locations()));
    EXPECT_TRUE(catalog.SchemesRead);

    struct Case { const char* key; const char* name; ClassesOrigin origin; const char* kind; const char* icon;
                  const char* command; const char* choice; }
    cases[] = {
        {"mailto", "mailto", ClassesOrigin::Machine, "URL:MailTo", "mail.exe,2", "mail.exe \"%1\"", "Mail.Client"},
        {"ms-teams", "Ms-Teams", ClassesOrigin::User, "URL:Teams", "", "teams.exe %1", "Teams.Url"},
    };
    ASSERT_EQ(catalog.SchemeMap.size(), std::size(cases)) << "no extension, no key without the value";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        const SchemeEntry& scheme = catalog.SchemeMap.at(c.key);
        EXPECT_EQ(scheme.Name, c.name);
        EXPECT_EQ(scheme.Origin, c.origin);
        EXPECT_EQ(scheme.Kind, c.kind);
        EXPECT_EQ(scheme.IconSource, c.icon);
        EXPECT_EQ(scheme.Command, c.command);
        EXPECT_EQ(scheme.UserChoice, c.choice);
        EXPECT_EQ(scheme.UrlProtocol, "1");
        EXPECT_EQ(scheme.State, esUnchanged);
    }
    EXPECT_TRUE(SchemeLocks("HTTPS", 0).Reserved && SchemeLocks("HTTPS", 0).WholeDialog);
    EXPECT_TRUE(SchemeLocks("zoommtg", FTA_NoEdit).Remove) << "a locked scheme is not deleted either";
    EXPECT_EQ(SchemeLocks("zoommtg", 0), EditLocks{});
}


// Adding a scheme that is there edits it, but only fills in: what the add
// dialog leaves empty keeps the scheme's value, as do its verbs.
TEST(SchemeAdd, AnExistingSchemeKeepsWhatTheAddLeavesEmpty)
{
    const auto verbs = [](const char* name) {
        std::vector<VerbEntry> list(1);
        list[0].Name = name;
        return list;
    };
    AssociationCatalog catalog;
    SchemeEntry& mailto = catalog.SchemeMap["mailto"];
    mailto.Name = "mailto", mailto.Kind = "URL:MailTo", mailto.IconSource = "mail.exe,2", mailto.UrlProtocol = "1";
    mailto.Command = "mail.exe %1", mailto.VerbsRead = true, mailto.Verbs = verbs("compose");
    AssociationFields typed;
    typed.Extension = "MailTo", typed.Command = "other.exe %1", typed.VerbsRead = true;
    typed.Verbs = verbs("print");
    EXPECT_EQ(ApplySchemeAdd(catalog, typed), "mailto");
    ASSERT_EQ(mailto.Verbs.size(), 2u);
    EXPECT_EQ(mailto.Kind + "|" + mailto.IconSource + "|" + mailto.Command + "|" + mailto.UrlProtocol + "|" +
                  mailto.Verbs[0].Name + "|" + mailto.Verbs[1].Name,
              "URL:MailTo|mail.exe,2|other.exe %1|1|compose|print");
    EXPECT_EQ(mailto.State, esModified);
}
