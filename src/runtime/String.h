#pragma once
#include <stddef.h>

#include <string_view>

// The program's own growing text: ANSI characters on the process heap, always followed by a
// NUL. The release links no C++ library, so this stands in for std::string; searching is
// std::string_view's, whose code the headers alone provide. Text goes in as a
// std::string_view; a String converts to one.
class String {
public:
    static constexpr size_t npos = std::string_view::npos;

    constexpr String() noexcept = default;
    explicit String(std::string_view text);
    String(const String& other);
    String(String&& other) noexcept;
    String& operator=(const String& other);
    String& operator=(String&& other) noexcept;
    String& operator=(std::string_view text);
    ~String();

    const char* c_str() const { return data_ ? data_ : ""; }
    // Writable: size() characters and the NUL after them. Resize before writing into it.
    char* data() { return data_; }
    size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    char operator[](size_t index) const { return data_[index]; }
    char& operator[](size_t index) { return data_[index]; }
    char back() const { return data_[size_ - 1]; }
    operator std::string_view() const { return std::string_view(c_str(), size_); }

    void clear() { resize(0); }
    // New characters are `fill`; shrinking keeps the buffer.
    void resize(size_t length, char fill = '\0');
    void pop_back() { resize(size_ - 1); }
    void reserve(size_t capacity);
    String& append(std::string_view text);
    String& operator+=(std::string_view text) { return append(text); }
    String& operator+=(char c) { return append(std::string_view(&c, 1)); }

    size_t find(std::string_view text, size_t from = 0) const { return view().find(text, from); }
    size_t find(char c, size_t from = 0) const { return view().find(c, from); }
    size_t rfind(char c, size_t from = npos) const { return view().rfind(c, from); }
    size_t find_last_of(std::string_view characters) const { return view().find_last_of(characters); }
    // The text from `from` (at most `count` characters); "" when `from` lies past the end.
    String substr(size_t from, size_t count = npos) const;

private:
    std::string_view view() const { return *this; }

    char* data_ = nullptr;
    size_t size_ = 0;
    size_t capacity_ = 0;
};

bool operator==(const String& left, const String& right);
bool operator==(const String& left, std::string_view right);
bool operator==(std::string_view left, const String& right);
inline bool operator!=(const String& left, const String& right) { return !(left == right); }
inline bool operator!=(const String& left, std::string_view right) { return !(left == right); }
inline bool operator!=(std::string_view left, const String& right) { return !(left == right); }

// The parts one after another, in one allocation: Concat("Error ", DecimalText(code)).
String ConcatViews(const std::string_view* parts, size_t count);
template <typename... Parts>
String Concat(const Parts&... parts) {
    const std::string_view views[] = {std::string_view(parts)...};
    return ConcatViews(views, sizeof...(Parts));
}

// The number in decimal digits.
String DecimalText(unsigned long number);
