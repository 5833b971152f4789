#include "startup/CommandLine.h"

#include <windows.h>

#include <vector>

#include "base/Paths.h"
#include "base/SharedState.h"

std::string ArgumentString(const char* commandLine) {
    const char* p = commandLine ? commandLine : "";
    if (*p == '"') {
        ++p;
        while (*p && *p != '"') ++p;
        if (*p == '"') ++p;
    } else {
        while (*p && *p != ' ' && *p != '\t') ++p;
    }
    while (*p == ' ' || *p == '\t') ++p;
    return p;
}

std::string ProgramFolder() {
    std::vector<char> path(MAX_PATH);
    for (;;) {
        DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return std::string();
        if (length < path.size()) return TrimFileName(std::string(path.data(), length));
        path.resize(path.size() * 2);
    }
}

void SetToolbarFolders(const std::string& programFolder) {
    LinksPath = programFolder + "\\Links";
    IconsPath = programFolder + "\\Icons";
}
