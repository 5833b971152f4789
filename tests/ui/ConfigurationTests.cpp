// The configuration window driven as its user would: keys, buttons, message boxes, the Open
// dialog; then what the user would check: the registry and the texts on screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <list>
#include <memory>

#include "base/SharedState.h"
#include "support/TestEnvironment.h"
#include "toolbar/ButtonCatalogue.h"
#include "toolbar/ToolbarButtons.h"
#include "ui/UiDriver.h"
#include "winamp/FileSelector.h"
#include "winamp/Settings.h"

namespace {

const std::string AddHint =
    "If the buttons do not immediately appear on your IE toolbar, right-click the toolbar \r"
    "and click 'Customize...' then add the buttons manually.";
const std::string UserAdded = "Icons added to the current user. \r\r" + AddHint;
const std::string MachineAdded = "Icons added to all users. \r\r" + AddHint;
const std::string RemoveQuestion =
    "This will remove all Winamp control buttons from Internet Explorer,\r"
    "and applies to ALL users.\r\r"
    "Continue?";
const std::string NotLocated = "Your toolbar buttons will not work unless you locate Winamp.exe";
const std::string InitialPathText = "Unknown - Please click Browse to select ... ->>";
// A second, valid place to move Winamp to.
constexpr const char* OtherWinampPath = "C:\\Other Winamp\\winamp.exe";
constexpr const char* MissingWinampPath = "C:\\Nowhere\\winamp.exe";

std::vector<std::string> AllButtonIds() {
    std::vector<std::string> ids;
    for (const ToolbarButton& button : ButtonCatalogue) ids.push_back(button.id);
    std::sort(ids.begin(), ids.end());
    return ids;
}

void InstallButtonKeys(HKEY root, RegistryView view = RegistryView::Default) {
    for (const ToolbarButton& button : ButtonCatalogue)
        ASSERT_TRUE(WriteRegistryString(root, ButtonKeyPath(button.id), "ButtonText", button.text, view));
}

// Every place buttons are written: the user's keys and both views of the machine's.
struct Place {
    HKEY root;
    RegistryView view;
    const char* name;
};
const Place EveryPlace[] = {
    {HKEY_CURRENT_USER, RegistryView::Default, "current user"},
    {HKEY_LOCAL_MACHINE, RegistryView::Bits64, "this machine, 64-bit view"},
    {HKEY_LOCAL_MACHINE, RegistryView::Bits32, "this machine, 32-bit view"},
};

// How a message names the view of a key: "" for the user's, which has one.
std::string ViewNamed(const Place& place) {
    if (place.root == HKEY_CURRENT_USER) return "";
    return place.view == RegistryView::Bits64 ? " (64-bit view)" : " (32-bit view)";
}

// A message box as the user reads it: title, text, buttons and icon.
void ExpectMessage(HWND box, const std::string& text, const std::vector<int>& buttons, BoxIcon icon) {
    ASSERT_TRUE(box);
    const MessageBoxView view = ReadMessageBox(box);
    EXPECT_EQ(view.text, text);
    EXPECT_EQ(view.buttons, buttons);
    const BoxIcon shown = IconShown(box);
    EXPECT_EQ(shown, icon) << "the box shows " << IconName(shown) << ", expected " << IconName(icon);
}

class ConfigurationWindow : public ::testing::Test {
protected:
    void SetUp() override {
        RemoveButtonKeys();
        ASSERT_TRUE(otherWinamp_);
        RememberWinampPath(winamp_.path());
        run_ = std::make_unique<ConfigurationRun>();
        ASSERT_TRUE(run_->window()) << "the configuration window did not open";
        main_ = run_->window();
    }
    void TearDown() override {
        run_.reset();
        RemoveButtonKeys();
        ClearJukeletSettings();
    }

    // Clicks a button whose work ends in a message box with this title.
    HWND ClickForBox(const std::string& caption, const char* title) {
        run_->Click(caption);
        return run_->WaitForBox(title);
    }
    void Dismiss(HWND box, int button = IDOK) {
        PressDialogButton(box, button);
        EXPECT_TRUE(WaitForWindowGone(box));
    }
    // Shows that the window has dealt with everything sent before: Help opens, then closes.
    void RoundTrip() {
        run_->Click("&Help");
        HWND help = run_->WaitForWindow("Help");
        ASSERT_TRUE(help) << "the window no longer reacts";
        PostMessageA(help, WM_CLOSE, 0, 0);
        ASSERT_TRUE(WaitForWindowGone(help));
    }
    bool NoBoxShown() const { return run_->MessageBoxes().empty(); }

