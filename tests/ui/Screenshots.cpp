// Drives Jukelet through each of its windows and message boxes and saves each one, title
// bar included, as OUTDIR\<name>.bmp. Run by tools/screenshots.sh inside a Wine session.
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>

#include "base/SharedState.h"
#include "support/TestEnvironment.h"
#include "ui/UiDriver.h"
#include "winamp/FileSelector.h"

namespace {

std::string g_folder;
int g_failures = 0;

// Brings the window to the front and saves what the screen shows of it.
void Shot(const std::string& name, HWND window) {
    if (!window) {
        std::fprintf(stderr, "screenshots: no window for %s\n", name.c_str());
        ++g_failures;
        return;
    }
    BringToFront(window);
    WaitForPaint(window);
    if (!WaitUntil([&] { return CaptionLooksActive(window); }, 2000))
        std::fprintf(stderr, "screenshots: %s shows an inactive title bar\n", name.c_str());
    RECT frame = {};
    GetWindowRect(window, &frame);
    const std::string path = g_folder + "\\" + name + ".bmp";
    if (!SaveBitmap(CaptureScreen(frame), path)) {
        std::fprintf(stderr, "screenshots: could not write %s\n", path.c_str());
        ++g_failures;
    }
}

void Close(HWND window, int button = IDOK) {
    if (!window) return;
    PressDialogButton(window, button);
    WaitForWindowGone(window);
}

void ShootEverything() {
    ConfigurationRun run;
    Shot("configuration", run.window());
    if (!run.window()) return;

    run.Click("A&bout");
    HWND about = run.WaitForWindow("About");
    Shot("about", about);
    Close(about);

    run.Click("&Help");
    HWND help = run.WaitForWindow("Help");
    Shot("help", help);
    if (help) PostMessageA(help, WM_CLOSE, 0, 0);

    run.Click("&Add to Current User");
    HWND box = run.WaitForBox("Add");
    Shot("add-message", box);
    Close(box);

    run.Click("&Remove All");
    box = run.WaitForBox("Remove Buttons");
    Shot("remove-question", box);
    Close(box, IDYES);

    run.Click("Bro&wse...");
    HWND dialog = run.WaitForWindow(BrowseSelectorTitle, "#32770");
    Shot("locate-dialog", dialog);
    Close(dialog, IDCANCEL);

    const char* missing = "C:\\Nowhere\\winamp.exe";
    SendMessageA(run.PathBox(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(missing));
    run.Click("Bro&wse...");
    dialog = run.WaitForWindow(BrowseSelectorTitle, "#32770");
    Close(dialog, IDCANCEL);
    box = run.WaitForBox(AppTitle);
    Shot("not-located-warning", box);
    Close(box);

    run.Click("&Close");
    run.WaitForExit();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: ui_screenshots OUTDIR\n");
        return 2;
    }
    g_folder = argv[1];
    StandIn winamp;
    RememberWinampPath(winamp.path());
    // The Open dialog starts in the current folder: Winamp's, not wherever the tool ran.
    SetCurrentDirectoryA(WinampFolder);
    MovePointer(POINT{0, 0});
    ShootEverything();
    {
        ScreenDpi dpi(144);
        ConfigurationRun run;
        Shot("configuration-144dpi", run.window());
    }
    RemoveButtonKeys();
    ClearJukeletSettings();
    return g_failures ? 1 : 0;
}
