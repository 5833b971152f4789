#include <gtest/gtest.h>

#include <algorithm>

#include "base/SharedState.h"
#include "support/TestEnvironment.h"
#include "support/TestWindows.h"
#include "winamp/RemoteControl.h"
#include "winamp/StartLock.h"

namespace {

class RemoteControl : public ::testing::Test {
protected:
    void SetUp() override {
        ClearJukeletSettings();
        RememberWinampPath(winamp_.path());
    }
    void TearDown() override { ClearJukeletSettings(); }

    static UINT ShowState(HWND window) {
        WINDOWPLACEMENT placement = {};
        placement.length = sizeof(placement);
        GetWindowPlacement(window, &placement);
        return placement.showCmd;
    }
    // The stand-in's "start" record: how it was shown and where it started.
    std::string StartRecord() const {
        for (const std::string& line : winamp_.Log())
            if (line.rfind("start ", 0) == 0) return line;
        return "";
    }

    StandIn winamp_;
};

// A thread that ends holding the mutex leaves it abandoned.
DWORD WINAPI LockAndEnd(void* mutex) { return static_cast<SessionMutex*>(mutex)->Lock(0); }

TEST_F(RemoteControl, EachTransportSwitchReachesARunningWinamp) {
    ASSERT_TRUE(winamp_.StartAndWait());
    const std::pair<const char*, int> switches[] = {
        {"/PREV", 40044}, {"/PLAY", 40045}, {"/PAUSE", 40046}, {"/STOP", 40047}, {"/NEXT", 40048}};
    std::vector<int> expected;
    for (const auto& [name, id] : switches) {
        ASSERT_TRUE(RunJukelet(name)) << name;
        expected.push_back(id);
        ASSERT_TRUE(winamp_.WaitForCommands(expected.size())) << name;
    }
    EXPECT_EQ(winamp_.Commands(), expected);
    EXPECT_EQ(winamp_.StartCount(), 1);
}

// A click on Play with Winamp closed starts it, minimised and unfocused, in its own
// folder, and the command still arrives. A click that died holding the start lock left it
// abandoned: the clicks after take it all the same.
TEST_F(RemoteControl, ACommandStartsAClosedWinampAndIsDelivered) {
    SessionMutex startLock(StartLockName);
    const KernelHandle holder(CreateThread(nullptr, 0, LockAndEnd, &startLock, 0, nullptr));
    ASSERT_TRUE(holder && WaitForSingleObject(holder.get(), 5000) == WAIT_OBJECT_0);
    for (const auto& [name, id] : {std::pair<const char*, int>{"/PLAY", 40045}, {"/NEXT", 40048}}) {
        KillProcessesNamed("winamp.exe");
        size_t before = winamp_.Commands().size();
        ASSERT_TRUE(RunJukelet(name, 15000)) << name;
        ASSERT_TRUE(winamp_.WaitForCommands(before + 1, 5000)) << name;
        EXPECT_EQ(winamp_.Commands().back(), id);
    }
    EXPECT_NE(StartRecord().find("show=7 "), std::string::npos) << StartRecord();  // SW_SHOWMINNOACTIVE
    EXPECT_NE(StartRecord().find("cwd=C:\\Program Files\\Winamp"), std::string::npos) << StartRecord();
    // One argument, Winamp's own quoted path, as the shell would start it.
    EXPECT_EQ(winamp_.Record("commandline "), "\"" + winamp_.path() + "\"");
}

// Quick clicks while Winamp is closed: the first starts it, the others wait for its window,
// and every command arrives. Twenty at once still start one Winamp.
TEST_F(RemoteControl, QuickClicksShareTheWinampTheFirstStarts) {
    winamp_.SetWindowDelayMs(1500);
    const std::pair<const char*, int> switches[] = {
        {"/PLAY", 40045}, {"/NEXT", 40048}, {"/PAUSE", 40046}, {"/PREV", 40044}, {"/NEXT", 40048}};
    std::vector<TestProcess> clicks;
    std::vector<int> expected;
    for (int i = 0; i < 20; ++i) {
        const auto& [name, id] = switches[i % 5];
        clicks.push_back(TestProcess::StartWithArguments(JukeletExe(), name));
        ASSERT_TRUE(clicks.back()) << i;
        expected.push_back(id);
    }
    for (size_t i = 0; i < clicks.size(); ++i) EXPECT_TRUE(clicks[i].WaitForExit(30000)) << "click " << i;
    ASSERT_TRUE(winamp_.WaitForCommands(expected.size(), 5000)) << winamp_.Commands().size() << " arrived";
    EXPECT_EQ(winamp_.StartCount(), 1);
    EXPECT_EQ(CountProcessesNamed("winamp.exe"), 1);
    std::vector<int> arrived = winamp_.Commands();
    std::sort(arrived.begin(), arrived.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(arrived, expected);
}

// A click that comes while another starts a slow Winamp waits for that Winamp (longer than
// half the window wait), and the commands arrive in the order of the clicks.
TEST_F(RemoteControl, AClickDuringASlowStartActsOnThatWinamp) {
    winamp_.SetWindowDelayMs(7000);
    TestProcess first = TestProcess::StartWithArguments(JukeletExe(), "/PLAY");
    ASSERT_TRUE(winamp_.WaitForLogLine("start", 5000));
    ASSERT_TRUE(RunJukelet("/NEXT", 15000));
    EXPECT_TRUE(first.WaitForExit(15000));
    ASSERT_TRUE(winamp_.WaitForCommands(2, 5000));
    EXPECT_EQ(winamp_.Commands(), (std::vector<int>{40045, 40048}));
    EXPECT_EQ(winamp_.StartCount(), 1);
}

// Clicks at a starting Winamp whose Play is busy in a dialog: a Next that finds Winamp ready
// while Plays clicked before it still wait their turn takes a turn behind them, and no click
// waits on another's send.
TEST_F(RemoteControl, ClicksAtAStartingWinampKeepTheirOrderAndTheirBounds) {
    winamp_.SetWindowDelayMs(1500);
    winamp_.SetPlayDialogMs(8000);
    std::vector<TestProcess> clicks;
    std::vector<ULONGLONG> clicked;
    auto click = [&](const char* name) {
        clicks.push_back(TestProcess::StartWithArguments(JukeletExe(), name));
        clicked.push_back(GetTickCount64());
        Sleep(100);
    };
    for (int i = 0; i < 8; ++i) click("/PLAY");
    ASSERT_TRUE(WaitUntil([] { return FindWinampWindow() != nullptr; }, 5000));
    for (int i = 0; i < 4; ++i) click("/NEXT");
    for (size_t i = 0; i < clicks.size(); ++i) {
        const ULONGLONG bound = clicked[i] + 8000, now = GetTickCount64();
        EXPECT_TRUE(clicks[i].WaitForExit(now < bound ? static_cast<DWORD>(bound - now) : 0))
            << "click " << i << " took over 8 s";
    }
    ASSERT_TRUE(winamp_.WaitForCommands(clicks.size(), 5000)) << winamp_.Commands().size() << " arrived";
    std::vector<int> expected(8, 40045);
    expected.insert(expected.end(), 4, 40048);
    EXPECT_EQ(winamp_.Commands(), expected);
}

// Winamp opens its window long before it reads messages (it loads its plug-ins in between),
// here for longer than one send may wait. A click that starts it, and a click that finds it
// still loading, wait until it is ready for their command.
TEST_F(RemoteControl, ACommandReachesAWinampThatIsStillLoading) {
    winamp_.SetLoadingMs(WinampSendTimeoutMs + 1500);
    ASSERT_TRUE(RunJukelet("/PLAY", 15000));
    EXPECT_EQ(winamp_.Commands(), std::vector<int>{40045});

    KillProcessesNamed("winamp.exe");
    winamp_.Start();
    ASSERT_TRUE(WaitUntil([] { return FindWinampWindow() != nullptr; }, 5000));
    ASSERT_TRUE(RunJukelet("/NEXT", 15000));
    EXPECT_EQ(winamp_.Commands(), (std::vector<int>{40045, 40048}));
}

// Play with an empty playlist opens Winamp's Open dialog inside its handler: the Play click
// ends after one send bound, and a Pause clicked meanwhile is taken by the dialog's loop at
// once, without waiting behind the Play.
TEST_F(RemoteControl, APlayThatOpensADialogHoldsNoOtherClick) {
    winamp_.SetPlayDialogMs(8000);
    ASSERT_TRUE(winamp_.StartAndWait());
    TestProcess play = TestProcess::StartWithArguments(JukeletExe(), "/PLAY");
    ASSERT_TRUE(winamp_.WaitForLogLine("dialog", 5000));
    const ULONGLONG pauseStarted = GetTickCount64();
    ASSERT_TRUE(RunJukelet("/PAUSE", 15000));
    EXPECT_LT(GetTickCount64() - pauseStarted, 2000u);
    EXPECT_EQ(winamp_.Commands(), (std::vector<int>{40045, 40046}));
    EXPECT_TRUE(play.WaitForExit(WinampSendTimeoutMs + 1500));
}

// Whatever becomes of the click that started Winamp, no click starts a second Winamp while
// that one runs: the others wait for it within their bounds, or end saying nothing.
TEST_F(RemoteControl, NoClickStartsASecondWinampWhileTheFirstRuns) {
    StandIn core(std::string(WinampFolder) + "\\core.exe");
    // Quick clicks, which all end in time; how many Winamps they started.
    auto clickTogether = [&](const std::vector<const char*>& switches) {
        const int before = winamp_.StartCount();
        std::vector<TestProcess> clicks;
        for (const char* name : switches) clicks.push_back(TestProcess::StartWithArguments(JukeletExe(), name));
        for (size_t i = 0; i < clicks.size(); ++i) EXPECT_TRUE(clicks[i].WaitForExit(15000)) << "click " << i;
        return winamp_.StartCount() - before;
    };
    // Its window never comes.
    winamp_.SetWindowDelayMs(60000);
    EXPECT_EQ(clickTogether({"/PLAY", "/PLAY", "/PLAY"}), 1);

    // The click that started it is killed while Winamp starts.
    KillProcessesNamed("winamp.exe");
    winamp_.SetWindowDelayMs(3000);
    const int started = winamp_.StartCount();
    TestProcess starter = TestProcess::StartWithArguments(JukeletExe(), "/PLAY");
    EXPECT_TRUE(WaitUntil([&] { return winamp_.StartCount() > started; }, 5000));
    starter.Kill();
    EXPECT_EQ(clickTogether({"/NEXT"}), 0);
    EXPECT_EQ(winamp_.Commands(), std::vector<int>{40048});

    // winamp.exe hands over to another program and ends at once, as a launcher does.
    KillProcessesNamed("winamp.exe");
    winamp_.SetWindowDelayMs(1000);
    winamp_.SetHandOverTo(core);
    EXPECT_EQ(clickTogether({"/PLAY", "/PAUSE", "/NEXT"}), 1) << "core.exe started more than once";
    std::vector<int> arrived = winamp_.Commands();
    std::sort(arrived.begin(), arrived.end());
    EXPECT_EQ(arrived, (std::vector<int>{40045, 40046, 40048, 40048}));
}

// A launcher that runs on after the Winamp it started has closed is no Winamp starting once
// a window wait has passed: the next click starts Winamp again, at once.
TEST_F(RemoteControl, ALauncherThatStaysHoldsNoLaterClick) {
    StandIn core(std::string(WinampFolder) + "\\core.exe");
    winamp_.SetLauncherOf(core);
    const ULONGLONG started = GetTickCount64();
    ASSERT_TRUE(RunJukelet("/PLAY"));
    ASSERT_TRUE(winamp_.WaitForCommands(1, 5000));
    PostMessageA(FindWinampWindow(), WM_COMMAND, WinampClose, 0);
    ASSERT_TRUE(winamp_.WaitForLogLine("exit", 5000));
    while (GetTickCount64() < started + WinampWindowWaitMs + 1000) Sleep(50);
    const ULONGLONG clickedAgain = GetTickCount64();
    ASSERT_TRUE(RunJukelet("/PLAY"));
    EXPECT_LT(GetTickCount64() - clickedAgain, 5000u);
    EXPECT_TRUE(winamp_.WaitForCommands(3, 5000));
    EXPECT_EQ(winamp_.StartCount(), 2);
}

// Open/Close twice in quick succession closes the Winamp the first one started.
TEST_F(RemoteControl, AQuickSecondOpenCloseClosesTheWinampTheFirstStarted) {
    winamp_.SetWindowDelayMs(2000);
    TestProcess first = TestProcess::StartWithArguments(JukeletExe(), "/START");
    ASSERT_TRUE(winamp_.WaitForLogLine("start", 5000));
    ASSERT_TRUE(RunJukelet("/START", 20000));
    EXPECT_TRUE(first.WaitForExit(15000));
    EXPECT_TRUE(winamp_.WaitForLogLine("exit"));
    EXPECT_EQ(winamp_.StartCount(), 1);
    EXPECT_EQ(winamp_.Commands(), std::vector<int>{40001});
}

// Winamp runs on for a while after its window goes, unloading its plug-ins: a quick second
// Open/Close waits for it to end before it starts Winamp again, and one Winamp is left.
TEST_F(RemoteControl, AQuickSecondOpenCloseWaitsForTheClosingWinamp) {
    winamp_.SetLingerMs(2000);
    ASSERT_TRUE(winamp_.StartAndWait());
    ASSERT_TRUE(RunJukelet("/START"));
    ASSERT_TRUE(winamp_.WaitForLogLine("closed", 5000));
    ASSERT_TRUE(RunJukelet("/START", 15000)) << "a message box?";
    ASSERT_TRUE(WaitUntil([] { return FindWinampWindow() != nullptr; }, 10000));
    const std::vector<std::string> log = winamp_.Log();
    const auto exited = std::find(log.begin(), log.end(), "exit");
    EXPECT_TRUE(std::find_if(exited, log.end(), [](const std::string& line) { return line.rfind("start ", 0) == 0; }) !=
                log.end())
        << "the second Winamp started before the first ended";
    EXPECT_EQ(CountProcessesNamed("winamp.exe"), 1);
}

// A remembered path that is not whole is made whole before it is tested, started or
// stored: relative to the folder the click started in, slashes and all.
TEST_F(RemoteControl, APathThatIsNotWholeIsMadeWholeFirst) {
    for (const char* remembered : {"C:/Program Files/Winamp/winamp.exe", "..\\Program Files\\Winamp\\winamp.exe"}) {
        SCOPED_TRACE(remembered);
        KillProcessesNamed("winamp.exe");
        RememberWinampPath(remembered);
        const size_t before = winamp_.Log().size();
        const size_t commandsBefore = winamp_.Commands().size();
        TestProcess click = TestProcess::StartWithArguments(JukeletExe(), "/PLAY", "C:\\windows");
        if (!click.WaitForExit(15000)) {
            ADD_FAILURE() << "the click did not end (a message box?)";
            continue;
        }
        EXPECT_TRUE(winamp_.WaitForCommands(commandsBefore + 1, 5000));
        // What this click's Winamp recorded.
        const std::vector<std::string> log = winamp_.Log();
        const std::vector<std::string> records(log.begin() + static_cast<std::ptrdiff_t>(before), log.end());
        auto recorded = [&](const std::string& prefix) {
            for (const std::string& line : records)
                if (line.rfind(prefix, 0) == 0) return line.substr(prefix.size());
            return std::string("(none)");
        };
        EXPECT_EQ(recorded("command "), "40045");
        EXPECT_EQ(recorded("commandline "), "\"" + winamp_.path() + "\"");
        const std::string start = recorded("start ");
        EXPECT_NE(start.find("cwd=C:\\Program Files\\Winamp"), std::string::npos) << start;
        EXPECT_EQ(RememberedWinampPath(), winamp_.path());
    }
}

// "C:" alone would name the drive's current folder, and "\\?\C:" no folder at all: a Winamp
// at a drive's root starts in that root.
TEST(RemoteControlAtARoot, AWinampAtADriveRootStartsInThatRoot) {
    ClearJukeletSettings();
    StandIn winamp("C:\\winamp.exe");
    for (const std::string remembered : {"C:\\winamp.exe", "\\\\?\\C:\\winamp.exe"}) {
        KillProcessesNamed("winamp.exe");
        RememberWinampPath(remembered);
        TestProcess click = TestProcess::StartWithArguments(JukeletExe(), "/START", "C:\\windows");
        ASSERT_TRUE(click.WaitForExit(15000)) << remembered << ": a message box?";
        ASSERT_TRUE(WaitUntil([] { return FindWinampWindow() != nullptr; }, 10000)) << remembered;
    }
    EXPECT_EQ(winamp.StartCount(), 2);
    for (const std::string& line : winamp.Log()) {
        if (line.rfind("start ", 0) != 0) continue;
        const std::string folder = line.substr(line.find("cwd=") + 4);
        EXPECT_TRUE(folder == "C:\\" || folder == "\\\\?\\C:\\") << line;
    }
    ClearJukeletSettings();
}

// Delivered soon after the window comes, not at the end of the window wait.
TEST_F(RemoteControl, ALateWindowStillGetsTheCommand) {
    winamp_.SetWindowDelayMs(2000);
    ASSERT_TRUE(RunJukelet("/PAUSE", 2000 + WinampSendTimeoutMs));
    ASSERT_TRUE(winamp_.WaitForCommands(1, 5000));
    EXPECT_EQ(winamp_.Commands(), std::vector<int>{40046});
}

TEST_F(RemoteControl, AWinampThatNeverOpensItsWindowDoesNotHoldTheClick) {
    winamp_.SetWindowDelayMs(30000);
    const ULONGLONG started = GetTickCount64();
    ASSERT_TRUE(RunJukelet("/PLAY", 20000));
    EXPECT_LT(GetTickCount64() - started, WinampWindowWaitMs + 5000);
    EXPECT_TRUE(winamp_.Commands().empty());
}

TEST_F(RemoteControl, StopNeverStartsWinamp) {
    ASSERT_TRUE(RunJukelet("/STOP"));
    Sleep(300);
    EXPECT_EQ(winamp_.StartCount(), 0);
    EXPECT_EQ(CountProcessesNamed("winamp.exe"), 0);
}

TEST_F(RemoteControl, AHungWinampDoesNotHangTheClick) {
    winamp_.SetHangMs(15000);
    ASSERT_TRUE(winamp_.StartAndWait());
    const ULONGLONG started = GetTickCount64();
    ASSERT_TRUE(RunJukelet("/PLAY", 15000));
    EXPECT_LT(GetTickCount64() - started, WinampSendTimeoutMs + 4000);
}

TEST_F(RemoteControl, StartTwiceOpensThenClosesWinamp) {
    ASSERT_TRUE(RunJukelet("/START"));
    ASSERT_TRUE(WaitUntil([] { return FindWinampWindow() != nullptr; }, 10000));
    EXPECT_NE(StartRecord().find("show=7 "), std::string::npos) << StartRecord();
    EXPECT_TRUE(winamp_.Commands().empty());

    ASSERT_TRUE(RunJukelet("/START"));
    ASSERT_TRUE(winamp_.WaitForLogLine("exit"));
    EXPECT_EQ(winamp_.Commands(), std::vector<int>{40001});
    EXPECT_EQ(winamp_.StartCount(), 1);
}

TEST_F(RemoteControl, MinMaxMinimisesAShownWinampAndRestoresAMinimisedOne) {
    for (int show : {SW_SHOWNORMAL, SW_SHOWMAXIMIZED}) {
        KillProcessesNamed("winamp.exe");
        HWND window = winamp_.StartAndWait(show);
        ASSERT_TRUE(window);
        ASSERT_TRUE(RunJukelet("/MINMAX"));
        EXPECT_TRUE(WaitUntil([&] { return ShowState(window) == SW_SHOWMINIMIZED; }, 5000)) << show;
    }
    KillProcessesNamed("winamp.exe");
    HWND window = winamp_.StartAndWait(SW_SHOWMINIMIZED);
    ASSERT_TRUE(window);
    ASSERT_TRUE(RunJukelet("/MINMAX"));
    EXPECT_TRUE(WaitUntil([&] { return ShowState(window) == SW_SHOWNORMAL; }, 5000));
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_TRUE(winamp_.Commands().empty());
}

// A Winamp that lives in the notification area hides its window when minimised, by its user
// or by a click: the next click shows it, restored and in front.
TEST_F(RemoteControl, MinMaxBringsBackAWinampHiddenInTheNotificationArea) {
    winamp_.SetTray();
    HWND window = winamp_.StartAndWait();
    ASSERT_TRUE(window);
    for (const bool byItsUser : {true, false}) {
        if (byItsUser)
            PostMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        else
            ASSERT_TRUE(RunJukelet("/MINMAX"));
        ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(window); }, 5000)) << byItsUser;
        ASSERT_TRUE(RunJukelet("/MINMAX"));
        EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(window) && ShowState(window) == SW_SHOWNORMAL; }, 5000))
            << byItsUser;
        // Shown and brought to the front in two steps: the second may land a moment later.
        EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == window; }, 5000)) << byItsUser;
    }
}

