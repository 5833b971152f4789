#pragma once
#include "runtime/String.h"

// The argument string of a full command line: what follows the program's own name
// and the blanks after it, unchanged otherwise.
String ArgumentString(const char* commandLine);

// The folder of the running executable, without a trailing backslash.
String ProgramFolder();

// Sets LinksPath and IconsPath from the program's folder.
void SetToolbarFolders(std::string_view programFolder);
