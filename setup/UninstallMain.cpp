// Jukelet's uninstaller. "Uninstall.exe [/S]" hands the work to a copy of itself under
// %TEMP% and ends at once; "Uninstall.exe [/S] _?=folder" works on the folder where it lies
// and ends with its exit code.
#include <windows.h>

#include "ExitCodes.h"
#include "InstallFolder.h"
#include "Ownership.h"
#include "SetupCommandLine.h"
#include "SetupLock.h"
#include "UninstallSteps.h"
#include "UninstallerCopy.h"
#include "base/Paths.h"

namespace {

String NotOursMessage(std::string_view folder) {
    return Concat("There is no Jukelet installation in this folder:\r\n", folder,
                  "\r\n\r\nThe uninstaller removes Jukelet only from a folder that holds Jukelet.exe and its "
                  "uninstaller. Nothing was removed.");
}

String Question(std::string_view folder, std::string_view otherCopy) {
    const String shared = otherCopy.empty()
                              ? String("Its toolbar buttons and settings go with it.")
                              : Concat("Its toolbar buttons and settings stay: Jukelet in ", otherCopy, " uses them.");
    return Concat("Jukelet will be removed from this folder:\r\n", folder, "\r\n\r\n", shared,
                  "\r\n\r\nRemove Jukelet?");
}

int UninstallHere(const String& folder, const Prompt& prompt) {
    SetupLock lock;
    if (!lock.Take(prompt)) return prompt.silent() ? UninstallExit::Busy : UninstallExit::Cancelled;
    if (folder.empty() || !IsOurInstallation(folder)) {
        prompt.Tell(NotOursMessage(folder), MB_OK | MB_ICONEXCLAMATION);
        return UninstallExit::NotOurs;
    }
    if (prompt.Ask(Question(folder, OtherRegisteredCopy(folder)), MB_YESNO | MB_ICONQUESTION, IDYES) != IDYES)
        return UninstallExit::Cancelled;
    const int result = UninstallFrom(folder, prompt);
    if (result == UninstallExit::Removed)
        prompt.Tell(Concat("Jukelet has been removed from this folder:\r\n", folder), MB_OK | MB_ICONINFORMATION);
    return result;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const SetupCommand command = ReadSetupCommand(GetCommandLineA(), "_?=");
    const Prompt prompt(command.silent, "Jukelet Uninstall");
    if (command.hasFolder) {
        if (RunningAsUninstallerCopy()) RemoveCopyAtRestart();
        return UninstallHere(command.folder.empty() ? String() : TidyFolder(WholePath(command.folder)), prompt);
    }

    const String folder = TrimFileName(ProgramPath());
    if (!IsOurInstallation(folder)) {
        prompt.Tell(NotOursMessage(folder), MB_OK | MB_ICONEXCLAMATION);
        return UninstallExit::NotOurs;
    }
    if (StartUninstallerCopy(Concat(command.silent ? "/S " : "", "_?=", folder))) return UninstallExit::Removed;
    // Without a copy, the work is done from here: all but this file and its folder.
    return UninstallHere(folder, prompt);
}
