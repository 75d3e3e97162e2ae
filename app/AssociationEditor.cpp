#include "app/AssociationEditor.h"

#include <set>

#include "dialogs/AssociationGuards.h"
#include "model/CatalogScan.h"
#include "model/Elevation.h"
#include "model/KeyNames.h"
#include "model/LayerCopy.h"
#include "persist/Backup.h"
#include "persist/RegScript.h"
#include "persist/RegistryCommit.h"
#include "persist/ScriptFile.h"
#include "model/ScriptChanges.h"
#include "ui/MessageBox.h"
#include "view/EntryMessages.h"
#include "view/ExportMessages.h"
#include "view/ScriptMessages.h"
#include "view/ShellServices.h"

namespace {

constexpr const char* kDiscardQuestion =
    "変更した情報があります。\n変更した情報を破棄してレジストリーを読み込みますか。";
constexpr const char* kCloseQuestion = "データが変更されています。変更をレジストリーに反映させますか";
constexpr const char* kNothingPending =
    "すでに変更された情報がレジストリに反映されているか、\n変更された情報がありません。";

constexpr const char* kNeedsAdministrator =
    "すべてのユーザーの関連づけを変更するには、管理者の権限が必要です。\n"
    "レジストリーは変更されていません。保存先を「このユーザーだけ」にすれば、このまま書き込めます。\n\n"
    "管理者として再起動しますか? 変更した情報は失われます。";

constexpr const char* kRefusedLayerTail =
    "\n\nすべてのユーザーの関連付けにあるものは、このユーザーの関連付けでは消せません。"
    "保存先を「すべてのユーザー」にするか（管理者として実行する必要があります）、これらの変更を取り消してください。\n"
    "レジストリーは変更されていません。";
constexpr const char* kHiddenTail =
    "\n\nすべてのユーザーの設定をこのユーザーにも使うには、保存先を「このユーザーだけ」にして、その行を削除してください。";
constexpr size_t kListedAtMost = 10;

constexpr const char* kNoUserChoice = "この拡張子には、ユーザーが Windows で選んだプログラムがありません。";

constexpr const char* kLoadQuestion =
    "\n\n読み込みますか? 読み込んだ変更は、一覧に印が付きます。レジストリーに書き込むのは「レジストリ書込」のときです。";
constexpr const char* kNoSchemeChoice = "このプロトコルには、ユーザーが Windows で選んだプログラムがありません。";

constexpr UINT kErrorBox = MB_OK | MB_ICONERROR;
constexpr UINT kInfoBox = MB_OK | MB_ICONINFORMATION;

std::string Quoted(const std::string& name) { return "「" + name + "」"; }

std::string EntryName(EntryKind kind, const std::string& name)
{
    return (kind == EntryKind::Extension ? "拡張子" : kind == EntryKind::Scheme ? "プロトコル" : "クリエーター") +
           Quoted(name);
}

// One line each, the first few of a long list.
std::string Listed(const std::vector<std::string>& lines)
{
    std::string text;
    for (size_t at = 0; at < lines.size() && at < kListedAtMost; ++at)
        text += "\n・" + lines[at];
    if (lines.size() > kListedAtMost)
        text += "\nほか " + std::to_string(lines.size() - kListedAtMost) + " 件";
    return text;
}

std::string MachineOnlyDeleteMessage(const std::string& extension, const RegistryLocation& machine)
{
    return Quoted(extension) + "の関連付けは、すべてのユーザーの関連付け（" + machine.ScriptName +
           "）にだけあるため、保存先が「このユーザーだけ」では削除できません。\n"
           "削除するには、保存先を「すべてのユーザー」にしてください（管理者として実行する必要があります）。";
}

std::string RefusedByLayerMessage(const std::vector<LayerRefusal>& refusals, const RegistryLocation& machine)
{
    std::vector<std::string> lines;
    for (const LayerRefusal& refusal : refusals)
        lines.push_back(EntryName(refusal.kind, refusal.name) +
                        (refusal.subKey.empty() ? "の削除" : "の" + Quoted(refusal.subKey.substr(1)) + "の削除"));
    return "保存先が「このユーザーだけ」では、次の変更を表すことができません（" + machine.ScriptName +
           "にあるため）。" + Listed(lines) + kRefusedLayerTail;
}

std::string HiddenChangesMessage(const std::vector<std::string>& rows, const RegistryLocation& user)
{
    return "すべてのユーザーの関連付けに保存しました。ただし、次の行はこのユーザーの関連付け（" + user.ScriptName +
           "）にも設定があるため、このユーザーには変更前のとおりに表示されます。" + Listed(rows) + kHiddenTail;
}

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
    // The schemes are read again only where they show.
    Empty(Catalog.SchemeMap);
    Catalog.SchemesRead = false;
    if (ShowingSchemes)
        ReadSchemes(Catalog, locations, names);
    host_.CatalogScanned();
    host_.ScanEnds();
    Scanning = false;
}

