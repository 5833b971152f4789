#pragma once

// What setup puts into the folder, relative to it: these two, and for each row of the
// button catalogue its two icons (IconsFolder + icon) and its shortcut (LinksFolder + link).
constexpr const char* ProgramFile = "\\Jukelet.exe";
constexpr const char* UninstallerFile = "\\Uninstall.exe";
constexpr const char* IconsFolder = "\\Icons";
constexpr const char* LinksFolder = "\\Links";
