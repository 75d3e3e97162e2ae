// What the user does after the scan, on the same machine-sized classes:
// one edit applied, sorts, a commit of many marked entries and their export,
// each set against what the platform itself needs for the same work.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

class TForm1;
class TAssociationForm;

struct EditingResults {
    std::vector<double> edit;     // (e) one edit, from OK to the refreshed window
    size_t editRows = 0;          // rows of the edited creator
    std::vector<double> sorts[6][2]; // (f) by column, ascending and descending
    std::vector<double> commitFloor, commit, commitWithBackup; // (g)
    std::vector<double> exportScript, regExport;               // (h)
    size_t marked = 0;            // entries the commit and the export handle
    long long exportBytes = 0, regExportBytes = 0;
    size_t commitErrors = 0;
};

// Runs every measurement `runs` times on the loaded main window, whose
// HKEY_CLASSES_ROOT is the seeded set. The commit works on a copy of the
// keys it touches below HKEY_CURRENT_USER\<scratchPath>, restored before
// each run; the seeded set itself is left as it was.
EditingResults MeasureEditing(TForm1& form, TAssociationForm& editForm, int runs, const std::string& scratchPath);
