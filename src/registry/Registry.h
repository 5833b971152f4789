#pragma once
#include <windows.h>

#include "registry/RegistryView.h"
#include "runtime/String.h"

// A predefined root: HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE. Never closed, never changed.
using ScopeRoot = HKEY;

// Each call opens its key, does one thing and closes the key again.
// The writers return true when the registry accepted the change; callers may ignore it.
bool CreateKey(ScopeRoot root, std::string_view path);
bool KeyExists(ScopeRoot root, std::string_view path);
bool SaveString(ScopeRoot root, std::string_view path, std::string_view name, std::string_view data);

// A REG_SZ value up to its first NUL; defaultValue when the key or value is missing
// or of another type. The name "" reads the key's default value.
String GetString(ScopeRoot root, std::string_view path, std::string_view name, std::string_view defaultValue = "");

// The same, in one view of the registry of 64-bit Windows (RegistryView::Default: as above).
bool CreateKey(ScopeRoot root, std::string_view path, RegistryView view);
bool KeyExists(ScopeRoot root, std::string_view path, RegistryView view);
bool SaveString(ScopeRoot root, std::string_view path, std::string_view name, std::string_view data, RegistryView view);

// The path, from root, of another program's registry link at `path` or, with `inside`,
// anywhere below it; "" when there is none. Only systems that can open a link itself tell
// (from Vista on; 9x has no links): elsewhere "" always.
String FindRegistryLink(ScopeRoot root, std::string_view path, RegistryView view, bool inside);

// The same search along a path: the first link at `top` or at any key on the way down to
// `top\rest` (rest "" checks `top` alone) and, with `inside`, anywhere below that key. A link
// higher up is followed by every open below it, so what is written or deleted under `top` is
// checked from `top` on.
String FindRegistryLinkAlong(ScopeRoot root, std::string_view top, std::string_view rest, RegistryView view,
                             bool inside);

// Deletes the key only when it holds no value and no subkey and is no link; true when it is
// gone afterwards (or never was).
bool DeleteKeyIfEmpty(ScopeRoot root, std::string_view path, RegistryView view = RegistryView::Default);

// Deletes the key with everything inside it, subkeys included; true also when there was no
// such key. A registry link is never followed: a key with one in it stays.
bool DeleteKeyTree(ScopeRoot root, std::string_view path, RegistryView view = RegistryView::Default);
