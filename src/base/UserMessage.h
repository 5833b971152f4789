#pragma once
#include <windows.h>

// A message box, after the common controls it is drawn with are loaded: every box of the
// program goes through here.
int ShowMessage(HWND owner, const char* text, const char* title, UINT style);
