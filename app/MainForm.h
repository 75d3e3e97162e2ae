// The main window: detail panel with toolbar, association list, status bar.
// It keeps its controls, their layout and the dispatch of its messages; the
// catalog and the commands live in its editor, the rows in its list.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <array>
#include <map>
#include <string>

#include "app/AssociationEditor.h"
#include "ui/ScopedGdi.h"
#include "ui/StatusHints.h"
#include "ui/Window.h"
#include "view/AssociationListView.h"
#include "view/DetailPanel.h"
#include "view/ProgressForm.h"

inline constexpr const char* kMainFormClass = "TForm1";

class SingleInstanceGuard;
class TForm6;
class TForm7;
class TAssociationForm;

class TForm1 : public Window<TForm1>, private EditorHost {
public:
    TForm1() = default;
    TForm1(const TForm1&) = delete;
    TForm1& operator=(const TForm1&) = delete;
    ~TForm1();

    // Creates the (hidden) window with all its controls; false on failure.
    bool Create();
    // Runs the keyboard shortcuts for a message of the message loop; true
    // when the message was one and has been handled.
    bool TranslateShortcut(MSG& msg);

    AssociationEditor& Editor() { return editor_; }
    AssociationListView& List() { return list_; }
    DetailPanel& Detail() { return detail_; }

    // Windows made at start-up that this one shows.
    TForm3* Form3 = nullptr;            // scan progress
    TAssociationForm* Form5 = nullptr;  // edit dialog
    TForm6* Form6 = nullptr;            // about
    TForm7* Form7 = nullptr;            // creator chooser
    TAssociationForm* Form10 = nullptr; // delete dialog
    TAssociationForm* Form11 = nullptr; // add dialog
    // Let go while an elevated copy starts; none in tests.
    SingleInstanceGuard* InstanceGuard = nullptr;

    // Controls. Image2 (placeholder) and Image3 (deleted marker) are never
    // shown: they are the pictures other controls borrow.
    HWND Panel1 = nullptr;
    HWND Panel2 = nullptr;
    HICON Image2 = nullptr;
    HICON Image3 = nullptr;
    HWND StatusBar1 = nullptr;
    // Toolbar buttons by number: SpeedButton[1] to SpeedButton[12] (0 unused).
    std::array<HWND, 13> SpeedButton{};
    HWND ToolTip1 = nullptr; // tooltips of the toolbar buttons
    HMENU PopupMenu1 = nullptr; // context menu of the list

    // The commands that act on the selected row, and the reload.
    void ReloadFromRegistry(bool notifyShell) { editor_.ReloadFromRegistry(notifyShell); }
    void EditAssociation();
    void AddAssociation() { editor_.AddAssociation(); }
    void DeleteAssociation();
    void ShowSelectedDetail();
    // Checks the choice in the menu and says it in the status bar.
    void SetSaveTarget(SaveTarget target);
    // Shows the URL schemes in the list instead of the extensions, or the
    // extensions again; the menu item's tick follows.
    void ShowProtocols(bool schemes);
    int ViewStyle() const { return list_.ViewStyle(); }
    void SetViewStyle(int style) { list_.SetViewStyle(style); }

private:
    friend class Window<TForm1>;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // Events.
    bool FormCreate();
    void FormDestroy();
    void FormResize();
    bool FormCloseQuery();
    void FormDpiChanged(UINT dpi, const RECT& suggested);
    void CommandReceived(UINT id, UINT code);
    LRESULT NotifyReceived(const NMHDR& header);
    void ContextMenuRequested(HWND source, LPARAM position);
    LRESULT ControlColorRequested(HDC dc);
    bool CursorMoved(HWND target);
    void ListView1KeyUp(WORD key);
    void FilesDropped(HDROP drop);

    // Building the window.
    bool CreateControls();
    void LoadPictures();
    void ApplyFontsAndPictures();
    void LayoutControls();
    void LoadSettings();
    void SaveSettings();

    // Commands: every menu item, shortcut and toolbar button runs one.
    void RunCommand(UINT id);
    void CommitCommand();
    // Asks first when changes would be lost.
    void RestartCommand();
    // Runs the editor's command on the selected row's extension, if any.
    void OnSelected(void (AssociationEditor::*command)(const std::string& extension));

    void ShowChooserRows();
    // The rows of the view the editor shows, from the catalog.
    void FillViewRows();

    // What the editor shows and asks.
    int Ask(const std::string& text, const char* caption, UINT flags) override;
    void ScanBegins() override;
    void ScanProgress(size_t index, size_t count, double span, double offset) override
    {
        progress_.Report(index, count, span, offset);
    }
    void CatalogScanned() override;
    void ScanEnds() override;
    void CatalogChanged() override;
    void ExtensionAdded(const std::string& key) override { list_.AddRow(editor_.Catalog, key); }
    void CreatorIconChanged(const CreatorEntry& creator) override { list_.CreatorIconChanged(creator); }
    bool RunDialog(AssociationDialog dialog, const AssociationFields& shown, const EditLocks& locks,
                   AssociationFields& confirmed) override;
    bool ChooseExportFile(std::string& path) override;
    bool ChooseScriptFile(std::string& path) override;
    void RestartElevated() override;

    AssociationEditor editor_{*this};
    AssociationListView list_;
    DetailPanel detail_;
    UINT dpi_ = 96;
    ScopedFont font_;
    std::array<ScopedIcon, 13> glyphs_;
    ScopedIcon image2_, image3_;
    ScopedMenu popupMenu_;
    ScopedAccelerators accelerators_;
    StatusHints hints_;
    ScanProgressReporter progress_;
    // The elevated copy has started: the window closes without asking.
    bool restarting_ = false;
};
