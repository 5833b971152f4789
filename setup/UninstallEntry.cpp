#include "UninstallEntry.h"

#include "InstallFolder.h"
#include "InstalledFiles.h"
#include "registry/Registry.h"
#include "version.h"

namespace {

struct EntryString {
    const char* name;
    String data;
};

}  // namespace

bool WriteUninstallEntry(const String& folder, DWORD sizeKb) {
    const String uninstaller = Concat("\"", folder, UninstallerFile, "\"");
    // clang-format off
    const EntryString strings[] = {
        {"DisplayName",          String(JUKELET_PRODUCT)},
        {"DisplayVersion",       String(JUKELET_VERSION_TEXT)},
        {"Publisher",            String(JUKELET_COMPANY)},
        {"DisplayIcon",          Concat(folder, ProgramFile)},
        {"InstallLocation",      folder},
        {"UninstallString",      uninstaller},
        {"QuietUninstallString", Concat(uninstaller, " /S")},
    };
    // clang-format on
    bool ok = true;
    for (const EntryString& value : strings)
        ok = ok && SaveString(HKEY_LOCAL_MACHINE, UninstallKey, value.name, value.data);
    return ok && SaveDword(HKEY_LOCAL_MACHINE, UninstallKey, "NoModify", 1) &&
           SaveDword(HKEY_LOCAL_MACHINE, UninstallKey, "NoRepair", 1) &&
           SaveDword(HKEY_LOCAL_MACHINE, UninstallKey, "EstimatedSize", sizeKb);
}

String RegisteredFolder() { return TidyFolder(GetString(HKEY_LOCAL_MACHINE, UninstallKey, "InstallLocation")); }

bool RemoveUninstallEntry() { return DeleteKeyTree(HKEY_LOCAL_MACHINE, UninstallKey); }