void AssociationEditor::ShowSchemes(bool schemes)
{
    ShowingSchemes = schemes;
    if (schemes && !Catalog.SchemesRead)
        ReadSchemesNow();
}

void AssociationEditor::ReadSchemesNow()
{
    const AssociationLocations& locations = CurrentAssociationLocations();
    ReadSchemes(Catalog, locations, ReadMergedKeyNames(locations));
}

void AssociationEditor::EditAssociation(const std::string& extension)
{
    if (ShowingSchemes) {
        EditScheme(extension);
        return;
    }
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
    return ReadShownEditFlags(creator, CurrentAssociationLocations());
}

EditLocks AssociationEditor::LocksOf(const std::string& creator) const { return ::LocksOf(EditFlagsOf(creator)); }

AssociationFields AssociationEditor::FillEditDialog(const std::string& extension)
{
    if (const ExtensionEntry* entry = Find(Catalog.ExtensionMap, extension))
        ReadVerbsOf(entry->Creator);
    return FieldsOf(Catalog, extension);
}

void AssociationEditor::ReadVerbsOf(const std::string& creator)
{
    ReadCreatorVerbs(Catalog, CurrentAssociationLocations(), creator);
}

AssociationFields AssociationEditor::ChosenCreatorFields(const std::string& creator)
{
    ReadVerbsOf(creator);
    return ::ChosenCreatorFields(Catalog, creator);
}

bool AssociationEditor::ApplyEditDialog(const AssociationFields& fields)
{
    return ApplyEdit(
        Catalog, fields, [this](const CreatorEntry& creator) { host_.CreatorIconChanged(creator); },
        LocksOf(fields.Creator));
}

void AssociationEditor::AddAssociation()
{
    if (ShowingSchemes) {
        AddScheme();
        return;
    }
    AssociationFields confirmed;
    if (!host_.RunDialog(AssociationDialog::Add, PrepareAddDialog(), EditLocks{}, confirmed))
        return;
    // Adding an extension that is there already changes it, as an edit does.
    const ExtensionEntry* existing = Find(Catalog.ExtensionMap, NormalisedExtensionName(confirmed.Extension));
    if (existing && existing->State != esAdded &&
        !ConfirmDangerousChange(NormalisedExtensionName(confirmed.Extension), GuardedChange::Edit))
        return;
    if (ApplyAddDialog(confirmed))
        WorkflowApplied();
}

bool AssociationEditor::ApplyAddDialog(const AssociationFields& fields)
{
    const AddResult result = ApplyAdd(
        Catalog, fields, [this](const CreatorEntry& creator) { host_.CreatorIconChanged(creator); },
        LocksOf(fields.Creator));
    if (result.newExtension)
        host_.ExtensionAdded(result.extension);
    return result.changed;
}

void AssociationEditor::DeleteAssociation(const std::string& extension)
{
    if (ShowingSchemes) {
        DeleteScheme(extension);
        return;
    }
    const AssociationFields shown = FillDeleteDialog(extension);
    if (RefusedForUserLayer(extension))
        return;
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
    // Deleting the user's own key of the extension lets the machine's show
    // again, which still names its creator: that creator goes only where the
    // user's classes hold it.
    const bool removeCreator =
        Target == SaveTarget::Machine || LayerHoldsKey(CurrentAssociationLocations().User, fields.Creator);
    ApplyDelete(Catalog, fields, removeCreator);
    return true;
}

bool AssociationEditor::RefusedForUserLayer(const std::string& key)
{
    const AssociationLocations& locations = CurrentAssociationLocations();
    // The user's classes cannot hide a key of the machine's.
    if (Target != SaveTarget::User || LayerHoldsKey(locations.User, key) || !LayerHoldsKey(locations.Machine, key))
        return false;
    host_.Ask(MachineOnlyDeleteMessage(key, locations.Machine), kCaptionError, kErrorBox);
    return true;
}

void AssociationEditor::WorkflowApplied()
{
    Modified = true;
    host_.CatalogChanged();
}

void AssociationEditor::ReleaseUserChoice(const std::string& extension)
{
    if (ShowingSchemes) {
        ReleaseSchemeChoice(extension);
        return;
    }
    ExtensionEntry* entry = Find(Catalog.ExtensionMap, extension);
    ReleaseChoiceOf(extension, entry ? &entry->UserChoice : nullptr,
                    CurrentAssociationLocations().FileExts, kNoUserChoice);
}

