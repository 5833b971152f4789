#include <gtest/gtest.h>

#include "base/SharedState.h"
#include "registry/Registry.h"
#include "support/TestEnvironment.h"
#include "support/TestWindows.h"
#include "winamp/FileExist.h"
#include "winamp/FileSelector.h"
#include "winamp/Locator.h"
#include "winamp/Settings.h"

namespace {

TEST(AssociationParsing, StripsAnyIconIndexAndQuotes) {
    const std::string path = "C:\\Program Files\\Winamp\\winamp.exe";
    EXPECT_EQ(ParseAssociationPath(path + ",1"), path);
    EXPECT_EQ(ParseAssociationPath(path + ",10"), path);
    EXPECT_EQ(ParseAssociationPath(path + ",-101"), path);
    EXPECT_EQ(ParseAssociationPath("\"" + path + "\",1"), path);
    EXPECT_EQ(ParseAssociationPath(" \"" + path + "\" , 2 "), path);
    EXPECT_EQ(ParseAssociationPath(path), path);
    EXPECT_EQ(ParseAssociationPath("C:\\odd,name\\winamp.exe"), "C:\\odd,name\\winamp.exe");
    EXPECT_EQ(ParseAssociationPath(""), "");
    EXPECT_EQ(ParseAssociationPath(",1"), "");
    EXPECT_EQ(ParseAssociationPath("\""), "\"");
}

TEST(FileExistTest, OnlyReadableFilesCount) {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    EXPECT_TRUE(FileExist(self));
    EXPECT_FALSE(FileExist(BinFolder()));
    EXPECT_FALSE(FileExist(BinFolder() + "\\no such file.exe"));
    EXPECT_FALSE(FileExist(""));
    EXPECT_FALSE(FileExist(std::string(40000, 'x')));
}

// The program started as a toolbar click would start it, with Winamp's location to find.
class Locating : public ::testing::Test {
protected:
    void SetUp() override {
        ClearJukeletSettings();
        ClearWinampAssociation();
    }
    void TearDown() override {
        ClearJukeletSettings();
        ClearWinampAssociation();
    }
    static void SetAssociation(const std::string& value) {
        ASSERT_TRUE(SaveString(HKEY_LOCAL_MACHINE, WinampAssociationKey, "", value));
    }
    // "/STOP" with Winamp closed does nothing after locating: the locator alone is seen.
    static TestProcess StartStop() { return TestProcess::StartWithArguments(JukeletExe(), "/STOP"); }

    StandIn winamp_;
};

TEST_F(Locating, TheAssociationIsUsedAndRememberedWithoutAsking) {
    for (const std::string& value : {std::string(WinampExePath) + ",1", std::string(WinampExePath) + ",10",
                                     "\"" + std::string(WinampExePath) + "\",0"}) {
        ClearJukeletSettings();
        SetAssociation(value);
        TestProcess jukelet = StartStop();
        ASSERT_TRUE(jukelet.WaitForExit(10000)) << value;
        EXPECT_TRUE(FindTopWindows(jukelet.id(), "#32770", nullptr).empty());
        EXPECT_EQ(RememberedWinampPath(), WinampExePath) << value;
    }
}

TEST_F(Locating, ARememberedPathWinsOverTheAssociation) {
    SetAssociation("C:\\nowhere\\winamp.exe,1");
    RememberWinampPath(WinampExePath);
    TestProcess jukelet = StartStop();
    ASSERT_TRUE(jukelet.WaitForExit(10000));
    EXPECT_EQ(RememberedWinampPath(), WinampExePath);
}

// Not found: the message, then the selector; the chosen file is remembered and the
// click's command is carried out.
TEST_F(Locating, AStalePathLeadsToTheSelectorAndTheChoiceIsUsed) {
    SetAssociation(std::string(WinampExePath) + ",1");  // valid, but a stored value hides it
    RememberWinampPath("C:\\Deleted\\winamp.exe");
    TestProcess jukelet = TestProcess::StartWithArguments(JukeletExe(), "/PLAY");

    HWND box = WaitForMessageBox(jukelet.id(), AppTitle);
    ASSERT_TRUE(box);
    MessageBoxView notFound = ReadMessageBox(box);
    EXPECT_EQ(notFound.text, "Winamp.exe not found!\r\rPlease locate Winamp.exe in the following file selector...");
    EXPECT_EQ(notFound.buttons, std::vector<int>{IDOK});
    EXPECT_FALSE(notFound.hasIcon);
    PressDialogButton(box, IDOK);

    HWND selector = WaitForTopWindow(jukelet.id(), "#32770", StartupSelectorTitle);
    ASSERT_TRUE(selector);
    std::vector<std::string> filters = OpenDialogFilters(selector);
    ASSERT_EQ(filters.size(), 1u);
    EXPECT_EQ(filters[0].rfind("Winamp.exe", 0), 0u) << filters[0];
    ASSERT_TRUE(ChooseInOpenDialog(selector, WinampExePath));

    ASSERT_TRUE(jukelet.WaitForExit(15000));
    EXPECT_EQ(RememberedWinampPath(), WinampExePath);
    ASSERT_TRUE(winamp_.WaitForCommands(1));
    EXPECT_EQ(winamp_.Commands(), std::vector<int>{40045});
}

TEST_F(Locating, RefusingTheSelectorEndsWithoutTheCommand) {
    TestProcess jukelet = TestProcess::StartWithArguments(JukeletExe(), "/PLAY");
    HWND box = WaitForMessageBox(jukelet.id(), AppTitle);
    ASSERT_TRUE(box);
    PressDialogButton(box, IDOK);
    HWND selector = WaitForTopWindow(jukelet.id(), "#32770", StartupSelectorTitle);
    ASSERT_TRUE(selector);
    PressDialogButton(selector, IDCANCEL);

    HWND refused = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            for (HWND window : FindTopWindows(jukelet.id(), "#32770", AppTitle))
                if (IsWindowVisible(window) && window != box) return (refused = window) != nullptr;
            return false;
        },
        WindowTimeoutMs));
    MessageBoxView view = ReadMessageBox(refused);
    EXPECT_EQ(view.text, "Your toolbar buttons will not work unless you locate Winamp.exe");
    EXPECT_TRUE(view.hasIcon);
    EXPECT_EQ(view.buttons, std::vector<int>{IDOK});
    PressDialogButton(refused, IDOK);

    ASSERT_TRUE(jukelet.WaitForExit(10000));
    EXPECT_EQ(RememberedWinampPath(), "");
    EXPECT_EQ(winamp_.StartCount(), 0);

    // Nothing was stored: a valid association is found at the next click, without asking.
    SetAssociation(std::string(WinampExePath) + ",1");
    TestProcess next = StartStop();
    ASSERT_TRUE(next.WaitForExit(10000)) << "the next click asked again";
    EXPECT_EQ(RememberedWinampPath(), WinampExePath);
}

