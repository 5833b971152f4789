// Launches without a switch: one configuration window at a time, and the start-up file
// selector owned by that window.
#include <gtest/gtest.h>

#include "base/SharedState.h"
#include "support/TestEnvironment.h"
#include "ui/UiDriver.h"
#include "winamp/FileSelector.h"
#include "winamp/Settings.h"

namespace {

class Launching : public ::testing::Test {
protected:
    void TearDown() override {
        ClearJukeletSettings();
        ClearWinampAssociation();
    }
    StandIn winamp_;
};

// A second launch without a switch shows nothing and ends; a switch is still carried out.
TEST_F(Launching, ASecondLaunchShowsNothingButASwitchStillWorks) {
    RememberWinampPath(winamp_.path());
    ConfigurationRun first;
    ASSERT_TRUE(first.window());

    ConfigurationRun second(ConfigurationRun::NoWait{});
    ASSERT_TRUE(second.WaitForExit()) << "the second launch is still running";
    EXPECT_EQ(FindTopWindows(0, "", ConfigurationCaption).size(), 1u);
    EXPECT_TRUE(first.process().IsRunning());

    ASSERT_TRUE(winamp_.StartAndWait());
    ASSERT_TRUE(RunJukelet("/PLAY"));
    ASSERT_TRUE(winamp_.WaitForCommands(1));
    EXPECT_EQ(winamp_.Commands(), std::vector<int>{40045});
}

// Winamp not found at a launch without a switch: the message and the selector belong to
// the configuration window, which then shows the chosen path.
TEST_F(Launching, TheStartupSelectorIsOwnedByTheConfigurationWindowWhichShowsTheChoice) {
    ClearJukeletSettings();
    ClearWinampAssociation();
    ConfigurationRun run(ConfigurationRun::NoWait{});

    HWND notFound = run.WaitForBox(AppTitle);
    ASSERT_TRUE(notFound);
    EXPECT_EQ(WindowText(GetWindow(notFound, GW_OWNER)), ConfigurationCaption);
    PressDialogButton(notFound, IDOK);

    HWND selector = run.WaitForWindow(StartupSelectorTitle, "#32770");
    ASSERT_TRUE(selector);
    HWND owner = GetWindow(selector, GW_OWNER);
    EXPECT_EQ(WindowText(owner), ConfigurationCaption);
    ASSERT_TRUE(ChooseInOpenDialog(selector, winamp_.path()));

    HWND window = run.WaitForWindow(ConfigurationCaption);
    ASSERT_TRUE(window);
    EXPECT_EQ(window, owner);
    HWND pathBox = FindWindowExA(window, nullptr, "Edit", nullptr);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(pathBox) == winamp_.path(); }, WindowTimeoutMs))
        << "the path box shows \"" << WindowText(pathBox) << "\"";
    EXPECT_EQ(RememberedWinampPath(), winamp_.path());
    EXPECT_TRUE(WaitUntil([&] { return CaptionLooksActive(window); }, WindowTimeoutMs))
        << "the window opens looking inactive";
}

}  // namespace
