#pragma once
#include "runtime/String.h"

// The three strings every part of the program shares for the life of the process.
extern String WinampPath;  // full path of Winamp.exe, once located
extern String LinksPath;   // program folder + "\Links", no trailing backslash
extern String IconsPath;   // program folder + "\Icons", no trailing backslash

constexpr const char* AppTitle = "Jukelet";
