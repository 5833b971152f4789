// Drives the 32-bit release as its users get it, from a 64-bit process: installs the setup
// program silently, clicks Play against the Winamp stand-in, pictures the configuration
// window, adds the buttons for every user and reads both registry views, uninstalls and
// looks for leftovers. Run by tools/check-release.sh in a prefix that has its 32-bit half.
//   release_check SETUP_EXE BUILT_JUKELET_EXE INSTALL_FOLDER SCREENSHOT_BMP
// Prints one line per step; exits with the number of steps that failed.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/Paths.h"
#include "install/InstallRig.h"
#include "support/TestEnvironment.h"
#include "toolbar/ButtonCatalogue.h"
#include "toolbar/ToolbarButtons.h"
#include "ui/UiDriver.h"
#include "winamp/Settings.h"

namespace {

// Every 32-bit program here runs emulated: a start alone takes about a minute.
constexpr DWORD ProcessTimeoutMs = 300000;
constexpr DWORD BoxTimeoutMs = 120000;
// The uninstaller's copy in %TEMP%, which does the work of "Uninstall.exe /S".
constexpr const char* UninstallerCopy = "Jukelet-Uninstall.exe";

class Step {
public:
    explicit Step(const char* name) : name_(name), started_(GetTickCount64()) {}
    void Fail(const std::string& why) { problems_.push_back(why); }
    void Note(const std::string& what) { notes_.push_back(what); }
    bool ok() const { return problems_.empty(); }
    bool Report() const {
        const unsigned seconds = static_cast<unsigned>((GetTickCount64() - started_ + 500) / 1000);
        // What went wrong first, then what was seen, so a view that passed is still reported.
        std::string detail;
        for (const std::vector<std::string>* lines : {&problems_, &notes_})
            for (const std::string& line : *lines) detail += (detail.empty() ? "" : "; ") + line;
        std::printf("step %-34s %-6s %4u s  %s\n", name_, ok() ? "ok" : "FAILED", seconds, detail.c_str());
        std::fflush(stdout);
        return ok();
    }

private:
    const char* name_;
    ULONGLONG started_;
    std::vector<std::string> problems_;
    std::vector<std::string> notes_;
};

void Skip(const char* name, const char* why) {
    std::printf("step %-34s %-6s %4u s  %s\n", name, "SKIPPED", 0u, why);
    std::fflush(stdout);
}

// Where a 32-bit setup's uninstall entry went; nullptr when in neither view.
const NamedView* UninstallEntryView() {
    for (const NamedView& view : BothViews)
        if (RegistryKeyPresent(HKEY_LOCAL_MACHINE, UninstallKey, view.view)) return &view;
    return nullptr;
}

// The machine type in a program's PE header: 0x14c for 32-bit x86.
WORD MachineOf(const std::string& program) {
    const std::string bytes = FileBytes(program);
    if (bytes.size() < 0x40) return 0;
    const DWORD header = *reinterpret_cast<const DWORD*>(bytes.data() + 0x3C);
    if (header + 6 > bytes.size() || bytes.compare(header, 4, std::string("PE\0\0", 4)) != 0) return 0;
    return *reinterpret_cast<const WORD*>(bytes.data() + header + 4);
}

bool RunsAs32Bit(const TestProcess& process) {
    BOOL wow64 = FALSE;
    return IsWow64Process(process.handle(), &wow64) && wow64;
}

std::string Join(const std::vector<std::string>& items) {
    std::string joined;
    for (const std::string& item : items) joined += (joined.empty() ? "" : ", ") + item;
    return joined;
}

class ReleaseCheck {
public:
    ReleaseCheck(std::string setup, std::string built, std::string folder, std::string screenshot)
        : setup_(std::move(setup)),
          built_(std::move(built)),
          folder_(std::move(folder)),
          screenshot_(std::move(screenshot)),
          program_(folder_ + "\\Jukelet.exe") {}

