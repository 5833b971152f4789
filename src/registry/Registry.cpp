#include "registry/Registry.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "base/DynamicProc.h"
#include "base/UniqueHandle.h"
#include "base/WindowsVersion.h"

namespace {

REGSAM InView(REGSAM rights, RegistryView view) { return rights | static_cast<REGSAM>(view); }

RegKey CreateOrOpen(ScopeRoot root, const std::string& path, RegistryView view) {
    HKEY key = nullptr;
    // Without a view, the plain call that every Windows has.
    const LONG status = view == RegistryView::Default
                            ? RegCreateKeyA(root, path.c_str(), &key)
                            : RegCreateKeyExA(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                              InView(KEY_WRITE | KEY_QUERY_VALUE, view), nullptr, &key, nullptr);
    return status == ERROR_SUCCESS ? RegKey(key) : RegKey();
}

RegKey OpenExisting(ScopeRoot root, const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyA(root, path.c_str(), &key) != ERROR_SUCCESS) return RegKey();
    return RegKey(key);
}

RegKey OpenInView(HKEY parent, const std::string& path, REGSAM rights, RegistryView view, DWORD options = 0,
                  LONG* status = nullptr) {
    HKEY key = nullptr;
    const LONG result = RegOpenKeyExA(parent, path.c_str(), options, InView(rights, view), &key);
    if (status) *status = result;
    return result == ERROR_SUCCESS ? RegKey(key) : RegKey();
}

// Opens a link itself rather than what it points to. RegOpenKeyEx takes the option from
// Vista on; before, its options are documented as reserved and zero (and 9x has no links).
DWORD OpenLinkItself() {
    static const bool takesIt = WindowsNtAtLeast(6, 0);
    return takesIt ? REG_OPTION_OPEN_LINK : 0;
}

bool IsRegistryLink(HKEY key) {
    DWORD type = 0;
    return RegQueryValueExA(key, "SymbolicLinkValue", nullptr, &type, nullptr, nullptr) == ERROR_SUCCESS &&
           type == REG_LINK;
}

std::vector<std::string> SubkeyNames(HKEY key) {
    std::vector<std::string> names;
    char name[256];  // a key name has at most 255 characters
    for (DWORD index = 0;; ++index) {
        DWORD length = sizeof(name);
        if (RegEnumKeyExA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.emplace_back(name, length);
    }
    return names;
}

LONG DeleteEmptyKey(HKEY parent, const std::string& path, RegistryView view) {
    if (view == RegistryView::Default) return RegDeleteKeyA(parent, path.c_str());
    // RegDeleteKeyA would look in the process's own view. Every 64-bit Windows, the only
    // place a view is asked for, has RegDeleteKeyExA.
    static const auto deleteKeyEx = LOAD_PROC(GetModuleHandleA("advapi32.dll"), RegDeleteKeyExA);
    if (!deleteKeyEx) return RegDeleteKeyA(parent, path.c_str());
    return deleteKeyEx(parent, path.c_str(), static_cast<REGSAM>(view), 0);
}

// NT's RegDeleteKeyA refuses a key that has subkeys (9x's takes them along) and
// RegDeleteTree is Vista's: the subkeys go first, deepest first.
LONG DeleteTree(HKEY parent, const std::string& path, RegistryView view) {
    {
        LONG status = ERROR_SUCCESS;
        RegKey key =
            OpenInView(parent, path, KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE, view, OpenLinkItself(), &status);
        if (!key) return status;
        // A link another program put here stays: deleting it by name would delete what it
        // points to, which is not ours.
        if (IsRegistryLink(key.get())) return ERROR_ACCESS_DENIED;
        for (const std::string& child : SubkeyNames(key.get())) DeleteTree(key.get(), child, view);
    }
    return DeleteEmptyKey(parent, path, view);
}

}  // namespace

bool CreateKey(ScopeRoot root, const std::string& path) { return CreateKey(root, path, RegistryView::Default); }

bool CreateKey(ScopeRoot root, const std::string& path, RegistryView view) {
    return static_cast<bool>(CreateOrOpen(root, path, view));
}

bool DeleteKey(ScopeRoot root, const std::string& path) {
    LONG status = RegDeleteKeyA(root, path.c_str());
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

bool DeleteKeyTree(ScopeRoot root, const std::string& path, RegistryView view) {
    // An empty path would name the root itself.
    if (path.empty()) return false;
    const LONG status = DeleteTree(root, path, view);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

bool KeyExists(ScopeRoot root, const std::string& path) { return static_cast<bool>(OpenExisting(root, path)); }

bool KeyExists(ScopeRoot root, const std::string& path, RegistryView view) {
    if (view == RegistryView::Default) return KeyExists(root, path);
    return static_cast<bool>(OpenInView(root, path, KEY_QUERY_VALUE, view));
}

bool SaveString(ScopeRoot root, const std::string& path, const std::string& name, const std::string& data) {
    return SaveString(root, path, name, data, RegistryView::Default);
}

bool SaveString(ScopeRoot root, const std::string& path, const std::string& name, const std::string& data,
                RegistryView view) {
    RegKey key = CreateOrOpen(root, path, view);
    if (!key) return false;
    // The size counts the bytes of the text, not its terminating NUL.
    return RegSetValueExA(key.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
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
                                       buffer.empty() ? nullptr : reinterpret_cast<BYTE*>(buffer.data()), &size);
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
