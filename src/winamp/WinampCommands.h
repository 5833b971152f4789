#pragma once
#include <windows.h>

// Winamp's published WM_COMMAND identifiers.
enum WinampCommand : WPARAM {
    WinampPrevious = 40044,
    WinampPlay = 40045,
    WinampPause = 40046,
    WinampStop = 40047,
    WinampNext = 40048,
    WinampClose = 40001,
};

constexpr const char* WinampWindowClass = "Winamp v1.x";
