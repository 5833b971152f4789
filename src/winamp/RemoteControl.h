#pragma once
#include <windows.h>

#include "base/UniqueHandle.h"
#include "winamp/WinampCommands.h"

// How long a freshly started Winamp may take to open its main window, and how long
// a busy one may take to accept a command, before the command is given up.
constexpr DWORD WinampWindowWaitMs = 10000;
constexpr DWORD WinampSendTimeoutMs = 3000;

HWND FindWinampWindow();

// A click that finds Winamp closed takes its turn with other such clicks, across
// processes: the first starts Winamp, the others wait for its window and act on that Winamp.

// Sends a command to Winamp, starting Winamp first when it is not running (but never
// for stop) and delivering the command once its main window has appeared.
void SendWinampCommand(WinampCommand id);

// Closes a running Winamp, or starts it and waits for its window.
void ToggleWinamp();

// Minimises a shown Winamp, restores and activates a minimised one, or starts it.
void MinMaxWinamp();

// Starts WinampPath minimised, not activated, in its own folder (the current one when the
// path has none). The new process, or an empty handle after telling the user why it could
// not be started.
KernelHandle LaunchWinamp();

// Waits, bounded, for the main window of the Winamp just started; nullptr when the
// process ended or the time ran out first.
HWND WaitForWinampWindow(HANDLE winampProcess, DWORD timeoutMs);