    HWND OpenBrowse() {
        run_->Click("Bro&wse...");
        return run_->WaitForWindow(BrowseSelectorTitle, "#32770");
    }
    // Chooses a file in the Locate dialog and waits until the window shows it.
    void BrowseTo(const std::string& path) {
        HWND dialog = OpenBrowse();
        ASSERT_TRUE(dialog) << "no \"" << BrowseSelectorTitle << "\" dialog";
        ASSERT_TRUE(ChooseInOpenDialog(dialog, path));
        ASSERT_TRUE(WaitForWindowGone(dialog));
        EXPECT_TRUE(WaitUntil([&] { return WindowText(run_->PathBox()) == path; }, WindowTimeoutMs))
            << "the path box shows \"" << WindowText(run_->PathBox()) << "\"";
    }
    // Cancels the Locate dialog; the warning it led to, if any.
    HWND CancelBrowse() {
        HWND dialog = OpenBrowse();
        EXPECT_TRUE(dialog);
        if (!dialog) return nullptr;
        PressDialogButton(dialog, IDCANCEL);
        EXPECT_TRUE(WaitForWindowGone(dialog));
        RoundTrip();
        for (HWND box : run_->MessageBoxes())
            if (WindowText(box) == AppTitle) return box;
        return nullptr;
    }

