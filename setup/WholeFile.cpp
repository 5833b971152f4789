#include "WholeFile.h"

#include <windows.h>

#include "base/UniqueHandle.h"

String ReadWholeFile(const String& path) {
    FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    String text;
    if (!file) return text;
    const DWORD size = GetFileSize(file.get(), nullptr);
    if (size == INVALID_FILE_SIZE) return text;
    text.resize(size);
    DWORD read = 0;
    if (!ReadFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &read, nullptr)) read = 0;
    text.resize(read);
    return text;
}

bool WriteWholeFile(const String& path, const void* bytes, size_t size) {
    FileHandle file(
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    const char* next = static_cast<const char*>(bytes);
    while (size > 0) {
        DWORD written = 0;
        if (!WriteFile(file.get(), next, static_cast<DWORD>(size), &written, nullptr) || written == 0) return false;
        next += written;
        size -= written;
    }
    return true;
}
