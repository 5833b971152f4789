#include "base/Paths.h"

#include <windows.h>

String TrimFileName(std::string_view path) {
    const size_t separator = path.find_last_of("\\/");
    if (separator == std::string_view::npos) return String();
    return String(path.substr(0, separator));
}

namespace {

// Past "server\share\" from `at`.
size_t PastShare(std::string_view path, size_t at) {
    const size_t server = path.find('\\', at);
    const size_t share = server == std::string_view::npos ? server : path.find('\\', server + 1);
    return share == std::string_view::npos ? path.size() : share + 1;
}

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

}  // namespace

size_t RootLength(std::string_view path) {
    if (StartsWith(path, "\\\\?\\UNC\\")) return PastShare(path, 8);
    const size_t drive = StartsWith(path, "\\\\?\\") || StartsWith(path, "\\\\.\\") ? 4 : 0;
    if (!drive && StartsWith(path, "\\\\")) return PastShare(path, 2);
    if (path.size() < drive + 2 || path[drive + 1] != ':') return 0;
    return path.size() > drive + 2 && path[drive + 2] == '\\' ? drive + 3 : drive + 2;
}

String ProgramPath() {
    String path;
    path.resize(MAX_PATH);
    for (;;) {
        // Older Windows cut a long name off without saying so: a name that fills the buffer
        // is asked for again with a bigger one.
        const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

String WholePath(std::string_view path) {
    if (path.empty()) return String();
    const String given(path);
    String whole;
    whole.resize(MAX_PATH);
    for (;;) {
        char* fileName = nullptr;
        const DWORD length =
            GetFullPathNameA(given.c_str(), static_cast<DWORD>(whole.size() + 1), whole.data(), &fileName);
        if (length == 0) return String();
        if (length <= whole.size()) {
            whole.resize(length);
            return whole;
        }
        whole.resize(length);
    }
}
