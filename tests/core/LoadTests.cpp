// Many toolbar clicks in a row: none lost, none reordered, none left running, and none
// held by a Winamp that has stopped answering.
#include <gtest/gtest.h>

#include <vector>

#include "support/TestEnvironment.h"
#include "winamp/RemoteControl.h"

namespace {

class UnderLoad : public ::testing::Test {
protected:
    void SetUp() override {
        ClearJukeletSettings();
        RememberWinampPath(winamp_.path());
    }
    void TearDown() override { ClearJukeletSettings(); }

    StandIn winamp_;
};

// A click ends on its own long before this; only a stuck one meets it.
constexpr DWORD ClickEndsWithinMs = WinampSendTimeoutMs + 15000;

TEST_F(UnderLoad, EveryClickInARowArrivesInOrder) {
    struct Click {
        const char* text;
        int command;  // 0: sends none
    };
    const Click clicks[] = {
        {"/PLAY", 40045}, {"/NEXT", 40048}, {"/next", 40048}, {"/PAUSE", 40046}, {"/MINMAX", 0},    {"/PREV", 40044},
        {"/PLAY", 40045}, {"/STOP", 40047}, {"/Play", 40045}, {"/MINMAX", 0},    {"/PAUSE", 40046}, {"/PREV", 40044},
        {"/STOP", 40047}, {"/NEXT", 40048}, {"/play", 40045}, {"/PAUSE", 40046}, {"/STOP", 40047},  {"/NEXT", 40048},
    };
    ASSERT_TRUE(winamp_.StartAndWait());
    std::vector<int> expected;
    for (const Click& click : clicks) {
        ASSERT_TRUE(RunJukelet(click.text, ClickEndsWithinMs)) << click.text << " after " << expected.size();
        if (click.command) expected.push_back(click.command);
    }
    ASSERT_TRUE(winamp_.WaitForCommands(expected.size(), 5000));
    EXPECT_EQ(winamp_.Commands(), expected);
    EXPECT_EQ(winamp_.StartCount(), 1);
    EXPECT_EQ(CountProcessesNamed("Jukelet.exe"), 0);
}

TEST_F(UnderLoad, ClicksAtAHungWinampAllEndAndNoneStaysBehind) {
    winamp_.SetHangMs(120000);
    ASSERT_TRUE(winamp_.StartAndWait());
    const char* const switches[] = {"/PLAY", "/PAUSE", "/NEXT", "/PREV", "/STOP"};
    std::vector<TestProcess> clicks;
    for (int i = 0; i < 15; ++i) {
        clicks.push_back(TestProcess::StartWithArguments(JukeletExe(), switches[i % 5]));
        ASSERT_TRUE(clicks.back()) << i;
    }
    for (size_t i = 0; i < clicks.size(); ++i)
        EXPECT_TRUE(clicks[i].WaitForExit(ClickEndsWithinMs)) << "click " << i << " is still waiting";
    // The stand-in really was hung: it has taken none of the commands.
    EXPECT_TRUE(winamp_.Commands().empty());
    EXPECT_EQ(CountProcessesNamed("Jukelet.exe"), 0);
    EXPECT_EQ(winamp_.StartCount(), 1);
}

}  // namespace
