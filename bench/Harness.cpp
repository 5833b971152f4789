// Measures Jukelet under Wine against programs that do the least the same job needs, and
// prints Markdown table rows (Measure | Jukelet | Baseline | Result). Asserts nothing
// about time; exits non-zero only when something did not happen at all.
//   bench_harness click RUNS           a toolbar click with Winamp running, against the floor
//   bench_harness cold RUNS [DELAY_MS [LOADING_MS]]
//                                      a click with Winamp closed: window-to-command lag, total;
//                                      Winamp's window after DELAY_MS, then LOADING_MS hidden
//                                      and not answering, as Winamp loading its plug-ins
//   bench_harness window RUNS          launch to visible window, against an empty window and
//                                      a dialog with the same controls and manifest
//   bench_harness memory RUNS          peak working set of a click, against the floor
//   bench_harness load CLICKS          clicks in a row, then clicks against a hung Winamp
// The programs are taken from the harness's own folder; the Winamp stand-in is installed
// where a real Winamp would be and remembered in the registry, as a user's setup would.
#include <windows.h>

#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/UniqueHandle.h"
#include "support/TestEnvironment.h"
#include "support/TestProcess.h"
#include "winamp/RemoteControl.h"
#include "winamp/Settings.h"

namespace {

constexpr const char* WinampFolder = "C:\\Program Files\\Winamp";
constexpr const char* WinampExe = "C:\\Program Files\\Winamp\\winamp.exe";
constexpr const char* EmptyWindowCaption = "Empty Window";
constexpr const char* DialogFloorCaption = "Dialog Floor";
constexpr int WarmUpRuns = 3;
// Generous: only a program that is truly stuck is given up on.
constexpr DWORD ExitWaitMs = WinampWindowWaitMs + WinampSendTimeoutMs + 10000;

bool g_failed = false;

constexpr int Id(WinampCommand command) { return static_cast<int>(command); }

double CounterToMs(long long counter) {
    static const double perMs = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart) / 1000.0;
    }();
    return static_cast<double>(counter) / perMs;
}

double Now() {
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return CounterToMs(counter.QuadPart);
}

std::string Program(const char* name) { return BinFolder() + "\\" + name; }

