// The editor behind the main window: it owns the catalog, knows whether it
// holds uncommitted changes and whether a scan is running, and runs every
// command that reads, changes or saves it. It has no window of its own:
// what it must show or ask goes through its host.
#pragma once
#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

#include "model/AssociationFields.h"
#include "model/CatalogEdits.h"
#include "model/AssociationCatalog.h"
#include "model/EditFlags.h"
#include "model/RegistryLocation.h"
#include "persist/RegistryCommit.h"

struct RegScript;

// The scheme variants show the same dialog with a scheme's name in the
// extension's place.
enum class AssociationDialog { Edit, Add, Delete, EditScheme, AddScheme };

// Where a commit writes: the user's own classes, or the machine's, which
// every user sees and only an administrator may change.
enum class SaveTarget { User, Machine };

// What the editor must show or ask; the main window answers.
class EditorHost {
public:
    // A message box; the button the user chose.
    virtual int Ask(const std::string& text, const char* caption, UINT flags) = 0;
    // A scan begins: the rows go and the progress shows.
    virtual void ScanBegins() = 0;
    // Item index of count of a pass that covers span percent from offset.
    virtual void ScanProgress(size_t index, size_t count, double span, double offset) = 0;
    // The catalog has been read anew: the rows and icons follow it.
    virtual void CatalogScanned() = 0;
    virtual void ScanEnds() = 0;
    // A workflow changed the catalog: the list, the chooser and the detail
    // panel show its marks.
    virtual void CatalogChanged() = 0;
    virtual void ExtensionAdded(const std::string& key) = 0;
    virtual void CreatorIconChanged(const CreatorEntry& creator) = 0;
    // Shows the dialog with these values; true, with what the user
    // confirmed, when it closed with OK.
    // locks: what the creator's EditFlags keep from being edited.
    virtual bool RunDialog(AssociationDialog dialog, const AssociationFields& shown, const EditLocks& locks,
                           AssociationFields& confirmed) = 0;
    // The file an export goes to; false when the user cancels.
    virtual bool ChooseExportFile(std::string& path) = 0;
    // The registry script to load; false when the user cancels.
    virtual bool ChooseScriptFile(std::string& path) = 0;
    // Starts the program again as an administrator and closes the window,
    // without asking about the changes again.
    virtual void RestartElevated() = 0;

protected:
    ~EditorHost() = default;
};

class AssociationEditor {
public:
    explicit AssociationEditor(EditorHost& host) : host_(host) {}
    AssociationEditor(const AssociationEditor&) = delete;
    AssociationEditor& operator=(const AssociationEditor&) = delete;

    AssociationCatalog Catalog;
    // Uncommitted changes exist in the catalog.
    bool Modified = false;
    // A scan is running; commands that would start another or change the
    // catalog wait until it has ended.
    bool Scanning = false;
    SaveTarget Target = SaveTarget::Machine;
    // The list shows the URL schemes instead of the extensions; the row
    // commands then work on the scheme of the row.
    bool ShowingSchemes = false;
    // Switches the view; the schemes are read the first time they show.
    void ShowSchemes(bool schemes);
    // The layer a commit writes to, and the keys an export names for it: the
    // merged view's for the machine, so that the script reads as it always
    // did, and the user's own for a user without administrator rights.
    const RegistryLocation& WriteLocation() const;
    const RegistryLocation& ExportLocation() const;

    // Asks before discarding changes; tells the shell first when asked to.
    void ReloadFromRegistry(bool notifyShell);
    void ScanRegistry();

    // The workflows on the extension of a row.
    void EditAssociation(const std::string& extension);
    AssociationFields FillEditDialog(const std::string& extension);
    bool ApplyEditDialog(const AssociationFields& fields);
    void AddAssociation();
    AssociationFields PrepareAddDialog() const { return AssociationFields{}; }
    bool ApplyAddDialog(const AssociationFields& fields);
    void DeleteAssociation(const std::string& extension);
    AssociationFields FillDeleteDialog(const std::string& extension);
    bool ApplyDeleteDialog(const AssociationFields& fields);
    // Marks the catalog changed and lets the host show the changes.
    void WorkflowApplied();
    // Deletes the extension's user choice after asking, so that the classes
    // apply again.
    void ReleaseUserChoice(const std::string& extension);
    // Typed names checked on OK of the edit and add dialogs.
    NameProblem CheckNames(const AssociationFields& fields, bool extensionTyped) const;
    // The creator's verbs, read once, before anything shows or saves them.
    void ReadVerbsOf(const std::string& creator);
    // The creator's part of the dialog for the creator chooser's pick.
    AssociationFields ChosenCreatorFields(const std::string& creator);
    // What the creator's EditFlags lock, from the layer whose values Windows
    // shows for the key as it is now.
    EditLocks LocksOf(const std::string& creator) const;

    // The workflows on the scheme of a row in the protocol view.
    void EditScheme(const std::string& key);
    bool ApplySchemeDialog(const std::string& key, const AssociationFields& fields);
    void AddScheme();
    void DeleteScheme(const std::string& key);
    void ReleaseSchemeChoice(const std::string& key);
    // What a scheme's EditFlags, or its being one Windows keeps, lock.
    EditLocks SchemeLocksOf(const std::string& key) const;

    // Backs up, then writes the marked entries; true when all succeeded.
    bool CommitChanges();
    void ExportChanges();
    void ExportSelected(const std::string& extension);
    // Loads a registry script for review: tells what it would change and
    // what it leaves out, and stages the changes only once the user agrees.
    // Nothing is written before the commit.
    void ImportScript();
    void LoadScript(const std::string& path);
    // Whether the window may close now: asks to commit pending changes.
    bool CloseQuery();

private:
    DWORD EditFlagsOf(const std::string& creator) const;
    // Refuses with a message a delete for the user alone of a key only the
    // machine's classes hold; true when refused.
    bool RefusedForUserLayer(const std::string& key);
    // Deletes a choice below record after asking; choice is the row's, or
    // none (told noChoice, as is an empty one), and follows what stays.
    void ReleaseChoiceOf(const std::string& name, std::string* choice, const RegistryLocation& record,
                         const char* noChoice);
    // The schemes, read with the key names of both layers.
    void ReadSchemesNow();
    // The target's layer, and below the user's the machine's.
    WriteTarget CommitTarget() const;
    // Refuses with a message what the target's layer cannot express.
    bool LayerCanExpress();
    // The rows that show these entries: an extension's own, a creator's
    // extensions'.
    std::vector<std::string> RowsOf(const std::vector<HiddenChange>& changes) const;
    void SaveScript(const RegScript& script, const std::string& path);

    EditorHost& host_;
    std::string exportPath_; // the file chosen last, where the next export dialog starts
    std::string scriptPath_; // the script loaded last, where the next open dialog starts
};
