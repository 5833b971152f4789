#include "UninstallSteps.h"

#include <windows.h>

#include "ExitCodes.h"
#include "InstallFolder.h"
#include "InstalledFiles.h"
#include "Ownership.h"
#include "Shortcuts.h"
#include "UninstallEntry.h"
#include "UninstallerCopy.h"
#include "base/Paths.h"
#include "toolbar/ButtonCatalogue.h"
#include "toolbar/ToolbarButtons.h"
#include "winamp/Settings.h"

namespace {

// The uninstaller that started this copy may still be ending: its file goes once it has.
constexpr DWORD UninstallerEndsWithinMs = 30000;
constexpr DWORD RetryEveryMs = 100;

bool DeleteIfThere(const String& path) {
    return DeleteFileA(path.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND ||
           GetLastError() == ERROR_PATH_NOT_FOUND;
}

// Windows keeps a running program's file: nothing else goes while Jukelet.exe stays.
bool RemoveProgramFiles(const String& folder) {
    if (!DeleteIfThere(Concat(folder, ProgramFile))) return false;
    bool ok = true;
    for (const ToolbarButton& button : ButtonCatalogue) {
        ok = DeleteIfThere(Concat(folder, LinksFolder, button.link)) && ok;
        ok = DeleteIfThere(Concat(folder, IconsFolder, button.icon)) && ok;
        ok = DeleteIfThere(Concat(folder, IconsFolder, button.hotIcon)) && ok;
    }
    return ok;
}

// Run where it lies, the uninstaller cannot remove itself: whoever ran it does.
void RemoveUninstaller(const String& folder) {
    const String uninstaller = Concat(folder, UninstallerFile);
    if (lstrcmpiA(uninstaller.c_str(), ProgramPath().c_str()) == 0) return;
    for (DWORD waited = 0; !DeleteIfThere(uninstaller) && waited < UninstallerEndsWithinMs; waited += RetryEveryMs)
        Sleep(RetryEveryMs);
}

}  // namespace

String OtherRegisteredCopy(const String& folder) {
    const String registered = RegisteredFolder();
    if (registered.empty() || SameFolder(registered, folder) || !IsOurInstallation(registered)) return String();
    return registered;
}

int UninstallFrom(const String& folder, const Prompt& prompt) {
    while (!RemoveProgramFiles(folder)) {
        const String text =
            Concat("Jukelet is running from ", folder,
                   ", or another program is using one of its files.\r\n\r\nClose it, then click Retry.");
        if (prompt.Ask(text, MB_RETRYCANCEL | MB_ICONEXCLAMATION, IDCANCEL) != IDRETRY)
            return UninstallExit::FilesInUse;
    }
    // The keys and settings are shared by every copy: the one the entry names still uses them.
    if (OtherRegisteredCopy(folder).empty()) {
        RemoveAllButtons(HKEY_CURRENT_USER);
        // Without the rights to the machine's keys this fails, and the rest goes on.
        RemoveAllButtons(HKEY_LOCAL_MACHINE);
        RemoveSettings();
    }
    RemoveUninstaller(folder);
    RemoveDirectoryA(Concat(folder, LinksFolder).c_str());
    RemoveDirectoryA(Concat(folder, IconsFolder).c_str());
    RemoveDirectoryA(folder.c_str());

    // The latest install wrote the entry and the shortcut together: they are this copy's only
    // when the entry names this folder.
    if (SameFolder(RegisteredFolder(), folder)) {
        const String shortcut = StartMenuShortcut();
        if (!shortcut.empty()) DeleteFileA(shortcut.c_str());
        // Last, so that its absence means the uninstall has finished.
        RemoveUninstallEntry();
    }
    return UninstallExit::Removed;
}
