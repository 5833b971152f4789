#pragma once
#include <windows.h>

// A function of a DLL, looked up at run time. Its type comes from the system header's own
// declaration, so the calling convention cannot be written wrong (a 32-bit call through a
// pointer without WINAPI compiles silently and unbalances the stack).
template <typename Function>
Function GetProc(HMODULE module, const char* name) {
    if (!module) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// LOAD_PROC(module, GetOpenFileNameA): the function or nullptr, typed as the header declares it.
#define LOAD_PROC(module, function) GetProc<decltype(&::function)>((module), #function)
