#pragma once
#include <stddef.h>

// A constant table seen whole: its first row and how many there are. Tables of rows are
// plain arrays, which need no constructor at start-up; this lets code take any of them.
template <typename Row>
class Span {
public:
    constexpr Span() = default;
    template <size_t Count>
    constexpr Span(const Row (&rows)[Count]) : first_(rows), count_(Count) {}

    constexpr const Row* begin() const { return first_; }
    constexpr const Row* end() const { return first_ + count_; }
    constexpr size_t size() const { return count_; }
    constexpr const Row& operator[](size_t index) const { return first_[index]; }

private:
    const Row* first_ = nullptr;
    size_t count_ = 0;
};
