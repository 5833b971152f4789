#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "base/UniqueHandle.h"

// A program a test started; ended by its id when the test is done with it.
class TestProcess {
public:
    TestProcess() = default;
    // commandLine is the whole command line, program included. An empty application lets
    // the system take the program from commandLine, as a shell does.
    // currentDirectory "" keeps this process's.
    static TestProcess Start(const std::string& application, const std::string& commandLine,
                             int showCommand = SW_SHOWNORMAL, const std::string& currentDirectory = "");
    // Starts application with exactly this argument string after the quoted program name.
    static TestProcess StartWithArguments(const std::string& application, const std::string& arguments,
                                          const std::string& currentDirectory = "");
    // Starts a program whose path has letters the ANSI code page may lack, with no arguments.
    static TestProcess StartUnicode(const std::wstring& application);

    explicit operator bool() const { return static_cast<bool>(process_); }
    DWORD id() const { return id_; }
    HANDLE handle() const { return process_.get(); }

    bool WaitForExit(DWORD timeoutMs) const;
    bool IsRunning() const;
    DWORD ExitCode() const;
    void Kill();
    ~TestProcess() { Kill(); }

    TestProcess(TestProcess&&) = default;
    TestProcess& operator=(TestProcess&&) = default;

private:
    KernelHandle process_;
    DWORD id_ = 0;
};

// Ends every running process whose image is named imageName (case-insensitive), such as
// stand-ins that the program under test started on its own. Returns how many.
int KillProcessesNamed(const std::string& imageName);
int CountProcessesNamed(const std::string& imageName);
std::vector<DWORD> ProcessIdsNamed(const std::string& imageName);

// Waits, pumping this thread's messages, until predicate() holds or the time runs out.
template <typename Predicate>
bool WaitUntil(Predicate predicate, DWORD timeoutMs, DWORD pollMs = 20) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        if (predicate()) return true;
        if (GetTickCount64() >= deadline) return false;
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        Sleep(pollMs);
    }
}
