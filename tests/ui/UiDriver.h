#pragma once
#include <windows.h>

#include "base/UniqueHandle.h"

#include <string>
#include <vector>

#include "registry/RegistryView.h"
#include "support/TestEnvironment.h"
#include "support/TestProcess.h"
#include "support/TestWindows.h"

// Jukelet started without a switch, as from its shortcut, and its configuration window.
class ConfigurationRun {
public:
    // Starts the program; window() is null when the configuration window did not appear.
    ConfigurationRun();
    // Starts the program without waiting for any window (for the start-up selector).
    struct NoWait {};
    explicit ConfigurationRun(NoWait);
    // Takes a program started otherwise, and waits for its window.
    explicit ConfigurationRun(TestProcess started);

    HWND window() const { return window_; }
    DWORD id() const { return process_.id(); }
    const TestProcess& process() const { return process_; }

    // A visible top-level window of this process with exactly this title.
    HWND WaitForWindow(const char* title, const std::string& className = "") const;
    HWND WaitForBox(const char* title) const { return WaitForWindow(title, "#32770"); }
    // Every visible top-level window of this process with this title.
    std::vector<HWND> Windows(const char* title) const;
    // The message boxes this process shows now.
    std::vector<HWND> MessageBoxes() const;

    // A push button (or frame) of the configuration window, found by its caption.
    HWND Button(const std::string& caption) const;
    void Click(const std::string& caption) const { ClickButton(Button(caption)); }
    HWND PathBox() const;

    bool WaitForExit(DWORD timeoutMs = WindowTimeoutMs) const { return process_.WaitForExit(timeoutMs); }

private:
    TestProcess process_;
    HWND window_ = nullptr;
};

// Winamp's path remembered in the program's settings for the life of a test, forgotten after.
class RememberedWinamp {
public:
    explicit RememberedWinamp(const std::string& path);
    ~RememberedWinamp();
    RememberedWinamp(const RememberedWinamp&) = delete;
    RememberedWinamp& operator=(const RememberedWinamp&) = delete;
};

// Geometry as the user sees it.
RECT RectInClient(HWND control, HWND window);  // the control's outer rectangle, client coordinates
SIZE ClientSize(HWND window);
std::vector<HWND> ChildWindows(HWND window);
// The control that has the keyboard focus in the window's thread.
HWND FocusedControl(HWND window);

// Keyboard input through the system, to the foreground window.
bool BringToFront(HWND window);
void PressKey(HWND window, WORD virtualKey, std::vector<WORD> modifiers = {});
void TypeText(HWND window, const std::string& text);

// The mouse, through the system: moves the pointer to a point of the screen, or clicks there.
void MovePointer(POINT screen);
void ClickAt(POINT screen);
// Puts the pointer in the screen's top left corner, where no window opens: a window opened
// after it is told of no move the test did not make.
void ParkPointer();
// Clicks the close box in the window's title bar; false when there is none.
bool ClickCloseBox(HWND window);

// A piece of the screen, as 0x00BBGGRR colours.
struct ScreenImage {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};
ScreenImage CaptureScreen(const RECT& screenRect);
// Writes the image as a 24-bit .bmp file; false when it could not be written.
bool SaveBitmap(const ScreenImage& image, const std::string& path);

// A 32-bit off-screen drawing surface the tests paint on and then read back.
class PixelCanvas {
public:
    PixelCanvas(int width, int height, HDC compatibleWith = nullptr);
    ~PixelCanvas();
    PixelCanvas(const PixelCanvas&) = delete;
    PixelCanvas& operator=(const PixelCanvas&) = delete;

    HDC dc() const { return dc_; }
    ScreenImage Image() const;

private:
    int width_, height_;
    HDC dc_;
    void* bits_ = nullptr;
    GdiObject bitmap_;
    HGDIOBJ oldBitmap_;
};
// The control's client area as it is drawn now.
ScreenImage CaptureClient(HWND control);
// Waits until the window's pending painting is done.
void WaitForPaint(HWND window);

