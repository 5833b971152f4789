// One configuration window at a time, also on systems that know no "Local\" namespace
// (Windows 9x, NT4).
#include <gtest/gtest.h>

#include <string>

#include "base/SessionMutex.h"
#include "base/UniqueHandle.h"

namespace {

std::string UniqueName(const char* what) {
    return std::string("JukeletTests.") + what + "." + std::to_string(GetCurrentProcessId());
}

TEST(SingleInstanceGuard, TheSecondSeesTheFirstUntilItGoes) {
    const std::string name = UniqueName("Guard");
    {
        const SessionMutex first(name);
        EXPECT_FALSE(first.AlreadyExisted());
        const SessionMutex second(name);
        EXPECT_TRUE(second.AlreadyExisted());
    }
    const SessionMutex again(name);
    EXPECT_FALSE(again.AlreadyExisted()) << "the guard outlived its holder";
}

// As on NT4, whose object namespace has no "Local" folder: the name after it is used.
TEST(SingleInstanceGuard, FallsBackToThePlainNameWhereTheNamespaceIsMissing) {
    const std::string plain = UniqueName("Fallback");
    const std::string name = "NoSuchNamespace\\" + plain;
    ASSERT_EQ(KernelHandle(CreateMutexA(nullptr, FALSE, name.c_str())).get(), nullptr) << "the namespace exists here";

    const SessionMutex first(name);
    EXPECT_FALSE(first.AlreadyExisted());
    const SessionMutex second(name);
    EXPECT_TRUE(second.AlreadyExisted()) << "a second configuration window would open";
    EXPECT_TRUE(KernelHandle(OpenMutexA(SYNCHRONIZE, FALSE, plain.c_str()))) << "the plain name is not held";
}

}  // namespace
