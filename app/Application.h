// Start-up: the single-instance guard, the windows, the first load and the
// message loop.
#pragma once
#include "app/SingleInstanceGuard.h"

inline constexpr const char* kAlreadyRunningMessage =
    "morvidoがすでに動作しています。morvidoは二重起動できません。";

// Runs the program to its end; returns the process exit code.
int RunMorvido();

class TForm1;
class TAssociationForm;
class TForm6;
class TForm7;
// Hands every window the others it opens or fills, and gives the edit and
// add dialogs their check of typed names.
void ConnectForms(TForm1& form1, TAssociationForm& form5, TForm6& form6, TForm7& form7, TAssociationForm& form10,
                  TAssociationForm& form11);
