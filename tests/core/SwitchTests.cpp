#include <gtest/gtest.h>

#include <vector>

#include "base/Paths.h"
#include "base/SharedState.h"
#include "startup/CommandLine.h"
#include "startup/Switches.h"
#include "support/TestEnvironment.h"

namespace {

std::string Matched(const std::string& arguments) {
    const CommandSwitch* entry = MatchSwitch(arguments);
    return entry ? entry->text : "";
}

TEST(SwitchMatching, EverySwitchMatchesInAnyLetterCase) {
    const std::pair<const char*, std::vector<const char*>> spellings[] = {
        {"/PREV", {"/PREV", "/prev", "/Prev"}},         {"/PLAY", {"/PLAY", "/play", "/pLaY"}},
        {"/PAUSE", {"/PAUSE", "/pause", "/Pause"}},     {"/STOP", {"/STOP", "/stop", "/sToP"}},
        {"/NEXT", {"/NEXT", "/next", "/Next"}},         {"/START", {"/START", "/start", "/StarT"}},
        {"/MINMAX", {"/MINMAX", "/minmax", "/MinMax"}},
    };
    for (const auto& [expected, texts] : spellings)
        for (const char* text : texts) EXPECT_EQ(Matched(text), expected) << text;
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
    // A tab is a blank too, after the name quoted or not.
    EXPECT_EQ(ArgumentString("\"C:\\Program Files\\Jukelet\\Jukelet.exe\"\t/PLAY"), "/PLAY");
    EXPECT_EQ(ArgumentString("Jukelet.exe\t/PLAY"), "/PLAY");
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

TEST(TrimFileNameTest, GivesTheFolderBeforeTheLastSeparator) {
    EXPECT_EQ(TrimFileName("C:\\Program Files\\Winamp\\winamp.exe"), "C:\\Program Files\\Winamp");
    EXPECT_EQ(TrimFileName("C:\\winamp.exe"), "C:");
    EXPECT_EQ(TrimFileName("winamp.exe"), "");
    EXPECT_EQ(TrimFileName(""), "");
    EXPECT_EQ(TrimFileName("\\\\server\\share\\winamp.exe"), "\\\\server\\share");
    EXPECT_EQ(TrimFileName("C:/Program Files/Winamp/winamp.exe"), "C:/Program Files/Winamp");
    EXPECT_EQ(TrimFileName("C:\\Program Files/Winamp\\winamp.exe"), "C:\\Program Files/Winamp");
}

// In a double-byte code page a whole path can take more than MAX_PATH bytes while it has
// fewer characters: the test WholePathTest.InCodePage932 runs this one in Japanese's.
TEST(WholePathTest, ResolvesAgainstTheCurrentFolderWhateverItsLength) {
    const bool doubleByte = GetACP() == 932;
    if (GetEnvironmentVariableA("JUKELET_CODE_PAGE_932", nullptr, 0)) {
        ASSERT_TRUE(doubleByte) << "Wine did not take code page 932 from the locale";
    }
    char current[MAX_PATH] = "";
    ASSERT_NE(GetCurrentDirectoryA(MAX_PATH, current), 0u);
    std::string folder = current;
    if (folder.back() != '\\') folder += '\\';
    std::string name;
    for (int i = 0; i < 120; ++i) name += doubleByte ? "\x93\xFA" : "w";  // one character either way
    if (doubleByte) {
        ASSERT_GT(folder.size() + name.size(), size_t{MAX_PATH});
    }

    EXPECT_EQ(WholePath("Winamp\\..\\.\\" + name), folder + name);
    EXPECT_EQ(WholePath(""), "");
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
