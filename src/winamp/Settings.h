#pragma once

// Where the program remembers Winamp.exe, per user.
constexpr const char* SettingsKey = "Software\\Orvalle Software\\Jukelet";
constexpr const char* WinampExeValue = "WinampExe";

// Winamp's file association, read only: "path,iconIndex".
constexpr const char* WinampAssociationKey = "Software\\CLASSES\\Winamp.File\\DefaultIcon";
