#pragma once
#include "runtime/String.h"

// Writes a shell link at `path` that starts `target` with `arguments`, in `workingFolder`.
// False when it could not be written.
bool MakeShortcut(const String& path, const String& target, std::string_view arguments, const String& workingFolder);

// The Start menu's Programs folder of every user; Windows 9x has none, and there it is the
// user's own. "" when the shell names neither.
String StartMenuProgramsFolder();

// Where setup puts the Start menu's shortcut to Jukelet; "" when there is no Start menu.
String StartMenuShortcut();
