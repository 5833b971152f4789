#pragma once
#include <string>

// True when path names a file that can be opened for reading (a folder cannot).
bool FileExist(const std::string& path);
