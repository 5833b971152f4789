// The program's entry point, in place of the C runtime's: runs the constructors of static
// objects, calls WinMain, runs what was registered with atexit, and ends the process.
#include <windows.h>

#include "runtime/ProgramArguments.h"

extern "C" {
// Laid out by the linker: -1, the constructors, nullptr.
extern void (*__CTOR_LIST__[])();
int atexit(void (*function)());
void WinMainCRTStartup();
}

namespace {

using ExitFunction = void (*)();
// Static objects with destructors register themselves here; a handful do.
ExitFunction exitFunctions[32];
int exitCount = 0;

void RunConstructors() {
    size_t count = 0;
    while (__CTOR_LIST__[count + 1]) ++count;
    // From the last to the first, as GCC's own start-up does.
    for (size_t i = count; i > 0; --i) __CTOR_LIST__[i]();
}

void RunExitFunctions() {
    while (exitCount > 0) exitFunctions[--exitCount]();
}

}  // namespace

int atexit(ExitFunction function) {
    if (exitCount == static_cast<int>(sizeof(exitFunctions) / sizeof(exitFunctions[0]))) return -1;
    exitFunctions[exitCount++] = function;
    return 0;
}

void WinMainCRTStartup() {
    RunConstructors();
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    GetStartupInfoA(&startup);
    const int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWDEFAULT;
    const int exitCode =
        WinMain(GetModuleHandleA(nullptr), nullptr, const_cast<char*>(ProgramArguments(GetCommandLineA())), show);
    RunExitFunctions();
    ExitProcess(static_cast<UINT>(exitCode));
}
