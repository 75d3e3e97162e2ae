// The main window's command "既定の関連付けをXMLに保存": asks whose
// associations, asks for the file, writes it whole and tells which
// extensions it left out.
#pragma once
#include <windows.h>

#include <string>

#include "model/AssociationCatalog.h"

// selectedKey is the extension of the selected row, empty without one.
void SaveDefaultAssociationsFile(HWND owner, const AssociationCatalog& catalog, const std::string& selectedKey);
