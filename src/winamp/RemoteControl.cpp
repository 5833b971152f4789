#include "winamp/RemoteControl.h"

#include "base/Paths.h"
#include "base/SharedState.h"
#include "base/UserMessage.h"
#include "winamp/StartLock.h"

namespace {

constexpr DWORD WindowPollMs = 5;

// Some system texts name the file as an insert, such as "%1 is not a valid Win32
// application.": the path goes in its place, and inserts that have nothing to show go.
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

String FillInserts(std::string_view text, std::string_view path) {
    String filled;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%' || i + 1 >= text.size() || !IsDigit(text[i + 1])) {
            filled += text[i];
            continue;
        }
        size_t end = i + 1;
        while (end < text.size() && IsDigit(text[end])) ++end;
        const bool isPath = text.substr(i + 1, end - i - 1) == "1";
        // An insert may carry a printf format between exclamation marks: %1!s!.
        if (end < text.size() && text[end] == '!') {
            const size_t close = text.find('!', end + 1);
            if (close != std::string_view::npos) end = close + 1;
        }
        if (isPath) filled += path;
        i = end - 1;
    }
    return filled;
}

String SystemMessage(DWORD error, std::string_view path) {
    char* text = nullptr;
    DWORD length =
        FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    String message = length ? String(std::string_view(text, length)) : Concat("Error ", DecimalText(error));
    LocalFree(text);
    while (!message.empty() && (message.back() == '\r' || message.back() == '\n' || message.back() == ' '))
        message.pop_back();
    return FillInserts(message, path);
}

void ReportLaunchFailure(std::string_view path, DWORD error) {
    const String text = Concat("Winamp could not be started:\r", path, "\r\r", SystemMessage(error, path));
    ShowMessage(nullptr, text.c_str(), AppTitle, MB_OK | MB_ICONEXCLAMATION);
}

void Deliver(HWND window, WinampCommand id) {
    DWORD_PTR ignored = 0;
    // A hung Winamp must not hang the toolbar click. A command Winamp has not taken when the
    // time runs out is withdrawn, and one it has taken is never sent again.
    SendMessageTimeoutA(window, WM_COMMAND, id, 0, SMTO_ABORTIFHUNG, WinampSendTimeoutMs, &ignored);
}

// The folder Winamp starts in. A root keeps its backslash: "C:" alone would name the drive's
// current folder, and "\\?\C:" names no folder at all.
String LaunchFolder(std::string_view path) {
    String folder = TrimFileName(path);
    const size_t root = RootLength(path);
    if (!folder.empty() && folder.size() < root) return String(path.substr(0, root));
    return folder;
}

KernelHandle OpenWindowProcess(HWND window, DWORD access, DWORD* id = nullptr) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (id) *id = owner;
    return KernelHandle(OpenProcess(access, FALSE, owner));
}

// Whether Winamp is ready for input, having waited at most timeoutMs. Winamp opens its window
// long before it reads messages (it loads its plug-ins in between); a process is ready once
// it has first waited for input, and from then on WaitForInputIdle returns at once, busy or
// hung, so a Winamp running a while costs no wait. Windows NT wants PROCESS_QUERY_INFORMATION
// for it and Wine waits on the handle too; 9x checks neither. One that cannot be asked counts
// as ready.
bool ReadyForInput(HWND window, DWORD timeoutMs) {
    const KernelHandle process = OpenWindowProcess(window, SYNCHRONIZE | PROCESS_QUERY_INFORMATION);
    return !process || WaitForInputIdle(process.get(), timeoutMs) != WAIT_TIMEOUT;
}

// Waits for Winamp's main window until the deadline or, when `process` is given, until that
// process ends (then *ended is set). A winamp.exe that hands over to another process and
// ends at once must not end the wait: the window comes from the other.
HWND WaitForWindow(HANDLE process, const Deadline& deadline, bool* ended) {
    for (;;) {
        if (HWND window = FindWinampWindow()) return window;
        if (deadline.Passed()) return nullptr;
        // Doubles as the poll interval.
        if (!process) {
            Sleep(WindowPollMs);
        } else if (WaitForSingleObject(process, WindowPollMs) == WAIT_OBJECT_0) {
            *ended = true;
            return FindWinampWindow();
        }
    }
}

