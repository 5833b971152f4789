#pragma once
#include <windows.h>

#include <optional>

#include "runtime/String.h"

constexpr const char* StartupSelectorTitle = "Choose the program to run...";
constexpr const char* BrowseSelectorTitle = "Locate Winamp.exe";

// Shows the Open dialog filtered to WINAMP.EXE. The chosen path, trimmed of
// surrounding spaces and made whole, or nothing when the user cancelled (or the dialog
// failed, or the path cannot be made whole). The file is not required to exist.
// A path whose letters the code page could not carry is explained and asked for again.
std::optional<String> ChooseWinampFile(HWND owner, const char* title);
