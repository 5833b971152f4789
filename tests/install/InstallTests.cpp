#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>

#include "UninstallerCopy.h"
#include "Unpack.h"
#include "install/InstallRig.h"
#include "registry/Registry.h"
#include "startup/CommandLine.h"
#include "support/TestEnvironment.h"
#include "support/TestWindows.h"
#include "toolbar/ButtonCatalogue.h"
#include "toolbar/ToolbarButtons.h"
#include "ui/UiDriver.h"
#include "version.h"
#include "winamp/RemoteControl.h"
#include "winamp/Settings.h"

namespace {

constexpr const char* InstallFolder = "C:\\Apps\\Tools";
constexpr const char* FirstFolder = "C:\\Apps\\First";

// Exit codes, as the README lists them.
constexpr DWORD SetupFailed = 2;    // a file could not be written
constexpr DWORD FolderRefused = 3;  // a folder setup cannot install into
constexpr DWORD OtherCopyKept = 4;  // the copy in another folder could not be removed
constexpr DWORD NotOurs = 2;        // the uninstaller's: no installation of ours there
constexpr DWORD FilesInUse = 3;     // the uninstaller's: Jukelet runs from its folder

std::string Installed(const std::string& relative) { return std::string(InstallFolder) + "\\" + relative; }

// The longest path setup puts under its folder, from the backslash on.
std::string LongestInstalledName() {
    std::string longest = "\\Uninstall.exe";
    for (const ToolbarButton& button : ButtonCatalogue)
        for (const std::string& name : {std::string("\\Icons") + button.icon, std::string("\\Icons") + button.hotIcon,
                                        std::string("\\Links") + button.link})
            if (name.size() > longest.size()) longest = name;
    return longest;
}

std::string FolderOfLength(size_t length) {
    return "C:\\Apps\\" + std::string(length - std::strlen("C:\\Apps\\"), 'j');
}

// Creates the file, and its folders, and holds it open so that no other program can write it.
KernelHandle HeldFile(const std::string& path) {
    SHCreateDirectoryExA(nullptr, path.substr(0, path.rfind('\\')).c_str(), nullptr);
    return KernelHandle(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
}

std::vector<std::string> Descriptions(const std::vector<IconImage>& images) {
    std::vector<std::string> descriptions;
    for (const IconImage& image : images) descriptions.push_back(Describe(image));
    return descriptions;
}

UINT ShowState(HWND window) {
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof(placement);
    GetWindowPlacement(window, &placement);
    return placement.showCmd;
}

// Installed silently into a folder of the user's choosing, as an administrator.
class SilentInstall : public ::testing::Test {
protected:
    void SetUp() override {
        WipeInstallation(InstallFolder);
        ASSERT_EQ(RunSetup(std::string("/S /D=") + InstallFolder), 0u) << SetupExe();
    }
    void TearDown() override { WipeInstallation(InstallFolder); }
};

TEST_F(SilentInstall, PutsExactlyTheProgramItsIconsAndItsShortcutsIntoTheChosenFolder) {
    std::vector<std::string> expected = {"Icons\\", "Jukelet.exe", "Links\\", "Uninstall.exe"};
    for (const ToolbarButton& button : ButtonCatalogue) {
        expected.push_back(std::string("Icons") + button.icon);
        expected.push_back(std::string("Icons") + button.hotIcon);
        expected.push_back(std::string("Links") + button.link);
    }
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(TreeOf(InstallFolder), expected);
    EXPECT_TRUE(FileBytes(Installed("Jukelet.exe")) == FileBytes(JukeletExe())) << "not the program just built";
}

TEST_F(SilentInstall, EachShortcutStartsTheProgramWithItsSwitchInTheInstallFolder) {
    for (const ToolbarButton& button : ButtonCatalogue) {
        const Shortcut link = ReadShortcut(std::string(InstallFolder) + "\\Links" + button.link);
        ASSERT_TRUE(link.loaded) << button.link;
        EXPECT_EQ(link.target, Installed("Jukelet.exe")) << button.link;
        EXPECT_EQ(link.arguments, button.linkSwitch) << button.link;
        EXPECT_EQ(link.workingDirectory, InstallFolder) << button.link;
    }
}

TEST_F(SilentInstall, TheStartMenuShortcutOpensTheConfigurationWindow) {
    const Shortcut start = ReadShortcut(StartMenuShortcut());
    ASSERT_TRUE(start.loaded) << StartMenuShortcut();
    EXPECT_EQ(start.target, Installed("Jukelet.exe"));
    EXPECT_EQ(start.arguments, "");
}

TEST_F(SilentInstall, EachToolbarIconHoldsBothSizesInSixteenAndIn256Colours) {
    for (const ToolbarButton& button : ButtonCatalogue)
        for (const char* icon : {button.icon, button.hotIcon}) {
            const std::string path = std::string(InstallFolder) + "\\Icons" + icon;
            std::string problem;
            const std::vector<std::string> images = Descriptions(ReadIconFile(path, &problem));
            ASSERT_TRUE(problem.empty()) << problem;
            for (const char* wanted : {"20x20 4bpp", "20x20 8bpp", "16x16 4bpp", "16x16 8bpp"})
                EXPECT_NE(std::find(images.begin(), images.end(), wanted), images.end())
                    << path << " lacks a decodable " << wanted << " image";
            for (const std::string& image : images)
                EXPECT_EQ(image.find("undecodable"), std::string::npos) << path << ": " << image;
        }
}

TEST_F(SilentInstall, AppearsInAddRemovePrograms) {
    auto value = [](const char* name) { return GetString(HKEY_LOCAL_MACHINE, UninstallKey, name); };
    EXPECT_EQ(value("DisplayName"), JUKELET_PRODUCT);
    EXPECT_EQ(value("DisplayVersion"), JUKELET_VERSION_TEXT);
    EXPECT_EQ(value("Publisher"), JUKELET_COMPANY);
    EXPECT_EQ(value("DisplayIcon"), Installed("Jukelet.exe"));
    EXPECT_EQ(value("InstallLocation"), InstallFolder);
    EXPECT_EQ(value("UninstallString"), "\"" + Installed("Uninstall.exe") + "\"");
    EXPECT_EQ(value("QuietUninstallString"), std::string(value("UninstallString")) + " /S");
}

TEST(SetupProgram, CarriesTheVersionThePublisherAndTheProgramIcon) {
    EXPECT_EQ(FixedFileVersion(SetupExe()), JUKELET_VERSION_TEXT);
    EXPECT_EQ(VersionString(SetupExe(), "ProductVersion"), JUKELET_VERSION_TEXT);
    EXPECT_EQ(VersionString(SetupExe(), "CompanyName"), JUKELET_COMPANY);
    EXPECT_EQ(VersionString(SetupExe(), "ProductName"), JUKELET_PRODUCT);

    std::string problem;
    const std::vector<IconImage> wanted = ReadIconFile(JUKELET_APP_ICON, &problem);
    ASSERT_TRUE(problem.empty()) << problem;
    const std::vector<IconImage> shown = ReadProgramIcon(SetupExe());
    ASSERT_EQ(Descriptions(shown), Descriptions(wanted));
    for (size_t i = 0; i < shown.size(); ++i)
        EXPECT_TRUE(shown[i].bits == wanted[i].bits) << "image " << Describe(shown[i]) << " differs";
}

// The payload as the build packed it: it unpacks to the program, and any damage is refused
// rather than written out, with nothing written past the size the block claims.
TEST(SetupProgram, RefusesADamagedPayloadAndNeverWritesPastItsEnd) {
    const std::string packed = ProgramResource(SetupExe(), "JUKELET.EXE");
    ASSERT_GT(packed.size(), 4u);
    static constexpr unsigned char Guard = 0xA5;
    auto unpack = [&](const std::string& block, std::string* out = nullptr) {
        const size_t size = PackedSize(reinterpret_cast<const unsigned char*>(block.data()), block.size());
        std::vector<unsigned char> buffer(size + 64, Guard);
        const bool ok = Unpack(reinterpret_cast<const unsigned char*>(block.data()), block.size(), buffer.data(), size);
        EXPECT_TRUE(std::all_of(buffer.begin() + size, buffer.end(), [](unsigned char c) { return c == Guard; }))
            << "written past the end";
        if (out) out->assign(buffer.begin(), buffer.begin() + size);
        return ok;
    };
    std::string program;
    ASSERT_TRUE(unpack(packed, &program));
    EXPECT_TRUE(program == FileBytes(JukeletExe()));

    auto withSize = [&](long change) {
        std::string block = packed;
        uint32_t size = 0;
        std::memcpy(&size, block.data(), 4);
        size += change;
        std::memcpy(block.data(), &size, 4);
        return block;
    };
    const std::pair<const char*, std::string> damaged[] = {
        {"cut short", packed.substr(0, packed.size() - 1)},
        {"a byte left over", packed + '\0'},
        {"claiming a byte more", withSize(1)},
        {"claiming a byte less", withSize(-1)},
        // Four bytes whose only item copies from one byte before the start.
        {"referring before its start", std::string("\x04\0\0\0\0\x01\0", 7)},
        {"claiming more than it could hold", withSize(0x7FFFFFFF)},
    };
    for (const auto& [what, block] : damaged) EXPECT_FALSE(unpack(block)) << what;
    // A changed byte may still unpack, to other bytes, but never past the end.
    for (size_t at = 4; at < packed.size(); at += 97) {
        std::string changed = packed;
        changed[at] = static_cast<char>(~changed[at]);
        unpack(changed);
    }
}

// Windows 9x removes the uninstaller's copy at its next start, as WININIT.INI's [rename]
// section asks.
TEST(SetupProgram, AddsTheUninstallersCopyToWininitsRenameSection) {
    const std::pair<std::string, std::string> cases[] = {
        {"", "[rename]\r\nNUL=C:\\X.EXE\r\n"},
        {"[Rename]\r\nNUL=C:\\A.EXE\r\n", "[Rename]\r\nNUL=C:\\X.EXE\r\nNUL=C:\\A.EXE\r\n"},
        {"[other]\r\nkey=value", "[other]\r\nkey=value\r\n[rename]\r\nNUL=C:\\X.EXE\r\n"},
    };
    for (const auto& [before, after] : cases)
        EXPECT_EQ(std::string(WithRenameLine(before, "NUL=C:\\X.EXE")), after) << before;
}

// Setup run silently, as a roll-out does, into folders wiped before and after each test.
class SilentSetup : public ::testing::Test {
protected:
    void SetUp() override {
        Wipe();
        // Where the tests plant files of their own.
        CreateDirectoryA("C:\\Apps", nullptr);
    }
    void TearDown() override { Wipe(); }
    void Wipe() {
        for (const std::string& folder :
             {default_, std::string(InstallFolder), std::string(FirstFolder), longest_, longest_ + "j"})
            WipeInstallation(folder);
    }

    const std::string default_ = ProgramFilesFolder() + "\\Jukelet";
    // The longest whose files all fit in MAX_PATH, less the NUL, as Windows opens them.
    const std::string longest_ = FolderOfLength(MAX_PATH - 1 - LongestInstalledName().size());
};

TEST_F(SilentSetup, GoesIntoProgramFilesWhenNoFolderIsGiven) {
    ASSERT_FALSE(default_.empty());
    ASSERT_EQ(RunSetup("/S"), 0u);
    EXPECT_TRUE(FileExists(default_ + "\\Jukelet.exe")) << default_;
    EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, UninstallKey, "InstallLocation"), default_);
}

