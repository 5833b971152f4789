#pragma once
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "registry/RegistryView.h"
#include "support/TestProcess.h"

// Where the test programs and the program under test were built (one folder).
std::string BinFolder();
std::string JukeletExe();
std::string FakeWinampExe();

// The stand-in is installed where a real Winamp would be: a path with a space in it.
constexpr const char* WinampFolder = "C:\\Program Files\\Winamp";
constexpr const char* WinampExePath = "C:\\Program Files\\Winamp\\winamp.exe";

// Another program's toolbar button, which tests put beside the program's own and expect to stay.
constexpr const char* OtherProgramButtonId = "{11111111-2222-3333-4444-555555555555}";

// The configuration window's title: the program starts with it open when given no switch.
constexpr const char* ConfigurationCaption = "Jukelet Configuration";

// The program's remembered settings, wiped or set for a test.
void ClearJukeletSettings();
void RememberWinampPath(const std::string& path);
std::string RememberedWinampPath();  // "" when nothing is stored
// Winamp's file type, association and all, gone from the machine.
void ClearWinampAssociation();

// One view of the machine's registry, with its name for messages.
struct NamedView {
    RegistryView view;
    const char* name;
};
// Both views of 64-bit Windows, where 64-bit and 32-bit programs each read their own.
constexpr NamedView BothViews[] = {{RegistryView::Bits64, "64-bit view"}, {RegistryView::Bits32, "32-bit view"}};

// The registry as the tests read and write it, past the code under test.
void DeleteRegistryTree(HKEY root, std::string_view path, RegistryView view = RegistryView::Default);
bool RegistryKeyPresent(HKEY root, std::string_view path, RegistryView view = RegistryView::Default);
// A REG_SZ value up to its NUL; "<missing>" when there is none.
std::string RegistryString(HKEY root, std::string_view path, const char* name,
                           RegistryView view = RegistryView::Default);
// Stores a REG_SZ value with its NUL, creating the key.
bool WriteRegistryString(HKEY root, std::string_view path, const char* name, const std::string& data,
                         RegistryView view = RegistryView::Default);
void DeleteRegistryValue(HKEY root, std::string_view path, const char* name, RegistryView view = RegistryView::Default);
// Access rights in one view, for the calls these helpers do not make.
inline REGSAM AccessIn(RegistryView view, REGSAM rights) { return rights | static_cast<REGSAM>(view); }
std::string TempFolder();

// A file a test puts in place, a copy of another or some text, with its folder when that
// was missing. Both go when the guard goes, whatever the assertions did meanwhile.
class PlantedFile {
public:
    static PlantedFile CopyOf(const std::string& source, const std::string& path);
    static PlantedFile WithText(const std::string& path, const std::string& text);
    ~PlantedFile();
    PlantedFile(PlantedFile&& other) noexcept;
    PlantedFile& operator=(PlantedFile&&) = delete;
    PlantedFile(const PlantedFile&) = delete;

    const std::string& path() const { return path_; }
    explicit operator bool() const { return planted_; }

private:
    explicit PlantedFile(const std::string& path);

    std::string path_;
    std::string createdFolder_;  // "" when the folder was there already
    bool planted_ = false;
};

// A registry key of the test's own: whatever an earlier run left there goes when the guard
// is made, and the key goes with everything written inside it when the guard goes, whatever
// the assertions did meanwhile.
class PlantedKey {
public:
    PlantedKey(HKEY root, std::string path, RegistryView view = RegistryView::Default);
    ~PlantedKey();
    PlantedKey(const PlantedKey&) = delete;
    PlantedKey& operator=(const PlantedKey&) = delete;

    const std::string& path() const { return path_; }
    // Stores a REG_SZ value in the key, or in a subkey of it ("Sub\Key"), creating them.
    bool WriteString(const char* name, const std::string& data, const std::string& subkey = "") const;

private:
    HKEY root_;
    std::string path_;
    RegistryView view_;
};

// A REG_SZ value a test writes into a key that is not its own: the value goes with the guard,
// the key stays.
class PlantedValue {
public:
    PlantedValue(HKEY root, std::string path, const char* name, const std::string& data,
                 RegistryView view = RegistryView::Default);
    ~PlantedValue();
    PlantedValue(const PlantedValue&) = delete;
    PlantedValue& operator=(const PlantedValue&) = delete;

    explicit operator bool() const { return planted_; }

private:
    HKEY root_;
    std::string path_;
    std::string name_;
    RegistryView view_;
    bool planted_;
};

// The lines of a stand-in's log, without their line ends; none when there is no log.
std::vector<std::string> ReadLogLines(const std::string& path);

// The Winamp stand-in: installed at `path`, recording into a fresh log. Every stand-in
// process still running is ended when this goes, and then its file.
class StandIn {
public:
    explicit StandIn(std::string path = WinampExePath);
    ~StandIn();
    StandIn(const StandIn&) = delete;
    StandIn& operator=(const StandIn&) = delete;

    const std::string& path() const { return path_; }
    // How the stand-in behaves (see tests/standin/FakeWinamp.cpp), for every stand-in
    // started from now on, by this test or by the program under test.
    void SetWindowDelayMs(DWORD ms) { Set("FAKEWINAMP_WINDOW_DELAY_MS", ms); }
    void SetLoadingMs(DWORD ms) { Set("FAKEWINAMP_LOADING_MS", ms); }
    void SetHangMs(DWORD ms) { Set("FAKEWINAMP_HANG_MS", ms); }
    void SetPlayDialogMs(DWORD ms) { Set("FAKEWINAMP_PLAY_DIALOG_MS", ms); }
    void SetTray() { Set("FAKEWINAMP_TRAY", 1); }
    void SetLingerMs(DWORD ms) { Set("FAKEWINAMP_LINGER_MS", ms); }
    // This one only starts `other` and ends, as a launcher does.
    void SetHandOverTo(const StandIn& other);
    // This one starts `other` and runs on without a window, as a launcher that stays does.
    void SetLauncherOf(const StandIn& other);

    // Starts it as a user would, with this show command; and waits until it shows its window.
    void Start(int showCommand = SW_SHOWNORMAL);
    HWND StartAndWait(int showCommand = SW_SHOWNORMAL);

    std::vector<std::string> Log() const;
    // The first record that starts with `prefix`, without it; "" when there is none.
    std::string Record(const std::string& prefix) const;
    std::vector<int> Commands() const;
    int StartCount() const;
    bool WaitForCommands(size_t count, DWORD timeoutMs = 10000) const;
    bool WaitForLogLine(const std::string& prefix, DWORD timeoutMs = 10000) const;

private:
    static void Set(const char* variable, DWORD value);

    std::string path_;
    PlantedFile exe_;
    std::string log_;
    std::vector<TestProcess> started_;
};

// Runs Jukelet with this exact argument string and waits (bounded) for it to end.
// Returns false when it did not end in time (it is then killed).
bool RunJukelet(const std::string& arguments, DWORD timeoutMs = 15000, DWORD* exitCode = nullptr);

// Runs Jukelet with an argument string that is no switch: closes the configuration window
// if it opens, and tells whether the program then ended in time.
bool RunJukeletAndDismiss(const std::string& arguments, DWORD timeoutMs = 15000);
