// The shipped program's trimmed runtime (src/base/LeanRuntime.cpp), linked into this
// test program as into the executable: the library's errors must still be thrown and
// caught, never end the program.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

template <typename Action>
std::string MessageOfStdException(Action action) {
    try {
        action();
    } catch (const std::exception& error) {
        return error.what() ? error.what() : "";
    }
    return "(nothing thrown)";
}

TEST(LeanRuntime, MessageErrorsAreCaughtAsStdExceptionWithTheLibraryText) {
    const char* volatile none = nullptr;
    EXPECT_EQ(MessageOfStdException([&] { std::string text(none); }),
              "basic_string: construction from null is not valid");
    EXPECT_EQ(MessageOfStdException([] {
                  std::vector<int> numbers;
                  numbers.reserve(numbers.max_size() + 1);
              }),
              "vector::reserve");
}

TEST(LeanRuntime, OutOfRangeAccessIsThrownNotFatal) {
    std::vector<int> numbers(3);
    std::string text = "abc";
    EXPECT_NE(MessageOfStdException([&] { numbers.at(3); }), "(nothing thrown)");
    EXPECT_NE(MessageOfStdException([&] { text.substr(4); }), "(nothing thrown)");
    EXPECT_NE(MessageOfStdException([&] { text.at(10); }), "(nothing thrown)");
}

TEST(LeanRuntime, AllocationFailureIsStillBadAlloc) {
    std::allocator<std::uint64_t> allocator;
    EXPECT_THROW(static_cast<void>(allocator.allocate(SIZE_MAX / 4)), std::bad_alloc);
    EXPECT_THROW(std::string().reserve(SIZE_MAX - 1), std::exception);
}

}  // namespace
