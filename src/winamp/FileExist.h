#pragma once
#include "runtime/String.h"

// True when path names a file that can be opened for reading (a folder cannot).
bool FileExist(std::string_view path);
