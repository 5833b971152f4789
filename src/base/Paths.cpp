#include "base/Paths.h"

#include <windows.h>

#include <cstring>
#include <vector>

std::string TrimFileName(const std::string& path) {
    const size_t separator = path.find_last_of("\\/");
    if (separator == std::string::npos) return std::string();
    return path.substr(0, separator);
}

namespace {

// Past "server\share\" from `at`.
size_t PastShare(const std::string& path, size_t at) {
    const size_t server = path.find('\\', at);
    const size_t share = server == std::string::npos ? server : path.find('\\', server + 1);
    return share == std::string::npos ? path.size() : share + 1;
}

bool StartsWith(const std::string& text, const char* prefix) { return text.compare(0, strlen(prefix), prefix) == 0; }

}  // namespace

size_t RootLength(const std::string& path) {
    if (StartsWith(path, "\\\\?\\UNC\\")) return PastShare(path, 8);
    const size_t drive = StartsWith(path, "\\\\?\\") || StartsWith(path, "\\\\.\\") ? 4 : 0;
    if (!drive && StartsWith(path, "\\\\")) return PastShare(path, 2);
    if (path.size() < drive + 2 || path[drive + 1] != ':') return 0;
    return path.size() > drive + 2 && path[drive + 2] == '\\' ? drive + 3 : drive + 2;
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
