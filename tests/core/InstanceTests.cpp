// One configuration window at a time, also on systems that know no "Local\" namespace
// (Windows 9x, NT4).
#include <gtest/gtest.h>

#include <string>

#include "base/UniqueHandle.h"
#include "startup/SingleInstance.h"

namespace {

std::string UniqueName(const char* what) {
    return std::string("JukeletTests.") + what + "." + std::to_string(GetCurrentProcessId());
}

TEST(SingleInstanceGuard, TheSecondSeesTheFirstUntilItGoes) {
    const std::string name = UniqueName("Guard");
    {
        SingleInstance first(name);
        EXPECT_FALSE(first.AnotherIsRunning());
        SingleInstance second(name);
        EXPECT_TRUE(second.AnotherIsRunning());
    }
    SingleInstance again(name);
    EXPECT_FALSE(again.AnotherIsRunning()) << "the guard outlived its holder";
}

// As on NT4, whose object namespace has no "Local" folder: the name after it is used.
TEST(SingleInstanceGuard, FallsBackToThePlainNameWhereTheNamespaceIsMissing) {
    const std::string plain = UniqueName("Fallback");
    const std::string name = "NoSuchNamespace\\" + plain;
    ASSERT_EQ(KernelHandle(CreateMutexA(nullptr, FALSE, name.c_str())).get(), nullptr) << "the namespace exists here";

    SingleInstance first(name);
    EXPECT_FALSE(first.AnotherIsRunning());
    SingleInstance second(name);
    EXPECT_TRUE(second.AnotherIsRunning()) << "a second configuration window would open";
    EXPECT_TRUE(KernelHandle(OpenMutexA(SYNCHRONIZE, FALSE, plain.c_str()))) << "the plain name is not held";
}

}  // namespace
