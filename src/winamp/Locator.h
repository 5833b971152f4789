#pragma once
#include <windows.h>

#include "runtime/String.h"

// Gives the window that owns the locator's messages and file selector; asked only when one
// must be shown, so a plain toolbar click creates no window.
class DialogOwner {
public:
    virtual HWND OwnerWindow() = 0;

protected:
    ~DialogOwner() = default;
};

constexpr const char* NotFoundMessage =
    "Winamp.exe not found!\r\rPlease locate Winamp.exe in the following file selector...";
constexpr const char* NotLocatedWarning = "Your toolbar buttons will not work unless you locate Winamp.exe";

// Leaves WinampPath set and saved and returns true, or returns false when the user
// refused to locate Winamp.exe (the program must then end).
bool LocateWinamp(DialogOwner& owner);

// Remembers path as this user's Winamp.exe; false when it could not, another program's
// registry link standing where the settings belong among the reasons.
bool SaveWinampPath(std::string_view path);
// The same, and when a link stood in the way, tells the user which.
void SaveWinampPathOrSayWhy(HWND owner, std::string_view path);

// Asks the user for Winamp.exe at start-up; false when the user refused.
bool BrowseForWinamp(DialogOwner& owner);

// The executable's path inside an association's icon value, such as
// "C:\Program Files\Winamp\winamp.exe,1" or "\"C:\...\winamp.exe\",-101".
String ParseAssociationPath(std::string_view value);
