#pragma once
#include "Prompt.h"
#include "runtime/String.h"

// Where setup installs when it is not told: the installed copy's folder, else
// "Program Files\Jukelet" in the setup's own registry view.
String DefaultInstallFolder();

// The installation of ours that the entry names in another folder than `folder`, which
// setup removes first (there is one entry: a second copy would take it and leave the first
// with no way out); "" when there is none.
String OtherCopyToRemove(const String& folder);

// Installs into `folder`, which CheckInstallFolder found usable: removes the other copy
// with the uninstaller's own code, then writes Jukelet.exe, the icons, the shortcuts and the
// uninstaller, and registers them last: the Start menu's shortcut and the entry. Failures
// are told through `prompt`. Returns a SetupExit code.
int InstallInto(const String& folder, const Prompt& prompt);
