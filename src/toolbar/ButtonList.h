// The toolbar buttons, in order of installation and removal, each written once: the button
// catalogue (toolbar/ButtonCatalogue.cpp), the switch table (startup/Switches.cpp) and the
// setup program's icons (setup/CMakeLists.txt embeds the two each row names) and shortcuts
// (written from the catalogue at install time) are all made from this list. A new button is
// a row here and its two icons in resources/toolbar.
//
// JUKELET_BUTTON(id, caption, icons, link, argument, command):
//   id        the Internet Explorer extension key's name
//   caption   the button's text on the toolbar
//   icons     Icons\<icons>_default.ico and Icons\<icons>_hot.ico
//   link      Links\<link>.lnk, the shortcut the button runs; it passes `argument`
//   argument  the switch that shortcut starts the program with
//   command   what the program does when started with that switch
//
// No include guard: each includer defines JUKELET_BUTTON to take what it needs.
// clang-format off
JUKELET_BUTTON("{49C350E0-FF5F-11D4-B08F-909356C10100}", "Previous",                prev,     prev,   "/PREV",   SendWinampCommand(WinampPrevious))
JUKELET_BUTTON("{34F16BC0-FF5F-11D4-B08F-909356C10100}", "Play",                    play,     play,   "/PLAY",   SendWinampCommand(WinampPlay))
JUKELET_BUTTON("{8D2B7B00-FF5F-11D4-B08F-909356C10100}", "Pause",                   pause,    pause,  "/PAUSE",  SendWinampCommand(WinampPause))
JUKELET_BUTTON("{3D5A6FA0-FF5F-11D4-B08F-909356C10100}", "Stop",                    stop,     stop,   "/STOP",   SendWinampCommand(WinampStop))
JUKELET_BUTTON("{59611E60-FF5F-11D4-B08F-909356C10100}", "Next",                    next,     next,   "/NEXT",   SendWinampCommand(WinampNext))
JUKELET_BUTTON("{A144BE80-FF5F-11D4-B08F-909356C10100}", "Open/Close Winamp",       start,    start,  "/START",  ToggleWinamp())
JUKELET_BUTTON("{86227B80-FF8F-11D4-B08F-90A456C10100}", "Minimize/Restore Winamp", minimize, minmax, "/MINMAX", MinMaxWinamp())
// clang-format on
