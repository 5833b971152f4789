#pragma once
#include "runtime/String.h"

// What setup and the uninstaller are asked, from the whole command line:
//   /S           silent: no window, no question; the exit code says what happened
//   /D=folder    setup's folder: the rest of the line, unquoted, spaces and all
//   _?=folder    the uninstaller works on this folder where it lies: the rest of the line
// Anything else is ignored. The command line is read whole, however long.
struct SetupCommand {
    bool silent = false;
    bool hasFolder = false;  // /D= or _?= was given (its folder may still be "")
    String folder;           // without closing blanks
};

// `folderSwitch` is "/D=" for setup, "_?=" for the uninstaller.
SetupCommand ReadSetupCommand(const char* commandLine, std::string_view folderSwitch);
