// The program's own string: what std::string would have done, where a slip would lose or
// corrupt text.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "runtime/String.h"

namespace {

TEST(OwnString, GrowsAppendsAndCopiesWithoutLosingText) {
    String text;
    EXPECT_STREQ(text.c_str(), "");
    std::string expected;
    for (int i = 0; i < 300; ++i) {
        text += static_cast<char>('a' + i % 26);
        expected += static_cast<char>('a' + i % 26);
    }
    EXPECT_EQ(text, expected);
    EXPECT_EQ(text.size(), 300u);

    // Appending a string's own text, whose buffer moves as it grows.
    text.append(text);
    expected.append(expected);
    EXPECT_EQ(text, expected);
    text = std::string_view(text).substr(5, 20);
    expected = expected.substr(5, 20);
    EXPECT_EQ(text, expected);

    String moved(static_cast<String&&>(text));
    EXPECT_EQ(moved, expected);
    EXPECT_TRUE(text.empty());
    EXPECT_STREQ(text.c_str(), "");
}

TEST(OwnString, CutsComparesAndJoins) {
    const String path("C:\\Program Files\\Winamp\\winamp.exe");
    EXPECT_EQ(path.substr(path.rfind('\\') + 1), "winamp.exe");
    EXPECT_EQ(path.substr(path.size()), "");
    EXPECT_EQ(path.substr(path.size() + 5), "");
    EXPECT_NE(path, "C:\\Program Files\\Winamp\\winamp.ex");
    EXPECT_EQ(String(std::string_view("a\0b", 3)).size(), 3u);

    EXPECT_EQ(Concat("Error ", DecimalText(0), " and ", DecimalText(4294967295ul), "."), "Error 0 and 4294967295.");
    String padded("ab");
    padded.resize(5, 'x');
    EXPECT_EQ(padded, "abxxx");
    padded.resize(1);
    EXPECT_EQ(padded, "a");
    EXPECT_EQ(std::strlen(padded.c_str()), 1u);
}

}  // namespace
