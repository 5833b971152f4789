#include "registry/Registry.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "base/UniqueHandle.h"

namespace {

RegKey CreateOrOpen(ScopeRoot root, const std::string& path) {
    HKEY key = nullptr;
    if (RegCreateKeyA(root, path.c_str(), &key) != ERROR_SUCCESS) return RegKey();
    return RegKey(key);
}

RegKey OpenExisting(ScopeRoot root, const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyA(root, path.c_str(), &key) != ERROR_SUCCESS) return RegKey();
    return RegKey(key);
}

}  // namespace

bool CreateKey(ScopeRoot root, const std::string& path) {
    return static_cast<bool>(CreateOrOpen(root, path));
}

bool DeleteKey(ScopeRoot root, const std::string& path) {
    LONG status = RegDeleteKeyA(root, path.c_str());
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

bool KeyExists(ScopeRoot root, const std::string& path) {
    return static_cast<bool>(OpenExisting(root, path));
}

bool SaveString(ScopeRoot root, const std::string& path, const std::string& name,
                const std::string& data) {
    RegKey key = CreateOrOpen(root, path);
    if (!key) return false;
    // The size counts the bytes of the text, not its terminating NUL.
    return RegSetValueExA(key.get(), name.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(data.c_str()),
                          static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
}

std::string GetString(ScopeRoot root, const std::string& path, const std::string& name,
                      const std::string& defaultValue) {
    RegKey key = OpenExisting(root, path);
    if (!key) return defaultValue;

    std::vector<char> buffer;
    for (;;) {
        DWORD type = 0;
        DWORD size = static_cast<DWORD>(buffer.size());
        LONG status = RegQueryValueExA(key.get(), name.c_str(), nullptr, &type,
                                       buffer.empty() ? nullptr : reinterpret_cast<BYTE*>(buffer.data()),
                                       &size);
        if (status != ERROR_SUCCESS && status != ERROR_MORE_DATA) return defaultValue;
        if (type != REG_SZ) return defaultValue;
        // First pass asks for the size; the value may also grow before the read: ask again.
        if (status == ERROR_MORE_DATA || buffer.size() < size) {
            buffer.assign(size, '\0');
            continue;
        }
        size_t length = std::min<size_t>(size, buffer.size());
        const char* nul = static_cast<const char*>(std::memchr(buffer.data(), '\0', length));
        return std::string(buffer.data(), nul ? static_cast<size_t>(nul - buffer.data()) : length);
    }
}