// The command line is read whole: past 511 characters too, /D= still says where to go.
TEST_F(SilentSetup, RefusesAFolderItCannotInstallIntoAndInstallsNowhereElse) {
    const PlantedFile file = PlantedFile::WithText("C:\\Apps\\thing.txt", "a file, not a folder");
    ASSERT_TRUE(file);
    for (const std::string& arguments :
         {std::string("/S /D=R:\\"), std::string("/S /D=C:\\"), std::string("/S /D=C:\\Apps\\thing.txt"),
          std::string("/S /D=C:\\Apps\\thing.txt\\Jukelet"), "/S /D=" + FolderOfLength(600),
          "/S" + std::string(520, ' ') + "/D=C:\\"}) {
        EXPECT_EQ(RunSetup(arguments), FolderRefused) << arguments;
        EXPECT_FALSE(FolderExists(default_)) << arguments;
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, UninstallKey)) << arguments;
    }
}

// An ANSI program gets '?' for each letter its code page lacks: Jukelet could not name its
// own files there.
TEST_F(SilentSetup, RefusesAFolderWhoseNameTheCodePageCannotCarry) {
    const std::wstring folder = L"C:\\Apps\\\u041c\u0443\u0437\u044b\u043a\u0430";
    EXPECT_EQ(RunSetup(L"/S /D=" + folder), FolderRefused);
    EXPECT_EQ(GetFileAttributesW(folder.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, UninstallKey));
    EXPECT_FALSE(FolderExists(default_));
}

