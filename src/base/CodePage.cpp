#include "base/CodePage.h"

#include <windows.h>

#include "base/DynamicProc.h"

namespace {

constexpr std::string_view LongPathPrefix = "\\\\?\\";

// UTF-16 text in a String's bytes: the program's String holds no other kind.
wchar_t* Wide(String& buffer) { return reinterpret_cast<wchar_t*>(buffer.data()); }

}  // namespace

bool HasLostLetters(std::string_view path) {
    const size_t from = path.substr(0, LongPathPrefix.size()) == LongPathPrefix ? LongPathPrefix.size() : 0;
    return path.find('?', from) != std::string_view::npos;
}

String LostLettersReason(std::string_view path) {
    return Concat("Jukelet cannot use this path:\r", path,
                  "\r\rSome letters of its names are not in this computer's language for non-Unicode programs, "
                  "so they reach Jukelet as \"?\".");
}

String ProgramPathInCodePage() {
    // NT keeps names in Unicode; 9x exports these only as stubs that fail.
    const HMODULE kernel32 = GetModuleHandleA("kernel32.dll");
    const auto getModuleFileNameW = LOAD_PROC(kernel32, GetModuleFileNameW);
    const auto getShortPathNameW = LOAD_PROC(kernel32, GetShortPathNameW);
    if (!getModuleFileNameW || !getShortPathNameW) return String();

    String whole;
    for (DWORD room = MAX_PATH;; room *= 2) {
        whole.resize(room * sizeof(wchar_t));
        const DWORD length = getModuleFileNameW(nullptr, Wide(whole), room);
        if (length == 0) return String();
        if (length < room) break;
    }
    const DWORD room = getShortPathNameW(Wide(whole), nullptr, 0);
    if (room == 0) return String();
    String shortName;
    shortName.resize(room * sizeof(wchar_t));
    if (getShortPathNameW(Wide(whole), Wide(shortName), room) >= room) return String();

    BOOL lost = FALSE;
    const int bytes = WideCharToMultiByte(CP_ACP, 0, Wide(shortName), -1, nullptr, 0, nullptr, &lost);
    if (bytes <= 1 || lost) return String();
    String path;
    path.resize(static_cast<size_t>(bytes));
    if (!WideCharToMultiByte(CP_ACP, 0, Wide(shortName), -1, path.data(), bytes, nullptr, &lost) || lost)
        return String();
    path.resize(static_cast<size_t>(bytes - 1));
    // A volume that keeps no short names hands back the long one.
    return HasLostLetters(path) ? String() : path;
}
