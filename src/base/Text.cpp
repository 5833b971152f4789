#include "base/Text.h"

std::string Trim(const std::string& text, const char* characters) {
    const size_t first = text.find_first_not_of(characters);
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(characters) - first + 1);
}