std::string TempFile(const char* name) {
    char folder[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + name;
}

// A program this harness started; ended through its own handle if still running.
class Child {
public:
    Child() = default;
    static Child Start(const std::string& exe, const std::string& arguments, int show = SW_SHOWNORMAL) {
        std::string line = "\"" + exe + "\"";
        if (!arguments.empty()) line += " " + arguments;
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = static_cast<WORD>(show);
        PROCESS_INFORMATION info = {};
        Child child;
        child.started_ = Now();
        if (!CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
            fprintf(stderr, "could not start %s: error %lu\n", line.c_str(), GetLastError());
            return Child();
        }
        CloseHandle(info.hThread);
        child.process_.reset(info.hProcess);
        child.threadId_ = info.dwThreadId;
        return child;
    }
    ~Child() { Kill(); }
    Child(Child&&) = default;
    Child& operator=(Child&&) = default;

    explicit operator bool() const { return static_cast<bool>(process_); }
    HANDLE handle() const { return process_.get(); }
    DWORD threadId() const { return threadId_; }
    double started() const { return started_; }
    bool Ended() const { return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_OBJECT_0; }
    DWORD ExitCode() const {
        DWORD code = STILL_ACTIVE;
        if (process_) GetExitCodeProcess(process_.get(), &code);
        return code;
    }
    bool WaitForExit(DWORD timeoutMs) const {
        return process_ && WaitForSingleObject(process_.get(), timeoutMs) == WAIT_OBJECT_0;
    }
    void Kill() {
        if (process_ && !Ended()) {
            TerminateProcess(process_.get(), 1);
            WaitForSingleObject(process_.get(), 5000);
        }
    }

private:
    KernelHandle process_;
    DWORD threadId_ = 0;
    double started_ = 0;
};

struct Summary {
    double min = 0, median = 0, max = 0;
    size_t count = 0;
};

Summary Summarise(std::vector<double> values) {
    Summary summary;
    summary.count = values.size();
    if (values.empty()) return summary;
    std::sort(values.begin(), values.end());
    summary.min = values.front();
    summary.max = values.back();
    size_t middle = values.size() / 2;
    summary.median = values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
    return summary;
}

std::string Format(const char* format, double value) {
    char text[64];
    snprintf(text, sizeof(text), format, value);
    return text;
}

std::string MinMedian(const Summary& s) {
    if (!s.count) return "no result";
    return Format("%.1f", s.min) + " / " + Format("%.1f", s.median) + " ms";
}

void Row(const std::string& measure, const std::string& jukelet, const std::string& baseline,
         const std::string& result) {
    printf("| %s | %s | %s | %s |\n", measure.c_str(), jukelet.c_str(), baseline.c_str(), result.c_str());
    fflush(stdout);
}

// ---- The Winamp stand-in and its log ----

std::string LogPath() { return TempFile("bench-winamp.log"); }

std::vector<std::string> ReadLog() { return ReadLogLines(LogPath()); }

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

// The counter a record was stamped with, in ms; negative when it has none.
double Stamp(const std::string& line, const std::string& name = "qpc") {
    const std::string key = " " + name + "=";
    size_t at = line.find(key);
    if (at == std::string::npos) return -1;
    return CounterToMs(std::strtoll(line.c_str() + at + key.size(), nullptr, 10));
}

struct Command {
    int id;
    double at;
};

std::vector<Command> Commands(const std::vector<std::string>& log) {
    std::vector<Command> commands;
    for (const std::string& line : log)
        if (StartsWith(line, "command ")) commands.push_back({std::atoi(line.c_str() + 8), Stamp(line)});
    return commands;
}

double FirstStamp(const std::vector<std::string>& log, const char* prefix, const std::string& name = "qpc") {
    for (const std::string& line : log)
        if (StartsWith(line, prefix)) return Stamp(line, name);
    return -1;
}

// Timings want a finer poll than the tests' default.
constexpr DWORD PollMs = 2;

void SetEnvironment(const char* name, const std::string& value) {
    SetEnvironmentVariableA(name, value.empty() ? nullptr : value.c_str());
}

// Puts the stand-in where Winamp lives and remembers it as Jukelet would, so no launch asks.
bool InstallStandIn() {
    CreateDirectoryA(WinampFolder, nullptr);
    if (!CopyFileA(Program("fake_winamp.exe").c_str(), WinampExe, FALSE)) return false;
    HKEY raw = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, SettingsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &raw, nullptr) !=
        ERROR_SUCCESS)
        return false;
    RegKey key(raw);
    const std::string path = WinampExe;
    if (RegSetValueExA(key.get(), WinampExeValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                       static_cast<DWORD>(path.size() + 1)) != ERROR_SUCCESS)
        return false;
    SetEnvironment("FAKEWINAMP_LOG", LogPath());
    SetEnvironment("FAKEWINAMP_TIMESTAMPS", "1");
    SetEnvironment("FAKEWINAMP_WINDOW_DELAY_MS", "");
    SetEnvironment("FAKEWINAMP_LOADING_MS", "");
    SetEnvironment("FAKEWINAMP_HANG_MS", "");
    return true;
}

// Starts the stand-in as a user would and waits for its window record.
Child StartStandIn() {
    DeleteFileA(LogPath().c_str());
    Child winamp = Child::Start(WinampExe, "");
    if (!winamp) return winamp;
    if (!WaitUntil([] { return FirstStamp(ReadLog(), "window") >= 0; }, 10000, PollMs)) winamp.Kill();
    return winamp;
}

// Ends the stand-in that Jukelet started, known from its own start record and checked
// against the owner of Winamp's window so a reused id is never hit.
bool EndStandInStartedByJukelet(const std::vector<std::string>& log) {
    DWORD id = 0;
    for (const std::string& line : log)
        if (StartsWith(line, "start pid=")) id = static_cast<DWORD>(std::strtoul(line.c_str() + 10, nullptr, 10));
    HWND window = FindWindowA(WinampWindowClass, nullptr);
    DWORD owner = 0;
    if (window) GetWindowThreadProcessId(window, &owner);
    if (!id || owner != id) return !window;
    KernelHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
    if (!process) return false;
    TerminateProcess(process.get(), 1);
    return WaitForSingleObject(process.get(), 5000) == WAIT_OBJECT_0;
}

// A baseline (program 0) and Jukelet (program 1), timed in turns after warm-up runs.
struct Turns {
    Summary baseline, jukelet;
    int failures = 0;
};

