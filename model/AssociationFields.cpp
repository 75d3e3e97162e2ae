#include "model/AssociationFields.h"

namespace {
using F = AssociationFields;
using E = ExtensionEntry;
using C = CreatorEntry;

constexpr FieldBinding kBindings[] = {
    {&F::Extension, &E::Name, nullptr, true, false},
    {&F::ContentType, &E::ContentType, nullptr, true, false},
    {&F::Creator, &E::Creator, &C::Name, true, false},
    {&F::Kind, nullptr, &C::Kind, true, false},
    {&F::ExtensionText, nullptr, &C::ExtensionText, false, false},
    {&F::IconSource, nullptr, &C::IconSource, true, false},
    {&F::SelectedIconFile, nullptr, &C::IconFile, false, false},
    {&F::Command, nullptr, &C::Command, true, false},
    {&F::DdeMessage, nullptr, &C::DdeMessage, true, true},
    {&F::DdeApplication, nullptr, &C::DdeApplication, true, true},
    {&F::DdeIfExec, nullptr, &C::DdeIfExec, true, true},
    {&F::DdeTopic, nullptr, &C::DdeTopic, true, true},
};
} // namespace

std::span<const FieldBinding> FieldTable() { return kBindings; }

void ShowExtension(AssociationFields& fields, const ExtensionEntry& extension)
{
    for (const FieldBinding& binding : kBindings)
        if (binding.extensionField)
            fields.*binding.text = extension.*binding.extensionField;
}

void ShowCreator(AssociationFields& fields, const CreatorEntry& creator)
{
    for (const FieldBinding& binding : kBindings)
        if (binding.creatorField)
            fields.*binding.text = creator.*binding.creatorField;
    fields.UsesDde = creator.UsesDde;
    fields.VerbsRead = creator.VerbsRead;
    fields.VerbsOf = creator.VerbsRead ? creator.Name : std::string();
    fields.DefaultVerb = creator.DefaultVerb;
    fields.Verbs = creator.Verbs;
}

ExtensionEntry WorkingExtension(const AssociationFields& fields)
{
    ExtensionEntry working;
    working.Clear();
    for (const FieldBinding& binding : kBindings)
        if (binding.extensionField && binding.readBack)
            working.*binding.extensionField = fields.*binding.text;
    return working;
}

CreatorEntry WorkingCreator(const AssociationFields& fields)
{
    CreatorEntry working;
    working.Clear();
    working.UsesDde = fields.UsesDde;
    for (const FieldBinding& binding : kBindings)
        if (binding.creatorField && binding.readBack && (!binding.ddeField || fields.UsesDde))
            working.*binding.creatorField = fields.*binding.text;
    working.ParseIconSource();
    working.VerbsRead = fields.VerbsRead;
    working.DefaultVerb = fields.DefaultVerb;
    working.Verbs = fields.Verbs;
    // Verbs read from another creator are new to this one.
    if (fields.VerbsRead && !SameVerbName(fields.VerbsOf, fields.Creator)) {
        std::erase_if(working.Verbs, [](const VerbEntry& verb) { return verb.State == esDeleted; });
        for (VerbEntry& verb : working.Verbs) {
            verb.State = esAdded;
            verb.Read.reset();
        }
    }
    return working;
}
