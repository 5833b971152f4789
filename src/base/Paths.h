#pragma once
#include "runtime/String.h"

// The folder part of a path: the text before its last backslash or slash ("" when it has
// neither).
String TrimFileName(std::string_view path);

// How much of a whole path is its root, backslash included: "C:\", "\\server\share\",
// "\\?\C:\", "\\?\UNC\server\share\". 0 when it has none.
size_t RootLength(std::string_view path);

// The running executable's whole path.
String ProgramPath();

// The path made whole (drive and folders, "." and ".." resolved) against the current
// directory, with backslashes; "" when the system cannot make it whole.
String WholePath(std::string_view path);