TEST_F(SilentSetup, TakesTheLongestFolderItsFilesFitInAndRefusesALongerOne) {
    ASSERT_EQ(RunSetup("/S /D=" + longest_), 0u) << longest_.size() << " characters";
    EXPECT_TRUE(FileExists(longest_ + LongestInstalledName()));
    WipeInstallation(longest_);

    const std::string longer = longest_ + "j";
    EXPECT_EQ(RunSetup("/S /D=" + longer), FolderRefused) << longer.size() << " characters";
    EXPECT_FALSE(FolderExists(longer));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, UninstallKey));
}

// The first file setup writes, and one it writes after all the others.
TEST_F(SilentSetup, StopsAndRegistersNothingWhenAFileCannotBeWritten) {
    for (const char* file : {"Jukelet.exe", "Links\\play.lnk"}) {
        WipeInstallation(InstallFolder);
        const KernelHandle held = HeldFile(Installed(file));
        ASSERT_TRUE(held) << file;
        EXPECT_EQ(RunSetup(std::string("/S /D=") + InstallFolder), SetupFailed) << file;
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, UninstallKey)) << file;
        EXPECT_FALSE(FileExists(StartMenuShortcut())) << file;
    }
}

TEST_F(SilentSetup, RemovesTheCopyInAnotherFolderFirstAndNoUninstallerTakesAnothersEntry) {
    ASSERT_EQ(RunSetup(std::string("/S /D=") + FirstFolder), 0u);
    // A closing backslash names the same folder.
    ASSERT_EQ(RunSetup(std::string("/S /D=") + InstallFolder + "\\"), 0u);
    EXPECT_FALSE(FolderExists(FirstFolder));
    EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, UninstallKey, "InstallLocation"), InstallFolder);
    EXPECT_EQ(ReadShortcut(StartMenuShortcut()).target, Installed("Jukelet.exe"));

    // As an older setup left two copies: the second took the entry, written with the shortcut.
    ASSERT_TRUE(SaveString(HKEY_LOCAL_MACHINE, UninstallKey, "InstallLocation", FirstFolder));
    EXPECT_EQ(RunUninstallerInPlace(InstallFolder), 0u);
    EXPECT_FALSE(FileExists(Installed("Jukelet.exe")));
    EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, UninstallKey, "InstallLocation"), FirstFolder);
    EXPECT_TRUE(FileExists(StartMenuShortcut()));
}

