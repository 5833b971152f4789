#include "winamp/Locator.h"

#include "base/Paths.h"
#include "base/SharedState.h"
#include "base/Text.h"
#include "base/UserMessage.h"
#include "registry/Registry.h"
#include "winamp/FileExist.h"
#include "winamp/FileSelector.h"
#include "winamp/Settings.h"

namespace {

constexpr const char* MissingValue = "<EMPTY>";

constexpr const char* Blanks = " \t";

bool IsIconIndex(std::string_view text) {
    size_t digits = (!text.empty() && text[0] == '-') ? 1 : 0;
    if (digits == text.size()) return false;
    return text.find_first_not_of("0123456789", digits) == std::string_view::npos;
}

}  // namespace

bool SaveWinampPath(std::string_view path) {
    // Writing through another program's link would change what it points to.
    if (!SettingsBlockingLink().empty()) return false;
    return SaveString(HKEY_CURRENT_USER, SettingsKey, WinampExeValue, path);
}

void SaveWinampPathOrSayWhy(HWND owner, std::string_view path) {
    if (SaveWinampPath(path)) return;
    const String link = SettingsBlockingLink();
    if (link.empty()) return;
    const String text = Concat(
        "Jukelet could not remember where Winamp.exe is.\r\rAnother program's registry link "
        "stands where Jukelet's settings belong:\r",
        link,
        "\r\rJukelet does not write through another program's link. Remove the link, or ask "
        "the program that made it.");
    ShowMessage(owner, text.c_str(), AppTitle, MB_OK | MB_ICONEXCLAMATION);
}

String ParseAssociationPath(std::string_view value) {
    String path = Trim(value, Blanks);
    size_t comma = path.rfind(',');
    if (comma != String::npos && IsIconIndex(Trim(path.substr(comma + 1), Blanks)))
        path = Trim(path.substr(0, comma), Blanks);
    if (path.size() >= 2 && path[0] == '"' && path.back() == '"') path = path.substr(1, path.size() - 2);
    return path;
}

bool LocateWinamp(DialogOwner& owner) {
    const String stored = GetString(HKEY_CURRENT_USER, SettingsKey, WinampExeValue, MissingValue);
    String path = stored;
    // The association is consulted only when nothing was ever remembered.
    if (stored == MissingValue)
        path = ParseAssociationPath(GetString(HKEY_LOCAL_MACHINE, WinampAssociationKey, "", ""));
    // A relative path would be tested against one folder and started from another.
    path = WholePath(path);

    if (!FileExist(path)) {
        ShowMessage(owner.OwnerWindow(), NotFoundMessage, AppTitle, MB_OK);
        return BrowseForWinamp(owner);
    }
    WinampPath = path;
    // A click must not write the registry when nothing changed.
    if (path != stored) SaveWinampPath(path);
    return true;
}

bool BrowseForWinamp(DialogOwner& owner) {
    HWND window = owner.OwnerWindow();
    const std::optional<String> chosen = ChooseWinampFile(window, StartupSelectorTitle);
    if (!chosen) {
        ShowMessage(window, NotLocatedWarning, AppTitle, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    WinampPath = *chosen;
    SaveWinampPathOrSayWhy(window, WinampPath);
    return true;
}
