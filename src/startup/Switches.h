#pragma once
#include "runtime/Span.h"
#include "runtime/String.h"

struct CommandSwitch {
    const char* text;
    void (*action)();
};

// Compared in this order against the whole argument string: the switches of the toolbar
// buttons (toolbar/ButtonList.h).
extern const Span<CommandSwitch> SwitchTable;

// The switch equal to the whole argument string, ignoring ASCII letter case; no
// trimming, no prefixes. nullptr when none is.
const CommandSwitch* MatchSwitch(std::string_view arguments);
