#include "app/AssociationEditor.h"

#include "dialogs/AssociationGuards.h"
#include "model/CatalogScan.h"
#include "model/Elevation.h"
#include "persist/Backup.h"
#include "persist/RegScript.h"
#include "persist/RegistryCommit.h"
#include "ui/MessageBox.h"
#include "view/EntryMessages.h"
#include "view/ExportMessages.h"
#include "view/ShellServices.h"

namespace {

constexpr const char* kDiscardQuestion =
    "変更した情報があります。\n変更した情報を破棄してレジストリーを読み込みますか。";
constexpr const char* kCloseQuestion = "データが変更されています。変更をレジストリーに反映させますか";
constexpr const char* kNothingPending =
    "すでに変更された情報がレジストリに反映されているか、\n変更された情報がありません。";

constexpr const char* kNeedsAdministrator =
    "すべてのユーザーの関連づけを変更するには、管理者の権限が必要です。\n"
    "保存先を「このユーザーだけ」にするか、morvidoを管理者として実行してください。\n"
    "レジストリーは変更されていません。";

constexpr const char* kNoUserChoice = "この拡張子には、ユーザーが Windows で選んだプログラムがありません。";

constexpr UINT kErrorBox = MB_OK | MB_ICONERROR;
constexpr UINT kInfoBox = MB_OK | MB_ICONINFORMATION;

} // namespace