    StandIn winamp_;
    const PlantedFile otherWinamp_ = PlantedFile::CopyOf(FakeWinampExe(), OtherWinampPath);
    std::unique_ptr<ConfigurationRun> run_;
    HWND main_ = nullptr;
};

// Enter presses the default button, "&Add to Current User".
TEST_F(ConfigurationWindow, EnterAddsTheButtonsForTheCurrentUser) {
    PressKey(main_, VK_RETURN);
    HWND box = run_->WaitForBox("Add");
    ExpectMessage(box, UserAdded, {IDOK}, BoxIcon::Information);
    EXPECT_EQ(GetWindow(box, GW_OWNER), main_);
    EXPECT_EQ(InstalledButtonKeys(HKEY_CURRENT_USER), AllButtonIds());
    EXPECT_TRUE(InstalledButtonKeys(HKEY_LOCAL_MACHINE).empty());
    PressKey(box, VK_RETURN);
    ASSERT_TRUE(WaitForWindowGone(box));

    // Also from the path box, which is no push button.
    SendMessageA(main_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(run_->PathBox()), TRUE);
    ASSERT_TRUE(WaitUntil([&] { return FocusedControl(main_) == run_->PathBox(); }, WindowTimeoutMs));
    PressKey(main_, VK_RETURN);
    box = run_->WaitForBox("Add");
    ASSERT_TRUE(box) << "Enter in the path box";
    EXPECT_EQ(ReadMessageBox(box).text, UserAdded);
    Dismiss(box);
}

// A push button that has the focus takes Enter for itself.
TEST_F(ConfigurationWindow, EnterPressesTheFocusedPushButton) {
    HWND about = run_->Button("A&bout");
    for (int i = 0; i < 6 && FocusedControl(main_) != about; ++i) {
        HWND before = FocusedControl(main_);
        PressKey(main_, VK_TAB);
        WaitUntil([&] { return FocusedControl(main_) != before; }, WindowTimeoutMs);
    }
    ASSERT_EQ(FocusedControl(main_), about);
    PressKey(main_, VK_RETURN);
    EXPECT_TRUE(run_->WaitForWindow("About"));
    EXPECT_TRUE(FindTopWindows(run_->id(), "#32770", "Add").empty());
    EXPECT_TRUE(InstalledButtonKeys(HKEY_CURRENT_USER).empty());
}

TEST_F(ConfigurationWindow, TabWalksTheControlsInTheirOrder) {
    const std::vector<std::pair<std::string, HWND>> order = {
        {"&Add to Current User", run_->Button("&Add to Current User")},
        {"Add to this &Machine", run_->Button("Add to this &Machine")},
        {"&Remove All", run_->Button("&Remove All")},
        {"the path box", run_->PathBox()},
        {"Bro&wse...", run_->Button("Bro&wse...")},
        {"&Help", run_->Button("&Help")},
        {"A&bout", run_->Button("A&bout")},
        {"&Close", run_->Button("&Close")},
    };
    ASSERT_EQ(FocusedControl(main_), order[0].second) << "the first control does not have the focus";
    for (size_t i = 1; i <= order.size(); ++i) {
        const auto& [name, control] = order[i % order.size()];
        PressKey(main_, VK_TAB);
        EXPECT_TRUE(WaitUntil([&] { return FocusedControl(main_) == control; }, WindowTimeoutMs))
            << "Tab number " << i << " should reach " << name;
    }
    PressKey(main_, VK_TAB, {VK_SHIFT});
    EXPECT_TRUE(WaitUntil([&] { return FocusedControl(main_) == order.back().second; }, WindowTimeoutMs))
        << "Shift+Tab should go back to Close";
}

TEST_F(ConfigurationWindow, AccessKeysPressTheirButtons) {
    PressKey(main_, 'A', {VK_MENU});
    HWND box = run_->WaitForBox("Add");
    ASSERT_TRUE(box) << "Alt+A";
    EXPECT_EQ(ReadMessageBox(box).text, UserAdded);
    Dismiss(box);

    PressKey(main_, 'M', {VK_MENU});
    box = run_->WaitForBox("Add");
    ASSERT_TRUE(box) << "Alt+M";
    EXPECT_EQ(ReadMessageBox(box).text, MachineAdded);
    Dismiss(box);

    PressKey(main_, 'R', {VK_MENU});
    box = run_->WaitForBox("Remove Buttons");
    ASSERT_TRUE(box) << "Alt+R";
    Dismiss(box, IDNO);

    PressKey(main_, 'W', {VK_MENU});
    HWND dialog = run_->WaitForWindow(BrowseSelectorTitle, "#32770");
    ASSERT_TRUE(dialog) << "Alt+W";
    PressDialogButton(dialog, IDCANCEL);
    ASSERT_TRUE(WaitForWindowGone(dialog));

    PressKey(main_, 'H', {VK_MENU});
    EXPECT_TRUE(run_->WaitForWindow("Help")) << "Alt+H";
    PressKey(main_, 'B', {VK_MENU});
    EXPECT_TRUE(run_->WaitForWindow("About")) << "Alt+B";
    PressKey(main_, 'C', {VK_MENU});
    EXPECT_TRUE(run_->WaitForExit()) << "Alt+C";
}

// Esc presses Close: the new path is saved and the program ends.
TEST_F(ConfigurationWindow, EscClosesAndSavesTheChosenPath) {
    BrowseTo(OtherWinampPath);
    EXPECT_EQ(RememberedWinampPath(), winamp_.path()) << "saved before Close";
    PressKey(main_, VK_ESCAPE);
    ASSERT_TRUE(run_->WaitForExit());
    EXPECT_EQ(RememberedWinampPath(), OtherWinampPath);
}

// Each Add button writes its own root only, then says so.
TEST_F(ConfigurationWindow, EachAddButtonWritesItsOwnRootAndSaysSo) {
    HWND box = ClickForBox("&Add to Current User", "Add");
    ExpectMessage(box, UserAdded, {IDOK}, BoxIcon::Information);
    EXPECT_EQ(InstalledButtonKeys(HKEY_CURRENT_USER), AllButtonIds());
    EXPECT_TRUE(InstalledButtonKeys(HKEY_LOCAL_MACHINE).empty());
    Dismiss(box);

    box = ClickForBox("Add to this &Machine", "Add");
    ExpectMessage(box, MachineAdded, {IDOK}, BoxIcon::Information);
    EXPECT_EQ(GetWindow(box, GW_OWNER), main_);
    EXPECT_EQ(InstalledButtonKeys(HKEY_LOCAL_MACHINE), AllButtonIds());
    Dismiss(box);
    EXPECT_TRUE(IsWindowVisible(main_));
}

// On 64-bit Windows 32-bit and 64-bit browsers read the machine's keys from two views of
// the registry: Add to this Machine writes both, Remove All clears both, and another
// program's keys in either view stay.
TEST_F(ConfigurationWindow, TheMachineButtonsReachBothRegistryViews) {
    const std::string otherKey(ButtonKeyPath(OtherProgramButtonId));
    const PlantedKey others[] = {{HKEY_LOCAL_MACHINE, otherKey, BothViews[0].view},
                                 {HKEY_LOCAL_MACHINE, otherKey, BothViews[1].view}};
    for (const PlantedKey& other : others) ASSERT_TRUE(other.WriteString("ButtonText", "Other"));

    Dismiss(ClickForBox("Add to this &Machine", "Add"));
    const std::string stopKey(ButtonKeyPath(ButtonCatalogue[3].id));
    for (const NamedView& view : BothViews) {
        EXPECT_EQ(InstalledButtonKeys(HKEY_LOCAL_MACHINE, view.view), AllButtonIds()) << view.name;
        EXPECT_EQ(RegistryString(HKEY_LOCAL_MACHINE, stopKey, "Exec", view.view), BinFolder() + "\\Links\\stop.lnk")
            << view.name;
    }
    EXPECT_TRUE(InstalledButtonKeys(HKEY_CURRENT_USER).empty());

    HWND box = ClickForBox("&Remove All", "Remove Buttons");
    ASSERT_TRUE(box);
    Dismiss(box, IDYES);
    RoundTrip();
    EXPECT_TRUE(NoBoxShown());
    for (const NamedView& view : BothViews) {
        EXPECT_TRUE(InstalledButtonKeys(HKEY_LOCAL_MACHINE, view.view).empty()) << view.name;
        EXPECT_EQ(RegistryString(HKEY_LOCAL_MACHINE, otherKey, "ButtonText", view.view), "Other") << view.name;
    }
}

// When the registry refuses the keys, in any root or view, the user is warned instead of
// told it worked.
TEST_F(ConfigurationWindow, AnAddThatCannotWriteWarnsInstead) {
    for (const Place& place : EveryPlace) {
        SCOPED_TRACE(place.name);
        const bool user = place.root == HKEY_CURRENT_USER;
        UnwritableExtensions refused(place.root, place.view);
        ASSERT_FALSE(WriteRegistryString(place.root, std::string(ExtensionsKey) + "\\probe", "", "", place.view))
            << "the registry still accepts keys here";

        HWND box = ClickForBox(user ? "&Add to Current User" : "Add to this &Machine", "Add");
        ASSERT_TRUE(box);
        const MessageBoxView view = ReadMessageBox(box);
        EXPECT_NE(view.text, user ? UserAdded : MachineAdded);
        EXPECT_FALSE(view.text.empty());
        EXPECT_EQ(view.buttons, std::vector<int>{IDOK});
        EXPECT_EQ(IconShown(box), BoxIcon::Exclamation) << IconName(IconShown(box));
        EXPECT_TRUE(InstalledButtonKeys(place.root, place.view).empty());
        Dismiss(box);
        RemoveButtonKeys();
    }
}

TEST_F(ConfigurationWindow, RemoveAllAsksAndNoChangesNothing) {
    InstallButtonKeys(HKEY_CURRENT_USER);
    InstallButtonKeys(HKEY_LOCAL_MACHINE);
    HWND box = ClickForBox("&Remove All", "Remove Buttons");
    ExpectMessage(box, RemoveQuestion, {IDYES, IDNO}, BoxIcon::Information);
    EXPECT_EQ(GetWindowLongA(GetDlgItem(box, IDYES), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON)
        << "Yes is the default answer";
    Dismiss(box, IDNO);
    RoundTrip();
    EXPECT_EQ(InstalledButtonKeys(HKEY_CURRENT_USER), AllButtonIds());
    EXPECT_EQ(InstalledButtonKeys(HKEY_LOCAL_MACHINE), AllButtonIds());
    EXPECT_TRUE(NoBoxShown());
}

// One Remove All clears what both Add buttons wrote, and says nothing more.
TEST_F(ConfigurationWindow, RemoveAllAnsweredYesClearsBothRoots) {
    Dismiss(ClickForBox("&Add to Current User", "Add"));
    Dismiss(ClickForBox("Add to this &Machine", "Add"));
    ASSERT_EQ(InstalledButtonKeys(HKEY_CURRENT_USER).size(), 7u);
    ASSERT_EQ(InstalledButtonKeys(HKEY_LOCAL_MACHINE).size(), 7u);

    HWND box = ClickForBox("&Remove All", "Remove Buttons");
    ASSERT_TRUE(box);
    PressKey(box, VK_RETURN);  // Yes, the default
    ASSERT_TRUE(WaitForWindowGone(box));
    RoundTrip();
    EXPECT_TRUE(InstalledButtonKeys(HKEY_CURRENT_USER).empty());
    EXPECT_TRUE(InstalledButtonKeys(HKEY_LOCAL_MACHINE).empty());
    EXPECT_TRUE(NoBoxShown());
}

// Whatever another program wrote inside a button's key goes with it; the Extensions key's
// own values and another program's button stay.
TEST_F(ConfigurationWindow, RemoveAllTakesTheButtonKeysWithEverythingInside) {
    const std::string otherKey(ButtonKeyPath(OtherProgramButtonId));
    std::list<PlantedKey> others;
    std::list<PlantedValue> policies;
    for (const Place& place : EveryPlace) {
        InstallButtonKeys(place.root, place.view);
        for (const ToolbarButton& button : ButtonCatalogue) {
            const std::string key(ButtonKeyPath(button.id));
            ASSERT_TRUE(WriteRegistryString(place.root, key + "\\Settings\\Deeper", "Left", "behind", place.view));
            ASSERT_TRUE(WriteRegistryString(place.root, key + "\\Other", "", "x", place.view));
        }
        ASSERT_TRUE(policies.emplace_back(place.root, ExtensionsKey, "Policy", "kept", place.view));
        ASSERT_TRUE(others.emplace_back(place.root, otherKey, place.view).WriteString("ButtonText", "Other"));
    }

    HWND box = ClickForBox("&Remove All", "Remove Buttons");
    ASSERT_TRUE(box);
    Dismiss(box, IDYES);
    RoundTrip();
    EXPECT_TRUE(NoBoxShown()) << "the removal reported a failure";
    for (const Place& place : EveryPlace) {
        EXPECT_TRUE(InstalledButtonKeys(place.root, place.view).empty()) << place.name;
        EXPECT_EQ(RegistryString(place.root, ExtensionsKey, "Policy", place.view), "kept") << place.name;
        EXPECT_EQ(RegistryString(place.root, otherKey, "ButtonText", place.view), "Other") << place.name;
    }
}

// Another program's registry link is never followed, and what stays is named as it is: the
// link and where it lies, not a want of rights. A link deep in a button's key keeps that key;
// one at the Extensions key keeps every button, since each lies beyond it.
TEST_F(ConfigurationWindow, RemoveAllNamesTheLinkThatKeptAButton) {
    struct Stuck {
        std::string link;    // where the link is made
        std::string target;  // what it points to, under HKEY_LOCAL_MACHINE
        std::vector<std::string> kept;
    };
    const std::string stuck(ButtonKeyPath(ButtonCatalogue[3].id));
    const Stuck cases[] = {
        // No subkeys in the target: deleting the link by its name would delete it.
        {stuck + "\\Deeper\\Link", "Software\\JukeletTests\\LinkTarget", {ButtonCatalogue[3].id}},
        {ExtensionsKey, "Software\\JukeletTests\\Extensions", {ButtonCatalogue[0].id}},
    };
    for (const Stuck& where : cases)
        for (const Place& place : EveryPlace) {
            SCOPED_TRACE(std::string(place.name) + ", " + where.link);
            const bool user = place.root == HKEY_CURRENT_USER;
            InstallButtonKeys(place.root, place.view);
            const PlantedKey tests(HKEY_LOCAL_MACHINE, "Software\\JukeletTests");
            ASSERT_TRUE(
                WriteRegistryString(HKEY_LOCAL_MACHINE, where.target + "\\" + ButtonCatalogue[0].id, "Data", "kept"));
            // A link is made only where no key is.
            if (where.link == ExtensionsKey) DeleteRegistryTree(place.root, ExtensionsKey, place.view);
            RegistryLink link(place.root, where.link, place.view,
                              L"\\Registry\\Machine\\" + std::wstring(where.target.begin(), where.target.end()));
            ASSERT_TRUE(link.created());

            HWND box = ClickForBox("&Remove All", "Remove Buttons");
            ASSERT_TRUE(box);
            PressDialogButton(box, IDYES);
            ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box) && !run_->MessageBoxes().empty(); }, WindowTimeoutMs))
                << "no message after the removal";
            HWND report = run_->WaitForBox("Remove Buttons");
            const MessageBoxView view = ReadMessageBox(report);
            EXPECT_NE(view.text.find(user ? "the current user" : "all users"), std::string::npos) << view.text;
            EXPECT_EQ(view.text.find(user ? "all users" : "the current user"), std::string::npos) << view.text;
            const std::string named = std::string(user ? "HKEY_CURRENT_USER\\" : "HKEY_LOCAL_MACHINE\\") + where.link +
                                      ViewNamed(place) + "\r";
            EXPECT_NE(view.text.find("registry link"), std::string::npos) << view.text;
            EXPECT_NE(view.text.find(named), std::string::npos) << view.text;
            EXPECT_EQ(view.text.find("administrator"), std::string::npos) << view.text;
            EXPECT_EQ(view.buttons, std::vector<int>{IDOK});
            EXPECT_EQ(IconShown(report), BoxIcon::Exclamation);
            Dismiss(report);
            RoundTrip();
            EXPECT_TRUE(NoBoxShown()) << "more than one message";
            EXPECT_EQ(InstalledButtonKeys(place.root, place.view), where.kept);
            EXPECT_EQ(RegistryString(HKEY_LOCAL_MACHINE, where.target + "\\" + ButtonCatalogue[0].id, "Data"), "kept");
        }
}

