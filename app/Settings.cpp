#include "app/MainForm.h"

void TForm1::LoadSettings() { SortDirection.fill(-1); }
void TForm1::SaveSettings() {}
