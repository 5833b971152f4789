#pragma once
#include "runtime/String.h"

// Where the program remembers Winamp.exe, per user.
constexpr const char* CompanyKey = "Software\\Orvalle Software";
constexpr const char* SettingsKey = "Software\\Orvalle Software\\Jukelet";
constexpr const char* WinampExeValue = "WinampExe";

// Winamp's file association, read only: "path,iconIndex".
constexpr const char* WinampAssociationKey = "Software\\CLASSES\\Winamp.File\\DefaultIcon";

// Another program's registry link at the company key or the settings key, where nothing is
// written or deleted, as "HKEY_CURRENT_USER\<path>"; "" when there is none.
String SettingsBlockingLink();

// Removes this user's settings, and the company key when nothing else is left in it; never
// through a registry link. True when no settings of the program are left.
bool RemoveSettings();
