#pragma once
#include <windows.h>

// The primary monitor's work area: the screen without the taskbar.
RECT PrimaryWorkArea();

// The work area of the monitor that holds most of `rect` (or is nearest to it). Systems
// without multi-monitor support (Windows 95, NT4) have the primary one only.
RECT WorkAreaOf(const RECT& rect);

// `rect` moved, its size kept, so that it lies inside `area` as far as it fits: its top
// left corner stays visible whatever its size.
RECT KeptInside(const RECT& rect, const RECT& area);
