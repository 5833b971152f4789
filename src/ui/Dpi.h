#pragma once
#include <windows.h>

// The DPI every window of this system-DPI-aware program is shown at.
UINT ScreenDpi();