// Only a folder that holds our Jukelet.exe and our uninstaller is removed first: no file
// found there is run, and another program's files stay.
TEST_F(SilentSetup, LeavesAFolderTheEntryNamesAloneUnlessItHoldsOurInstallation) {
    const PlantedFile program = PlantedFile::CopyOf(FakeWinampExe(), std::string(FirstFolder) + "\\Jukelet.exe");
    const PlantedFile uninstaller = PlantedFile::CopyOf(FakeWinampExe(), std::string(FirstFolder) + "\\Uninstall.exe");
    ASSERT_TRUE(program && uninstaller);
    ASSERT_TRUE(SaveString(HKEY_LOCAL_MACHINE, UninstallKey, "InstallLocation", FirstFolder));

    EXPECT_EQ(RunSetup(std::string("/S /D=") + InstallFolder), 0u);
    EXPECT_EQ(TreeOf(FirstFolder), (std::vector<std::string>{"Jukelet.exe", "Uninstall.exe"}));
    EXPECT_TRUE(FileBytes(uninstaller.path()) == FileBytes(FakeWinampExe()));
    EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, UninstallKey, "InstallLocation"), InstallFolder);
}

// With Jukelet running from the other copy, that copy cannot go: nothing is installed.
TEST_F(SilentSetup, InstallsNothingWhenTheOtherCopyCannotBeRemoved) {
    ASSERT_EQ(RunSetup(std::string("/S /D=") + FirstFolder), 0u);
    TestProcess running = TestProcess::StartWithArguments(std::string(FirstFolder) + "\\Jukelet.exe", "");
    ASSERT_TRUE(WaitForTopWindow(running.id(), "", nullptr)) << "no configuration window";

    EXPECT_EQ(RunSetup(std::string("/S /D=") + InstallFolder), OtherCopyKept);
    EXPECT_FALSE(FolderExists(InstallFolder));
    EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, UninstallKey, "InstallLocation"), FirstFolder);
    EXPECT_EQ(ReadShortcut(StartMenuShortcut()).target, std::string(FirstFolder) + "\\Jukelet.exe");
    running.Kill();
}

// One setup at a time: the second waits for the first, then removes its copy as usual.
TEST_F(SilentSetup, TwoAtOnceLeaveOneCopyAndItsEntry) {
    TestProcess first = TestProcess::StartWithArguments(SetupExe(), std::string("/S /D=") + FirstFolder);
    TestProcess second = TestProcess::StartWithArguments(SetupExe(), std::string("/S /D=") + InstallFolder);
    ASSERT_TRUE(first.WaitForExit(SetupTimeoutMs) && second.WaitForExit(SetupTimeoutMs));
    EXPECT_EQ(first.ExitCode(), 0u);
    EXPECT_EQ(second.ExitCode(), 0u);
    const std::string kept = GetString(HKEY_LOCAL_MACHINE, UninstallKey, "InstallLocation").c_str();
    ASSERT_TRUE(kept == FirstFolder || kept == InstallFolder) << kept;
    const std::string gone = kept == FirstFolder ? InstallFolder : FirstFolder;
    EXPECT_TRUE(FileExists(kept + "\\Jukelet.exe")) << kept;
    EXPECT_FALSE(FolderExists(gone)) << gone;
    EXPECT_EQ(ReadShortcut(StartMenuShortcut()).target, kept + "\\Jukelet.exe");
}

