#include "startup/CommandLine.h"

#include <windows.h>

#include "base/CodePage.h"
#include "base/Paths.h"
#include "base/SharedState.h"
#include "runtime/ProgramArguments.h"

String ArgumentString(const char* commandLine) { return String(ProgramArguments(commandLine)); }

String ProgramFolder() {
    String path;
    path.resize(MAX_PATH);
    for (;;) {
        // Older Windows cut a long name off without saying so: a name that fills the buffer
        // is asked for again with a bigger one.
        const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return String();
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
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
