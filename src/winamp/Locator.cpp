#include "winamp/Locator.h"

#include "base/Paths.h"
#include "base/SharedState.h"
#include "base/Text.h"
#include "registry/Registry.h"
#include "winamp/FileExist.h"
#include "winamp/FileSelector.h"
#include "winamp/Settings.h"

namespace {

constexpr const char* MissingValue = "<EMPTY>";

constexpr const char* Blanks = " \t";

bool IsIconIndex(const std::string& text) {
    size_t digits = (!text.empty() && text[0] == '-') ? 1 : 0;
    if (digits == text.size()) return false;
    return text.find_first_not_of("0123456789", digits) == std::string::npos;
}

}  // namespace

void SaveWinampPath(const std::string& path) { SaveString(HKEY_CURRENT_USER, SettingsKey, WinampExeValue, path); }

std::string ParseAssociationPath(const std::string& value) {
    std::string path = Trim(value, Blanks);
    size_t comma = path.rfind(',');
    if (comma != std::string::npos && IsIconIndex(Trim(path.substr(comma + 1), Blanks)))
        path = Trim(path.substr(0, comma), Blanks);
    if (path.size() >= 2 && path.front() == '"' && path.back() == '"') path = path.substr(1, path.size() - 2);
    return path;
}

bool LocateWinamp(const DialogOwner& owner) {
    const std::string stored = GetString(HKEY_CURRENT_USER, SettingsKey, WinampExeValue, MissingValue);
    std::string path = stored;
    // The association is consulted only when nothing was ever remembered.
    if (stored == MissingValue)
        path = ParseAssociationPath(GetString(HKEY_LOCAL_MACHINE, WinampAssociationKey, "", ""));
    // A relative path would be tested against one folder and started from another.
    path = WholePath(path);

    if (!FileExist(path)) {
        MessageBoxA(owner(), NotFoundMessage, AppTitle, MB_OK);
        return BrowseForWinamp(owner);
    }
    WinampPath = path;
    // A click must not write the registry when nothing changed.
    if (path != stored) SaveWinampPath(path);
    return true;
}

bool BrowseForWinamp(const DialogOwner& owner) {
    HWND window = owner();
    const std::optional<std::string> chosen = ChooseWinampFile(window, StartupSelectorTitle);
    if (!chosen) {
        MessageBoxA(window, NotLocatedWarning, AppTitle, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    WinampPath = *chosen;
    SaveWinampPath(WinampPath);
    return true;
}