    int Run() {
        int failures = 0;
        const bool installed = Install();
        failures += !installed;
        if (!installed) {
            Skip("2 /PLAY reaches Winamp", "nothing installed");
            Skip("3 configuration window", "nothing installed");
            Skip("4 Add to this Machine", "nothing installed");
        } else {
            StandIn winamp;
            RememberWinampPath(winamp.path());
            failures += !Play(winamp);
            TestProcess configuration;
            HWND window = nullptr;
            failures += !OpenConfiguration(configuration, window);
            if (window)
                failures += !AddForEveryone(configuration, window);
            else
                Skip("4 Add to this Machine", "no configuration window");
        }
        failures += !Uninstall();
        return failures;
    }

private:
    bool Install() {
        Step step("1 silent setup, shortcuts");
        if (MachineOf(setup_) != IMAGE_FILE_MACHINE_I386) step.Fail(setup_ + " is not a 32-bit program");
        // As documented for silent installs: /D= last, unquoted, even with a space in it.
        TestProcess setup = TestProcess::Start(setup_, "\"" + setup_ + "\" /S /D=" + folder_);
        if (!setup) {
            step.Fail("setup did not start");
            return step.Report();
        }
        if (!RunsAs32Bit(setup)) step.Fail("setup did not run as a 32-bit process");
        if (!setup.WaitForExit(ProcessTimeoutMs)) {
            step.Fail("setup did not end in " + std::to_string(ProcessTimeoutMs / 1000) + " s");
            return step.Report();
        }
        if (setup.ExitCode() != 0) step.Fail("setup ended with " + std::to_string(setup.ExitCode()));

        if (FileBytes(program_) != FileBytes(built_) || FileBytes(built_).empty())
            step.Fail(program_ + " is not the built 32-bit Jukelet.exe");
        if (MachineOf(program_) != IMAGE_FILE_MACHINE_I386) step.Fail(program_ + " is not a 32-bit program");
        if (MachineOf(folder_ + "\\Uninstall.exe") != IMAGE_FILE_MACHINE_I386) step.Fail("no 32-bit Uninstall.exe");

        int shortcuts = 0;
        for (const ToolbarButton& button : ButtonCatalogue) {
            const std::string link = folder_ + "\\Links" + button.link;
            const Shortcut shortcut = ReadShortcut(link);
            if (!shortcut.loaded) {
                step.Fail(link + " unreadable or missing");
                continue;
            }
            if (lstrcmpiA(shortcut.target.c_str(), program_.c_str()) != 0 || shortcut.arguments != button.linkSwitch)
                step.Fail(link + " starts " + shortcut.target + " " + shortcut.arguments);
            else
                ++shortcuts;
            for (const char* icon : {button.icon, button.hotIcon})
                if (!FileExists(folder_ + "\\Icons" + icon)) step.Fail(std::string("no icon ") + icon);
        }
        const Shortcut menu = ReadShortcut(StartMenuShortcut());
        if (!menu.loaded || lstrcmpiA(menu.target.c_str(), program_.c_str()) != 0)
            step.Fail("Start menu shortcut " + StartMenuShortcut() + " missing or starting " + menu.target);

        const NamedView* entry = UninstallEntryView();
        if (!entry) {
            step.Fail("no uninstall entry in either registry view");
        } else {
            const std::string location =
                RegistryString(HKEY_LOCAL_MACHINE, UninstallKey, "InstallLocation", entry->view);
            if (lstrcmpiA(location.c_str(), folder_.c_str()) != 0) step.Fail("uninstall entry names " + location);
            step.Note("uninstall entry in the " + std::string(entry->name));
        }
        step.Note(std::to_string(shortcuts) + " toolbar shortcuts and the Start menu's read back");
        return step.Report();
    }

