// Drives the setup program and the uninstaller through their window and message boxes and
// saves each one, title bar included, as OUTDIR\installer-<n>-<name>.bmp. Run by
// tools/screenshots-installer.sh inside a Wine session.
#include <windows.h>

#include <cstdio>
#include <string>

#include "install/InstallRig.h"
#include "support/TestEnvironment.h"
#include "ui/UiDriver.h"

namespace {

constexpr const char* OtherFolder = "C:\\Apps\\Jukelet";
constexpr int FolderBox = 101;  // the setup window's folder (setup/SetupWindow.h)

std::string g_folder;
int g_failures = 0;

void Fail(const std::string& what) {
    std::fprintf(stderr, "screenshots: %s\n", what.c_str());
    ++g_failures;
}

// Brings the window to the front and saves what the screen shows of it.
void Shot(const std::string& name, HWND window) {
    if (!window) return Fail("no window for " + name);
    BringToFront(window);
    WaitForPaint(window);
    // Under Wine a box made with MB_SETFOREGROUND is the foreground window before it shows,
    // and then shows inactive: the foreground goes elsewhere and comes back.
    if (!WaitUntil([&] { return CaptionLooksActive(window); }, 1000)) {
        SetForegroundWindow(GetDesktopWindow());
        BringToFront(window);
    }
    RECT frame = {};
    GetWindowRect(window, &frame);
    if (!WaitUntil([&] { return CaptionLooksActive(window); }, 2000))
        std::fprintf(stderr, "screenshots: %s shows an inactive title bar\n", name.c_str());
    const std::string path = g_folder + "\\" + name + ".bmp";
    if (!SaveBitmap(CaptureScreen(frame), path)) Fail("could not write " + path);
}

void Press(HWND box, int button) {
    if (!box) return;
    PressDialogButton(box, button);
    WaitForWindowGone(box);
}

HWND SetupWindowOf(const TestProcess& setup) { return WaitForTopWindow(setup.id(), "#32770", SetupTitle); }

void SetFolder(HWND window, const std::string& folder) {
    SendMessageA(FindDescendant(window, FolderBox), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str()));
}

void ShootSetup() {
    TestProcess setup = TestProcess::StartWithArguments(SetupExe(), "");
    HWND window = SetupWindowOf(setup);
    Shot("installer-1-setup", window);
    if (!window) return;

    ClickButton(FindDescendantByText(window, "Button", "Bro&wse..."));
    HWND browser = nullptr;
    WaitUntil(
        [&] {
            for (HWND found : FindTopWindows(setup.id(), "#32770", nullptr))
                if (found != window && IsWindowVisible(found)) browser = found;
            return browser != nullptr;
        },
        WindowTimeoutMs);
    Shot("installer-2-browse", browser);
    Press(browser, IDCANCEL);

    const std::string typed = WindowText(FindDescendant(window, FolderBox));
    SetFolder(window, "C:\\");
    ClickButton(FindDescendantByText(window, "Button", "&Install"));
    HWND box = WaitForSetupBox(setup.id(), SetupTitle);
    Shot("installer-3-unusable-folder", box);
    Press(box, IDOK);

    SetFolder(window, typed);
    ClickButton(FindDescendantByText(window, "Button", "&Install"));
    box = WaitForSetupBox(setup.id(), SetupTitle);
    Shot("installer-4-installed", box);
    Press(box, IDOK);
    if (!setup.WaitForExit(SetupTimeoutMs) || setup.ExitCode() != 0) Fail("the interactive setup did not install");

    // A second setup into another folder offers to remove the first copy.
    setup = TestProcess::StartWithArguments(SetupExe(), "");
    window = SetupWindowOf(setup);
    if (!window) return Fail("no second setup window");
    SetFolder(window, OtherFolder);
    ClickButton(FindDescendantByText(window, "Button", "&Install"));
    box = WaitForSetupBox(setup.id(), SetupTitle);
    Shot("installer-5-other-copy", box);
    Press(box, IDCANCEL);
    PostMessageA(window, WM_CLOSE, 0, 0);
    setup.WaitForExit(SetupTimeoutMs);
}

void ShootUninstaller() {
    const std::string folder = ProgramFilesFolder() + "\\Jukelet";
    TestProcess uninstaller = TestProcess::StartWithArguments(folder + "\\Uninstall.exe", "");
    HWND box = WaitForSetupBox(0, UninstallTitle);
    Shot("installer-6-uninstall-question", box);

    StandIn winamp;
    RememberWinampPath(winamp.path());
    TestProcess jukelet = TestProcess::StartWithArguments(folder + "\\Jukelet.exe", "");
    HWND configuration = WaitForTopWindow(jukelet.id(), "", ConfigurationCaption);
    if (!configuration) Fail("Jukelet did not start");
    // Out of the way of the box to come.
    ShowWindow(configuration, SW_HIDE);
    Press(box, IDYES);
    box = WaitForSetupBox(0, UninstallTitle);
    Shot("installer-7-jukelet-running", box);
    jukelet.Kill();
    Press(box, IDRETRY);
    box = WaitForSetupBox(0, UninstallTitle);
    Shot("installer-8-uninstalled", box);
    Press(box, IDOK);
    WipeInstallation(folder);
    ClearJukeletSettings();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: installer_screenshots OUTDIR\n");
        return 2;
    }
    g_folder = argv[1];
    MovePointer(POINT{0, 0});
    WipeInstallation(ProgramFilesFolder() + "\\Jukelet");
    ShootSetup();
    ShootUninstaller();
    return g_failures ? 1 : 0;
}
