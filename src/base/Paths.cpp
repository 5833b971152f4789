#include "base/Paths.h"

#include <windows.h>

#include <vector>

std::string TrimFileName(const std::string& path) {
    const size_t separator = path.find_last_of("\\/");
    if (separator == std::string::npos) return std::string();
    return path.substr(0, separator);
}

std::string WholePath(const std::string& path) {
    if (path.empty()) return std::string();
    std::vector<char> whole(MAX_PATH);
    for (;;) {
        char* fileName = nullptr;
        const DWORD length = GetFullPathNameA(path.c_str(), static_cast<DWORD>(whole.size()), whole.data(), &fileName);
        if (length == 0) return std::string();
        if (length < whole.size()) return std::string(whole.data(), length);
        whole.resize(length + 1);
    }
}