    bool Play(StandIn& winamp) {
        Step step("2 /PLAY reaches Winamp");
        if (!winamp.StartAndWait()) {
            step.Fail("the stand-in's window did not appear");
            return step.Report();
        }
        TestProcess jukelet = TestProcess::StartWithArguments(program_, "/PLAY");
        if (!jukelet) {
            step.Fail("Jukelet.exe /PLAY did not start");
            return step.Report();
        }
        if (!RunsAs32Bit(jukelet)) step.Fail("Jukelet.exe did not run as a 32-bit process");
        if (!jukelet.WaitForExit(ProcessTimeoutMs)) {
            step.Fail("Jukelet.exe /PLAY did not end in time");
            return step.Report();
        }
        if (jukelet.ExitCode() != 0) step.Fail("Jukelet.exe /PLAY ended with " + std::to_string(jukelet.ExitCode()));
        winamp.WaitForCommands(1);
        std::vector<std::string> received;
        for (int command : winamp.Commands()) received.push_back(std::to_string(command));
        if (received != std::vector<std::string>{"40045"})
            step.Fail("the stand-in received [" + Join(received) + "], not [40045]");
        else
            step.Note("the stand-in received 40045");
        return step.Report();
    }

    bool OpenConfiguration(TestProcess& configuration, HWND& window) {
        Step step("3 configuration window, picture");
        configuration = TestProcess::StartWithArguments(program_, "");
        window =
            configuration ? WaitForTopWindow(configuration.id(), "", ConfigurationCaption, ProcessTimeoutMs) : nullptr;
        if (!window) {
            step.Fail("no \"" + std::string(ConfigurationCaption) + "\" window");
            return step.Report();
        }
        if (!RunsAs32Bit(configuration)) step.Fail("Jukelet.exe did not run as a 32-bit process");
        MovePointer(POINT{0, 0});
        BringToFront(window);
        WaitForPaint(window);
        if (!WaitUntil([&] { return CaptionLooksActive(window); }, 20000)) step.Fail("its title bar looks inactive");
        RECT frame = {};
        GetWindowRect(window, &frame);
        if (!SaveBitmap(CaptureScreen(frame), screenshot_))
            step.Fail("could not write " + screenshot_);
        else
            step.Note(std::to_string(frame.right - frame.left) + "x" + std::to_string(frame.bottom - frame.top) +
                      " picture saved");
        return step.Report();
    }

    bool AddForEveryone(TestProcess& configuration, HWND window) {
        Step step("4 Add to this Machine, both views");
        for (const NamedView& view : BothViews)
            if (AnyButtonIn(view)) step.Fail(std::string("buttons already in the ") + view.name + " before Add");
        HWND add = FindDescendantByText(window, "Button", "Add to this &Machine");
        if (!add) {
            step.Fail("no \"Add to this Machine\" button");
            return step.Report();
        }
        ClickButton(add);
        HWND box = WaitForMessageBox(configuration.id(), "Add", BoxTimeoutMs);
        if (!box) {
            step.Fail("no \"Add\" message");
            return step.Report();
        }
        const MessageBoxView message = ReadMessageBox(box);
        if (message.text.rfind("Icons added to all users.", 0) != 0) step.Fail("the message says: " + message.text);
        PressDialogButton(box, IDOK);
        if (!WaitForWindowGone(box, BoxTimeoutMs)) step.Fail("the message did not close on OK");

        for (const NamedView& view : BothViews) {
            const std::vector<std::string> wrong = WrongButtons(view);
            if (wrong.empty())
                step.Note(std::string(view.name) + ": 7 of 7 keys right");
            else
                step.Fail(std::string(view.name) + ": " + std::to_string(7 - wrong.size()) + " of 7 keys right (" +
                          Join(wrong) + ")");
        }

        ClickButton(FindDescendantByText(window, "Button", "&Close"));
        if (!configuration.WaitForExit(BoxTimeoutMs)) step.Fail("Close did not end the program");
        return step.Report();
    }

    bool AnyButtonIn(const NamedView& view) const {
        for (const ToolbarButton& button : ButtonCatalogue)
            if (RegistryKeyPresent(HKEY_LOCAL_MACHINE, ButtonKeyPath(button.id), view.view)) return true;
        return false;
    }

