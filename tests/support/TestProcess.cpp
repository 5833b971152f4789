#include "support/TestProcess.h"

#include <tlhelp32.h>

#include <vector>

TestProcess TestProcess::Start(const std::string& application, const std::string& commandLine, int showCommand,
                               const std::string& currentDirectory) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showCommand);
    PROCESS_INFORMATION info = {};
    std::vector<char> mutableLine(commandLine.begin(), commandLine.end());
    mutableLine.push_back('\0');
    TestProcess result;
    const char* program = application.empty() ? nullptr : application.c_str();
    if (!CreateProcessA(program, mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        currentDirectory.empty() ? nullptr : currentDirectory.c_str(), &startup, &info))
        return result;
    CloseHandle(info.hThread);
    result.process_.reset(info.hProcess);
    result.id_ = info.dwProcessId;
    return result;
}

TestProcess TestProcess::StartWithArguments(const std::string& application, const std::string& arguments,
                                            const std::string& currentDirectory) {
    std::string line = "\"" + application + "\"";
    if (!arguments.empty()) line += " " + arguments;
    return Start(application, line, SW_SHOWNORMAL, currentDirectory);
}

TestProcess TestProcess::StartUnicode(const std::wstring& application) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    std::wstring line = L"\"" + application + L"\"";
    TestProcess result;
    if (!CreateProcessW(application.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info))
        return result;
    CloseHandle(info.hThread);
    result.process_.reset(info.hProcess);
    result.id_ = info.dwProcessId;
    return result;
}

bool TestProcess::WaitForExit(DWORD timeoutMs) const {
    return process_ && WaitForSingleObject(process_.get(), timeoutMs) == WAIT_OBJECT_0;
}

bool TestProcess::IsRunning() const { return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }

DWORD TestProcess::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (process_) GetExitCodeProcess(process_.get(), &code);
    return code;
}

void TestProcess::Kill() {
    // Killed through our own handle, so a reused id can never hit another process.
    if (IsRunning()) {
        TerminateProcess(process_.get(), 1);
        WaitForSingleObject(process_.get(), 5000);
    }
}

std::vector<DWORD> ProcessIdsNamed(const std::string& imageName) {
    std::vector<DWORD> ids;
    FileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return ids;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32First(snapshot.get(), &entry); more; more = Process32Next(snapshot.get(), &entry))
        if (lstrcmpiA(entry.szExeFile, imageName.c_str()) == 0) ids.push_back(entry.th32ProcessID);
    return ids;
}

int KillProcessesNamed(const std::string& imageName) {
    int killed = 0;
    for (DWORD id : ProcessIdsNamed(imageName)) {
        KernelHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
        if (!process) continue;
        TerminateProcess(process.get(), 1);
        WaitForSingleObject(process.get(), 5000);
        ++killed;
    }
    return killed;
}

int CountProcessesNamed(const std::string& imageName) { return static_cast<int>(ProcessIdsNamed(imageName).size()); }