// The colour most pixels of the image have: a label's or window's background.
COLORREF Background(const ScreenImage& image);
// The rectangle around every pixel that differs from `background`; empty when none does.
RECT InkBounds(const ScreenImage& image, COLORREF background);
// The longest horizontal run of non-background pixels in any row (an underline shows as one).
int LongestInkRun(const ScreenImage& image, COLORREF background);

// The smallest share of the icon's opaque pixels that differ from the area, over every
// place in the area where the icon, drawn at size x size, could lie.
double IconMismatch(const ScreenImage& area, HICON icon, int size);

// Whether the window's title bar is drawn in the active caption colours (bluish, not grey).
bool CaptionLooksActive(HWND window);

// Which standard icon a message box shows, judged from its pixels.
enum class BoxIcon { None, Information, Exclamation, Question, Error, Other };
BoxIcon IconShown(HWND box);
const char* IconName(BoxIcon icon);

// A registry value put in place for a test and put back as it was afterwards.
class RegistryValueOverride {
public:
    RegistryValueOverride(HKEY root, std::string path, std::string name);
    ~RegistryValueOverride();
    RegistryValueOverride(const RegistryValueOverride&) = delete;
    RegistryValueOverride& operator=(const RegistryValueOverride&) = delete;

    void SetDword(DWORD value);
    void SetString(const std::string& value);

private:
    HKEY root_;
    std::string path_;
    std::string name_;
    bool existed_ = false;
    DWORD type_ = 0;
    std::vector<BYTE> data_;
};

// The screen resolution that new processes of the prefix start with.
class ScreenDpi {
public:
    explicit ScreenDpi(DWORD dpi) : logPixels_(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels") {
        logPixels_.SetDword(dpi);
    }

private:
    RegistryValueOverride logPixels_;
};

// Mail program and browser stand-ins: every mailto: and http: link the shell is asked to
// open is appended to a log by tests/ui/LinkRecorder.cpp. Wine reads these handlers from
// HKEY_LOCAL_MACHINE only; the prefix's own come back afterwards.
class FakeLinkHandlers {
public:
    FakeLinkHandlers();
    ~FakeLinkHandlers();
    FakeLinkHandlers(const FakeLinkHandlers&) = delete;
    FakeLinkHandlers& operator=(const FakeLinkHandlers&) = delete;

    std::vector<std::string> Links() const;
    // Points the handlers at a program that does not exist, so the shell reports a failure.
    void Break();
    void Mend();

private:
    void Register(const std::string& command);

    std::string log_;
    bool mailExisted_;
    bool webExisted_;
    RegistryValueOverride mail_;
    RegistryValueOverride web_;
};

// The extension keys' parent recreated as a volatile key: the registry then refuses to
// create the (non-volatile) button keys under it. Put back as a plain key afterwards.
class UnwritableExtensions {
public:
    explicit UnwritableExtensions(HKEY root, RegistryView view = RegistryView::Default);
    ~UnwritableExtensions();
    UnwritableExtensions(const UnwritableExtensions&) = delete;
    UnwritableExtensions& operator=(const UnwritableExtensions&) = delete;

private:
    HKEY root_;
    RegistryView view_;
    bool existed_;
};

// A registry link, as another program may leave one, at `path` pointing to the NT registry
// path `target` (such as L"\\Registry\\Machine\\Software\\..."); the link itself is
// deleted afterwards, never its target.
class RegistryLink {
public:
    RegistryLink(HKEY root, std::string path, RegistryView view, const std::wstring& target);
    ~RegistryLink();
    RegistryLink(const RegistryLink&) = delete;
    RegistryLink& operator=(const RegistryLink&) = delete;
    bool created() const { return created_; }

private:
    HKEY root_;
    std::string path_;
    RegistryView view_;
    bool created_ = false;
};

// The catalogue's buttons present under root, as their key names.
std::vector<std::string> InstalledButtonKeys(HKEY root, RegistryView view = RegistryView::Default);
void RemoveButtonKeys();
