#pragma once
#include "runtime/String.h"

// True when the file's version resource names our product and company: Jukelet.exe and
// the uninstaller do, whichever setup wrote them.
bool CarriesOurVersion(const String& file);

// True when the folder holds an installation of ours: its Jukelet.exe and its uninstaller
// both carry our version, or (an uninstall stopped half way) its uninstaller does, its
// Jukelet.exe is gone and the Add/Remove entry names the folder. Setup and the uninstaller
// act on no other folder.
bool IsOurInstallation(std::string_view folder);
