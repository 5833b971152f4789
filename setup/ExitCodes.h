#pragma once

// What a silent roll-out has to go by: the README's two tables.
namespace SetupExit {
constexpr int Installed = 0;
constexpr int Cancelled = 1;
constexpr int Failed = 2;          // a file, shortcut or value could not be written
constexpr int UnusableFolder = 3;  // nothing done
constexpr int OtherCopyKept = 4;   // nothing done: the copy elsewhere could not be removed
constexpr int Busy = 5;            // nothing done: another setup or uninstaller kept running
}  // namespace SetupExit

namespace UninstallExit {
constexpr int Removed = 0;
constexpr int Cancelled = 1;
constexpr int NotOurs = 2;     // nothing done: the folder holds no installation of ours
constexpr int FilesInUse = 3;  // nothing removed
constexpr int Busy = 5;        // as setup's
}  // namespace UninstallExit
