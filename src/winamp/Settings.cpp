#include "winamp/Settings.h"

#include <windows.h>

#include "registry/Registry.h"

namespace {

constexpr const char* SettingsKeyName = "Jukelet";

}  // namespace

String SettingsBlockingLink() {
    const String link =
        FindRegistryLinkAlong(HKEY_CURRENT_USER, CompanyKey, SettingsKeyName, RegistryView::Default, false);
    return link.empty() ? String() : Concat("HKEY_CURRENT_USER\\", link);
}

bool RemoveSettings() {
    if (!SettingsBlockingLink().empty()) return false;
    const bool removed = DeleteKeyTree(HKEY_CURRENT_USER, SettingsKey);
    // Other programs of the company may keep their settings beside ours.
    DeleteKeyIfEmpty(HKEY_CURRENT_USER, CompanyKey);
    return removed;
}
