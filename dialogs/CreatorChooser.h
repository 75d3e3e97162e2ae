// The creator chooser: lists the associations that have a creator and
// hands the chosen one's creator back to the dialog that opened it.
// Created once at start-up; the main window refills its rows.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/AssociationFields.h"

#include "ui/Dialog.h"
#include "view/ListRow.h"

class TForm7 : public Dialog<TForm7> {
public:
    TForm7();
    // Shows the chooser modally over the dialog that calls it, which owns
    // it for this showing; true when a creator was chosen, whose part of
    // the dialog is then in `creator`.
    bool Choose(HWND caller, AssociationFields& creator);

    // Shows these rows, with images from these lists (the main window's,
    // so image numbers mean the same icons). The rows stay the caller's and
    // must live until the next call; no row is selected afterwards.
    void ShowRows(const std::vector<ListRow>* rows, HIMAGELIST large, HIMAGELIST small);
    int RowCount() const;

    // The creator's part of the dialog for the chosen creator's name.
    std::function<AssociationFields(const std::string& creator)> CreatorFields;

    HWND ListView1 = nullptr;
    HWND Button1 = nullptr, Button2 = nullptr;

private:
    friend class Dialog<TForm7>;
    INT_PTR HandleDialogMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void FormCreate();
    void LayoutControls();
    void ListView1DblClick();
    void Button1Click();
    void Button2Click();
    void ListView1GetDispInfo(NMLVDISPINFOA& info) const;
    void TakeSelectedCreator();
    int SelectedRow() const;

    const std::vector<ListRow>* rows_ = nullptr;
    std::optional<std::string> chosen_; // the chosen row's creator
};
