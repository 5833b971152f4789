#pragma once
#include "Prompt.h"
#include "runtime/String.h"

// Removes the installation in `folder`, which must be ours (Ownership.h): its files one by
// one (the folder may hold the user's own), then, unless the entry names another copy of
// ours that still uses them, the toolbar keys of this user and of the machine (both views)
// and the settings; the folder's uninstaller unless it is the one running, and the folders
// left empty; last, the Start menu's shortcut and the entry, when the entry names this
// folder. Jukelet running from there keeps everything: Retry or Cancel, or, silent, nothing
// removed. Returns an UninstallExit code.
int UninstallFrom(const String& folder, const Prompt& prompt);

// The registered folder, when it is another installation of ours than `folder`.
String OtherRegisteredCopy(const String& folder);
