#pragma once
#include <windows.h>

// The DPI the window is shown at (the system's, before Windows 10's per-monitor API).
UINT DpiOf(HWND window);
