#pragma once
#include "runtime/String.h"

// The folder as setup and the uninstaller compare and measure it: without closing
// backslashes or blanks ("C:\Apps\Jukelet\ " is "C:\Apps\Jukelet").
String TidyFolder(std::string_view folder);
// The same folder, whatever the letter case or the closing backslashes.
bool SameFolder(std::string_view one, std::string_view other);

enum class FolderVerdict {
    Usable,
    Unusable,     // not a whole path, a drive root, a file, on a drive that is not there
    TooLong,      // a file of Jukelet's would have a path longer than MAX_PATH allows
    LostLetters,  // letters the code page lacks reached setup as '?'
};
FolderVerdict CheckInstallFolder(std::string_view folder);

// The longest folder path Jukelet's files fit under: each file's path within MAX_PATH.
size_t LongestInstallFolder();

// What is wrong with the folder and what to do, for a verdict other than Usable.
String FolderRefusal(FolderVerdict verdict, std::string_view folder);

// The folder made whole, with its parents; false when it could not be made.
bool CreateFolderPath(std::string_view folder);
