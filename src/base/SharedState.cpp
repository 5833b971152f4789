#include "base/SharedState.h"

std::string WinampPath;
std::string LinksPath;
std::string IconsPath;
