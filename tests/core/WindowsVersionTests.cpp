// Each choice made from the Windows version, against what each Windows answers GetVersion.
#include <gtest/gtest.h>

#include "base/WindowsVersion.h"

namespace {

struct Release {
    const char* name;
    DWORD version;   // GetVersion's answer: build, minor, major
    bool program64;  // a 64-bit program
    bool wow64;      // IsWow64Process's answer
    bool clearTypeAndStretchedImages;
    bool openLinkItself;
    bool namespaces;
    bool registryViews;
};

// clang-format off
const Release Releases[] = {
    // name                    version     64-bit WOW64  XP on  Vista on  namespaces  views
    {"Windows 95",             0xC3B60004, false, false, false, false,    false,      false},
    {"Windows 98",             0xC0000A04, false, false, false, false,    false,      false},
    {"Windows ME",             0xC0005A04, false, false, false, false,    false,      false},
    {"Windows NT 4.0",         0x05650004, false, false, false, false,    false,      false},
    {"Windows 2000",           0x08930005, false, false, false, false,    true,       false},
    {"Windows XP",             0x0A280105, false, false, true,  false,    true,       false},
    {"Windows XP x64, 32-bit", 0x0ECE0205, false, true,  true,  false,    true,       true},
    {"Windows Vista",          0x17700006, false, false, true,  true,     true,       false},
    {"Windows 7, 64-bit",      0x1DB10106, true,  false, true,  true,     true,       true},
    {"Windows 10, 32-bit",     0x47BA000A, false, true,  true,  true,     true,       true},
    {"Windows 10 x86",         0x47BA000A, false, false, true,  true,     true,       false},
    // A 64-bit program that Wine tells it runs on 98: the version decides, not the bitness.
    {"98, to a 64-bit program", 0xC0000A04, true, false, false, false,    false,      false},
};
// clang-format on

TEST(WindowsVersion, EachChoiceFollowsWhatThatWindowsTakes) {
    for (const Release& release : Releases) {
        SCOPED_TRACE(release.name);
        EXPECT_EQ(HasClearType(release.version), release.clearTypeAndStretchedImages);
        EXPECT_EQ(StretchesStaticImages(release.version), release.clearTypeAndStretchedImages);
        EXPECT_EQ(OpensRegistryLinks(release.version), release.openLinkItself);
        EXPECT_EQ(HasObjectNamespaces(release.version), release.namespaces);
        EXPECT_EQ(HasRegistryViews(release.version, release.program64, release.wow64), release.registryViews);
    }
}

}  // namespace
