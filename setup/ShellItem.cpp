#include "ShellItem.h"

#include "ComSession.h"
#include "base/DynamicProc.h"

String TakeItemPath(LPITEMIDLIST item) {
    if (!item) return String();
    ModuleHandle shell32(LoadLibraryA("shell32.dll"));
    const auto getPath = LOAD_PROC(shell32.get(), SHGetPathFromIDListA);
    const auto getMalloc = LOAD_PROC(shell32.get(), SHGetMalloc);
    String path;
    path.resize(MAX_PATH);
    const bool found = getPath && getPath(item, path.data());
    // Windows 95's shell32 has no ILFree by name: its allocator frees what it hands out.
    ComObject<IMalloc> allocator;
    if (getMalloc && SUCCEEDED(getMalloc(reinterpret_cast<IMalloc**>(allocator.out())))) allocator->Free(item);
    return found ? String(std::string_view(path.c_str())) : String();
}