// A link where a button's key, or the Extensions key above it, belongs is not written
// through: its target, here missing, is not made, and Add says what stands there.
TEST_F(ConfigurationWindow, AddNeverWritesThroughAnotherProgramsLink) {
    for (const std::string& blocked : {std::string(ButtonKeyPath(ButtonCatalogue[1].id)), std::string(ExtensionsKey)})
        for (const Place& place : EveryPlace) {
            SCOPED_TRACE(std::string(place.name) + ", " + blocked);
            const bool user = place.root == HKEY_CURRENT_USER;
            {
                DeleteRegistryTree(place.root, blocked, place.view);
                RegistryLink link(place.root, blocked, place.view, L"\\Registry\\Machine\\Software\\JukeletTests");
                ASSERT_TRUE(link.created());
                HWND box = ClickForBox(user ? "&Add to Current User" : "Add to this &Machine", "Add");
                ASSERT_TRUE(box);
                const MessageBoxView view = ReadMessageBox(box);
                const std::string where = std::string(user ? "HKEY_CURRENT_USER\\" : "HKEY_LOCAL_MACHINE\\") + blocked;
                EXPECT_NE(view.text.find("registry link"), std::string::npos) << view.text;
                EXPECT_NE(view.text.find(where + ViewNamed(place) + "\r"), std::string::npos) << view.text;
                EXPECT_EQ(IconShown(box), BoxIcon::Exclamation);
                Dismiss(box);
                EXPECT_FALSE(RegistryKeyPresent(HKEY_LOCAL_MACHINE, "Software\\JukeletTests"))
                    << "the link was followed";
            }
            RemoveButtonKeys();
        }
}

