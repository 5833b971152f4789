#pragma once
#include <windows.h>

#include "runtime/String.h"

// Jukelet's entry in Add/Remove Programs, in the setup's own registry view (a 32-bit
// setup's lies in WOW6432Node on 64-bit Windows). There is one: the latest install's.
constexpr const char* UninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Jukelet";

// Writes the entry for an installation in `folder` whose files take `sizeKb`; false when a
// value could not be written.
bool WriteUninstallEntry(const String& folder, DWORD sizeKb);

// The folder the entry names, tidied; "" when there is no entry.
String RegisteredFolder();

bool RemoveUninstallEntry();
