#include "app/MainForm.h"

void TForm1::ReloadFromRegistry(bool /*notifyShell*/) { Modified = false; }
void TForm1::ScanRegistry() {}
