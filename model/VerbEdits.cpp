#include "model/VerbEdits.h"

#include <algorithm>

namespace {

VerbEntry* Listed(AssociationFields& fields, const std::string& name)
{
    for (VerbEntry& verb : fields.Verbs)
        if (verb.State != esDeleted && SameVerbName(verb.Name, name))
            return &verb;
    return nullptr;
}

// The page changed the verbs: they are now the ones the commit writes. A
// creator whose verbs were never read (a new one) gets its first ones.
void MarkVerbsRead(AssociationFields& fields) { fields.VerbsRead = true; }

// What the verb dialog shows and confirms of a verb: its texts, command,
// DDE and Extended, but not its name, state or snapshot.
void TakeVerbValues(VerbEntry& stored, const VerbEntry& edited)
{
    stored.Text = edited.Text;
    stored.Command = edited.Command;
    stored.UsesDde = edited.UsesDde;
    stored.DdeMessage = edited.DdeMessage, stored.DdeApplication = edited.DdeApplication;
    stored.DdeIfExec = edited.DdeIfExec, stored.DdeTopic = edited.DdeTopic;
    stored.Extended = edited.Extended;
}

// Open's command and DDE are page 3's: they go to the creator's fields and
// the verb keeps only what the menu shows.
void MoveOpenCommandToFields(AssociationFields& fields, VerbEntry& open)
{
    fields.Command = open.Command;
    fields.UsesDde = open.UsesDde;
    fields.DdeMessage = open.DdeMessage, fields.DdeApplication = open.DdeApplication;
    fields.DdeIfExec = open.DdeIfExec, fields.DdeTopic = open.DdeTopic;
    open.Command.clear();
    open.UsesDde = false;
    open.DdeMessage.clear(), open.DdeApplication.clear(), open.DdeIfExec.clear(), open.DdeTopic.clear();
}

bool SameValues(const VerbEntry& a, const VerbEntry& b)
{
    VerbEntry left = a;
    TakeVerbValues(left, b);
    return left == a;
}

} // namespace

std::vector<const VerbEntry*> ListedVerbs(const AssociationFields& fields)
{
    std::vector<const VerbEntry*> listed;
    for (const VerbEntry& verb : fields.Verbs)
        if (verb.State != esDeleted)
            listed.push_back(&verb);
    return listed;
}

std::string EffectiveDefaultVerb(const AssociationFields& fields)
{
    CreatorEntry creator;
    creator.DefaultVerb = fields.DefaultVerb;
    creator.Verbs = fields.Verbs;
    return creator.EffectiveDefaultVerb();
}

VerbEntry VerbToEdit(const AssociationFields& fields, const std::string& name)
{
    const auto listed = ListedVerbs(fields);
    const auto found = std::find_if(listed.begin(), listed.end(),
                                    [&](const VerbEntry* verb) { return SameVerbName(verb->Name, name); });
    if (found == listed.end())
        return {};
    VerbEntry verb = **found;
    if (verb.IsOpen()) {
        verb.Command = fields.Command;
        verb.UsesDde = fields.UsesDde;
        verb.DdeMessage = fields.DdeMessage, verb.DdeApplication = fields.DdeApplication;
        verb.DdeIfExec = fields.DdeIfExec, verb.DdeTopic = fields.DdeTopic;
    }
    return verb;
}

VerbNameProblem CheckNewVerbName(const AssociationFields& fields, const std::string& name)
{
    if (name.empty())
        return VerbNameProblem::Empty;
    if (name.find('\\') != std::string::npos)
        return VerbNameProblem::Path;
    const auto listed = ListedVerbs(fields);
    if (std::any_of(listed.begin(), listed.end(), [&](const VerbEntry* verb) { return SameVerbName(verb->Name, name); }))
        return VerbNameProblem::Duplicate;
    return VerbNameProblem::None;
}

void AddVerb(AssociationFields& fields, VerbEntry verb)
{
    if (CheckNewVerbName(fields, verb.Name) != VerbNameProblem::None)
        return;
    MarkVerbsRead(fields);
    verb.Handler.clear();
    if (verb.IsOpen())
        MoveOpenCommandToFields(fields, verb);
    for (VerbEntry& deleted : fields.Verbs)
        if (SameVerbName(deleted.Name, verb.Name)) {
            // Every value it had is rewritten, even those the dialog does
            // not show, as a new verb of that name would have none of them.
            deleted.MuiVerb.clear();
            deleted.Handler.clear();
            TakeVerbValues(deleted, verb);
            deleted.State = esModified;
            return;
        }
    verb.State = esAdded;
    verb.Read.reset();
    fields.Verbs.push_back(std::move(verb));
}

void EditVerb(AssociationFields& fields, const VerbEntry& edited)
{
    VerbEntry* verb = Listed(fields, edited.Name);
    if (!verb || !CanEditVerb(*verb))
        return;
    VerbEntry confirmed = edited;
    if (verb->IsOpen())
        MoveOpenCommandToFields(fields, confirmed);
    if (SameValues(*verb, confirmed))
        return;
    MarkVerbsRead(fields);
    TakeVerbValues(*verb, confirmed);
    if (verb->State == esUnchanged)
        verb->State = esModified;
}

void DeleteVerb(AssociationFields& fields, const std::string& name)
{
    VerbEntry* verb = Listed(fields, name);
    if (!verb || !CanDeleteVerb(*verb))
        return;
    MarkVerbsRead(fields);
    if (verb->Read)
        verb->State = esDeleted;
    else
        fields.Verbs.erase(fields.Verbs.begin() + (verb - fields.Verbs.data()));
}

void SetDefaultVerb(AssociationFields& fields, const std::string& name)
{
    if (!Listed(fields, name))
        return;
    MarkVerbsRead(fields);
    fields.DefaultVerb = Listed(fields, name)->Name;
}

bool CanEditVerb(const VerbEntry& verb) { return !verb.IsHandled(); }
bool CanDeleteVerb(const VerbEntry& verb) { return !verb.IsHandled() && !verb.IsOpen(); }
