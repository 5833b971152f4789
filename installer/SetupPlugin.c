/* A plug-in for the setup program: what NSIS does not tell its script. Built without a C
 * runtime and importing only GetCommandLine, so that the ANSI setup still needs nothing
 * Windows 95 lacks (Debian's own System plug-in imports msvcrt.dll). */
#include <windows.h>

/* Sets $0, the first of the script's variables (stringSize characters each), to the whole
 * command line. NSIS cuts " /D=folder" off $CMDLINE and, before .onInit runs, puts its
 * default in place of a folder it cannot use: only the command line still says what was
 * asked. */
__declspec(dllexport) void CommandLine(HWND parent, int stringSize, TCHAR* variables, void* stack, void* extra) {
    const TCHAR* from = GetCommandLine();
    TCHAR* to = variables;
    int room = stringSize - 1;
    (void)parent;
    (void)stack;
    (void)extra;
    while (*from && room-- > 0) *to++ = *from++;
    *to = 0;
}

BOOL WINAPI DllMainCRTStartup(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    (void)instance;
    (void)reason;
    (void)reserved;
    return TRUE;
}
