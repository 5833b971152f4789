#pragma once
#include <string>

// The folder part of a path: the text before its last backslash ("" when it has none).
std::string TrimFileName(const std::string& path);
