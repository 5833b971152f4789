#include <windows.h>

#include "startup/CommandLine.h"
#include "startup/Switches.h"
#include "winamp/Locator.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (!LocateWinamp([] { return HWND(nullptr); })) return 0;
    SetToolbarFolders(ProgramFolder());

    if (const CommandSwitch* command = MatchSwitch(ArgumentString(GetCommandLineA()))) {
        command->action();
        return 0;
    }
    // Without a switch the configuration window would open here.
    return 0;
}
