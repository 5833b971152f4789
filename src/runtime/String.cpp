#include "runtime/String.h"

#include <string.h>

#include "runtime/Heap.h"

String::String(std::string_view text) { append(text); }

String::String(const String& other) { append(other); }

String::String(String&& other) noexcept : data_(other.data_), size_(other.size_), capacity_(other.capacity_) {
    other.data_ = nullptr;
    other.size_ = other.capacity_ = 0;
}

String& String::operator=(const String& other) { return *this = std::string_view(other); }

String& String::operator=(String&& other) noexcept {
    if (this == &other) return *this;
    FreeBlock(data_);
    data_ = other.data_;
    size_ = other.size_;
    capacity_ = other.capacity_;
    other.data_ = nullptr;
    other.size_ = other.capacity_ = 0;
    return *this;
}

String& String::operator=(std::string_view text) {
    // The text may lie inside this very string.
    String copy(text);
    return *this = static_cast<String&&>(copy);
}

String::~String() { FreeBlock(data_); }

void String::reserve(size_t capacity) {
    if (capacity <= capacity_) return;
    // Growing by half again keeps appends in a loop linear; the overflow check leaves a
    // request the heap refuses, which ends the program.
    size_t grown = capacity_ + capacity_ / 2;
    if (grown < capacity) grown = capacity;
    char* bigger = static_cast<char*>(AllocateOrEnd(grown + 1 > grown ? grown + 1 : grown));
    if (size_) memcpy(bigger, data_, size_);
    bigger[size_] = '\0';
    FreeBlock(data_);
    data_ = bigger;
    capacity_ = grown;
}

void String::resize(size_t length, char fill) {
    if (length > size_) {
        reserve(length);
        memset(data_ + size_, fill, length - size_);
    }
    if (!data_) return;
    size_ = length;
    data_[size_] = '\0';
}

String& String::append(std::string_view text) {
    if (text.empty()) return *this;
    // The text may lie inside this string's own buffer, which growing may move.
    if (data_ && text.data() >= data_ && text.data() <= data_ + size_) {
        const String copy(text);
        return append(copy);
    }
    // A length past the end of memory asks for all of it, which ends the program.
    reserve(size_ + text.size() < size_ ? npos : size_ + text.size());
    memcpy(data_ + size_, text.data(), text.size());
    size_ += text.size();
    data_[size_] = '\0';
    return *this;
}

String String::substr(size_t from, size_t count) const {
    if (from >= size_) return String();
    return String(std::string_view(data_ + from, size_ - from).substr(0, count));
}

bool operator==(const String& left, const String& right) { return std::string_view(left) == std::string_view(right); }
bool operator==(const String& left, std::string_view right) { return std::string_view(left) == right; }
bool operator==(std::string_view left, const String& right) { return left == std::string_view(right); }

String ConcatViews(const std::string_view* parts, size_t count) {
    size_t length = 0;
    for (size_t i = 0; i < count; ++i) length += parts[i].size();
    String whole;
    whole.reserve(length);
    for (size_t i = 0; i < count; ++i) whole.append(parts[i]);
    return whole;
}

String DecimalText(unsigned long number) {
    char digits[3 * sizeof(number) + 1];
    char* first = digits + sizeof(digits);
    do {
        *--first = static_cast<char>('0' + number % 10);
        number /= 10;
    } while (number);
    return String(std::string_view(first, static_cast<size_t>(digits + sizeof(digits) - first)));
}
