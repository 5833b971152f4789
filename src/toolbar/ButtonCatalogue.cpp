#include "toolbar/ButtonCatalogue.h"

// clang-format off
const std::array<ToolbarButton, 7> ButtonCatalogue = {{
    // id                                        text                       icon                     hot icon              link            switch
    {"{49C350E0-FF5F-11D4-B08F-909356C10100}", "Previous",                "\\prev_default.ico",     "\\prev_hot.ico",     "\\prev.lnk",   "/PREV"},
    {"{34F16BC0-FF5F-11D4-B08F-909356C10100}", "Play",                    "\\play_default.ico",     "\\play_hot.ico",     "\\play.lnk",   "/PLAY"},
    {"{8D2B7B00-FF5F-11D4-B08F-909356C10100}", "Pause",                   "\\pause_default.ico",    "\\pause_hot.ico",    "\\pause.lnk",  "/PAUSE"},
    {"{3D5A6FA0-FF5F-11D4-B08F-909356C10100}", "Stop",                    "\\stop_default.ico",     "\\stop_hot.ico",     "\\stop.lnk",   "/STOP"},
    {"{59611E60-FF5F-11D4-B08F-909356C10100}", "Next",                    "\\next_default.ico",     "\\next_hot.ico",     "\\next.lnk",   "/NEXT"},
    {"{A144BE80-FF5F-11D4-B08F-909356C10100}", "Open/Close Winamp",       "\\start_default.ico",    "\\start_hot.ico",    "\\start.lnk",  "/START"},
    {"{86227B80-FF8F-11D4-B08F-90A456C10100}", "Minimize/Restore Winamp", "\\minimize_default.ico", "\\minimize_hot.ico", "\\minmax.lnk", "/MINMAX"},
}};
// clang-format on

const ToolbarButton* FindButton(std::string_view buttonId) {
    for (const ToolbarButton& button : ButtonCatalogue)
        if (buttonId == button.id) return &button;
    return nullptr;
}