// The chosen file shows in the box at once, but only Close saves it.
TEST_F(ConfigurationWindow, BrowseShowsTheChoiceAndCloseSavesIt) {
    HWND dialog = OpenBrowse();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), main_);
    const std::vector<std::string> filters = OpenDialogFilters(dialog);
    ASSERT_EQ(filters.size(), 1u);
    EXPECT_EQ(filters[0].rfind("Winamp.exe", 0), 0u) << filters[0];
    ASSERT_TRUE(ChooseInOpenDialog(dialog, OtherWinampPath));
    ASSERT_TRUE(WaitForWindowGone(dialog));
    EXPECT_TRUE(WaitUntil([&] { return WindowText(run_->PathBox()) == OtherWinampPath; }, WindowTimeoutMs));
    RoundTrip();
    EXPECT_TRUE(NoBoxShown());
    EXPECT_EQ(RememberedWinampPath(), winamp_.path());

    run_->Click("&Close");
    ASSERT_TRUE(run_->WaitForExit());
    EXPECT_EQ(RememberedWinampPath(), OtherWinampPath);
}

// A folder named in letters the code page lacks reaches the program as "?": the choice is
// explained and asked for again, and nothing is taken.
TEST_F(ConfigurationWindow, APathTheCodePageCannotCarryIsExplainedAndNotTaken) {
    const std::wstring folder = L"C:\\\u041F\u043B\u0435\u0435\u0440";  // Cyrillic, outside code page 1252
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    struct Remove {
        std::wstring folder;
        ~Remove() {
            DeleteFileW((folder + L"\\winamp.exe").c_str());
            RemoveDirectoryW(folder.c_str());
        }
    } remove{folder};
    const std::string stubPath = FakeWinampExe();
    const std::wstring stub(stubPath.begin(), stubPath.end());
    ASSERT_TRUE(CopyFileW(stub.c_str(), (folder + L"\\winamp.exe").c_str(), FALSE));

    HWND dialog = OpenBrowse();
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(ChooseInOpenDialog(dialog, folder + L"\\winamp.exe"));
    HWND box = run_->WaitForBox(AppTitle);
    ASSERT_TRUE(box) << "the path was taken: " << WindowText(run_->PathBox());
    const MessageBoxView view = ReadMessageBox(box);
    EXPECT_NE(view.text.find("C:\\?????\\winamp.exe"), std::string::npos) << view.text;
    EXPECT_NE(view.text.find("Choose a Winamp.exe in a folder whose name"), std::string::npos) << view.text;
    PressDialogButton(box, IDOK);

    HWND again = run_->WaitForWindow(BrowseSelectorTitle, "#32770");
    ASSERT_TRUE(again) << "the Open dialog did not come back";
    PressDialogButton(again, IDCANCEL);
    ASSERT_TRUE(WaitForWindowGone(again));
    EXPECT_EQ(WindowText(run_->PathBox()), winamp_.path());
    run_->Click("&Close");
    ASSERT_TRUE(run_->WaitForExit());
    EXPECT_EQ(RememberedWinampPath(), winamp_.path());
}

