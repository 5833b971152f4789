#pragma once
#include <windows.h>

#include <string>

// "Version major.minor.revision" of a file version; the build field is not shown.
std::string VersionLine(DWORD fileVersionMS, DWORD fileVersionLS);

// The version line of the running program, read from its own version resource;
// "" when it has none.
std::string OwnVersionLine();
