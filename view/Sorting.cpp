#include "app/MainForm.h"

void TForm1::SortByColumn(int) {}
