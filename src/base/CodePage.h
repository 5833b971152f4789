#pragma once
#include "runtime/String.h"

// Windows hands this ANSI program a '?' for each letter of a name that its code page lacks
// (the system's language for non-Unicode programs), and no real file name holds one: such a
// path names nothing. The "\\?\" prefix of a long path is no lost letter.
bool HasLostLetters(std::string_view path);

// "Jukelet cannot use this path: ..." and why, for a path with lost letters; the caller adds
// what the user can do.
String LostLettersReason(std::string_view path);

// This program's own path in letters the code page has: where a name of it has others, its
// short (8.3) name, which the volume may keep for it. "" when there is none (names kept
// without short ones; Windows 9x, whose names are in the code page anyway).
String ProgramPathInCodePage();
