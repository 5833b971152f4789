#include "winamp/RemoteControl.h"

#include <cctype>
#include <string>

#include "base/Paths.h"
#include "base/SessionMutex.h"
#include "base/SharedState.h"

namespace {

constexpr DWORD WindowPollMs = 5;

// Held by a click that found Winamp closed while it starts Winamp and acts on it, so that
// quick clicks start one Winamp between them and act on it in the order they came. A click
// that finds Winamp running acts at once, as a hung Winamp must not make clicks queue.
constexpr const char* WinampStartLockName = "Local\\Orvalle.Jukelet.WinampStart";
// A holder lets go within its window wait and one send; past that, a click goes on alone.
constexpr DWORD StartLockWaitMs = WinampWindowWaitMs + WinampSendTimeoutMs + 2000;

// Some system texts name the file as an insert, such as "%1 is not a valid Win32
// application.": the path goes in its place, and inserts that have nothing to show go.
std::string FillInserts(const std::string& text, const std::string& path) {
    std::string filled;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%' || i + 1 >= text.size() || !std::isdigit(static_cast<unsigned char>(text[i + 1]))) {
            filled += text[i];
            continue;
        }
        size_t end = i + 1;
        while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end]))) ++end;
        const bool isPath = text.compare(i + 1, end - i - 1, "1") == 0;
        // An insert may carry a printf format between exclamation marks: %1!s!.
        if (end < text.size() && text[end] == '!') {
            const size_t close = text.find('!', end + 1);
            if (close != std::string::npos) end = close + 1;
        }
        if (isPath) filled += path;
        i = end - 1;
    }
    return filled;
}

std::string SystemMessage(DWORD error, const std::string& path) {
    char* text = nullptr;
    DWORD length =
        FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = length ? std::string(text, length) : "Error " + std::to_string(error);
    LocalFree(text);
    while (!message.empty() && (message.back() == '\r' || message.back() == '\n' || message.back() == ' '))
        message.pop_back();
    return FillInserts(message, path);
}

void ReportLaunchFailure(const std::string& path, DWORD error) {
    std::string text = "Winamp could not be started:\r" + path + "\r\r" + SystemMessage(error, path);
    MessageBoxA(nullptr, text.c_str(), AppTitle, MB_OK | MB_ICONEXCLAMATION);
}

void Deliver(HWND window, WinampCommand id) {
    DWORD_PTR ignored = 0;
    // A hung Winamp must not hang the toolbar click.
    SendMessageTimeoutA(window, WM_COMMAND, id, 0, SMTO_ABORTIFHUNG, WinampSendTimeoutMs, &ignored);
}

// The folder Winamp starts in. A root keeps its backslash: "C:" alone would name the drive's
// current folder, and "\\?\C:" names no folder at all.
std::string LaunchFolder(const std::string& path) {
    const std::string folder = TrimFileName(path);
    const size_t root = RootLength(path);
    return !folder.empty() && folder.size() < root ? path.substr(0, root) : folder;
}

// Winamp's main window, once a Winamp started here has opened it; nullptr when the start
// failed or the window did not come in time.
HWND StartWinampAndWait() {
    KernelHandle winamp = LaunchWinamp();
    if (!winamp) return nullptr;
    return WaitForWinampWindow(winamp.get(), WinampWindowWaitMs);
}

// Minimises a shown Winamp; restores a minimised one and brings it to the front.
void MinimiseOrRestore(HWND window) {
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof(placement);
    if (!GetWindowPlacement(window, &placement)) return;
    switch (placement.showCmd) {
        case SW_SHOWNORMAL:
        case SW_SHOWMAXIMIZED: ShowWindowAsync(window, SW_SHOWMINIMIZED); break;
        case SW_SHOWMINIMIZED:
            ShowWindowAsync(window, SW_SHOWNORMAL);
            SetForegroundWindow(window);
            break;
        default: break;
    }
}

enum class WhenClosed { LeaveIt, Start, StartAndAct };

// Acts on Winamp's main window. A click that finds Winamp closed takes its turn with the
// other such clicks; if no click before it started Winamp meanwhile, it starts Winamp (as
// `whenClosed` says) and waits for its window.
template <typename Act>
void ActOnWinamp(WhenClosed whenClosed, Act act) {
    if (HWND window = FindWinampWindow()) return act(window);
    SessionMutex oneStartAtATime(WinampStartLockName);
    oneStartAtATime.Lock(StartLockWaitMs);
    if (HWND window = FindWinampWindow()) return act(window);
    if (whenClosed == WhenClosed::LeaveIt) return;
    HWND started = StartWinampAndWait();
    if (started && whenClosed == WhenClosed::StartAndAct) act(started);
}

}  // namespace

HWND FindWinampWindow() { return FindWindowA(WinampWindowClass, nullptr); }

KernelHandle LaunchWinamp() {
    const std::string folder = LaunchFolder(WinampPath);
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
        if (WaitForSingleObject(winampProcess, WindowPollMs) == WAIT_OBJECT_0) return FindWinampWindow();
    }
}

void SendWinampCommand(WinampCommand id) {
    // Nothing to stop when Winamp is closed, and no reason to start it.
    ActOnWinamp(id == WinampStop ? WhenClosed::LeaveIt : WhenClosed::StartAndAct,
                [id](HWND window) { Deliver(window, id); });
}

void ToggleWinamp() {
    ActOnWinamp(WhenClosed::Start, [](HWND window) { Deliver(window, WinampClose); });
}

void MinMaxWinamp() { ActOnWinamp(WhenClosed::Start, MinimiseOrRestore); }