// Setup as its user runs it: the window, with the folder it will use.
class InteractiveSetup : public SilentSetup {
protected:
    static void SetFolder(HWND window, const std::string& folder) {
        SendMessageA(FindDescendant(window, 101), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str()));
    }
};

// Enter presses Install: a folder setup cannot use is refused with the reason and the
// window stays; a usable one is installed into and setup says so. Esc cancels.
TEST_F(InteractiveSetup, InstallsOnEnterRefusingAnUnusableFolderAndEndsOnEsc) {
    TestProcess setup = TestProcess::StartWithArguments(SetupExe(), "");
    HWND window = WaitForTopWindow(setup.id(), "#32770", SetupTitle);
    ASSERT_TRUE(window);
    EXPECT_EQ(WindowText(FindDescendant(window, 101)), default_);

    SetFolder(window, "C:\\");
    PressKey(window, VK_RETURN);
    HWND box = WaitForSetupBox(setup.id(), SetupTitle);
    ASSERT_TRUE(box);
    EXPECT_EQ(ReadMessageBox(box).text.rfind("Setup cannot install Jukelet into this folder:\r\nC:\\\r\n", 0), 0u)
        << ReadMessageBox(box).text;
    PressDialogButton(box, IDOK);
    ASSERT_TRUE(WaitForWindowGone(box));
    EXPECT_TRUE(IsWindowVisible(window));

    SetFolder(window, InstallFolder);
    PressKey(window, VK_RETURN);
    box = WaitForSetupBox(setup.id(), SetupTitle);
    ASSERT_TRUE(box);
    EXPECT_EQ(ReadMessageBox(box).text.rfind("Jukelet is installed.", 0), 0u) << ReadMessageBox(box).text;
    PressDialogButton(box, IDOK);
    ASSERT_TRUE(setup.WaitForExit(SetupTimeoutMs));
    EXPECT_EQ(setup.ExitCode(), 0u);
    EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, UninstallKey, "InstallLocation"), InstallFolder);

    setup = TestProcess::StartWithArguments(SetupExe(), "");
    window = WaitForTopWindow(setup.id(), "#32770", SetupTitle);
    ASSERT_TRUE(window);
    EXPECT_EQ(WindowText(FindDescendant(window, 101)), InstallFolder) << "not the installed copy's folder";
    PressKey(window, VK_ESCAPE);
    ASSERT_TRUE(setup.WaitForExit(SetupTimeoutMs));
    EXPECT_EQ(setup.ExitCode(), 1u);
}

// A user's click on the installed buttons, with the keys the configuration window writes
// and Winamp played by the stand-in.
class ToolbarClick : public SilentInstall {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(SilentInstall::SetUp());
        RememberWinampPath(winamp_.path());
        SetToolbarFolders(InstallFolder);
        ASSERT_TRUE(AddAllButtons(HKEY_CURRENT_USER));
    }

    // As Internet Explorer does: the button with this caption has its Exec opened by the shell.
    static void Click(const std::string& caption) {
        const std::vector<std::string> execs = ToolbarButtonExecs(caption);
        ASSERT_EQ(execs.size(), 1u) << caption;
        ASSERT_TRUE(OpenThroughShell(execs[0])) << caption << ": " << execs[0];
    }

    StandIn winamp_;
};

TEST_F(ToolbarClick, EveryButtonShowsInstalledIconsAndRunsAnInstalledShortcut) {
    for (const ToolbarButton& button : ButtonCatalogue)
        for (const char* value : {"Exec", "Icon", "HotIcon"}) {
            const std::string file(GetString(HKEY_CURRENT_USER, ButtonKeyPath(button.id), value));
            EXPECT_TRUE(FileExists(file)) << button.text << " " << value << ": " << file;
        }
}

TEST_F(ToolbarClick, TransportButtonsReachARunningWinamp) {
    ASSERT_TRUE(winamp_.StartAndWait());
    const std::pair<const char*, int> buttons[] = {
        {"Previous", 40044}, {"Play", 40045}, {"Pause", 40046}, {"Stop", 40047}, {"Next", 40048}};
    std::vector<int> expected;
    for (const auto& [caption, command] : buttons) {
        ASSERT_NO_FATAL_FAILURE(Click(caption));
        expected.push_back(command);
        ASSERT_TRUE(winamp_.WaitForCommands(expected.size())) << caption;
    }
    EXPECT_EQ(winamp_.Commands(), expected);
    EXPECT_EQ(winamp_.StartCount(), 1);
}

