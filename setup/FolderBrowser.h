#pragma once
#include <windows.h>

#include "runtime/String.h"

// The shell's folder browser, opened at `start` where that folder exists: the folder the
// user chose, or "" when they cancelled.
String BrowseForFolder(HWND owner, const char* title, const String& start);
