// The rules of the page of verbs, over the dialog's plain values: adding,
// editing and deleting a verb, and choosing the default. The page and the
// verb dialog only move these values to and from their controls. The verb
// open shares its command and DDE with the creator's own fields (page 3),
// so those travel between the fields and the verb here, nowhere else.
#pragma once
#include <string>
#include <vector>

#include "model/AssociationFields.h"

// The verbs the page lists, in order: every verb not marked deleted.
std::vector<const VerbEntry*> ListedVerbs(const AssociationFields& fields);

// The verb a double click runs, as CreatorEntry::EffectiveDefaultVerb picks it.
std::string EffectiveDefaultVerb(const AssociationFields& fields);

// The listed verb of that name (any case), as the verb dialog edits it:
// open with the creator's command and DDE. Empty name when none is listed.
VerbEntry VerbToEdit(const AssociationFields& fields, const std::string& name);

// Why a new verb's name cannot be taken; None when it can. A deleted verb's
// name can be taken again.
enum class VerbNameProblem { None, Empty, Duplicate, Path };
VerbNameProblem CheckNewVerbName(const AssociationFields& fields, const std::string& name);

// Adds a verb the user made (esAdded); a deleted verb of that name comes
// back as esModified with the new values, so the commit rewrites its key.
void AddVerb(AssociationFields& fields, VerbEntry verb);
// Takes the verb dialog's values into the listed verb of the same name. A
// verb that changed becomes esModified, an added one stays esAdded.
void EditVerb(AssociationFields& fields, const VerbEntry& edited);
// A read verb stays in the list marked esDeleted, so the commit removes its
// key; an added one just leaves the list. Open, whose command is the
// creator's own, and a verb a program handles are not deleted.
void DeleteVerb(AssociationFields& fields, const std::string& name);
// The shell's default value names the verb.
void SetDefaultVerb(AssociationFields& fields, const std::string& name);

// Whether the page may edit or delete the verb at all (locks aside).
bool CanEditVerb(const VerbEntry& verb);
bool CanDeleteVerb(const VerbEntry& verb);