TEST_F(ToolbarClick, OpenCloseClosesARunningWinampAndStartsAClosedOne) {
    ASSERT_TRUE(winamp_.StartAndWait());
    ASSERT_NO_FATAL_FAILURE(Click("Open/Close Winamp"));
    ASSERT_TRUE(winamp_.WaitForLogLine("exit"));
    EXPECT_EQ(winamp_.Commands(), std::vector<int>{40001});
    ASSERT_TRUE(WaitUntil([] { return FindWinampWindow() == nullptr; }, 5000));

    ASSERT_NO_FATAL_FAILURE(Click("Open/Close Winamp"));
    EXPECT_TRUE(WaitUntil([] { return FindWinampWindow() != nullptr; }, 10000));
    EXPECT_EQ(winamp_.StartCount(), 2);
}

TEST_F(ToolbarClick, MinimizeRestoreMinimisesThenRestoresWinamp) {
    HWND window = winamp_.StartAndWait(SW_SHOWNORMAL);
    ASSERT_TRUE(window);
    ASSERT_NO_FATAL_FAILURE(Click("Minimize/Restore Winamp"));
    EXPECT_TRUE(WaitUntil([&] { return ShowState(window) == SW_SHOWMINIMIZED; }, 5000));
    ASSERT_NO_FATAL_FAILURE(Click("Minimize/Restore Winamp"));
    EXPECT_TRUE(WaitUntil([&] { return ShowState(window) == SW_SHOWNORMAL; }, 5000));
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_TRUE(winamp_.Commands().empty());
}

// Where the toolbar keys are: a 64-bit uninstaller must clear both views of the machine's.
struct ButtonScope {
    HKEY root;
    RegistryView view;
    const char* name;
};
const ButtonScope ButtonScopes[] = {{HKEY_CURRENT_USER, RegistryView::Default, "HKCU"},
                                    {HKEY_LOCAL_MACHINE, RegistryView::Bits64, "HKLM 64-bit"},
                                    {HKEY_LOCAL_MACHINE, RegistryView::Bits32, "HKLM 32-bit"}};

constexpr const char* OtherProgramButton =
    "Software\\Microsoft\\Internet Explorer\\Extensions\\{11111111-2222-3333-4444-555555555555}";
constexpr const char* OtherProductKey = "Software\\Orvalle Software\\Other Tool";

// Installed, with the buttons added for this user and for every user (in both views), a
// Winamp located and remembered, and another program's button beside ours.
class Uninstall : public SilentInstall {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(SilentInstall::SetUp());
        RememberWinampPath(winamp_.path());
        SetToolbarFolders(InstallFolder);
        for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) ASSERT_TRUE(AddAllButtons(root));
        for (const ButtonScope& scope : ButtonScopes) {
            for (const ToolbarButton& button : ButtonCatalogue)
                ASSERT_TRUE(KeyExists(scope.root, ButtonKeyPath(button.id), scope.view))
                    << scope.name << " " << button.text;
            ASSERT_TRUE(SaveString(scope.root, OtherProgramButton, "ButtonText", "Someone else", scope.view));
        }
        ASSERT_TRUE(KeyExists(HKEY_CURRENT_USER, SettingsKey));
    }
    void TearDown() override {
        SilentInstall::TearDown();
        for (const ButtonScope& scope : ButtonScopes) DeleteKeyTree(scope.root, OtherProgramButton, scope.view);
        DeleteRegistryTree(HKEY_CURRENT_USER, CompanyKey);
        DeleteRegistryTree(HKEY_LOCAL_MACHINE, "Software\\JukeletTests");
        WipeInstallation(FirstFolder);
    }

    StandIn winamp_;
};

TEST_F(Uninstall, RemovesEverythingOfOursAndNothingElse) {
    std::ofstream(Installed("notes.txt")) << "the user's own file";
    ASSERT_TRUE(SaveString(HKEY_CURRENT_USER, OtherProductKey, "Colour", "blue"));

    ASSERT_TRUE(UninstallSilently());

    EXPECT_EQ(TreeOf(InstallFolder), std::vector<std::string>{"notes.txt"});
    EXPECT_FALSE(FileExists(StartMenuShortcut()));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, UninstallKey));
    for (const ButtonScope& scope : ButtonScopes) {
        for (const ToolbarButton& button : ButtonCatalogue)
            EXPECT_FALSE(KeyExists(scope.root, ButtonKeyPath(button.id), scope.view))
                << scope.name << " " << button.text;
        EXPECT_TRUE(KeyExists(scope.root, OtherProgramButton, scope.view)) << scope.name;
    }
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, SettingsKey));
    EXPECT_EQ(GetString(HKEY_CURRENT_USER, OtherProductKey, "Colour"), "blue");
    EXPECT_TRUE(FileExists(WinampExePath));
}

