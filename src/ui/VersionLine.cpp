#include "ui/VersionLine.h"

#include <string.h>

String VersionLine(DWORD fileVersionMS, DWORD fileVersionLS) {
    return Concat("Version ", DecimalText(HIWORD(fileVersionMS)), ".", DecimalText(LOWORD(fileVersionMS)), ".",
                  DecimalText(LOWORD(fileVersionLS)));
}

String OwnVersionLine() {
    // Read straight from the resource: no need for version.dll.
    HRSRC resource = FindResourceA(nullptr, MAKEINTRESOURCEA(VS_VERSION_INFO), RT_VERSION);
    HGLOBAL loaded = resource ? LoadResource(nullptr, resource) : nullptr;
    const auto* bytes = static_cast<const unsigned char*>(loaded ? LockResource(loaded) : nullptr);
    if (!bytes) return String();
    const DWORD size = SizeofResource(nullptr, resource);
    const DWORD signature = VS_FFI_SIGNATURE;
    for (DWORD offset = 0; offset + sizeof(VS_FIXEDFILEINFO) <= size; offset += 4) {
        if (memcmp(bytes + offset, &signature, sizeof(signature)) != 0) continue;
        VS_FIXEDFILEINFO info;
        memcpy(&info, bytes + offset, sizeof(info));
        return VersionLine(info.dwFileVersionMS, info.dwFileVersionLS);
    }
    return String();
}