// Minimises a Winamp the user sees; shows, restores and brings to the front one that is
// minimised, or hidden because it lives in the notification area.
void MinimiseOrRestore(HWND window) {
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof(placement);
    if (!GetWindowPlacement(window, &placement)) return;
    if (IsWindowVisible(window) && placement.showCmd != SW_SHOWMINIMIZED) {
        ShowWindowAsync(window, SW_SHOWMINIMIZED);
        return;
    }
    ShowWindowAsync(window, SW_SHOWNORMAL);
    SetForegroundWindow(window);
}

// Tells the clicks after this one which Winamp is closing: it runs on for a while after its
// window goes, and they wait for it to end before they start another.
void RememberClosing(HWND window) {
    DWORD id = 0;
    const KernelHandle process = OpenWindowProcess(window, PROCESS_DUP_HANDLE, &id);
    StartLock lock;
    if (process && lock.Take(WinampSendTimeoutMs)) lock.RememberClosing(process.get(), id);
}

// A ready Winamp is acted on at once, unless clicks before this one still wait their turn.
bool ActAtOnce(HWND window) { return window && ReadyForInput(window, 0) && !StartLock::TurnsPending(); }

enum class WhenClosed { LeaveIt, Start, StartAndAct };

// Acts on Winamp's main window once Winamp is ready for input. A Winamp running a while is
// acted on at once. Otherwise the click waits for Winamp, taking turns with the other clicks
// that do: the first to find no Winamp (none starting, none closing) starts it, as
// `whenClosed` says. Clicks wait for a closing Winamp to end before one starts another, and a
// click that runs out of time says nothing and starts nothing.
template <typename Act>
void ActOnWinamp(WhenClosed whenClosed, Act act) {
    const Deadline deadline(WinampWindowWaitMs);
    HWND window = FindWinampWindow();
    if (ActAtOnce(window)) return act(window);

    StartLock lock;
    DWORD ended = 0;  // a Winamp this click saw end
    while (lock.Take(deadline.Left())) {
        window = FindWinampWindow();
        const KnownWinamp known = window ? KnownWinamp() : lock.Known(ended);
        const bool closed = !window && !known.process && !known.handingOver;
        if (closed && whenClosed == WhenClosed::LeaveIt) return;
        if (closed) {
            const LaunchedWinamp started = LaunchWinamp();
            if (!started.process) {
                lock.Give();
                return ReportLaunchFailure(WinampPath, started.error);
            }
            lock.RememberStarted(started.process.get(), started.id);
            if (whenClosed == WhenClosed::Start) return;
        }
        lock.TakeTurn();
        lock.Give();

        bool knownEnded = false;
        if (!window) window = WaitForWindow(known.process.get(), deadline, &knownEnded);
        if (!window) {
            if (!knownEnded) return;
            ended = known.id;
            continue;
        }
        ReadyForInput(window, deadline.Left());
        lock.WaitForTurnAndSend(deadline);
        return act(window);
    }
}

}  // namespace

HWND FindWinampWindow() { return FindWindowA(WinampWindowClass, nullptr); }

LaunchedWinamp LaunchWinamp() {
    LaunchedWinamp launched;
    const String folder = LaunchFolder(WinampPath);
    if (!folder.empty()) SetCurrentDirectoryA(folder.c_str());

    // The path is both the application name and, quoted, the command line, so a path
    // with spaces can never start a different program.
    String commandLine = Concat("\"", WinampPath, "\"");
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWMINNOACTIVE;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(WinampPath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &process)) {
        launched.error = GetLastError();
        return launched;
    }
    CloseHandle(process.hThread);
    launched.process.reset(process.hProcess);
    launched.id = process.dwProcessId;
    return launched;
}

HWND WaitForWinampWindow(DWORD timeoutMs) {
    bool ended = false;
    return WaitForWindow(nullptr, Deadline(timeoutMs), &ended);
}

void SendWinampCommand(WinampCommand id) {
    // Nothing to stop when Winamp is closed, and no reason to start it.
    ActOnWinamp(id == WinampStop ? WhenClosed::LeaveIt : WhenClosed::StartAndAct,
                [id](HWND window) { Deliver(window, id); });
}

void ToggleWinamp() {
    ActOnWinamp(WhenClosed::Start, [](HWND window) {
        RememberClosing(window);
        Deliver(window, WinampClose);
    });
}

void MinMaxWinamp() { ActOnWinamp(WhenClosed::Start, MinimiseOrRestore); }
