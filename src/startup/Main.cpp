#include <windows.h>

#include "base/SessionMutex.h"
#include "startup/CommandLine.h"
#include "startup/Switches.h"
#include "ui/AboutWindow.h"
#include "ui/HelpWindow.h"
#include "ui/MainWindow.h"
#include "winamp/Locator.h"

namespace {

// Held while a configuration window is open, so a second one is never shown.
constexpr const char* ConfigurationInstanceName = "Local\\Orvalle.Jukelet.Configuration";

// The configuration window is created only if the locator must ask the user.
class ConfigurationOwner final : public DialogOwner {
public:
    explicit ConfigurationOwner(MainWindow& window) : window_(window) {}
    HWND OwnerWindow() override { return window_.CreateHidden(); }

private:
    MainWindow& window_;
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    AboutWindow about;
    HelpWindow help;
    MainWindow configuration(about, help);

    ConfigurationOwner owner(configuration);
    if (!LocateWinamp(owner)) return 0;
    SetToolbarFolders(ProgramFolder());

    if (const CommandSwitch* command = MatchSwitch(ArgumentString(GetCommandLineA()))) {
        command->action();
        return 0;
    }

    const SessionMutex oneWindow(ConfigurationInstanceName);
    if (oneWindow.AlreadyExisted()) return 0;
    configuration.Show();
    return DialogWindow::RunMessageLoop();
}