TEST_F(RemoteControl, MinMaxStartsAClosedWinamp) {
    ASSERT_TRUE(RunJukelet("/MINMAX"));
    EXPECT_TRUE(WaitUntil([] { return FindWinampWindow() != nullptr; }, 10000));
    EXPECT_TRUE(winamp_.Commands().empty());
}

// A path with a space must start that very file, never a planted C:\Program.exe.
TEST_F(RemoteControl, APlantedProgramIsNeverStarted) {
    const PlantedFile planted = PlantedFile::CopyOf(FakeWinampExe(), "C:\\Program.exe");
    ASSERT_TRUE(planted);
    ASSERT_TRUE(RunJukelet("/START"));
    ASSERT_TRUE(WaitUntil([] { return FindWinampWindow() != nullptr; }, 10000));
    EXPECT_EQ(CountProcessesNamed("Program.exe"), 0);
    EXPECT_EQ(CountProcessesNamed("winamp.exe"), 1);
    KillProcessesNamed("Program.exe");
}

// Each click says why at once: none waits behind another's message box.
TEST_F(RemoteControl, AFailedStartIsExplainedAndTheProgramEnds) {
    const std::string notAProgram = TempFolder() + "\\Not Winamp\\winamp.exe";
    const PlantedFile planted = PlantedFile::WithText(notAProgram, "plain text");
    ASSERT_TRUE(planted);
    RememberWinampPath(notAProgram);

    std::vector<TestProcess> clicks;
    std::vector<HWND> boxes;
    for (int i = 0; i < 3; ++i) clicks.push_back(TestProcess::StartWithArguments(JukeletExe(), "/PLAY"));
    for (const TestProcess& click : clicks) boxes.push_back(WaitForMessageBox(click.id(), "Jukelet", 5000));
    for (HWND box : boxes) ASSERT_TRUE(box) << "a click waits behind another's message box";
    MessageBoxView view = ReadMessageBox(boxes[0]);
    EXPECT_NE(view.text.find(notAProgram), std::string::npos) << view.text;
    EXPECT_GT(view.text.size(), notAProgram.size() + 30) << "the system's reason is missing: " << view.text;
    // The system's reason names the file in place of its insert, and keeps what follows it.
    const std::string reason = view.text.substr(view.text.find("\r\r") + 2);
    EXPECT_EQ(reason.find('%'), std::string::npos) << "an unfilled insert: " << reason;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    ASSERT_FALSE(
        CreateProcessA(notAProgram.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
    char systemText[512] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, GetLastError(), 0, systemText,
                   sizeof(systemText), nullptr);
    const std::string text = systemText;
    const size_t insert = text.find("%1") + 2;
    const std::string afterInsert = text.substr(insert, text.find_first_of("%\r\n", insert) - insert);
    EXPECT_NE(reason.find(notAProgram + afterInsert), std::string::npos) << reason << " | " << systemText;
    EXPECT_TRUE(view.hasIcon);
    for (HWND box : boxes) PressDialogButton(box, IDOK);
    for (const TestProcess& click : clicks) EXPECT_TRUE(click.WaitForExit(10000));
}

// Called in this process: a path without a folder starts in the current directory.
TEST_F(RemoteControl, APathWithoutAFolderKeepsTheCurrentDirectory) {
    char previous[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(WinampFolder));
    WinampPath = "winamp.exe";
    const LaunchedWinamp launched = LaunchWinamp();
    ASSERT_TRUE(launched.process);
    EXPECT_TRUE(WaitForWinampWindow(10000) != nullptr);
    EXPECT_NE(StartRecord().find("cwd=C:\\Program Files\\Winamp"), std::string::npos) << StartRecord();
    TerminateProcess(launched.process.get(), 0);
    SetCurrentDirectoryA(previous);
}

}  // namespace
