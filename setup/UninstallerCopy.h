#pragma once
#include "runtime/String.h"

// An uninstaller cannot remove its own file while it runs: the plain "Uninstall.exe" (and
// "/S") copies itself into a folder of its own under %TEMP%, starts the copy on the
// installation's folder and ends; the copy does the work and is removed at the next restart.
constexpr const char* UninstallerCopyName = "Jukelet-Uninstall.exe";

// True in such a copy.
bool RunningAsUninstallerCopy();

// Copies this program under %TEMP% and starts the copy with `arguments`, working in its own
// folder. False when it could not.
bool StartUninstallerCopy(std::string_view arguments);

// Asks Windows to delete this copy and its folder at the next restart: MoveFileEx on NT,
// WININIT.INI on 9x (where MoveFileEx is a stub that fails, and only files can go).
void RemoveCopyAtRestart();

// WININIT.INI's text with `line` added to its [rename] section, made when missing.
String WithRenameLine(std::string_view ini, std::string_view line);
