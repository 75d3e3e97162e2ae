// The main window: detail panel, toolbar, association list, status bar.
#pragma once
#include <windows.h>

#include "app/Window.h"

inline constexpr const char* kMainFormClass = "TForm1";

class TForm1 : public Window<TForm1> {
public:
    // Creates the (hidden) window; false when the window cannot be created.
    bool Create();

    // Uncommitted changes exist in the catalog.
    bool Modified = false;

    void ReloadFromRegistry(bool notifyShell);

private:
    friend class Window<TForm1>;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void FormCreate();
    bool FormCloseQuery();
};