void AssociationEditor::ReloadFromRegistry(bool notifyShell)
{
    if (Scanning)
        return;
    if (Modified && host_.Ask(kDiscardQuestion, kCaptionConfirm, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    if (notifyShell)
        NotifyAssociationsChanged();
    ScanRegistry();
    Modified = false;
}

const RegistryLocation& AssociationEditor::WriteLocation() const
{
    const AssociationLocations& locations = CurrentAssociationLocations();
    return Target == SaveTarget::User ? locations.User : locations.Machine;
}

const RegistryLocation& AssociationEditor::ExportLocation() const
{
    return Target == SaveTarget::User ? UserClasses() : ClassesRoot();
}

void AssociationEditor::ScanRegistry()
{
    Scanning = true;
    host_.ScanBegins();
    const AssociationLocations& locations = CurrentAssociationLocations();
    const std::vector<OriginName> names = ReadMergedKeyNames(locations);
    ReadExtensionKeys(Catalog, locations, names, [this](size_t i, size_t n) { host_.ScanProgress(i, n, 12.5, 0); });
    ReadCreators(Catalog, locations, names, [this](size_t i, size_t n) { host_.ScanProgress(i, n, 12.5, 12.5); });
    ReadUserChoices(Catalog, locations.FileExts);
    host_.CatalogScanned();
    host_.ScanEnds();
    Scanning = false;
}

void AssociationEditor::EditAssociation(const std::string& extension)
{
    if (!ConfirmDangerousChange(extension, GuardedChange::Edit))
        return;
    const AssociationFields shown = FillEditDialog(extension);
    AssociationFields confirmed;
    if (host_.RunDialog(AssociationDialog::Edit, shown, LocksOf(shown.Creator), confirmed) &&
        ApplyEditDialog(confirmed))
        WorkflowApplied();
}

DWORD AssociationEditor::EditFlagsOf(const std::string& creator) const
{
    const CreatorEntry* entry = creator.empty() ? nullptr : Find(Catalog.CreatorMap, creator);
    if (!entry || entry->Origin == ClassesOrigin::None)
        return 0;
    // The merged view shows the user's key where there is one.
    const AssociationLocations& locations = CurrentAssociationLocations();
    return ReadEditFlags(creator, entry->Origin == ClassesOrigin::Machine ? locations.Machine : locations.User);
}

EditLocks AssociationEditor::LocksOf(const std::string& creator) const { return ::LocksOf(EditFlagsOf(creator)); }

AssociationFields AssociationEditor::FillEditDialog(const std::string& extension)
{
    return FieldsOf(Catalog, extension);
}

bool AssociationEditor::ApplyEditDialog(const AssociationFields& fields)
{
    return ApplyEdit(Catalog, fields, [this](const CreatorEntry& creator) { host_.CreatorIconChanged(creator); });
}

void AssociationEditor::AddAssociation()
{
    AssociationFields confirmed;
    if (host_.RunDialog(AssociationDialog::Add, PrepareAddDialog(), EditLocks{}, confirmed) &&
        ApplyAddDialog(confirmed))
        WorkflowApplied();
}

bool AssociationEditor::ApplyAddDialog(const AssociationFields& fields)
{
    const AddResult result =
        ApplyAdd(Catalog, fields, [this](const CreatorEntry& creator) { host_.CreatorIconChanged(creator); });
    if (result.newExtension)
        host_.ExtensionAdded(result.extension);
    return result.changed;
}

void AssociationEditor::DeleteAssociation(const std::string& extension)
{
    const AssociationFields shown = FillDeleteDialog(extension);
    if (!AllowDelete(extension, shown.Creator, EditFlagsOf(shown.Creator)))
        return;
    AssociationFields confirmed;
    if (!host_.RunDialog(AssociationDialog::Delete, shown, EditLocks{}, confirmed))
        return;
    ApplyDeleteDialog(confirmed);
    WorkflowApplied();
}

AssociationFields AssociationEditor::FillDeleteDialog(const std::string& extension)
{
    return FieldsOf(Catalog, extension);
}

bool AssociationEditor::ApplyDeleteDialog(const AssociationFields& fields)
{
    ApplyDelete(Catalog, fields);
    return true;
}

void AssociationEditor::WorkflowApplied()
{
    Modified = true;
    host_.CatalogChanged();
}

void AssociationEditor::ReleaseUserChoice(const std::string& extension)
{
    ExtensionEntry* entry = Find(Catalog.ExtensionMap, extension);
    if (!entry || entry->UserChoice.empty()) {
        host_.Ask(kNoUserChoice, kCaptionInfo, kInfoBox);
        return;
    }
    const RegistryLocation fileExts = CurrentAssociationLocations().FileExts;
    const ChoiceRelease result = ::ReleaseUserChoice(extension, entry->UserChoice, fileExts);
    if (result == ChoiceRelease::Released || result == ChoiceRelease::Absent) {
        entry->UserChoice.clear();
        NotifyAssociationsChanged();
        host_.CatalogChanged();
    } else if (result == ChoiceRelease::PartlyReleased) {
        // The older choice is gone; the row shows the one that stays.
        entry->UserChoice = ReadUserChoice(extension, fileExts);
        NotifyAssociationsChanged();
        host_.CatalogChanged();
    }
}

NameProblem AssociationEditor::CheckNames(const AssociationFields& fields, bool extensionTyped) const
{
    return CheckTypedNames(Catalog, fields, extensionTyped);
}

bool AssociationEditor::CommitChanges()
{
    if (!Modified) {
        host_.Ask(kNothingPending, kCaptionInfo, kInfoBox);
        return false;
    }
    // Refused before anything is written: a standard user cannot write the
    // machine's classes, and Windows does not redirect the writes.
    if (Target == SaveTarget::Machine && !ProcessIsElevated()) {
        host_.Ask(kNeedsAdministrator, kCaptionError, kErrorBox);
        return false;
    }
    // A commit deletes whole keys and overwrites values: without a copy
    // the user could restore, it does not start.
    if (!WriteCommitBackup(Catalog, WriteLocation()).written) {
        host_.Ask(kBackupFailedMessage, kCaptionError, kErrorBox);
        return false;
    }
    // Failed entries keep their marks and the list keeps showing them, so
    // the user can commit again or export what is pending.
    if (!CommitMarkedEntries(Catalog, WriteLocation()))
        return false;
    Modified = false;
    return true;
}

void AssociationEditor::ExportChanges()
{
    if (!Modified) {
        host_.Ask(kNothingPending, kCaptionInfo, kInfoBox);
        return;
    }
    if (host_.ChooseExportFile(exportPath_))
        SaveScript(BuildChangesScript(Catalog, ExportLocation(), SystemAnsiCodePage()), exportPath_);
}

void AssociationEditor::ExportSelected(const std::string& extension)
{
    if (host_.ChooseExportFile(exportPath_))
        SaveScript(BuildSelectedScript(Catalog, extension, ExportLocation(), SystemAnsiCodePage()), exportPath_);
}

void AssociationEditor::SaveScript(const RegScript& script, const std::string& path)
{
    if (script.Problem) {
        host_.Ask(EntryFailureMessage(*script.Problem), kCaptionError, kErrorBox);
        return;
    }
    if (const std::string failure = FileWriteMessage(WriteFileWhole(path, script.Bytes)); !failure.empty())
        host_.Ask(failure, kCaptionError, kErrorBox);
}

bool AssociationEditor::CloseQuery()
{
    // The scan fills the list between messages; closing under it would
    // pull the window away from the running scan.
    if (Scanning)
        return false;
    if (!Modified)
        return true;
    switch (host_.Ask(kCloseQuestion, kCaptionConfirm, MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES: {
        const bool committed = CommitChanges();
        NotifyAssociationsChanged();
        // Entries that failed keep their marks; closing would lose them.
        return committed;
    }
    case IDNO:
        return true;
    default:
        return false;
    }
}
