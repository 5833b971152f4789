#pragma once
#include <windows.h>

// What each Windows takes, decided from GetVersion's answer (`version`) alone, so that every
// branch can be checked against the answers of 95, NT 4.0, 2000, XP, Vista and 64-bit Windows.

// Windows 95, 98 or ME: they report 4.x and set the top bit.
constexpr bool IsWindows9x(DWORD version) { return (version & 0x80000000) != 0; }

// True on Windows NT major.minor or later (5.0: 2000, 5.1: XP, 6.0: Vista). Windows 9x is
// never later.
constexpr bool WindowsNtAtLeast(DWORD version, BYTE major, BYTE minor) {
    const BYTE runningMajor = LOBYTE(LOWORD(version));
    const BYTE runningMinor = HIBYTE(LOWORD(version));
    return !IsWindows9x(version) && (runningMajor > major || (runningMajor == major && runningMinor >= minor));
}

// ClearType text (CLEARTYPE_QUALITY), and static controls that stretch their image to the
// control (SS_REALSIZECONTROL): XP on.
constexpr bool HasClearType(DWORD version) { return WindowsNtAtLeast(version, 5, 1); }
constexpr bool StretchesStaticImages(DWORD version) { return WindowsNtAtLeast(version, 5, 1); }

// Opening a registry link itself (REG_OPTION_OPEN_LINK): Vista on.
constexpr bool OpensRegistryLinks(DWORD version) { return WindowsNtAtLeast(version, 6, 0); }

// The Local\ and Global\ namespaces of kernel object names: Windows 2000 (Terminal Services)
// on. Before, NT 4.0 refuses a name with a backslash, and 9x's names have no namespaces.
constexpr bool HasObjectNamespaces(DWORD version) { return WindowsNtAtLeast(version, 5, 0); }

// A 64-bit and a 32-bit view of the machine's registry (KEY_WOW64_*): 64-bit Windows only,
// which is always NT: a 64-bit program, or a 32-bit one that IsWow64Process says runs there.
constexpr bool HasRegistryViews(DWORD version, bool program64, bool wow64) {
    return (program64 || wow64) && !IsWindows9x(version);
}
