#include "UninstallerCopy.h"

#include <windows.h>

#include "WholeFile.h"
#include "base/DynamicProc.h"
#include "base/Paths.h"

namespace {

constexpr int MostFolderTries = 100;

String FileName(std::string_view path) {
    const size_t separator = path.find_last_of("\\/");
    return String(separator == std::string_view::npos ? path : path.substr(separator + 1));
}

// A new folder under %TEMP%; "" when none could be made.
String NewTempFolder() {
    String temp;
    temp.resize(MAX_PATH);
    temp.resize(GetTempPathA(MAX_PATH + 1, temp.data()));
    if (temp.empty() || temp.size() > MAX_PATH) return String();
    const DWORD start = GetTickCount();
    for (int attempt = 0; attempt < MostFolderTries; ++attempt) {
        String folder = Concat(temp, "Jukelet-Uninstall.", DecimalText(start + attempt));
        if (CreateDirectoryA(folder.c_str(), nullptr)) return folder;
    }
    return String();
}

// Windows 9x deletes a file named in WININIT.INI's [rename] section as "NUL=short path" when
// it next starts.
void RemoveThroughWininit(const String& file) {
    String shortName;
    shortName.resize(MAX_PATH);
    shortName.resize(GetShortPathNameA(file.c_str(), shortName.data(), MAX_PATH + 1));
    if (shortName.empty() || shortName.size() > MAX_PATH) return;
    String ini;
    ini.resize(MAX_PATH);
    ini.resize(GetWindowsDirectoryA(ini.data(), MAX_PATH + 1));
    if (ini.empty() || ini.size() > MAX_PATH) return;
    ini = Concat(ini, "\\WININIT.INI");
    const String text = WithRenameLine(ReadWholeFile(ini), Concat("NUL=", shortName));
    WriteWholeFile(ini, text.c_str(), text.size());
}

}  // namespace

bool RunningAsUninstallerCopy() { return lstrcmpiA(FileName(ProgramPath()).c_str(), UninstallerCopyName) == 0; }

bool StartUninstallerCopy(std::string_view arguments) {
    const String folder = NewTempFolder();
    if (folder.empty()) return false;
    const String copy = Concat(folder, "\\", UninstallerCopyName);
    if (CopyFileA(ProgramPath().c_str(), copy.c_str(), FALSE)) {
        String commandLine = Concat("\"", copy, "\" ", arguments);
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION started = {};
        // In its own folder: the installation's must not be its current directory.
        if (CreateProcessA(copy.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                           &startup, &started)) {
            CloseHandle(started.hThread);
            CloseHandle(started.hProcess);
            return true;
        }
        DeleteFileA(copy.c_str());
    }
    RemoveDirectoryA(folder.c_str());
    return false;
}

void RemoveCopyAtRestart() {
    const String copy = ProgramPath();
    // A stub that fails on Windows 9x; NT deletes the file, then its emptied folder.
    static const auto moveFileEx = LOAD_PROC(GetModuleHandleA("kernel32.dll"), MoveFileExA);
    if (moveFileEx && moveFileEx(copy.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) {
        moveFileEx(TrimFileName(copy).c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
        return;
    }
    RemoveThroughWininit(copy);
}

String WithRenameLine(std::string_view ini, std::string_view line) {
    String upper(ini);
    if (!upper.empty()) CharUpperA(upper.data());
    const size_t section = upper.find("[RENAME]");
    if (section == String::npos) {
        const bool ended = ini.empty() || ini.back() == '\n';
        return Concat(ini, ended ? "" : "\r\n", "[rename]\r\n", line, "\r\n");
    }
    const size_t lineEnd = upper.find('\n', section);
    const size_t after = lineEnd == String::npos ? ini.size() : lineEnd + 1;
    return Concat(ini.substr(0, after), lineEnd == String::npos ? "\r\n" : "", line, "\r\n", ini.substr(after));
}
