#pragma once
#include <windows.h>

// True on Windows NT major.minor or later (5.1: XP, 6.0: Vista). Windows 9x is never later:
// it reports 4.x and sets the top bit.
inline bool WindowsNtAtLeast(BYTE major, BYTE minor) {
    const DWORD version = GetVersion();
    if (version & 0x80000000) return false;
    const BYTE runningMajor = LOBYTE(LOWORD(version));
    return runningMajor > major || (runningMajor == major && HIBYTE(LOWORD(version)) >= minor);
}
