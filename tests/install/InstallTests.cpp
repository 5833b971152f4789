#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <fstream>

#include "install/InstallRig.h"
#include "registry/Registry.h"
#include "startup/CommandLine.h"
#include "support/TestEnvironment.h"
#include "support/TestWindows.h"
#include "toolbar/ButtonCatalogue.h"
#include "toolbar/ToolbarButtons.h"
#include "version.h"
#include "winamp/RemoteControl.h"
#include "winamp/Settings.h"

namespace {

constexpr const char* InstallFolder = "C:\\Apps\\Tools";
constexpr const char* FirstFolder = "C:\\Apps\\First";

// Exit codes, as the README lists them.
constexpr DWORD SetupFailed = 2;    // a file could not be written
constexpr DWORD FolderRefused = 3;  // a folder setup cannot install into
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

// Setup run silently, as a roll-out does, into folders wiped before and after each test.
class SilentSetup : public ::testing::Test {
protected:
    void SetUp() override { Wipe(); }
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

TEST_F(SilentSetup, RefusesAFolderItCannotInstallIntoAndInstallsNowhereElse) {
    const PlantedFile file = PlantedFile::WithText("C:\\Apps\\thing.txt", "a file, not a folder");
    ASSERT_TRUE(file);
    for (const char* folder : {"R:\\", "C:\\", "C:\\Apps\\thing.txt"}) {
        EXPECT_EQ(RunSetup(std::string("/S /D=") + folder), FolderRefused) << folder;
        EXPECT_FALSE(FolderExists(default_)) << folder;
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, UninstallKey)) << folder;
    }
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

}  // namespace
