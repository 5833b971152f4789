#include "startup/CommandLine.h"

#include <windows.h>

#include "base/Paths.h"
#include "base/SharedState.h"

String ArgumentString(const char* commandLine) {
    const char* p = commandLine ? commandLine : "";
    if (*p == '"') {
        ++p;
        while (*p && *p != '"') ++p;
        if (*p == '"') ++p;
    } else {
        while (*p && *p != ' ' && *p != '\t') ++p;
    }
    while (*p == ' ' || *p == '\t') ++p;
    return String(p);
}

String ProgramFolder() {
    String path;
    path.resize(MAX_PATH);
    for (;;) {
        // Older Windows cut a long name off without saying so: a name that fills the buffer
        // is asked for again with a bigger one.
        const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return String();
        if (length < path.size()) return TrimFileName(std::string_view(path.c_str(), length));
        path.resize(path.size() * 2);
    }
}

void SetToolbarFolders(std::string_view programFolder) {
    LinksPath = Concat(programFolder, "\\Links");
    IconsPath = Concat(programFolder, "\\Icons");
}
