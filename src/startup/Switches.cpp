#include "startup/Switches.h"

#include "winamp/RemoteControl.h"

namespace {

// Each toolbar button's switch, and what it does.
#define JUKELET_BUTTON(id, caption, icons, link, argument, command) {argument, [] { command; }},
const CommandSwitch Switches[] = {
#include "toolbar/ButtonList.h"
};
#undef JUKELET_BUTTON

// ASCII only: a locale's case rules must never turn some other text into a switch.
bool EqualsIgnoringAsciiCase(std::string_view text, const char* expected) {
    size_t i = 0;
    for (; expected[i]; ++i) {
        if (i >= text.size()) return false;
        char c = text[i];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (c != expected[i]) return false;
    }
    return i == text.size();
}

}  // namespace

const Span<CommandSwitch> SwitchTable = Switches;

const CommandSwitch* MatchSwitch(std::string_view arguments) {
    for (const CommandSwitch& entry : SwitchTable)
        if (EqualsIgnoringAsciiCase(arguments, entry.text)) return &entry;
    return nullptr;
}