// A silent uninstall cannot ask for it to be closed: it fails, and can be run again.
TEST_F(Uninstall, RefusesWhileJukeletRunsFromTheFolderAndKeepsTheEntry) {
    TestProcess jukelet = TestProcess::StartWithArguments(Installed("Jukelet.exe"), "");
    ASSERT_TRUE(WaitForTopWindow(jukelet.id(), "", nullptr)) << "no configuration window";
    EXPECT_EQ(RunUninstallerInPlace(InstallFolder), FilesInUse);
    EXPECT_TRUE(FileExists(Installed("Jukelet.exe")));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, UninstallKey));

    jukelet.Kill();
    EXPECT_TRUE(UninstallSilently());
    EXPECT_FALSE(FolderExists(InstallFolder));
}

// Jukelet.exe goes first: an uninstall that a file in use then stops can still be finished.
TEST_F(Uninstall, AnUninstallStoppedByAFileInUseFinishesWhenRunAgain) {
    {
        const FileHandle held(CreateFileA(Installed(std::string("Icons") + ButtonCatalogue[1].hotIcon).c_str(),
                                          GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        EXPECT_EQ(RunUninstallerInPlace(InstallFolder), FilesInUse);
        EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, UninstallKey));
    }
    EXPECT_TRUE(UninstallSilently());
    EXPECT_FALSE(FolderExists(InstallFolder));
}

TEST_F(Uninstall, LeavesNoEmptyFolderOrCompanyKeyBehind) {
    ASSERT_TRUE(UninstallSilently());
    EXPECT_FALSE(FolderExists(InstallFolder));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, CompanyKey));
}

TEST_F(Uninstall, KeepsACompanyKeyThatHoldsValues) {
    ASSERT_TRUE(SaveString(HKEY_CURRENT_USER, CompanyKey, "Licensee", "A. User"));
    ASSERT_TRUE(UninstallSilently());
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, SettingsKey));
    EXPECT_EQ(GetString(HKEY_CURRENT_USER, CompanyKey, "Licensee"), "A. User");
}

// Run as its user runs it, the uninstaller asks first, offers Retry while Jukelet runs
// from the folder, and says when it is done.
TEST_F(Uninstall, AsksFirstOffersRetryWhileJukeletRunsAndSaysWhenItIsDone) {
    auto startAndAsk = [] {
        EXPECT_EQ(RunUninstaller(Installed("Uninstall.exe"), ""), 0u);
        HWND question = WaitForSetupBox(0, UninstallTitle);
        EXPECT_TRUE(question);
        EXPECT_EQ(ReadMessageBox(question).buttons, (std::vector<int>{IDYES, IDNO}));
        return question;
    };
    PressDialogButton(startAndAsk(), IDNO);
    ASSERT_TRUE(WaitUntil([] { return CountProcessesNamed("Jukelet-Uninstall.exe") == 0; }, SetupTimeoutMs));
    EXPECT_TRUE(FileExists(Installed("Jukelet.exe")));

    TestProcess jukelet = TestProcess::StartWithArguments(Installed("Jukelet.exe"), "");
    ASSERT_TRUE(WaitForTopWindow(jukelet.id(), "", ConfigurationCaption)) << "no configuration window";
    HWND question = startAndAsk();
    PressDialogButton(question, IDYES);
    // The next box has the same title: the question must be gone first.
    ASSERT_TRUE(WaitForWindowGone(question));
    HWND retry = WaitForSetupBox(0, UninstallTitle);
    ASSERT_TRUE(retry);
    EXPECT_EQ(ReadMessageBox(retry).buttons, (std::vector<int>{IDCANCEL, IDRETRY}));
    EXPECT_TRUE(FileExists(Installed("Jukelet.exe")));
    jukelet.Kill();
    PressDialogButton(retry, IDRETRY);
    ASSERT_TRUE(WaitForWindowGone(retry));
    HWND done = WaitForSetupBox(0, UninstallTitle);
    ASSERT_TRUE(done);
    EXPECT_EQ(ReadMessageBox(done).text, std::string("Jukelet has been removed from this folder:\r\n") + InstallFolder);
    PressDialogButton(done, IDOK);
    ASSERT_TRUE(WaitUntil([] { return CountProcessesNamed("Jukelet-Uninstall.exe") == 0; }, SetupTimeoutMs));
    EXPECT_FALSE(FolderExists(InstallFolder));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, UninstallKey));
}

