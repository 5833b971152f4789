#pragma once
#include "runtime/String.h"

// The files setup carries: packed (setup/pack.py), each an RCDATA resource of the setup
// program named by its file name, "Jukelet.exe" or "play_hot.ico" (setup/CMakeLists.txt).

// Unpacks the file named `fileName` and writes it as `path`, replacing what was there. False
// when the resource is missing or damaged, or the file could not be written.
bool WritePayloadFile(std::string_view fileName, const String& path);

// How many bytes that file unpacks to; 0 when the resource is missing or damaged.
size_t PayloadFileSize(std::string_view fileName);
