#include "base/SharedState.h"

String WinampPath;
String LinksPath;
String IconsPath;