void AssociationEditor::ReleaseChoiceOf(const std::string& name, std::string* choice, const RegistryLocation& record,
                                        const char* noChoice)
{
    if (!choice || choice->empty()) {
        host_.Ask(noChoice, kCaptionInfo, kInfoBox);
        return;
    }
    const ChoiceRelease result = ::ReleaseUserChoice(name, *choice, record);
    if (result == ChoiceRelease::Cancelled || result == ChoiceRelease::Refused)
        return;
    // After a partial release the row shows the choice that stays.
    *choice = result == ChoiceRelease::PartlyReleased ? ReadUserChoice(name, record) : std::string();
    NotifyAssociationsChanged();
    host_.CatalogChanged();
}

EditLocks AssociationEditor::SchemeLocksOf(const std::string& key) const
{
    const SchemeEntry* scheme = Find(Catalog.SchemeMap, key);
    const std::string name = scheme ? scheme->Name : key;
    return SchemeLocks(name, EditFlagsOf(name));
}

void AssociationEditor::EditScheme(const std::string& key)
{
    if (!Find(Catalog.SchemeMap, key))
        return;
    ReadSchemeVerbs(Catalog, CurrentAssociationLocations(), key);
    AssociationFields confirmed;
    if (host_.RunDialog(AssociationDialog::EditScheme, FieldsOfScheme(Catalog.SchemeMap.at(key)), SchemeLocksOf(key),
                        confirmed) &&
        ApplySchemeDialog(key, confirmed))
        WorkflowApplied();
}

bool AssociationEditor::ApplySchemeDialog(const std::string& key, const AssociationFields& fields)
{
    const std::string icon = Catalog.SchemeMap.at(key).IconSource;
    const bool marked = ApplySchemeEdit(Catalog, key, fields, SchemeLocksOf(key));
    if (const SchemeEntry& scheme = Catalog.SchemeMap.at(key); scheme.IconSource != icon)
        host_.CreatorIconChanged(scheme);
    return marked;
}

void AssociationEditor::AddScheme()
{
    AssociationFields confirmed;
    if (!host_.RunDialog(AssociationDialog::AddScheme, AssociationFields{}, EditLocks{}, confirmed))
        return;
    // The dialog refused a bad name before it closed.
    if (!IsSchemeName(confirmed.Extension))
        return;
    // Adding a scheme that is there changes it: one only shown stays as it is.
    const std::string key = LowerCaseName(confirmed.Extension);
    ReadSchemeVerbs(Catalog, CurrentAssociationLocations(), key);
    const EditLocks locks = SchemeLocksOf(key);
    if (locks.WholeDialog) {
        host_.Ask(LockedSchemeMessage(confirmed.Extension, locks), kCaptionError, kErrorBox);
        return;
    }
    ApplySchemeAdd(Catalog, confirmed, locks);
    host_.CreatorIconChanged(Catalog.SchemeMap.at(key));
    WorkflowApplied();
}

