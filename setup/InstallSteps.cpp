#include "InstallSteps.h"

#include <windows.h>

#include "ExitCodes.h"
#include "InstallFolder.h"
#include "InstalledFiles.h"
#include "Payload.h"
#include "Shortcuts.h"
#include "UninstallEntry.h"
#include "UninstallSteps.h"
#include "registry/Registry.h"
#include "toolbar/ButtonCatalogue.h"

namespace {

// The files a step writes: each is a resource named as the file, written under the folder.
struct PayloadFile {
    const char* subfolder;  // "" or a folder of InstalledFiles.h
    const char* name;       // with its leading backslash
};

// Every file setup writes, in order, from the one list of buttons; the uninstaller last.
template <typename Visit>
bool ForEachPayloadFile(Visit visit) {
    if (!visit(PayloadFile{"", ProgramFile})) return false;
    for (const ToolbarButton& button : ButtonCatalogue)
        if (!visit(PayloadFile{IconsFolder, button.icon}) || !visit(PayloadFile{IconsFolder, button.hotIcon}))
            return false;
    return visit(PayloadFile{"", UninstallerFile});
}

// The installed files' size in KB, for Add/Remove Programs.
DWORD PayloadKb() {
    size_t bytes = 0;
    ForEachPayloadFile([&](const PayloadFile& file) {
        bytes += PayloadFileSize(file.name + 1);
        return true;
    });
    return static_cast<DWORD>((bytes + 1023) >> 10);
}

// A step that failed says what could not be written, and setup stops there.
int Stopped(const Prompt& prompt, const String& text) {
    prompt.Tell(text, MB_OK | MB_ICONSTOP);
    return SetupExit::Failed;
}

}  // namespace

String DefaultInstallFolder() {
    const String registered = RegisteredFolder();
    if (!registered.empty()) return registered;
    const String programFiles =
        TidyFolder(GetString(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir"));
    return Concat(programFiles.empty() ? std::string_view("C:\\Program Files") : programFiles, "\\Jukelet");
}

String OtherCopyToRemove(const String& folder) { return OtherRegisteredCopy(folder); }

int InstallInto(const String& folder, const Prompt& prompt) {
    const String other = OtherCopyToRemove(folder);
    if (!other.empty() && UninstallFrom(other, Prompt(true, "")) != 0) {
        prompt.Tell(Concat("Setup could not remove Jukelet from ", other,
                           ".\r\n\r\nClose Jukelet if it is running, then run setup again."),
                    MB_OK | MB_ICONSTOP);
        return SetupExit::OtherCopyKept;
    }

    if (!CreateFolderPath(Concat(folder, IconsFolder)) || !CreateFolderPath(Concat(folder, LinksFolder)))
        return Stopped(prompt, Concat("Setup could not write into ", folder, "."));
    String failed;
    ForEachPayloadFile([&](const PayloadFile& file) {
        const String path = Concat(folder, file.subfolder, file.name);
        if (!WritePayloadFile(file.name + 1, path)) failed = path;
        return failed.empty();
    });
    if (!failed.empty()) return Stopped(prompt, Concat("Setup could not write ", failed, "."));
    const String program = Concat(folder, ProgramFile);
    for (const ToolbarButton& button : ButtonCatalogue) {
        const String link = Concat(folder, LinksFolder, button.link);
        if (!MakeShortcut(link, program, button.linkSwitch, folder))
            return Stopped(prompt, Concat("Setup could not write the shortcut ", link, "."));
    }

    // Registered last: a failed install leaves nothing that points at files not written.
    const String menuShortcut = StartMenuShortcut();
    if (menuShortcut.empty() || !CreateFolderPath(StartMenuProgramsFolder()) ||
        !MakeShortcut(menuShortcut, program, "", folder))
        return Stopped(prompt, Concat("Setup could not write the shortcut ", menuShortcut, "."));
    if (!WriteUninstallEntry(folder, PayloadKb()))
        return Stopped(prompt, String("Setup could not add Jukelet to the list of installed programs."));
    return SetupExit::Installed;
}
