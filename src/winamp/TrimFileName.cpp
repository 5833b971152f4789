#include "winamp/TrimFileName.h"

std::string TrimFileName(const std::string& path) {
    size_t lastBackslash = path.rfind('\\');
    if (lastBackslash == std::string::npos) return std::string();
    return path.substr(0, lastBackslash);
}