TEST_F(ConfigurationWindow, CancelWithAnExistingPathSaysNothing) {
    EXPECT_EQ(WindowText(run_->PathBox()), winamp_.path());
    EXPECT_EQ(CancelBrowse(), nullptr);
    EXPECT_TRUE(IsWindowVisible(main_));
}

// The initial text, a missing path: cancelling warns, and the window stays.
TEST_F(ConfigurationWindow, CancelWithoutAnExistingPathWarns) {
    for (const std::string& text : {InitialPathText, std::string(MissingWinampPath)}) {
        SCOPED_TRACE(text);
        SendMessageA(run_->PathBox(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
        HWND box = CancelBrowse();
        ExpectMessage(box, NotLocated, {IDOK}, BoxIcon::Exclamation);
        EXPECT_EQ(GetWindow(box, GW_OWNER), main_);
        Dismiss(box);
        EXPECT_TRUE(IsWindowVisible(main_));
    }
    run_->Click("&Close");
    ASSERT_TRUE(run_->WaitForExit());
    EXPECT_EQ(RememberedWinampPath(), winamp_.path()) << "the path changed without a choice";
}

// A chosen file that does not exist is shown but never saved.
TEST_F(ConfigurationWindow, CloseSavesNoPathThatDoesNotExist) {
    BrowseTo(MissingWinampPath);
    run_->Click("&Close");
    ASSERT_TRUE(run_->WaitForExit());
    EXPECT_EQ(RememberedWinampPath(), winamp_.path());
}

TEST_F(ConfigurationWindow, TypedTextIsNotSaved) {
    HWND box = run_->PathBox();
    SendMessageA(main_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(box), TRUE);  // as Tab does: all selected
    TypeText(main_, OtherWinampPath);
    ASSERT_TRUE(WaitUntil([&] { return WindowText(box) == OtherWinampPath; }, WindowTimeoutMs))
        << "typed: \"" << WindowText(box) << "\"";
    run_->Click("&Close");
    ASSERT_TRUE(run_->WaitForExit());
    EXPECT_EQ(RememberedWinampPath(), winamp_.path());
}

// Close ends the program with About and Help still open.
TEST_F(ConfigurationWindow, CloseEndsTheProgramWithAboutAndHelpOpen) {
    run_->Click("A&bout");
    ASSERT_TRUE(run_->WaitForWindow("About"));
    run_->Click("&Help");
    ASSERT_TRUE(run_->WaitForWindow("Help"));
    run_->Click("&Close");
    EXPECT_TRUE(run_->WaitForExit());
}

// The title bar's close box closes the window without saving; the program lives on
// while About is open.
TEST_F(ConfigurationWindow, TheCloseBoxDoesNotSave) {
    BrowseTo(OtherWinampPath);
    run_->Click("A&bout");
    HWND about = run_->WaitForWindow("About");
    ASSERT_TRUE(about);
    ASSERT_TRUE(ClickCloseBox(main_));
    ASSERT_TRUE(WaitForWindowGone(main_));
    EXPECT_TRUE(run_->process().IsRunning());
    EXPECT_EQ(RememberedWinampPath(), winamp_.path());
    PressKey(about, VK_ESCAPE);
    EXPECT_TRUE(run_->WaitForExit());
    EXPECT_EQ(RememberedWinampPath(), winamp_.path());
}

// Close keeps the chosen path where the settings belong, but never through another
// program's link at the company key or the settings key: it names the link instead.
TEST_F(ConfigurationWindow, CloseNeverWritesThroughAnotherProgramsLink) {
    for (const char* blocked : {CompanyKey, SettingsKey}) {
        SCOPED_TRACE(blocked);
        if (!run_) {
            RememberWinampPath(winamp_.path());
            run_ = std::make_unique<ConfigurationRun>();
            ASSERT_TRUE(run_->window());
        }
        DeleteRegistryTree(HKEY_CURRENT_USER, blocked);
        RegistryLink link(HKEY_CURRENT_USER, blocked, RegistryView::Default,
                          L"\\Registry\\Machine\\Software\\JukeletTests");
        ASSERT_TRUE(link.created());
        run_->Click("&Close");
        HWND box = run_->WaitForBox(AppTitle);
        ASSERT_TRUE(box) << "Close said nothing";
        const MessageBoxView view = ReadMessageBox(box);
        EXPECT_NE(view.text.find("registry link"), std::string::npos) << view.text;
        EXPECT_NE(view.text.find(std::string("HKEY_CURRENT_USER\\") + blocked + "\r"), std::string::npos) << view.text;
        EXPECT_EQ(IconShown(box), BoxIcon::Exclamation);
        Dismiss(box);
        EXPECT_TRUE(run_->WaitForExit());
        EXPECT_FALSE(RegistryKeyPresent(HKEY_LOCAL_MACHINE, "Software\\JukeletTests")) << "the link was followed";
        run_.reset();
    }
}

// Jukelet installed in a folder whose name the code page cannot carry: the system hands the
// program "?" for those letters. Add names its files by the folder's short name, which
// leads to them, never by the lost letters.
TEST(ConfigurationFolder, AddNamesAFolderTheCodePageCannotCarryByItsShortName) {
    // "Музыка", and each file a button names.
    const std::wstring folder = L"C:\\Apps\\\x041C\x0443\x0437\x044B\x043A\x0430";
    struct PlantedTree {
        std::vector<std::wstring> made;
        ~PlantedTree() {
            for (auto path = made.rbegin(); path != made.rend(); ++path)
                if (!DeleteFileW(path->c_str())) RemoveDirectoryW(path->c_str());
        }
    } tree;
    const std::string exe = JukeletExe();
    CreateDirectoryW(L"C:\\Apps", nullptr);
    for (const std::wstring& sub : {std::wstring(), std::wstring(L"\\Links"), std::wstring(L"\\Icons")}) {
        ASSERT_TRUE(CreateDirectoryW((folder + sub).c_str(), nullptr)) << "a folder of the test's was left behind";
        tree.made.push_back(folder + sub);
    }
    tree.made.push_back(folder + L"\\Jukelet.exe");
    ASSERT_TRUE(CopyFileW(std::wstring(exe.begin(), exe.end()).c_str(), tree.made.back().c_str(), TRUE));
    for (const ToolbarButton& button : ButtonCatalogue)
        for (const auto& [sub, name] : {std::pair{L"\\Links", button.link}, std::pair{L"\\Icons", button.icon},
                                        std::pair{L"\\Icons", button.hotIcon}}) {
            tree.made.push_back(folder + sub + std::wstring(name, name + std::strlen(name)));
            HANDLE file = CreateFileW(tree.made.back().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
            ASSERT_NE(file, INVALID_HANDLE_VALUE);
            CloseHandle(file);
        }
    RemoveButtonKeys();
    StandIn winamp;
    RememberWinampPath(winamp.path());

    ConfigurationRun run(TestProcess::StartUnicode(tree.made[3]));
    ASSERT_TRUE(run.window()) << "the configuration window did not open";
    run.Click("&Add to Current User");
    HWND box = run.WaitForBox("Add");
    ASSERT_TRUE(box);
    EXPECT_EQ(ReadMessageBox(box).text, UserAdded);
    PressDialogButton(box, IDOK);
    for (const ToolbarButton& button : ButtonCatalogue)
        for (const char* value : {"Exec", "Icon", "HotIcon"}) {
            const std::string named = RegistryString(HKEY_CURRENT_USER, ButtonKeyPath(button.id), value);
            EXPECT_EQ(named.find('?'), std::string::npos) << value << ": " << named;
            EXPECT_NE(GetFileAttributesA(named.c_str()), INVALID_FILE_ATTRIBUTES) << value << ": " << named;
        }
    RemoveButtonKeys();
    ClearJukeletSettings();
}

}  // namespace
