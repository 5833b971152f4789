#pragma once
#include "runtime/Span.h"
#include "runtime/String.h"

struct ToolbarButton {
    const char* id;          // the extension key's name
    const char* text;        // the caption shown on the toolbar
    const char* icon;        // appended to IconsPath
    const char* hotIcon;     // appended to IconsPath
    const char* link;        // appended to LinksPath
    const char* linkSwitch;  // the argument the installed shortcut passes to the program
};

// In order of installation and removal: the rows of toolbar/ButtonList.h.
extern const Span<ToolbarButton> ButtonCatalogue;

// Internet Explorer's handler for toolbar buttons that execute a file.
constexpr const char* ExecButtonHandlerClsid = "{1FBA04EE-3024-11D2-8F1F-0000F87ABD16}";
constexpr const char* ExtensionsKey = "Software\\Microsoft\\Internet Explorer\\Extensions";

// The catalogue entry with exactly this identifier, or nullptr.
const ToolbarButton* FindButton(std::string_view buttonId);