void AssociationEditor::DeleteScheme(const std::string& key)
{
    const SchemeEntry* scheme = Find(Catalog.SchemeMap, key);
    if (!scheme || scheme->State == esDeleted)
        return;
    if (const EditLocks locks = SchemeLocksOf(key); locks.Remove) {
        host_.Ask(LockedSchemeMessage(scheme->Name, locks), kCaptionError, kErrorBox);
        return;
    }
    if (RefusedForUserLayer(scheme->Name))
        return;
    if (host_.Ask("プロトコル" + Quoted(scheme->Name) + "を削除しますか?", kCaptionConfirm,
                  MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
        return;
    ApplySchemeDelete(Catalog, key);
    WorkflowApplied();
}

void AssociationEditor::ReleaseSchemeChoice(const std::string& key)
{
    SchemeEntry* scheme = Find(Catalog.SchemeMap, key);
    ReleaseChoiceOf(scheme ? scheme->Name : key, scheme ? &scheme->UserChoice : nullptr,
                    CurrentAssociationLocations().UrlAssociations, kNoSchemeChoice);
}

NameProblem AssociationEditor::CheckNames(const AssociationFields& fields, bool extensionTyped) const
{
    if (ShowingSchemes)
        return extensionTyped ? CheckTypedSchemeName(fields, SchemeLocksOf(LowerCaseName(fields.Extension)))
                              : NameProblem{};
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
        if (host_.Ask(kNeedsAdministrator, kCaptionError, MB_YESNO | MB_ICONERROR | MB_DEFBUTTON2) == IDYES)
            host_.RestartElevated();
        return false;
    }
    if (!LayerCanExpress())
        return false;
    const AssociationLocations& locations = CurrentAssociationLocations();
    const std::vector<std::string> hiddenRows =
        Target == SaveTarget::Machine ? RowsOf(ChangesTheUserHides(Catalog, locations.User)) : std::vector<std::string>{};
    // A commit deletes whole keys and overwrites values: without a copy
    // the user could restore, it does not start.
    if (!WriteCommitBackup(Catalog, WriteLocation()).written) {
        host_.Ask(kBackupFailedMessage, kCaptionError, kErrorBox);
        return false;
    }
    // Failed entries keep their marks and the list keeps showing them, so
    // the user can commit again or export what is pending.
    if (!CommitMarkedEntries(Catalog, CommitTarget()))
        return false;
    Modified = false;
    if (!hiddenRows.empty())
        host_.Ask(HiddenChangesMessage(hiddenRows, locations.User), kCaptionInfo, kInfoBox);
    return true;
}

WriteTarget AssociationEditor::CommitTarget() const
{
    const AssociationLocations& locations = CurrentAssociationLocations();
    return Target == SaveTarget::User ? WriteTarget(locations.User, locations.Machine) : WriteTarget(locations.Machine);
}

bool AssociationEditor::LayerCanExpress()
{
    const std::vector<LayerRefusal> refusals = RefusedByLayer(Catalog, CommitTarget());
    if (refusals.empty())
        return true;
    host_.Ask(RefusedByLayerMessage(refusals, CurrentAssociationLocations().Machine), kCaptionError, kErrorBox);
    return false;
}

std::vector<std::string> AssociationEditor::RowsOf(const std::vector<HiddenChange>& changes) const
{
    std::set<std::string> rows;
    for (const HiddenChange& change : changes) {
        if (change.kind == EntryKind::Extension || change.kind == EntryKind::Scheme)
            rows.insert(change.name);
        else if (const CreatorEntry* creator = Find(Catalog.CreatorMap, change.name))
            rows.insert(creator->Extensions.begin(), creator->Extensions.end());
    }
    return {rows.begin(), rows.end()};
}

void AssociationEditor::ExportChanges()
{
    if (!Modified) {
        host_.Ask(kNothingPending, kCaptionInfo, kInfoBox);
        return;
    }
    if (!host_.ChooseExportFile(exportPath_))
        return;
    Walk(Catalog.CreatorMap, [this](const std::string& name, const CreatorEntry& creator) {
        if (creator.State != esUnchanged)
            ReadVerbsOf(name);
    });
    Walk(Catalog.SchemeMap, [this](const std::string& key, const SchemeEntry& scheme) {
        if (scheme.State != esUnchanged)
            ReadSchemeVerbs(Catalog, CurrentAssociationLocations(), key);
    });
    SaveScript(BuildChangesScript(Catalog, ExportLocation(), SystemAnsiCodePage()), exportPath_);
}

void AssociationEditor::ExportSelected(const std::string& extension)
{
    if (!host_.ChooseExportFile(exportPath_))
        return;
    if (ShowingSchemes) {
        ReadSchemeVerbs(Catalog, CurrentAssociationLocations(), extension);
        SaveScript(BuildSchemeScript(Catalog, extension, ExportLocation(), SystemAnsiCodePage()), exportPath_);
        return;
    }
    if (const ExtensionEntry* entry = Find(Catalog.ExtensionMap, extension))
        ReadVerbsOf(entry->Creator);
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

void AssociationEditor::ImportScript()
{
    if (host_.ChooseScriptFile(scriptPath_))
        LoadScript(scriptPath_);
}

void AssociationEditor::LoadScript(const std::string& path)
{
    if (Scanning)
        return;
    const ScriptFile file = ReadScriptFile(path);
    if (!file.File) {
        host_.Ask(ScriptFileMessage(path, file), kCaptionError, kErrorBox);
        return;
    }
    // Staged on a copy: the list shows none of it until the user has seen
    // the report and agreed, and a refusal leaves the catalog as it was.
    AssociationCatalog staged = Catalog;
    const ScriptLoad load = StageScriptChanges(staged, *file.File, RegistryReads(CurrentAssociationLocations()));
    const std::string report = ScriptLoadReport(path, load, Target == SaveTarget::User);
    if (load.Changes() == 0) {
        host_.Ask(report, kCaptionInfo, kInfoBox);
        return;
    }
    // A change to what runs programs is taken only by a deliberate OK.
    const UINT defaultButton = load.DangerousExtensions.empty() ? MB_DEFBUTTON1 : MB_DEFBUTTON2;
    if (host_.Ask(report + kLoadQuestion, kCaptionConfirm, MB_OKCANCEL | MB_ICONQUESTION | defaultButton) != IDOK)
        return;
    Catalog = std::move(staged);
    for (const std::string& extension : load.AddedExtensions)
        host_.ExtensionAdded(extension);
    for (const std::string& creator : load.NewIcons)
        if (const CreatorEntry* entry = Find(Catalog.CreatorMap, creator))
            host_.CreatorIconChanged(*entry);
    for (const std::string& scheme : load.NewSchemeIcons)
        if (const SchemeEntry* entry = Find(Catalog.SchemeMap, scheme))
            host_.CreatorIconChanged(*entry);
    WorkflowApplied();
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
