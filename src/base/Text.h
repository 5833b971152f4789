#pragma once
#include <string>

// The text without the given characters at either end.
std::string Trim(const std::string& text, const char* characters = " ");
