#pragma once
#include <windows.h>

#include "base/UniqueHandle.h"
#include "winamp/WinampCommands.h"

// A click waits at most WinampWindowWaitMs for Winamp to be there and ready for input (to
// start, open its window and load), and then sends once, waiting at most WinampSendTimeoutMs
// for a busy Winamp to take the command. A Winamp that has been running a while is sent to
// at once, even a hung one.
constexpr DWORD WinampWindowWaitMs = 10000;
constexpr DWORD WinampSendTimeoutMs = 3000;

HWND FindWinampWindow();

// Clicks that find Winamp closed, starting or closing take turns with each other across
// processes: one starts Winamp, the others wait for that Winamp and act on it in the order
// they came; a click that finds Winamp ready while others still wait takes a turn behind
// them. No click starts a second Winamp while the one a click started or closed runs, for a
// window wait: a process that runs on without a window after that holds no click.

// Sends a command to Winamp, starting Winamp first when it is not running (but never
// for stop) and delivering the command once Winamp is ready for it.
void SendWinampCommand(WinampCommand id);

// Closes a running Winamp, or starts it.
void ToggleWinamp();

// Minimises a Winamp the user sees; shows, restores and brings to the front one that is
// minimised or hidden in the notification area; or starts it.
void MinMaxWinamp();

struct LaunchedWinamp {
    KernelHandle process;  // empty when it could not be started
    DWORD id = 0;
    DWORD error = 0;  // then the system's reason
};

// Starts WinampPath minimised, not activated, in its own folder (the current one when the
// path has none). Tells the user nothing: the caller does, outside the start lock.
LaunchedWinamp LaunchWinamp();

// Waits, bounded, for Winamp's main window; nullptr when the time ran out first.
HWND WaitForWinampWindow(DWORD timeoutMs);
