// The shell and kernel calls through which the program gets icons, tells
// the shell that associations changed, opens its help page and finds the
// system's shell library. The rest of the program calls them by what they do.
#pragma once
#include <windows.h>
#include <string>

// Icon `number` of `file` (a negative number is a resource id; -1 asks the
// shell for the icon count instead, so callers that want the first icon pass
// 0). Environment variables in the name are expanded just before the call,
// as icon sources are commonly stored as %SystemRoot%\... .
// nullptr when the shell gives no icon or reports that the file holds none.
// The caller owns the icon (ScopedIcon).
HICON ExtractIconFromFile(const std::string& file, int number);

// The icon number to extract for an icon source's number: -1 stands for
// the file's first icon, while the extraction would answer the icon count.
inline int IconNumberToExtract(int number) { return number == -1 ? 0 : number; }

// The number of icons in file (expanded as above); 0 when it holds none or
// cannot be read.
int IconCountOf(const std::string& file);

// Tells the shell that file associations changed; the count of these
// notifications so far lets a test see them, as the shell under test cannot.
void NotifyAssociationsChanged();
unsigned AssociationNotificationCount();

// Opens readme.htm beside the executable with its associated program; a
// missing page or program is deliberately not reported.
void OpenHelpDocument(HWND owner);


// The system directory's SHELL32.DLL, whose icon 0 is the default icon.
std::string SystemShellLibraryPath();

// file with its %NAME% environment variables expanded; unchanged when the
// expansion fails.
std::string ExpandEnvironmentText(const std::string& file);

// A menu text as the shell shows it: an indirect "@file,-id" string loaded
// from its file; any other text, or one that cannot be loaded, as it is.
std::string ResolveIndirectText(const std::string& text);
