#include "startup/CommandLine.h"

#include <windows.h>

#include "base/CodePage.h"
#include "base/Paths.h"
#include "base/SharedState.h"
#include "runtime/ProgramArguments.h"

String ArgumentString(const char* commandLine) { return String(ProgramArguments(commandLine)); }

String ProgramFolder() {
    const String path = ProgramPath();
    // The toolbar keys name the program's files: in letters the code page has, or by a name
    // with lost letters that tells the user why nothing can be written.
    if (HasLostLetters(path)) {
        const String named = ProgramPathInCodePage();
        if (!named.empty()) return TrimFileName(named);
    }
    return TrimFileName(path);
}

void SetToolbarFolders(std::string_view programFolder) {
    LinksPath = Concat(programFolder, "\\Links");
    IconsPath = Concat(programFolder, "\\Icons");
}