// A relative association is made whole before it is tested, and stored whole.
TEST_F(Locating, ARelativeAssociationIsStoredWhole) {
    SetAssociation("..\\Program Files\\Winamp\\winamp.exe,1");
    TestProcess jukelet = TestProcess::StartWithArguments(JukeletExe(), "/STOP", "C:\\windows");
    ASSERT_TRUE(jukelet.WaitForExit(10000)) << "it asked";
    EXPECT_EQ(RememberedWinampPath(), WinampExePath);
}

// Wine's own setting that makes one program prefer a DLL of its folder to Wine's, while it lasts.
class PreferOwnDll {
public:
    PreferOwnDll(const std::string& program, const char* dll)
        : key_(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\" + program) {
        key_.WriteString(dll, "native,builtin", "DllOverrides");
    }

private:
    PlantedKey key_;
};

// Windows 95, 98, ME and NT 4.0 refuse an Open dialog record of any size but
// OPENFILENAME_SIZE_VERSION_400A, and the selector then fails. Here a copy of the program
// sits beside a comdlg32.dll that refuses as they did.
TEST_F(Locating, TheSelectorHandsTheSystemARecordWindows95Accepts) {
    PlantedFile jukelet = PlantedFile::CopyOf(JukeletExe(), BinFolder() + "\\strict-comdlg32\\Jukelet.exe");
    ASSERT_TRUE(jukelet);
    PreferOwnDll strict("Jukelet.exe", "comdlg32");
    SetEnvironmentVariableA("JUKELET_OPEN_DIALOG_ANSWER", WinampExePath);
    TestProcess run = TestProcess::StartWithArguments(jukelet.path(), "/STOP");

    HWND notFound = WaitForMessageBox(run.id(), "Jukelet");
    ASSERT_TRUE(notFound);
    PressDialogButton(notFound, IDOK);
    HWND refused = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            for (HWND box : FindTopWindows(run.id(), "#32770", "Jukelet"))
                if (IsWindowVisible(box) && box != notFound) refused = box;
            return refused || !run.IsRunning();
        },
        WindowTimeoutMs));
    if (refused) {
        ADD_FAILURE() << "the selector failed (CDERR_STRUCTSIZE from a record that is not "
                         "OPENFILENAME_SIZE_VERSION_400A bytes) and the program said: "
                      << ReadMessageBox(refused).text;
        PressDialogButton(refused, IDOK);
    }
    ASSERT_TRUE(run.WaitForExit(10000));
    EXPECT_EQ(RememberedWinampPath(), WinampExePath);
}

