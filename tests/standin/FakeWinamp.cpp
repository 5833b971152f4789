// A stand-in for Winamp, written from its published window interface only: a main window
// of class "Winamp v1.x" that records what it is sent. Driven by environment variables:
//   FAKEWINAMP_LOG              file the records are appended to (default: beside the exe)
//   FAKEWINAMP_WINDOW_DELAY_MS  start up this long before creating the main window
//   FAKEWINAMP_LOADING_MS       create the main window hidden, then load this long without
//                               reading messages before showing it (as Winamp loads plug-ins)
//   FAKEWINAMP_HANG_MS          once it has read messages, stop reading them this long
//   FAKEWINAMP_PLAY_DIALOG_MS   Play opens a modal loop (which reads messages) for this long
//   FAKEWINAMP_TRAY             when set, minimising hides the window (notification area)
//   FAKEWINAMP_LINGER_MS        after the window closes, the process runs on this long
//   FAKEWINAMP_HAND_OVER        start this program instead, without this variable, and end
//   FAKEWINAMP_LAUNCH           start this program instead, without this variable, and run
//                               on without a window (120 s), as a launcher that stays does
//   FAKEWINAMP_TIMESTAMPS       when set, "start", "window" (its creation) and "command" end
//                               in " qpc=COUNT"; "window" then adds " shown=COUNT" (shown
//                               and about to read messages)
// Records, one per line: "start pid=P show=N cwd=DIR", "commandline TEXT", "window",
// "command ID", "dialog", "dialog closed", "hidden", "closed", "exit"; a hand-over records
// "handover pid=P" only, a launcher "launch pid=P".
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string g_logPath;
std::string g_lastCommand = "(none yet)";
bool g_timestamps = false;
bool g_tray = false;
DWORD g_playDialogMs = 0;

std::string EnvironmentValue(const char* name) {
    char buffer[1024];
    DWORD length = GetEnvironmentVariableA(name, buffer, sizeof(buffer));
    return length && length < sizeof(buffer) ? std::string(buffer, length) : std::string();
}

DWORD EnvironmentMs(const char* name) {
    return static_cast<DWORD>(std::strtoul(EnvironmentValue(name).c_str(), nullptr, 10));
}

// The performance counter is one clock for every process, so the benchmark can set
// these against its own.
std::string Stamp(const char* name = "qpc") {
    if (!g_timestamps) return std::string();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return std::string(" ") + name + "=" + std::to_string(now.QuadPart);
}

void Record(const std::string& line) {
    HANDLE file = CreateFileA(g_logPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    std::string text = line + "\r\n";
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

const char* CommandName(WPARAM id) {
    switch (LOWORD(id)) {
        case 40044: return "previous";
        case 40045: return "play";
        case 40046: return "pause";
        case 40047: return "stop";
        case 40048: return "next";
        case 40001: return "close";
        default: return "unknown";
    }
}

// Reads and dispatches messages for this long, as a modal loop does.
void PumpFor(DWORD ms) {
    const DWORD started = GetTickCount();
    for (DWORD elapsed = 0; elapsed < ms; elapsed = GetTickCount() - started) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - elapsed, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    }
}

void Hide(HWND window) {
    ShowWindow(window, SW_HIDE);
    Record("hidden");
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            Record("command " + std::to_string(LOWORD(wParam)) + Stamp());
            g_lastCommand = std::to_string(LOWORD(wParam)) + " (" + CommandName(wParam) + ")";
            InvalidateRect(window, nullptr, TRUE);
            if (LOWORD(wParam) == 40001) DestroyWindow(window);
            if (LOWORD(wParam) == 40045 && g_playDialogMs) {
                Record("dialog");
                PumpFor(g_playDialogMs);
                Record("dialog closed");
            }
            return 0;
        case WM_SYSCOMMAND:
            if (g_tray && (wParam & 0xFFF0) == SC_MINIMIZE) {
                Hide(window);
                return 0;
            }
            return DefWindowProcA(window, message, wParam, lParam);
        case WM_SIZE:
            if (g_tray && wParam == SIZE_MINIMIZED) Hide(window);
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            RECT client;
            GetClientRect(window, &client);
            std::string text = "Winamp stand-in\nLast command: " + g_lastCommand;
            SetBkMode(dc, TRANSPARENT);
            DrawTextA(dc, text.c_str(), -1, &client, DT_CENTER | DT_VCENTER | DT_WORDBREAK);
            EndPaint(window, &paint);
            return 0;
        }
        case WM_DESTROY:
            Record("closed");
            PostQuitMessage(0);
            return 0;
        default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

// Programs a stand-in starts in its stead, and how long it runs on after.
struct Instead {
    const char* variable;
    const char* record;
    DWORD staysMs;
};
constexpr Instead Insteads[] = {{"FAKEWINAMP_HAND_OVER", "handover", 0}, {"FAKEWINAMP_LAUNCH", "launch", 120000}};

void StartProgram(const std::string& path) {
    std::string line = "\"" + path + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION other = {};
    if (CreateProcessA(path.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &other)) {
        CloseHandle(other.hThread);
        CloseHandle(other.hProcess);
    }
}

std::string DefaultLogPath() {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string exe(path, length);
    return exe.substr(0, exe.rfind('\\') + 1) + "fakewinamp.log";
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    g_timestamps = !EnvironmentValue("FAKEWINAMP_TIMESTAMPS").empty();
    const std::string started = Stamp();
    g_logPath = EnvironmentValue("FAKEWINAMP_LOG");
    if (g_logPath.empty()) g_logPath = DefaultLogPath();

    char cwd[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, cwd);
    // A launcher, or a second Winamp handing over to a first: it starts the other, and ends
    // at once or stays.
    for (const Instead& instead : Insteads) {
        const std::string other = EnvironmentValue(instead.variable);
        if (other.empty()) continue;
        Record(std::string(instead.record) + " pid=" + std::to_string(GetCurrentProcessId()));
        SetEnvironmentVariableA(instead.variable, nullptr);
        StartProgram(other);
        Sleep(instead.staysMs);
        return 0;
    }
    g_tray = !EnvironmentValue("FAKEWINAMP_TRAY").empty();
    g_playDialogMs = EnvironmentMs("FAKEWINAMP_PLAY_DIALOG_MS");
    Record("start pid=" + std::to_string(GetCurrentProcessId()) + " show=" + std::to_string(showCommand) +
           " cwd=" + cwd + started);
    Record(std::string("commandline ") + GetCommandLineA());

    if (DWORD delay = EnvironmentMs("FAKEWINAMP_WINDOW_DELAY_MS")) Sleep(delay);

    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = "Winamp v1.x";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowA("Winamp v1.x", "Winamp stand-in", WS_OVERLAPPEDWINDOW, 40, 40, 300, 120, nullptr,
                                nullptr, instance, nullptr);
    // From here a sender can find the window; it may even be served while it is being shown.
    const std::string created = Stamp();
    if (DWORD loading = EnvironmentMs("FAKEWINAMP_LOADING_MS")) Sleep(loading);
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    const DWORD hang = EnvironmentMs("FAKEWINAMP_HANG_MS");
    // A Winamp that hangs has been running a while: it has read messages before.
    if (hang) PumpFor(50);
    Record("window" + created + Stamp("shown"));
    Sleep(hang);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    Sleep(EnvironmentMs("FAKEWINAMP_LINGER_MS"));
    Record("exit");
    return 0;
}
