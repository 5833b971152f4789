#pragma once
#include <windows.h>

// Opens a mailto: or web link with the system's default action, owned by `owner`.
// Failures are the shell's to show.
void OpenLink(const char* link, HWND owner);
