#pragma once
#include <string>

// The argument string of a full command line: what follows the program's own name
// and the blanks after it, unchanged otherwise.
std::string ArgumentString(const char* commandLine);

// The folder of the running executable, without a trailing backslash.
std::string ProgramFolder();

// Sets LinksPath and IconsPath from the program's folder.
void SetToolbarFolders(const std::string& programFolder);
