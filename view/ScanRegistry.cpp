#include "app/MainForm.h"

#include <map>
#include <utility>

#include "ui/MessageBox.h"
#include "model/AssociationCatalog.h"
#include "model/CatalogScan.h"
#include "view/ListControl.h"
#include "view/ProgressForm.h"
#include "view/ShellServices.h"

namespace {

constexpr const char* kDiscardQuestion =
    "変更した情報があります。\n変更した情報を破棄してレジストリーを読み込みますか。";

// Moves the progress bar and lets waiting window messages run. The bar only
// shows whole steps, and the messages are let through at least every few
// milliseconds, which looks the same to the user as once per item but costs
// a fraction on a registry with tens of thousands of keys.
class ScanProgressReporter {
public:
    explicit ScanProgressReporter(TForm3* form) : form_(form) {}

    // position = index / count * span + offset, truncated toward zero.
    void Report(size_t index, size_t count, double span, double offset)
    {
        const int position = static_cast<int>(static_cast<double>(index) / static_cast<double>(count) * span + offset);
        const ULONGLONG now = GetTickCount64();
        if (position == position_ && now - lastPump_ < kPumpIntervalMs)
            return;
        if (position != position_ && form_)
            form_->SetPosition(position);
        position_ = position;
        lastPump_ = now;
        PumpPendingMessages();
    }

private:
    static constexpr ULONGLONG kPumpIntervalMs = 15;

    static void PumpPendingMessages()
    {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                // Leave the quit for the message loop that owns it.
                PostQuitMessage(static_cast<int>(msg.wParam));
                break;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }

    TForm3* form_;
    int position_ = -1;
    ULONGLONG lastPump_ = 0;
};

// Icons already taken from the shell, by expanded file and number: creators
// that share an icon share its image-list position.
using IconCache = std::map<std::pair<std::string, int>, int>;

} // namespace

void TForm1::ReloadFromRegistry(bool notifyShell)
{
    if (Scanning)
        return;
    if (Modified && ShowMessage(kDiscardQuestion, kCaptionConfirm, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    if (notifyShell)
        NotifyAssociationsChanged();
    ResetImageLists();
    ScanRegistry();
    FillCreatorChooser();
    ClearDetailPanel();
    Modified = false;
}

void TForm1::ScanRegistry()
{
    Scanning = true;
    AssociationCatalog& catalog = Catalog();
    ScanProgressReporter progress(Form3);

    ShowWindow(ListView1, SW_HIDE);
    SendMessageA(ListView1, WM_SETREDRAW, FALSE, 0);
    // The hidden list gets no key or mouse message until it is shown again,
    // so its subclasses can be off while its rows are replaced.
    SuspendListSubclasses();
    Rows.clear();
    RowsChanged();
    if (Form3)
        Form3->ShowProgress();

    ReadExtensionKeys(catalog, ReadClassesRootKeyNames(),
                      [&](size_t i, size_t n) { progress.Report(i, n, 12.5, 0); });
    ReadCreators(catalog, [&](size_t i, size_t n) { progress.Report(i, n, 12.5, 12.5); });

    IconCache icons;
    const size_t creatorCount = catalog.CreatorMap.size();
    size_t index = 0;
    for (auto& [name, creator] : catalog.CreatorMap) {
        progress.Report(index++, creatorCount, 50, 25);
        creator.ImageIndex = DefaultIconIndex;
        if (creator.IconSource.empty())
            continue;
        const int number = IconNumberToExtract(creator.IconNumber);
        auto [cached, isNew] = icons.try_emplace({ExpandEnvironmentText(creator.IconFile), number}, DefaultIconIndex);
        if (isNew) {
            // The shell call expands the name itself; handing it the expanded
            // one would expand a second time.
            ScopedIcon icon(ExtractIconFromFile(creator.IconFile, number));
            if (icon)
                cached->second = AppendImage(icon.Get());
        }
        creator.ImageIndex = cached->second;
    }

    const size_t extensionCount = catalog.ExtensionMap.size();
    Rows.reserve(extensionCount);
    index = 0;
    for (const auto& [key, extension] : catalog.ExtensionMap) {
        progress.Report(index++, extensionCount, 25, 75);
        Rows.push_back(RowOf(key, extension));
    }
    RowsChanged();

    ResumeListSubclasses();
    if (Form3)
        Form3->HideProgress();
    SendMessageA(ListView1, WM_SETREDRAW, TRUE, 0);
    ShowWindow(ListView1, SW_SHOW);
    Scanning = false;
}
