#include <gtest/gtest.h>

#include "base/SharedState.h"
#include "startup/CommandLine.h"
#include "startup/Switches.h"
#include "support/TestEnvironment.h"
#include "winamp/TrimFileName.h"

namespace {

std::string Matched(const std::string& arguments) {
    const CommandSwitch* entry = MatchSwitch(arguments);
    return entry ? entry->text : "";
}

TEST(SwitchMatching, EverySwitchMatchesInAnyLetterCase) {
    for (const CommandSwitch& entry : SwitchTable) {
        std::string lower = entry.text;
        for (char& c : lower) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
        std::string mixed = lower;
        mixed[1] = static_cast<char>(toupper(static_cast<unsigned char>(mixed[1])));
        EXPECT_EQ(Matched(entry.text), entry.text);
        EXPECT_EQ(Matched(lower), entry.text);
        EXPECT_EQ(Matched(mixed), entry.text);
    }
}

TEST(SwitchMatching, OnlyTheWholeExactStringActs) {
    for (const char* nearMiss : {"", "/PLAY ", " /PLAY", "/PLAYX", "PLAY", "/PLA", "/PLAY /STOP", "/PLAY\t",
                                 "\"/PLAY\"", "-PLAY", "/PLAY\r\n", "/MIN", "/MINMAXX", "//PLAY"})
        EXPECT_EQ(Matched(nearMiss), "") << "'" << nearMiss << "'";
    EXPECT_EQ(Matched(std::string("/PLAY\0X", 7)), "");
}

TEST(SwitchMatching, HostileInputNeverMatches) {
    EXPECT_EQ(Matched(std::string(100000, 'A')), "");
    EXPECT_EQ(Matched("/PLAY" + std::string(70000, ' ')), "");
    EXPECT_EQ(Matched("/pl\xC3\xA4y"), "");
    EXPECT_EQ(Matched("/M\xFDNMAX"), "");  // a dotless i must not pass for an I
    std::string controls;
    for (int c = 1; c < 32; ++c) controls += static_cast<char>(c);
    EXPECT_EQ(Matched(controls), "");
}

TEST(CommandLineParsing, ArgumentStringFollowsTheProgramName) {
    EXPECT_EQ(ArgumentString("\"C:\\Program Files\\Jukelet\\Jukelet.exe\" /PLAY"), "/PLAY");
    EXPECT_EQ(ArgumentString("\"C:\\Program Files\\Jukelet\\Jukelet.exe\"   /PLAY "), "/PLAY ");
    EXPECT_EQ(ArgumentString("Jukelet.exe /Stop"), "/Stop");
    EXPECT_EQ(ArgumentString("Jukelet.exe"), "");
    EXPECT_EQ(ArgumentString("\"C:\\Jukelet.exe\""), "");
    EXPECT_EQ(ArgumentString("\"C:\\unterminated /PLAY"), "");
    EXPECT_EQ(ArgumentString(nullptr), "");
}

TEST(CommandLineParsing, ToolbarFoldersSitBesideTheProgram) {
    SetToolbarFolders("C:\\Apps\\Tools");
    EXPECT_EQ(LinksPath, "C:\\Apps\\Tools\\Links");
    EXPECT_EQ(IconsPath, "C:\\Apps\\Tools\\Icons");
    EXPECT_EQ(ProgramFolder(), BinFolder());
}

TEST(TrimFileNameTest, GivesTheFolderBeforeTheLastBackslash) {
    EXPECT_EQ(TrimFileName("C:\\Program Files\\Winamp\\winamp.exe"), "C:\\Program Files\\Winamp");
    EXPECT_EQ(TrimFileName("C:\\winamp.exe"), "C:");
    EXPECT_EQ(TrimFileName("winamp.exe"), "");
    EXPECT_EQ(TrimFileName(""), "");
    EXPECT_EQ(TrimFileName("\\\\server\\share\\winamp.exe"), "\\\\server\\share");
}

// The real program, given nonsense by a shortcut, must end and send nothing.
TEST(SwitchMatching, TheProgramIgnoresNearMissesAndSendsNothing) {
    ClearJukeletSettings();
    StandIn winamp;
    RememberWinampPath(winamp.path());
    ASSERT_TRUE(winamp.StartAndWait());
    for (const std::string& arguments :
         {std::string("/PLAY "), std::string("/PLAYX"), std::string("PLAY"), std::string(20000, 'x'),
          std::string("\"/PLAY\""), std::string("/pl\xC3\xA4y"), std::string("/PLAY /STOP")}) {
        EXPECT_TRUE(RunJukeletAndDismiss(arguments)) << "did not end for '" << arguments.substr(0, 20) << "'";
    }
    ASSERT_TRUE(RunJukelet("/pLaY"));
    ASSERT_TRUE(winamp.WaitForCommands(1));
    Sleep(200);
    EXPECT_EQ(winamp.Commands(), std::vector<int>{40045});
}

}  // namespace
