#pragma once
#include "runtime/String.h"

// The text without the given characters at either end.
String Trim(std::string_view text, std::string_view characters = " ");
