#include "InstallFolder.h"

#include <windows.h>

#include "InstalledFiles.h"
#include "base/CodePage.h"
#include "base/Paths.h"
#include "toolbar/ButtonCatalogue.h"

namespace {

size_t Length(const char* text) { return std::string_view(text).size(); }

// Letters no folder name holds; '?' is told apart (HasLostLetters).
bool HoldsForbiddenLetter(std::string_view names) {
    for (char c : names)
        if (static_cast<unsigned char>(c) < 32 || std::string_view("<>:\"|*").find(c) != std::string_view::npos)
            return true;
    return false;
}

DWORD AttributesOf(std::string_view path) { return GetFileAttributesA(String(path).c_str()); }

// The path, or the nearest folder above it, that exists is a folder.
bool EndsInAFolder(const String& whole, size_t rootLength) {
    std::string_view path = whole;
    for (;;) {
        const DWORD attributes = AttributesOf(path);
        if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        // The root is the last to try: a drive that is not there.
        if (path.size() <= rootLength) return false;
        const size_t separator = path.find_last_of('\\');
        path = path.substr(0, separator < rootLength ? rootLength : separator);
    }
}

}  // namespace

String TidyFolder(std::string_view folder) {
    while (!folder.empty() && (folder.back() == '\\' || folder.back() == ' ')) folder.remove_suffix(1);
    return String(folder);
}

bool SameFolder(std::string_view one, std::string_view other) {
    return lstrcmpiA(TidyFolder(one).c_str(), TidyFolder(other).c_str()) == 0;
}

size_t LongestInstallFolder() {
    size_t longest = Length(ProgramFile) > Length(UninstallerFile) ? Length(ProgramFile) : Length(UninstallerFile);
    for (const ToolbarButton& button : ButtonCatalogue) {
        const size_t names[] = {Length(IconsFolder) + Length(button.icon), Length(IconsFolder) + Length(button.hotIcon),
                                Length(LinksFolder) + Length(button.link)};
        for (size_t name : names)
            if (name > longest) longest = name;
    }
    // Windows opens no path longer than MAX_PATH less its NUL.
    return MAX_PATH - 1 - longest;
}

FolderVerdict CheckInstallFolder(std::string_view folder) {
    const String tidy = TidyFolder(folder);
    const size_t root = RootLength(tidy);
    if (HasLostLetters(tidy)) return FolderVerdict::LostLetters;
    if (root == 0 || tidy.size() <= root || HoldsForbiddenLetter(std::string_view(tidy).substr(root)))
        return FolderVerdict::Unusable;
    const String whole = WholePath(tidy);
    if (whole.empty()) return FolderVerdict::Unusable;
    if (whole.size() > LongestInstallFolder()) return FolderVerdict::TooLong;
    if (!EndsInAFolder(whole, RootLength(whole))) return FolderVerdict::Unusable;
    return FolderVerdict::Usable;
}

String FolderRefusal(FolderVerdict verdict, std::string_view folder) {
    switch (verdict) {
        case FolderVerdict::TooLong:
            return Concat("This folder's path is too long for Jukelet's files:\r\n", folder,
                          "\r\n\r\nChoose a folder whose path has at most ", DecimalText(LongestInstallFolder()),
                          " characters.");
        case FolderVerdict::LostLetters:
            return Concat("Setup cannot install Jukelet into this folder:\r\n", folder,
                          "\r\n\r\nSome letters of its name are not in this computer's language for non-Unicode "
                          "programs, so they reach setup as \"?\", and Jukelet could not name its own files there. "
                          "Choose a folder whose name has only letters of that language.");
        default:
            return Concat("Setup cannot install Jukelet into this folder:\r\n", folder,
                          "\r\n\r\nChoose a folder on a drive that is there: not the drive itself, and not a file.");
    }
}

bool CreateFolderPath(std::string_view folder) {
    const String whole = WholePath(TidyFolder(folder));
    const size_t root = RootLength(whole);
    if (whole.empty() || root == 0) return false;
    // Each folder below the root in turn; those already there are passed by.
    for (size_t end = whole.find('\\', root);; end = whole.find('\\', end + 1)) {
        const String part = end == String::npos ? whole : whole.substr(0, end);
        if (!CreateDirectoryA(part.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
            const DWORD attributes = AttributesOf(part);
            if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
        }
        if (end == String::npos) break;
    }
    const DWORD attributes = AttributesOf(whole);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}
