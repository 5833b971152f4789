#include "winamp/FileExist.h"

#include "base/UniqueHandle.h"

bool FileExist(std::string_view path) {
    if (path.empty()) return false;
    FileHandle file(CreateFileA(String(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return static_cast<bool>(file);
}
