#include "dialogs/AssociationFields.h"

#include "ui/resource.h"

namespace {
using F = AssociationFields;
using E = ExtensionEntry;
using C = CreatorEntry;

constexpr FieldBinding kBindings[] = {
    {IDC_ASSOC_EDIT10, &F::Extension, &E::Name, nullptr, true, false},
    {IDC_ASSOC_EDIT2, &F::ContentType, &E::ContentType, nullptr, true, false},
    {IDC_ASSOC_EDIT9, &F::Creator, &E::Creator, &C::Name, true, false},
    {IDC_ASSOC_EDIT3, &F::Kind, nullptr, &C::Kind, true, false},
    {IDC_ASSOC_LABEL12, &F::ExtensionText, nullptr, &C::ExtensionText, false, false},
    {IDC_ASSOC_EDIT1, &F::IconSource, nullptr, &C::IconSource, true, false},
    {0, &F::SelectedIconFile, nullptr, &C::IconFile, false, false},
    {IDC_ASSOC_EDIT4, &F::Command, nullptr, &C::Command, true, false},
    {IDC_ASSOC_EDIT5, &F::DdeMessage, nullptr, &C::DdeMessage, true, true},
    {IDC_ASSOC_EDIT6, &F::DdeApplication, nullptr, &C::DdeApplication, true, true},
    {IDC_ASSOC_EDIT8, &F::DdeIfExec, nullptr, &C::DdeIfExec, true, true},
    {IDC_ASSOC_EDIT7, &F::DdeTopic, nullptr, &C::DdeTopic, true, true},
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
    return working;
}
