#pragma once
#include <windows.h>

#include <string>

#include "registry/RegistryView.h"

// A predefined root: HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE. Never closed, never changed.
using ScopeRoot = HKEY;

// Each call opens its key, does one thing and closes the key again.
// The writers return true when the registry accepted the change; callers may ignore it.
bool CreateKey(ScopeRoot root, const std::string& path);
bool DeleteKey(ScopeRoot root, const std::string& path);  // true also when there was no such key
bool KeyExists(ScopeRoot root, const std::string& path);
bool SaveString(ScopeRoot root, const std::string& path, const std::string& name, const std::string& data);

// A REG_SZ value up to its first NUL; defaultValue when the key or value is missing
// or of another type. The name "" reads the key's default value.
std::string GetString(ScopeRoot root, const std::string& path, const std::string& name,
                      const std::string& defaultValue = "");

// The same, in one view of the registry of 64-bit Windows (RegistryView::Default: as above).
bool CreateKey(ScopeRoot root, const std::string& path, RegistryView view);
bool KeyExists(ScopeRoot root, const std::string& path, RegistryView view);
bool SaveString(ScopeRoot root, const std::string& path, const std::string& name, const std::string& data,
                RegistryView view);

// Deletes the key with everything inside it, subkeys included; true also when there was no
// such key.
bool DeleteKeyTree(ScopeRoot root, const std::string& path, RegistryView view = RegistryView::Default);
