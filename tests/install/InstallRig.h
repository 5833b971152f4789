#pragma once
#include <windows.h>

#include <string>
#include <vector>

// The setup program under test and what it leaves on the machine, read back through the
// system's own interfaces.

constexpr const char* UninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Jukelet";
constexpr DWORD SetupTimeoutMs = 60000;

std::string SetupExe();

// What RunSetup and RunUninstallerInPlace return for a program that did not end in time.
constexpr DWORD NoExitCode = 0xFFFFFFFF;

// Runs the setup program with this argument string; its exit code.
DWORD RunSetup(const std::string& arguments);
// The same with a Unicode argument string, as the shell passes a name the code page lacks.
DWORD RunSetup(const std::wstring& arguments);

// Runs the QuietUninstallString that setup registered, as Add/Remove Programs would, and
// waits (bounded) until the uninstaller's copy of itself has finished.
bool UninstallSilently();

// Runs the uninstaller in `folder` silently where it lies (_?=), as a roll-out does that
// wants its exit code: no copy in %TEMP%, and it cannot remove itself.
DWORD RunUninstallerInPlace(const std::string& folder);
// Runs this uninstaller with this argument string; its exit code.
DWORD RunUninstaller(const std::string& uninstaller, const std::string& arguments);

// Takes away whatever an installation into `folder` may have left: a test's safety net.
void WipeInstallation(const std::string& folder);

// Interactive setup and uninstaller: their window and message boxes share one title.
constexpr const char* SetupTitle = "Jukelet Setup";
constexpr const char* UninstallTitle = "Jukelet Uninstall";
// A visible message box with this title, of this process (0: of any, such as the
// uninstaller's copy); nullptr when none came in time.
HWND WaitForSetupBox(DWORD processId, const char* title, DWORD timeoutMs = 20000);

std::string StartMenuShortcut();  // where setup puts the shortcut "Jukelet"
std::string ProgramFilesFolder();

bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);
std::string FileBytes(const std::string& path);
// Every file and folder under `folder`, relative to it, sorted.
std::vector<std::string> TreeOf(const std::string& folder);

// A shortcut as the shell reads it.
struct Shortcut {
    bool loaded = false;
    std::string target;
    std::string arguments;
    std::string workingDirectory;
};
Shortcut ReadShortcut(const std::string& path);

// One image of an .ico file, from its directory entry and its bitmap header.
struct IconImage {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    bool decodes = false;  // the system turns its bytes into an icon
    std::string bits;      // its bitmap, header included
};
// "20x20 8bpp", and " undecodable" when the system cannot make an icon of it.
std::string Describe(const IconImage& image);

// The images of an .ico file; `problem` says what made the file unreadable.
std::vector<IconImage> ReadIconFile(const std::string& path, std::string* problem);
// A program's RCDATA resource of this name, as bytes; "" when it has none.
std::string ProgramResource(const std::string& program, const char* name);

// The images of a program's first icon group: the icon the shell shows for it.
std::vector<IconImage> ReadProgramIcon(const std::string& program);

// The Exec values of the current user's toolbar buttons with this caption, found as Internet
// Explorer finds them: every extension key that names the execute-a-file handler.
std::vector<std::string> ToolbarButtonExecs(const std::string& caption);

// Opens a file through the shell, as a toolbar button does, and waits (bounded) for the
// program it started to end. False when the shell refused or the program did not end.
bool OpenThroughShell(const std::string& file, DWORD timeoutMs = 15000);

// A string value of a file's version resource, in its first translation.
std::string VersionString(const std::string& file, const std::string& name);
// The fixed file version of a file's version resource, as "a.b.c.d".
std::string FixedFileVersion(const std::string& file);
