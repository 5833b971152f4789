#pragma once
#include "runtime/String.h"

// A file's bytes, read in one go; "" when it cannot be read.
String ReadWholeFile(const String& path);

// Writes the file anew with exactly these bytes; false when any could not be written.
bool WriteWholeFile(const String& path, const void* bytes, size_t size);
