#pragma once
#include <array>
#include <string>

struct CommandSwitch {
    const char* text;
    void (*action)();
};

// Compared in this order against the whole argument string.
extern const std::array<CommandSwitch, 7> SwitchTable;

// The switch equal to the whole argument string, ignoring ASCII letter case; no
// trimming, no prefixes. nullptr when none is.
const CommandSwitch* MatchSwitch(const std::string& arguments);