template <typename TimeOne>
Turns TimeInTurns(int runs, TimeOne timeOne) {
    std::vector<double> times[2];
    Turns turns;
    for (int run = 0; run < WarmUpRuns + runs; ++run) {
        // Alternate which goes first, so neither always follows the other.
        for (int k = 0; k < 2; ++k) {
            int which = (run + k) % 2;
            double ms = timeOne(which);
            if (ms < 0)
                ++turns.failures;
            else if (run >= WarmUpRuns)
                times[which].push_back(ms);
        }
    }
    turns.baseline = Summarise(times[0]);
    turns.jukelet = Summarise(times[1]);
    return turns;
}

std::string RatioText(const Turns& turns, const char* baselineName) {
    if (turns.baseline.median <= 0) return "n/a";
    return Format("%.2f x ", turns.jukelet.median / turns.baseline.median) + baselineName +
           Format(" (minimums: %.2f x)", turns.jukelet.min / turns.baseline.min);
}

// ---- a. The toolbar click ----

// Launch to the command's arrival in the running stand-in, for one program; < 0 on failure.
double TimeOneClick(const std::string& exe) {
    const size_t before = Commands(ReadLog()).size();
    Child click = Child::Start(exe, "/PLAY");
    if (!click || !click.WaitForExit(ExitWaitMs)) {
        fprintf(stderr, "click: %s did not %s\n", exe.c_str(), click ? "end" : "start");
        return -1;
    }
    std::vector<std::string> log = ReadLog();
    std::vector<Command> commands = Commands(log);
    if (commands.size() != before + 1 || commands.back().id != Id(WinampPlay) || commands.back().at < 0) {
        fprintf(stderr, "click: %s ended with exit code %lu; %zu commands before, the log now:\n", exe.c_str(),
                click.ExitCode(), before);
        for (const std::string& line : log) fprintf(stderr, "  %s\n", line.c_str());
        return -1;
    }
    return commands.back().at - click.started();
}

int MeasureClick(int runs) {
    if (!InstallStandIn()) return 1;
    Child winamp = StartStandIn();
    if (!winamp) {
        Row("a. Toolbar click", "stand-in did not start", "", "FAILED");
        return 1;
    }
    const std::string programs[2] = {Program("bench_floor.exe"), Program("Jukelet.exe")};
    const Turns turns = TimeInTurns(runs, [&](int which) { return TimeOneClick(programs[which]); });
    std::string result = RatioText(turns, "the floor");
    if (turns.failures) result += ", " + std::to_string(turns.failures) + " clicks FAILED";
    Row("a. Toolbar click `/PLAY`, Winamp running: launch to command (min / median of " + std::to_string(runs) + ")",
        MinMedian(turns.jukelet), "floor: " + MinMedian(turns.baseline), result + " (target at most 1.10)");
    return turns.failures ? 1 : 0;
}

// ---- b. The click that starts Winamp ----

int MeasureColdStart(int runs, DWORD windowDelayMs, DWORD loadingMs) {
    if (!InstallStandIn()) return 1;
    if (windowDelayMs) SetEnvironment("FAKEWINAMP_WINDOW_DELAY_MS", std::to_string(windowDelayMs));
    if (loadingMs) SetEnvironment("FAKEWINAMP_LOADING_MS", std::to_string(loadingMs));
    std::vector<double> lags, showing, afterReady, totals, winampStarts;
    int failures = 0;
    for (int run = 0; run < WarmUpRuns + runs; ++run) {
        if (FindWindowA(WinampWindowClass, nullptr)) return 1;
        DeleteFileA(LogPath().c_str());
        Child click = Child::Start(Program("Jukelet.exe"), "/PLAY");
        bool ended = click && click.WaitForExit(ExitWaitMs);
        // The command can be served while Winamp is still showing its window, before it
        // writes the window's record.
        WaitUntil([] { return FirstStamp(ReadLog(), "window") >= 0; }, 5000, PollMs);
        std::vector<std::string> log = ReadLog();
        std::vector<Command> commands = Commands(log);
        double started = FirstStamp(log, "start "), window = FirstStamp(log, "window");
        double shown = FirstStamp(log, "window", "shown");
        if (!ended || commands.size() != 1 || commands[0].id != Id(WinampPlay) || window < 0 || started < 0) {
            ++failures;
            fprintf(stderr, "cold start run %d: %s\n", run, ended ? "unexpected records" : "the click did not end");
            for (const std::string& line : log) fprintf(stderr, "  %s\n", line.c_str());
        } else if (run >= WarmUpRuns) {
            lags.push_back(commands[0].at - window);
            showing.push_back(shown - window);
            afterReady.push_back(commands[0].at - shown);
            totals.push_back(commands[0].at - click.started());
            winampStarts.push_back(started - click.started());
        }
        click.Kill();
        if (!EndStandInStartedByJukelet(log)) return 1;
    }
    std::string how;
    if (windowDelayMs) how = "Winamp's window after " + std::to_string(windowDelayMs) + " ms";
    if (loadingMs)
        how += (how.empty() ? "" : ", ") + std::string("Winamp loading ") + std::to_string(loadingMs) + " ms";
    if (!how.empty()) how = " (" + how + ")";
    const std::string of = " (min / median of " + std::to_string(runs) + ")";
    Summary lag = Summarise(lags), show = Summarise(showing), ready = Summarise(afterReady), total = Summarise(totals),
            start = Summarise(winampStarts);
    std::string failed = failures ? ", " + std::to_string(failures) + " runs FAILED" : "";
    Row("b. Cold start" + how + ": Winamp's window created to command" + of, MinMedian(lag),
        "Winamp showing its window and reading messages after: " + MinMedian(show),
        "command after Winamp reads messages: max " + Format("%.1f", ready.max) + " ms (target at most 100 ms)" +
            failed);
    Row("b. Cold start" + how + ": launch to command" + of, MinMedian(total),
        "Winamp process started after " + MinMedian(start), failed.empty() ? "" : failed.substr(2));
    return failures ? 1 : 0;
}

