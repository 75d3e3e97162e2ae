// The main window's side of the edit, add and delete workflows: it fills a
// dialog from the selected row, shows it, lets the rules apply what the
// user confirmed, and refreshes the list afterwards.
#include "app/MainForm.h"
#include "dialogs/AssociationForm.h"
#include "dialogs/Workflows.h"
#include "model/AssociationCatalog.h"
#include "view/ListControl.h"

namespace {
// The selected row, or nothing.
const ListRow* Selected(HWND list, const std::vector<ListRow>& rows)
{
    const int row = SelectedRow(list);
    return row >= 0 && static_cast<size_t>(row) < rows.size() ? &rows[static_cast<size_t>(row)] : nullptr;
}
} // namespace

void TForm1::EditAssociation()
{
    if (!Form5 || SelectedRow(ListView1) < 0)
        return;
    FillEditDialog();
    if (!Form5->ShowModal())
        return;
    if (ApplyEditDialog())
        WorkflowApplied();
}

void TForm1::FillEditDialog()
{
    const ListRow* row = Selected(ListView1, Rows);
    if (!row)
        return;
    AssociationCatalog& catalog = Catalog();
    const AssociationFields fields = FieldsOf(catalog, row->Caption);
    const int image =
        fields.Creator.empty() ? DefaultIconIndex : FindOrAdd(catalog.CreatorMap, fields.Creator).ImageIndex;
    ShowInDialog(*Form5, fields, image);
}

bool TForm1::ApplyEditDialog()
{
    return ApplyEdit(Catalog(), Form5->ReadFields(),
                     [this](const CreatorEntry& creator) { return LoadCreatorImage(creator); });
}

void TForm1::AddAssociation()
{
    if (!Form11)
        return;
    PrepareAddDialog();
    if (!Form11->ShowModal())
        return;
    if (ApplyAddDialog())
        WorkflowApplied();
}

void TForm1::PrepareAddDialog()
{
    ShowInDialog(*Form11, AssociationFields{}, DefaultIconIndex);
}

bool TForm1::ApplyAddDialog()
{
    AssociationCatalog& catalog = Catalog();
    const AddResult result = ApplyAdd(catalog, Form11->ReadFields(),
                                      [this](const CreatorEntry& creator) { return LoadCreatorImage(creator); });
    if (result.newExtension) {
        // One new row, then the whole list in extension order, whatever the
        // user sorted by last.
        Rows.push_back(RowOf(result.extension, FindOrAdd(catalog.ExtensionMap, result.extension)));
        RowsChanged();
        SortByExtension();
    }
    return result.changed;
}

void TForm1::DeleteAssociation()
{
    if (!Form10 || SelectedRow(ListView1) < 0)
        return;
    FillDeleteDialog();
    if (!Form10->ShowModal())
        return;
    ApplyDeleteDialog();
    WorkflowApplied();
}

// What every workflow that changed the catalog ends with.
void TForm1::WorkflowApplied()
{
    Modified = true;
    RefreshListItems();
    FillCreatorChooser();
    ShowSelectedDetail();
}

void TForm1::ShowInDialog(TAssociationForm& dialog, const AssociationFields& fields, int image)
{
    ScopedIcon picture(ImageList_GetIcon(ImageList1, image, ILD_NORMAL));
    dialog.ShowFields(fields, picture.Get());
}

void TForm1::FillDeleteDialog()
{
    const ListRow* row = Selected(ListView1, Rows);
    if (!row)
        return;
    const AssociationFields fields = FieldsOf(Catalog(), row->Caption);
    const int image = fields.Creator.empty() ? DefaultIconIndex : row->Image;
    ShowInDialog(*Form10, fields, image);
}

bool TForm1::ApplyDeleteDialog()
{
    ApplyDelete(Catalog(), Form10->ReadFields());
    return true;
}
