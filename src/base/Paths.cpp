#include "base/Paths.h"

#include <windows.h>

String TrimFileName(std::string_view path) {
    const size_t separator = path.find_last_of("\\/");
    if (separator == std::string_view::npos) return String();
    return String(path.substr(0, separator));
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