// ---- c. The configuration window ----

struct WindowQuery {
    const char* caption;
    HWND found;
};

BOOL CALLBACK MatchVisibleCaption(HWND window, LPARAM parameter) {
    auto* query = reinterpret_cast<WindowQuery*>(parameter);
    char text[128] = "";
    GetWindowTextA(window, text, sizeof(text));
    if (lstrcmpA(text, query->caption) != 0 || !IsWindowVisible(window)) return TRUE;
    query->found = window;
    return FALSE;
}

// The program's main thread is the one that makes its windows.
HWND VisibleWindowOf(const Child& child, const char* caption) {
    WindowQuery query{caption, nullptr};
    EnumThreadWindows(child.threadId(), MatchVisibleCaption, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

// Launch to the window being visible; < 0 when the program ended or gave up without one.
double TimeOneWindow(const std::string& exe, const char* caption) {
    Child program = Child::Start(exe, "");
    if (!program) return -1;
    HWND window = nullptr;
    double shown = 0;
    WaitUntil(
        [&] {
            if ((window = VisibleWindowOf(program, caption)) != nullptr) shown = Now();
            return window != nullptr || program.Ended();
        },
        ExitWaitMs, 1);
    if (!window) return -1;
    PostMessageA(window, WM_CLOSE, 0, 0);
    if (!program.WaitForExit(10000)) g_failed = true;  // Kill() still ends it
    return shown - program.started();
}

// Jukelet's configuration window against one floor, in turns; false when a launch failed.
bool MeasureWindowAgainst(int runs, const char* floorExe, const char* floorCaption, const std::string& floorName,
                          const char* target) {
    const std::string programs[2] = {Program(floorExe), Program("Jukelet.exe")};
    const char* captions[2] = {floorCaption, ConfigurationCaption};
    const Turns turns = TimeInTurns(runs, [&](int which) { return TimeOneWindow(programs[which], captions[which]); });
    std::string result = RatioText(turns, ("the " + floorName).c_str());
    if (turns.failures) result += ", " + std::to_string(turns.failures) + " launches FAILED";
    Row("c. Configuration window against " + floorName + ": launch to visible (min / median of " +
            std::to_string(runs) + ")",
        MinMedian(turns.jukelet), floorName + ": " + MinMedian(turns.baseline),
        result + " (target at most " + target + ")");
    return turns.failures == 0;
}

int MeasureWindow(int runs) {
    if (!InstallStandIn()) return 1;
    bool ok = MeasureWindowAgainst(runs, "bench_empty_window.exe", EmptyWindowCaption, "empty window", "1.3");
    // What a user would compare with: the same controls and manifest, and nothing else.
    ok = MeasureWindowAgainst(runs, "bench_dialog_floor.exe", DialogFloorCaption, "dialog floor", "1.10") && ok;
    return ok && !g_failed ? 0 : 1;
}

// ---- d. Memory ----

// This harness plays Winamp's window itself: while the click waits for its send to return,
// the click's process is still there to be read.
HANDLE g_measured = nullptr;
PROCESS_MEMORY_COUNTERS g_counters;
bool g_read = false;

LRESULT CALLBACK MemoryWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && g_measured) {
        g_counters = {};
        g_counters.cb = sizeof(g_counters);
        g_read = GetProcessMemoryInfo(g_measured, &g_counters, sizeof(g_counters)) && g_counters.PeakWorkingSetSize;
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int MeasureMemory(int runs) {
    if (!InstallStandIn()) return 1;
    if (FindWindowA(WinampWindowClass, nullptr)) return 1;
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = MemoryWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = WinampWindowClass;
    RegisterClassA(&windowClass);
    HWND window = CreateWindowA(WinampWindowClass, "memory probe", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                windowClass.hInstance, nullptr);
    if (!window) return 1;

    const std::string programs[2] = {Program("bench_floor.exe"), Program("Jukelet.exe")};
    std::vector<double> peaks[2], privates[2];
    for (int run = 0; run < runs; ++run)
        for (int which = 0; which < 2; ++which) {
            Child click = Child::Start(programs[which], "/PLAY");
            g_measured = click.handle();
            g_read = false;
            const double deadline = Now() + ExitWaitMs;
            while (!click.Ended() && Now() < deadline) {
                HANDLE process = click.handle();
                MsgWaitForMultipleObjects(1, &process, FALSE, 100, QS_ALLINPUT);
                MSG message;
                while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
            }
            g_measured = nullptr;
            if (g_read) {
                peaks[which].push_back(static_cast<double>(g_counters.PeakWorkingSetSize) / 1024.0);
                privates[which].push_back(static_cast<double>(g_counters.PagefileUsage) / 1024.0);
            }
        }
    DestroyWindow(window);
    const std::string measure = "d. Peak working set of a `/PLAY` launch, read while its command is delivered";
    if (peaks[1].empty() || peaks[0].empty()) {
        Row(measure, "not readable under Wine", "", "");
        return 0;
    }
    Summary floor = Summarise(peaks[0]), jukelet = Summarise(peaks[1]);
    Summary floorPrivate = Summarise(privates[0]), jukeletPrivate = Summarise(privates[1]);
    Row(measure + " (median of " + std::to_string(runs) + ")",
        Format("%.0f KB", jukelet.median) + " (private " + Format("%.0f KB", jukeletPrivate.median) + ")",
        "floor: " + Format("%.0f KB", floor.median) + " (private " + Format("%.0f KB", floorPrivate.median) + ")",
        "+" + Format("%.0f KB", jukelet.median - floor.median) + " over the floor");
    return 0;
}

// ---- Reliability ----

struct Click {
    const char* text;
    int command;  // 0: sends none
};

int MeasureClicksInARow(int clicks) {
    static const Click mix[] = {{"/PREV", Id(WinampPrevious)}, {"/PLAY", Id(WinampPlay)}, {"/PAUSE", Id(WinampPause)},
                                {"/STOP", Id(WinampStop)},     {"/NEXT", Id(WinampNext)}, {"/MINMAX", 0},
                                {"/play", Id(WinampPlay)},     {"/Next", Id(WinampNext)}};
    if (!InstallStandIn()) return 1;
    Child winamp = StartStandIn();
    if (!winamp) return 1;
    std::vector<int> expected;
    int notEnded = 0, silent = 0;
    unsigned seed = 12345;
    for (int i = 0; i < clicks; ++i) {
        seed = seed * 1103515245u + 12345u;
        const Click& click = mix[(seed >> 16) % (sizeof(mix) / sizeof(mix[0]))];
        if (click.command)
            expected.push_back(click.command);
        else
            ++silent;
        Child jukelet = Child::Start(Program("Jukelet.exe"), click.text);
        if (!jukelet.WaitForExit(ExitWaitMs)) ++notEnded;
    }
    std::vector<int> arrived;
    WaitUntil([&] { return Commands(ReadLog()).size() >= expected.size(); }, 5000, PollMs);
    for (const Command& command : Commands(ReadLog())) arrived.push_back(command.id);
    const int left = CountProcessesNamed("Jukelet.exe");
    size_t inOrder = 0;
    while (inOrder < arrived.size() && inOrder < expected.size() && arrived[inOrder] == expected[inOrder]) ++inOrder;
    const bool ok = arrived == expected && notEnded == 0 && left == 0;
    Row(std::to_string(clicks) + " clicks in a row, mixed switches, Winamp running",
        std::to_string(arrived.size()) + " of " + std::to_string(expected.size()) + " commands arrived (" +
            std::to_string(silent) + " /MINMAX clicks send none), " + std::to_string(inOrder) + " in order; " +
            std::to_string(notEnded) + " clicks did not end; " + std::to_string(left) + " Jukelet left running",
        "", ok ? "pass" : "FAILED");
    return ok ? 0 : 1;
}

int MeasureClicksAgainstHungWinamp(int clicks) {
    constexpr int Batch = 10;
    constexpr DWORD Allowance = 1000;  // the click's own start and exit, beyond its send
    if (!InstallStandIn()) return 1;
    SetEnvironment("FAKEWINAMP_HANG_MS", "600000");
    Child winamp = StartStandIn();
    SetEnvironment("FAKEWINAMP_HANG_MS", "");
    if (!winamp) return 1;
    std::vector<double> lifetimes;
    int notEnded = 0;
    static const char* const mix[] = {"/PLAY", "/PAUSE", "/NEXT", "/PREV", "/STOP"};
    for (int first = 0; first < clicks; first += Batch) {
        std::vector<Child> batch;
        std::vector<double> ended;
        for (int i = first; i < std::min(clicks, first + Batch); ++i) {
            batch.push_back(Child::Start(Program("Jukelet.exe"), mix[i % 5]));
            ended.push_back(-1);
        }
        // Each is watched for its end; the bound is only how long to keep watching.
        WaitUntil(
            [&] {
                bool all = true;
                for (size_t i = 0; i < batch.size(); ++i) {
                    if (ended[i] < 0 && batch[i].Ended()) ended[i] = Now();
                    all = all && ended[i] >= 0;
                }
                return all;
            },
            ExitWaitMs, 1);
        for (size_t i = 0; i < batch.size(); ++i) {
            if (ended[i] < 0) {
                ++notEnded;
                fprintf(stderr, "hung: click %d %s\n", first + static_cast<int>(i),
                        batch[i] ? "did not end in time" : "did not start");
            } else
                lifetimes.push_back(ended[i] - batch[i].started());
        }
    }
    const int left = CountProcessesNamed("Jukelet.exe");
    const size_t received = Commands(ReadLog()).size();
    const double bound = WinampSendTimeoutMs + Allowance;
    Summary life = Summarise(lifetimes);
    int overBound = 0;
    for (double ms : lifetimes)
        if (ms > bound) ++overBound;
    const bool ok = notEnded == 0 && overBound == 0 && left == 0 && received == 0;
    Row(std::to_string(clicks) + " clicks, " + std::to_string(Batch) + " at a time, Winamp hung",
        std::to_string(lifetimes.size()) + " of " + std::to_string(clicks) + " ended, longest " +
            Format("%.0f", life.max) + " ms, median " + Format("%.0f", life.median) + " ms; " + std::to_string(left) +
            " Jukelet left running",
        "bound: " + Format("%.0f", bound) + " ms (" + std::to_string(WinampSendTimeoutMs) + " ms send + " +
            std::to_string(Allowance) + " ms start and exit)",
        (ok ? "pass" : "FAILED") + std::string(received ? " (the hung stand-in took commands)" : "") +
            (overBound ? ", " + std::to_string(overBound) + " over the bound" : ""));
    return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: bench_harness click|cold|window|memory|load RUNS [DELAY_MS [LOADING_MS]]\n");
        return 2;
    }
    const std::string mode = argv[1];
    const int runs = std::max(1, std::atoi(argv[2]));
    int status = 2;
    if (mode == "click") status = MeasureClick(runs);
    if (mode == "cold")
        status = MeasureColdStart(runs, argc > 3 ? static_cast<DWORD>(std::atoi(argv[3])) : 0,
                                  argc > 4 ? static_cast<DWORD>(std::atoi(argv[4])) : 0);
    if (mode == "window") status = MeasureWindow(runs);
    if (mode == "memory") status = MeasureMemory(runs);
    if (mode == "load") {
        status = MeasureClicksInARow(runs);
        status |= MeasureClicksAgainstHungWinamp(runs);
    }
    return status;
}
