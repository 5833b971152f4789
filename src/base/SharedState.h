#pragma once
#include <string>

// The three strings every part of the program shares for the life of the process.
extern std::string WinampPath;  // full path of Winamp.exe, once located
extern std::string LinksPath;   // program folder + "\Links", no trailing backslash
extern std::string IconsPath;   // program folder + "\Icons", no trailing backslash

constexpr const char* AppTitle = "Jukelet";
