#include "Ownership.h"

#include <windows.h>

#include "InstallFolder.h"
#include "InstalledFiles.h"
#include "UninstallEntry.h"
#include "base/DynamicProc.h"
#include "base/UniqueHandle.h"
#include "version.h"

namespace {

struct Translation {
    WORD language;
    WORD codePage;
};

String HexWord(WORD value) {
    String text;
    text.resize(4);
    for (int digit = 3; digit >= 0; --digit, value >>= 4) text[digit] = "0123456789abcdef"[value & 15];
    return text;
}

}  // namespace

bool CarriesOurVersion(const String& file) {
    // version.dll is loaded only here: every Windows has it, but Jukelet's files need only
    // this one look at their version.
    ModuleHandle version(LoadLibraryA("version.dll"));
    const auto getSize = LOAD_PROC(version.get(), GetFileVersionInfoSizeA);
    const auto getInfo = LOAD_PROC(version.get(), GetFileVersionInfoA);
    const auto query = LOAD_PROC(version.get(), VerQueryValueA);
    if (!getSize || !getInfo || !query) return false;

    DWORD ignored = 0;
    const DWORD size = getSize(file.c_str(), &ignored);
    if (size == 0) return false;
    String data;
    data.resize(size);
    if (!getInfo(file.c_str(), 0, size, data.data())) return false;

    Translation* translation = nullptr;
    UINT length = 0;
    if (!query(data.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length) ||
        length < sizeof(Translation))
        return false;
    const String block =
        Concat("\\StringFileInfo\\", HexWord(translation->language), HexWord(translation->codePage), "\\");
    auto says = [&](const char* name, std::string_view wanted) {
        char* value = nullptr;
        UINT valueLength = 0;
        return query(data.data(), Concat(block, name).c_str(), reinterpret_cast<void**>(&value), &valueLength) &&
               value && std::string_view(value) == wanted;
    };
    return says("ProductName", JUKELET_PRODUCT) && says("CompanyName", JUKELET_COMPANY);
}

bool IsOurInstallation(std::string_view folder) {
    if (!CarriesOurVersion(Concat(folder, UninstallerFile))) return false;
    const String program = Concat(folder, ProgramFile);
    if (CarriesOurVersion(program)) return true;
    // Jukelet.exe goes first: an uninstall that a file in use then stopped leaves the copy
    // the entry names without it, still ours to finish.
    return GetFileAttributesA(program.c_str()) == INVALID_FILE_ATTRIBUTES && SameFolder(RegisteredFolder(), folder);
}
