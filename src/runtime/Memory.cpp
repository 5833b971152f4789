// The memory functions the compiler calls on its own (to copy and clear structures) and that
// std::string_view's searches use. Compiled with -fno-builtin and without loop-pattern
// recognition, so that no loop here becomes a call to itself.
#include <stddef.h>

extern "C" {

void* memcpy(void* to, const void* from, size_t count) {
    char* out = static_cast<char*>(to);
    const char* in = static_cast<const char*>(from);
    while (count--) *out++ = *in++;
    return to;
}

void* memset(void* to, int value, size_t count) {
    unsigned char* out = static_cast<unsigned char*>(to);
    while (count--) *out++ = static_cast<unsigned char>(value);
    return to;
}

int memcmp(const void* left, const void* right, size_t count) {
    const unsigned char* a = static_cast<const unsigned char*>(left);
    const unsigned char* b = static_cast<const unsigned char*>(right);
    for (; count; --count, ++a, ++b)
        if (*a != *b) return *a < *b ? -1 : 1;
    return 0;
}

void* memchr(const void* where, int value, size_t count) {
    const unsigned char* p = static_cast<const unsigned char*>(where);
    for (; count; --count, ++p)
        if (*p == static_cast<unsigned char>(value)) return const_cast<unsigned char*>(p);
    return nullptr;
}

size_t strlen(const char* text) {
    const char* end = text;
    while (*end) ++end;
    return static_cast<size_t>(end - text);
}

}  // extern "C"
