#include "Shortcuts.h"

#include <shlobj.h>

#include "ComSession.h"
#include "ShellItem.h"
#include "base/DynamicProc.h"

namespace {

// The shell's identifiers, here rather than from libuuid: nothing of mingw's is linked.
constexpr CLSID ShellLinkClass = {0x00021401, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID ShellLinkInterface = {0x000214EE, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID PersistFileInterface = {0x0000010B, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

// IPersistFile takes the path in UTF-16.
bool Widen(const String& text, wchar_t* wide, int room) {
    return MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide, room) > 0;
}

// The folder the shell keeps as `csidl`; "" when it has none.
String SpecialFolder(int csidl) {
    ModuleHandle shell32(LoadLibraryA("shell32.dll"));
    const auto getLocation = LOAD_PROC(shell32.get(), SHGetSpecialFolderLocation);
    LPITEMIDLIST item = nullptr;
    if (!getLocation || FAILED(getLocation(nullptr, csidl, &item))) return String();
    return TakeItemPath(item);
}

}  // namespace

bool MakeShortcut(const String& path, const String& target, std::string_view arguments, const String& workingFolder) {
    wchar_t widePath[MAX_PATH];
    if (!Widen(path, widePath, MAX_PATH)) return false;
    ComSession com;
    ComObject<IShellLinkA> link;
    if (FAILED(com.Create(ShellLinkClass, ShellLinkInterface, link.out()))) return false;
    ComObject<IPersistFile> file;
    return SUCCEEDED(link->SetPath(target.c_str())) && SUCCEEDED(link->SetArguments(String(arguments).c_str())) &&
           SUCCEEDED(link->SetWorkingDirectory(workingFolder.c_str())) &&
           SUCCEEDED(link->QueryInterface(PersistFileInterface, file.out())) && SUCCEEDED(file->Save(widePath, TRUE));
}

String StartMenuProgramsFolder() {
    ComSession com;
    const String common = SpecialFolder(CSIDL_COMMON_PROGRAMS);
    return common.empty() ? SpecialFolder(CSIDL_PROGRAMS) : common;
}

String StartMenuShortcut() {
    const String folder = StartMenuProgramsFolder();
    return folder.empty() ? String() : Concat(folder, "\\Jukelet.lnk");
}
