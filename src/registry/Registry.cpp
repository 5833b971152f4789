#include "registry/Registry.h"

#include "base/DynamicProc.h"
#include "base/UniqueHandle.h"
#include "base/WindowsVersion.h"

namespace {

REGSAM InView(REGSAM rights, RegistryView view) { return rights | static_cast<REGSAM>(view); }

RegKey CreateOrOpen(ScopeRoot root, const String& path, RegistryView view) {
    HKEY key = nullptr;
    // Without a view, the plain call that every Windows has.
    const LONG status = view == RegistryView::Default
                            ? RegCreateKeyA(root, path.c_str(), &key)
                            : RegCreateKeyExA(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                              InView(KEY_WRITE | KEY_QUERY_VALUE, view), nullptr, &key, nullptr);
    return status == ERROR_SUCCESS ? RegKey(key) : RegKey();
}

RegKey OpenExisting(ScopeRoot root, const String& path) {
    HKEY key = nullptr;
    if (RegOpenKeyA(root, path.c_str(), &key) != ERROR_SUCCESS) return RegKey();
    return RegKey(key);
}

RegKey OpenInView(HKEY parent, const String& path, REGSAM rights, RegistryView view, DWORD options = 0,
                  LONG* status = nullptr) {
    HKEY key = nullptr;
    const LONG result = RegOpenKeyExA(parent, path.c_str(), options, InView(rights, view), &key);
    if (status) *status = result;
    return result == ERROR_SUCCESS ? RegKey(key) : RegKey();
}

// Opens a link itself rather than what it points to. RegOpenKeyEx takes the option from
// Vista on; before, its options are documented as reserved and zero (and 9x has no links).
DWORD OpenLinkItself() {
    static const bool takesIt = OpensRegistryLinks(GetVersion());
    return takesIt ? REG_OPTION_OPEN_LINK : 0;
}

bool IsRegistryLink(HKEY key) {
    DWORD type = 0;
    return RegQueryValueExA(key, "SymbolicLinkValue", nullptr, &type, nullptr, nullptr) == ERROR_SUCCESS &&
           type == REG_LINK;
}

LONG DeleteEmptyKey(HKEY parent, const String& path, RegistryView view) {
    if (view == RegistryView::Default) return RegDeleteKeyA(parent, path.c_str());
    // RegDeleteKeyA would look in the process's own view. Every 64-bit Windows, the only
    // place a view is asked for, has RegDeleteKeyExA.
    static const auto deleteKeyEx = LOAD_PROC(GetModuleHandleA("advapi32.dll"), RegDeleteKeyExA);
    if (!deleteKeyEx) return RegDeleteKeyA(parent, path.c_str());
    return deleteKeyEx(parent, path.c_str(), static_cast<REGSAM>(view), 0);
}

// The subkey at `index`, or "" past the last.
String SubkeyAt(HKEY key, DWORD index) {
    char name[256];  // a key name has at most 255 characters
    DWORD length = sizeof(name);
    if (RegEnumKeyExA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) return String();
    return String(std::string_view(name, length));
}

// A key itself, a link too, to look through or delete what is inside it.
RegKey OpenItself(HKEY parent, const String& path, RegistryView view, LONG* status = nullptr) {
    return OpenInView(parent, path, KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE, view, OpenLinkItself(), status);
}

// The first link at `path` or below it, as a path from `parent`: "" when there is none.
String FindLinkIn(HKEY parent, const String& path, RegistryView view, bool inside) {
    RegKey key = OpenItself(parent, path, view);
    if (!key) return String();
    if (IsRegistryLink(key.get())) return path;
    if (!inside) return String();
    for (DWORD index = 0;; ++index) {
        const String child = SubkeyAt(key.get(), index);
        if (child.empty()) return String();
        const String found = FindLinkIn(key.get(), child, view, true);
        if (!found.empty()) return Concat(path, "\\", found);
    }
}

// The path of the first link from `top` down to `top\rest`, key by key: a link higher up is
// followed by every open below it. "" where a key is missing (nothing below it can be a link).
String FindLinkAlong(HKEY root, const String& top, std::string_view rest, RegistryView view) {
    String path = top;
    for (size_t from = 0;;) {
        RegKey key = OpenItself(root, path, view);
        if (!key) return String();
        if (IsRegistryLink(key.get())) return path;
        if (from >= rest.size()) return String();
        size_t end = rest.find('\\', from);
        if (end == std::string_view::npos) end = rest.size();
        path.append("\\").append(rest.substr(from, end - from));
        from = end + 1;
    }
}

bool IsEmptyKey(HKEY key) {
    DWORD subkeys = 0;
    DWORD values = 0;
    return RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr,
                            nullptr, nullptr) == ERROR_SUCCESS &&
           subkeys == 0 && values == 0;
}

