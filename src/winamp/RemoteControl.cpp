#include "winamp/RemoteControl.h"

#include <string>

#include "base/SharedState.h"
#include "base/Paths.h"

namespace {

constexpr DWORD WindowPollMs = 5;

std::string SystemMessage(DWORD error) {
    char* text = nullptr;
    DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = length ? std::string(text, length) : "Error " + std::to_string(error);
    LocalFree(text);
    while (!message.empty() && (message.back() == '\r' || message.back() == '\n' || message.back() == ' '))
        message.pop_back();
    return message;
}

void ReportLaunchFailure(const std::string& path, DWORD error) {
    std::string text = "Winamp could not be started:\r" + path + "\r\r" + SystemMessage(error);
    MessageBoxA(nullptr, text.c_str(), AppTitle, MB_OK | MB_ICONEXCLAMATION);
}

void Deliver(HWND window, WinampCommand id) {
    DWORD_PTR ignored = 0;
    // A hung Winamp must not hang the toolbar click.
    SendMessageTimeoutA(window, WM_COMMAND, id, 0, SMTO_ABORTIFHUNG, WinampSendTimeoutMs, &ignored);
}

}  // namespace

HWND FindWinampWindow() {
    return FindWindowA(WinampWindowClass, nullptr);
}

KernelHandle LaunchWinamp() {
    const std::string folder = TrimFileName(WinampPath);
    if (!folder.empty()) SetCurrentDirectoryA(folder.c_str());

    // The path is both the application name and, quoted, the command line, so a path
    // with spaces can never start a different program.
    std::string commandLine = "\"" + WinampPath + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWMINNOACTIVE;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(WinampPath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &process)) {
        ReportLaunchFailure(WinampPath, GetLastError());
        return KernelHandle();
    }
    CloseHandle(process.hThread);
    return KernelHandle(process.hProcess);
}

HWND WaitForWinampWindow(HANDLE winampProcess, DWORD timeoutMs) {
    // The difference of two tick counts stays right across the counter's wrap at 49.7 days.
    const DWORD started = GetTickCount();
    for (;;) {
        if (HWND window = FindWinampWindow()) return window;
        if (GetTickCount() - started >= timeoutMs) return nullptr;
        // Doubles as the poll interval and notices a Winamp that gave up at start.
        if (WaitForSingleObject(winampProcess, WindowPollMs) == WAIT_OBJECT_0)
            return FindWinampWindow();
    }
}

void SendWinampCommand(WinampCommand id) {
    HWND window = FindWinampWindow();
    if (!window) {
        if (id == WinampStop) return;  // nothing to stop, and no reason to start Winamp
        KernelHandle winamp = LaunchWinamp();
        if (!winamp) return;
        window = WaitForWinampWindow(winamp.get(), WinampWindowWaitMs);
        if (!window) return;
    }
    Deliver(window, id);
}

void ToggleWinamp() {
    if (FindWinampWindow())
        SendWinampCommand(WinampClose);
    else
        LaunchWinamp();
}

void MinMaxWinamp() {
    HWND window = FindWinampWindow();
    if (!window) {
        LaunchWinamp();
        return;
    }
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof(placement);
    if (!GetWindowPlacement(window, &placement)) return;
    switch (placement.showCmd) {
        case SW_SHOWNORMAL:
        case SW_SHOWMAXIMIZED:
            ShowWindowAsync(window, SW_SHOWMINIMIZED);
            break;
        case SW_SHOWMINIMIZED:
            ShowWindowAsync(window, SW_SHOWNORMAL);
            SetForegroundWindow(window);
            break;
        default:
            break;
    }
}