    // The buttons whose key in this view is missing or holds other values than the program's.
    std::vector<std::string> WrongButtons(const NamedView& view) const {
        std::vector<std::string> wrong;
        for (const ToolbarButton& button : ButtonCatalogue) {
            const std::string key(ButtonKeyPath(button.id));
            const std::pair<const char*, std::string> wanted[] = {
                {"CLSID", ExecButtonHandlerClsid},
                {"Default Visible", "Yes"},
                {"ButtonText", button.text},
                {"Exec", folder_ + "\\Links" + button.link},
                {"Icon", folder_ + "\\Icons" + button.icon},
                {"HotIcon", folder_ + "\\Icons" + button.hotIcon},
            };
            if (!RegistryKeyPresent(HKEY_LOCAL_MACHINE, key, view.view)) {
                wrong.push_back(std::string(button.text) + " missing");
                continue;
            }
            for (const auto& [name, data] : wanted) {
                const std::string found = RegistryString(HKEY_LOCAL_MACHINE, key, name, view.view);
                if (found != data) {
                    wrong.push_back(std::string(button.text) + " " + name + "=" + found);
                    break;
                }
            }
        }
        return wrong;
    }

    bool Uninstall() {
        Step step("5 silent uninstall, nothing left");
        const NamedView* entry = UninstallEntryView();
        const std::string command =
            entry ? RegistryString(HKEY_LOCAL_MACHINE, UninstallKey, "QuietUninstallString", entry->view) : "";
        if (!entry || command.rfind("\"", 0) != 0) {
            step.Fail("no QuietUninstallString to run");
            return step.Report();
        }
        TestProcess uninstaller = TestProcess::Start("", command);
        if (!uninstaller || !uninstaller.WaitForExit(ProcessTimeoutMs) || uninstaller.ExitCode() != 0) {
            step.Fail("\"" + command + "\" did not start, end in time, or succeed");
            return step.Report();
        }
        // It returns at once; its copy in %TEMP% does the work and removes the entry last.
        if (!WaitUntil([] { return !UninstallEntryView(); }, ProcessTimeoutMs, 500))
            step.Fail("the uninstall entry is still there after " + std::to_string(ProcessTimeoutMs / 1000) + " s");
        if (!WaitUntil([] { return CountProcessesNamed(UninstallerCopy) == 0; }, BoxTimeoutMs, 500)) {
            step.Fail("the uninstaller's copy did not end");
            KillProcessesNamed(UninstallerCopy);
        }

        std::vector<std::string> left;
        if (FolderExists(folder_)) left.push_back(folder_ + " (" + Join(TreeOf(folder_)) + ")");
        if (FileExists(StartMenuShortcut())) left.push_back(StartMenuShortcut());
        for (const NamedView& view : BothViews) {
            if (RegistryKeyPresent(HKEY_LOCAL_MACHINE, UninstallKey, view.view))
                left.push_back(std::string("the uninstall entry (") + view.name + ")");
            if (AnyButtonIn(view)) left.push_back(std::string("toolbar keys for every user (") + view.name + ")");
        }
        for (const ToolbarButton& button : ButtonCatalogue)
            if (RegistryKeyPresent(HKEY_CURRENT_USER, ButtonKeyPath(button.id)))
                left.push_back(std::string("the current user's ") + button.text + " key");
        // The maker's key, the settings key's parent, goes when nothing else is in it.
        for (const std::string& key : {std::string(SettingsKey), std::string(TrimFileName(SettingsKey))})
            if (RegistryKeyPresent(HKEY_CURRENT_USER, key)) left.push_back("HKCU\\" + key);
        if (!left.empty())
            step.Fail("left behind: " + Join(left));
        else
            step.Note("files, shortcuts, keys in both views and the uninstall entry gone");
        return step.Report();
    }

    std::string setup_;
    std::string built_;
    std::string folder_;
    std::string screenshot_;
    std::string program_;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: release_check SETUP_EXE BUILT_JUKELET_EXE INSTALL_FOLDER SCREENSHOT_BMP\n");
        return 2;
    }
    ReleaseCheck check(argv[1], argv[2], argv[3], argv[4]);
    return check.Run();
}