// NT's RegDeleteKeyA refuses a key that has subkeys (9x's takes them along) and
// RegDeleteTree is Vista's: the subkeys go first, deepest first.
LONG DeleteTree(HKEY parent, const String& path, RegistryView view) {
    {
        LONG status = ERROR_SUCCESS;
        RegKey key = OpenItself(parent, path, view, &status);
        if (!key) return status;
        // A link another program put here stays: deleting it by name would delete what it
        // points to, which is not ours.
        if (IsRegistryLink(key.get())) return ERROR_ACCESS_DENIED;
        // Each deletion moves the later subkeys up by one: only one that stays is stepped over.
        for (DWORD index = 0;;) {
            const String child = SubkeyAt(key.get(), index);
            if (child.empty()) break;
            const LONG childStatus = DeleteTree(key.get(), child, view);
            if (childStatus != ERROR_SUCCESS && childStatus != ERROR_FILE_NOT_FOUND) ++index;
        }
    }
    return DeleteEmptyKey(parent, path, view);
}

}  // namespace

bool CreateKey(ScopeRoot root, std::string_view path) { return CreateKey(root, path, RegistryView::Default); }

bool CreateKey(ScopeRoot root, std::string_view path, RegistryView view) {
    return static_cast<bool>(CreateOrOpen(root, String(path), view));
}

bool DeleteKeyTree(ScopeRoot root, std::string_view path, RegistryView view) {
    // An empty path would name the root itself.
    if (path.empty()) return false;
    const LONG status = DeleteTree(root, String(path), view);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

String FindRegistryLink(ScopeRoot root, std::string_view path, RegistryView view, bool inside) {
    if (path.empty()) return String();
    return FindLinkIn(root, String(path), view, inside);
}

String FindRegistryLinkAlong(ScopeRoot root, std::string_view top, std::string_view rest, RegistryView view,
                             bool inside) {
    if (top.empty()) return String();
    const String link = FindLinkAlong(root, String(top), rest, view);
    if (!link.empty() || !inside) return link;
    return FindRegistryLink(root, rest.empty() ? String(top) : Concat(top, "\\", rest), view, true);
}

bool DeleteKeyIfEmpty(ScopeRoot root, std::string_view path, RegistryView view) {
    if (path.empty()) return false;
    const String name(path);
    LONG status = ERROR_SUCCESS;
    {
        RegKey key = OpenItself(root, name, view, &status);
        if (!key) return status == ERROR_FILE_NOT_FOUND;
        // 9x's RegDeleteKeyA takes the subkeys along, and a link's name stands for its target.
        if (IsRegistryLink(key.get()) || !IsEmptyKey(key.get())) return false;
    }
    status = DeleteEmptyKey(root, name, view);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

bool KeyExists(ScopeRoot root, std::string_view path) { return static_cast<bool>(OpenExisting(root, String(path))); }

bool KeyExists(ScopeRoot root, std::string_view path, RegistryView view) {
    if (view == RegistryView::Default) return KeyExists(root, path);
    return static_cast<bool>(OpenInView(root, String(path), KEY_QUERY_VALUE, view));
}

bool SaveString(ScopeRoot root, std::string_view path, std::string_view name, std::string_view data) {
    return SaveString(root, path, name, data, RegistryView::Default);
}

bool SaveString(ScopeRoot root, std::string_view path, std::string_view name, std::string_view data,
                RegistryView view) {
    RegKey key = CreateOrOpen(root, String(path), view);
    if (!key) return false;
    // The size counts the bytes of the text, not its terminating NUL.
    const String text(data);
    return RegSetValueExA(key.get(), String(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>(text.size())) == ERROR_SUCCESS;
}

String GetString(ScopeRoot root, std::string_view path, std::string_view name, std::string_view defaultValue) {
    RegKey key = OpenExisting(root, String(path));
    if (!key) return String(defaultValue);

    const String valueName(name);
    String buffer;
    for (;;) {
        DWORD type = 0;
        DWORD size = static_cast<DWORD>(buffer.size());
        LONG status = RegQueryValueExA(key.get(), valueName.c_str(), nullptr, &type,
                                       buffer.empty() ? nullptr : reinterpret_cast<BYTE*>(buffer.data()), &size);
        if (status != ERROR_SUCCESS && status != ERROR_MORE_DATA) return String(defaultValue);
        if (type != REG_SZ) return String(defaultValue);
        // First pass asks for the size; the value may also grow before the read: ask again.
        if (status == ERROR_MORE_DATA || buffer.size() < size) {
            buffer.resize(size);
            continue;
        }
        // Up to the first NUL, or all of it when the value was stored without one.
        const std::string_view read(buffer.c_str(), size < buffer.size() ? size : buffer.size());
        return String(read.substr(0, read.find('\0')));
    }
}
