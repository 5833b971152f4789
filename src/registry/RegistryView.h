#pragma once
#include <windows.h>

#include <vector>

// Which registry a call reaches on 64-bit Windows, where HKEY_LOCAL_MACHINE\Software has a
// 64-bit and a 32-bit view (WOW6432Node). Default is the calling process's own view, and
// the only one there is on 32-bit Windows.
enum class RegistryView : REGSAM {
    Default = 0,
    Bits64 = KEY_WOW64_64KEY,
    Bits32 = KEY_WOW64_32KEY,
};

// Both views on 64-bit Windows, Default alone elsewhere: the machine-wide keys that browsers
// of either bitness must find are written to, and removed from, each of these.
std::vector<RegistryView> EveryRegistryView();
