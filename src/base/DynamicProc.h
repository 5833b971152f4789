#pragma once
#include <windows.h>

// A function of a DLL loaded on demand, typed.
template <typename Function>
Function GetProc(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}
