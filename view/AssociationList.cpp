#include "app/MainForm.h"

void TForm1::ResetImageLists() {}
void TForm1::ShowSelectedDetail() {}
void TForm1::ClearDetailPanel() {}
void TForm1::RefreshListItems() {}
void TForm1::FillCreatorChooser() {}
void TForm1::CreateListColumns() {}
