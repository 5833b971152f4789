#pragma once
#include <windows.h>

#include "runtime/String.h"

// "Version major.minor.revision" of a file version; the build field is not shown.
String VersionLine(DWORD fileVersionMS, DWORD fileVersionLS);

// The version line of the running program, read from its own version resource;
// "" when it has none.
String OwnVersionLine();
