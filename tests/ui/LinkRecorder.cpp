// Stands in for the mail program and the browser: `link_recorder.exe LOG LINK` appends
// LINK, exactly as the shell passed it, as one line to LOG and ends.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "base/UniqueHandle.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (__argc < 3) return 2;
    const std::string line = std::string(__argv[2]) + "\r\n";
    FileHandle log(CreateFileA(__argv[1], FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!log) return 1;
    DWORD written = 0;
    return WriteFile(log.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr) ? 0 : 1;
}