// The keys and settings every copy shares stay while the entry names another copy of ours;
// this one's own files go.
TEST_F(Uninstall, LeavesWhatAnotherRegisteredCopyUsesAlone) {
    const PlantedFile program =
        PlantedFile::CopyOf(Installed("Jukelet.exe"), std::string(FirstFolder) + "\\Jukelet.exe");
    const PlantedFile uninstaller =
        PlantedFile::CopyOf(Installed("Uninstall.exe"), std::string(FirstFolder) + "\\Uninstall.exe");
    ASSERT_TRUE(program && uninstaller);

    EXPECT_EQ(RunUninstallerInPlace(FirstFolder), 0u);
    EXPECT_EQ(TreeOf(FirstFolder), std::vector<std::string>{"Uninstall.exe"});
    for (const ButtonScope& scope : ButtonScopes)
        for (const ToolbarButton& button : ButtonCatalogue)
            EXPECT_TRUE(KeyExists(scope.root, ButtonKeyPath(button.id), scope.view))
                << scope.name << " " << button.text;
    EXPECT_EQ(GetString(HKEY_CURRENT_USER, SettingsKey, WinampExeValue), WinampExePath);
    EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, UninstallKey, "InstallLocation"), InstallFolder);
    EXPECT_TRUE(FileExists(StartMenuShortcut()));
    EXPECT_TRUE(FileExists(Installed("Jukelet.exe")));
}

// An uninstaller that finds no installation of ours where it is pointed removes nothing and
// says so, whichever form it was started in.
TEST_F(Uninstall, TouchesNothingWithoutOurJukeletAndUninstallerInTheFolder) {
    const std::string alone = std::string(FirstFolder) + "\\Uninstall.exe";
    const PlantedFile copied = PlantedFile::CopyOf(Installed("Uninstall.exe"), alone);
    const PlantedFile foreign = PlantedFile::CopyOf(FakeWinampExe(), "C:\\Apps\\Foreign\\Jukelet.exe");
    const PlantedFile foreignUninstaller =
        PlantedFile::CopyOf(Installed("Uninstall.exe"), "C:\\Apps\\Foreign\\Uninstall.exe");
    ASSERT_TRUE(copied && foreign && foreignUninstaller);
    const std::pair<std::string, std::string> runs[] = {
        {Installed("Uninstall.exe"), "/S _?=C:\\Apps\\Nowhere"},
        {alone, std::string("/S _?=") + FirstFolder},
        {alone, "/S"},
        {foreignUninstaller.path(), "/S _?=C:\\Apps\\Foreign"},
    };
    for (const auto& [uninstaller, arguments] : runs) {
        EXPECT_EQ(RunUninstaller(uninstaller, arguments), NotOurs) << uninstaller << " " << arguments;
        EXPECT_EQ(CountProcessesNamed("Jukelet-Uninstall.exe"), 0) << "a copy started";
    }
    EXPECT_TRUE(FileExists(Installed("Jukelet.exe")));
    EXPECT_TRUE(FileExists(foreign.path()));
    EXPECT_TRUE(FileExists(alone));
    for (const ButtonScope& scope : ButtonScopes)
        EXPECT_TRUE(KeyExists(scope.root, ButtonKeyPath(ButtonCatalogue[0].id), scope.view)) << scope.name;
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, SettingsKey));
    EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, UninstallKey, "InstallLocation"), InstallFolder);
    WipeInstallation("C:\\Apps\\Foreign");
}

// Another program's registry link where a button's key, the settings key or the company key
// belongs is never followed: what it points to keeps its values and subkeys.
TEST_F(Uninstall, NeverDeletesThroughAnotherProgramsRegistryLink) {
    constexpr const char* Target = "Software\\JukeletTests\\LinkTarget";
    for (const std::string& place :
         {std::string(ButtonKeyPath(ButtonCatalogue[0].id)), std::string(SettingsKey), std::string(CompanyKey)}) {
        SCOPED_TRACE(place);
        ASSERT_EQ(RunSetup(std::string("/S /D=") + InstallFolder), 0u);
        const PlantedKey target(HKEY_LOCAL_MACHINE, Target);
        ASSERT_TRUE(target.WriteString("Owner", "another program"));
        // Where the company key is a link, the settings key lies in its target.
        ASSERT_TRUE(target.WriteString(WinampExeValue, "kept", "Jukelet"));
        DeleteRegistryTree(HKEY_CURRENT_USER, place);
        {
            RegistryLink link(HKEY_CURRENT_USER, place, RegistryView::Default,
                              L"\\Registry\\Machine\\Software\\JukeletTests\\LinkTarget");
            ASSERT_TRUE(link.created());
            EXPECT_EQ(RunUninstallerInPlace(InstallFolder), 0u);
        }
        EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, Target, "Owner"), "another program");
        EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, std::string(Target) + "\\Jukelet", WinampExeValue), "kept");
    }
}

}  // namespace
