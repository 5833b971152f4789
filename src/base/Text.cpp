#include "base/Text.h"

String Trim(std::string_view text, std::string_view characters) {
    const size_t first = text.find_first_not_of(characters);
    if (first == std::string_view::npos) return String();
    return String(text.substr(first, text.find_last_not_of(characters) - first + 1));
}