// Watches the settings key for a value being written.
class SettingsWatch {
public:
    SettingsWatch() : event_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
        RegOpenKeyExA(HKEY_CURRENT_USER, SettingsKey, 0, KEY_NOTIFY, &key_);
        if (key_) RegNotifyChangeKeyValue(key_, TRUE, REG_NOTIFY_CHANGE_LAST_SET, event_.get(), TRUE);
    }
    ~SettingsWatch() {
        if (key_) RegCloseKey(key_);
    }
    bool watching() const { return key_ != nullptr; }
    bool Written(DWORD waitMs) const { return WaitForSingleObject(event_.get(), waitMs) == WAIT_OBJECT_0; }

private:
    KernelHandle event_;
    HKEY key_ = nullptr;
};

// A click whose remembered path is still right writes nothing; one that had to make the
// path whole stores it.
TEST_F(Locating, AClickWritesTheSettingsOnlyWhenThePathChanged) {
    // Bytes after the terminator: a write of the same path changes the stored bytes, which
    // Wine needs before it reports a write at all.
    const std::string storedWithTail = std::string(WinampExePath) + std::string("\0tail", 5);
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, SettingsKey, &key), ERROR_SUCCESS);
    RegSetValueExA(key, WinampExeValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(storedWithTail.data()),
                   static_cast<DWORD>(storedWithTail.size()));
    RegCloseKey(key);
    ASSERT_EQ(RememberedWinampPath(), WinampExePath);
    {
        SettingsWatch watch;
        ASSERT_TRUE(watch.watching());
        ASSERT_TRUE(StartStop().WaitForExit(10000));
        EXPECT_FALSE(watch.Written(500)) << "an unchanged path was written again";
    }
    RememberWinampPath("C:/Program Files/Winamp/winamp.exe");
    SettingsWatch watch;
    ASSERT_TRUE(StartStop().WaitForExit(10000));
    EXPECT_TRUE(watch.Written(2000)) << "the whole path was not stored";
    EXPECT_EQ(RememberedWinampPath(), WinampExePath);
}

// Whatever is stored or associated, a bad value ends in the question, never a crash.
TEST_F(Locating, BadValuesAreTreatedAsNotFound) {
    auto expectQuestion = [](const char* what) {
        TestProcess jukelet = StartStop();
        HWND box = WaitForMessageBox(jukelet.id(), AppTitle);
        ASSERT_TRUE(box) << what;
        EXPECT_EQ(ReadMessageBox(box).text.rfind("Winamp.exe not found!", 0), 0u) << what;
        jukelet.Kill();
    };
    auto writeStored = [](DWORD type, const std::string& data) {
        HKEY key = nullptr;
        RegCreateKeyA(HKEY_CURRENT_USER, SettingsKey, &key);
        RegSetValueExA(key, WinampExeValue, 0, type, reinterpret_cast<const BYTE*>(data.c_str()),
                       static_cast<DWORD>(data.size() + 1));
        RegCloseKey(key);
    };

    expectQuestion("nothing stored, no association");
    SetAssociation("");
    expectQuestion("empty association");
    SetAssociation("x");
    expectQuestion("one-character association");
    writeStored(REG_SZ, std::string(40000, 'w'));
    expectQuestion("40,000 characters stored");
    writeStored(REG_SZ, WinampFolder);
    expectQuestion("a folder stored");
    writeStored(REG_SZ, "");
    expectQuestion("an empty value stored");
    DWORD number = 5;
    HKEY key = nullptr;
    RegCreateKeyA(HKEY_CURRENT_USER, SettingsKey, &key);
    RegSetValueExA(key, WinampExeValue, 0, REG_DWORD, reinterpret_cast<BYTE*>(&number), sizeof(number));
    RegCloseKey(key);
    expectQuestion("a number stored, no usable association");
}

TEST_F(Locating, AStoredValueOfAnotherTypeCountsAsMissing) {
    HKEY key = nullptr;
    RegCreateKeyA(HKEY_CURRENT_USER, SettingsKey, &key);
    RegSetValueExA(key, WinampExeValue, 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(WinampExePath),
                   static_cast<DWORD>(strlen(WinampExePath) + 1));
    RegCloseKey(key);
    SetAssociation(std::string(WinampExePath) + ",1");
    TestProcess jukelet = StartStop();
    ASSERT_TRUE(jukelet.WaitForExit(10000));
    EXPECT_TRUE(FindTopWindows(jukelet.id(), "#32770", nullptr).empty());
    EXPECT_EQ(GetString(HKEY_CURRENT_USER, SettingsKey, WinampExeValue), WinampExePath);
}

}  // namespace
