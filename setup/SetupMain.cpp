// Jukelet's setup program: silent with /S (the exit code says what happened), else one window.
#include <windows.h>

#include "ExitCodes.h"
#include "InstallFolder.h"
#include "InstallSteps.h"
#include "SetupCommandLine.h"
#include "SetupLock.h"
#include "SetupWindow.h"
#include "base/Paths.h"

namespace {

int InstallSilently(const String& given, const Prompt& prompt) {
    if (CheckInstallFolder(given) != FolderVerdict::Usable) return SetupExit::UnusableFolder;
    return InstallInto(WholePath(TidyFolder(given)), prompt);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const SetupCommand command = ReadSetupCommand(GetCommandLineA(), "/D=");
    const Prompt prompt(command.silent, "Jukelet Setup");
    SetupLock lock;
    if (!lock.Take(prompt)) return command.silent ? SetupExit::Busy : SetupExit::Cancelled;
    // An unusable /D= folder is shown as given, and Install says what is wrong with it.
    const String folder = command.hasFolder ? command.folder : DefaultInstallFolder();
    if (command.silent) return InstallSilently(folder, prompt);

    SetupWindow window(folder);
    if (!window.Show()) return SetupExit::Failed;
    DialogWindow::RunMessageLoop();
    return window.exitCode();
}
