#include "Payload.h"

#include <windows.h>

#include "Unpack.h"
#include "WholeFile.h"

namespace {

struct Resource {
    const unsigned char* bytes = nullptr;
    size_t size = 0;
};

// The resource compiler keeps names in capitals.
Resource FindPayload(std::string_view fileName) {
    String name(fileName);
    CharUpperA(name.data());
    HMODULE self = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(self, name.c_str(), RT_RCDATA);
    HGLOBAL loaded = found ? LoadResource(self, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) return {};
    return {static_cast<const unsigned char*>(bytes), SizeofResource(self, found)};
}

// A block of the process heap that may be refused: a damaged size must fail the install,
// where the program's own allocator would end the process.
class HeapBlock {
public:
    explicit HeapBlock(size_t size) : bytes_(static_cast<unsigned char*>(HeapAlloc(GetProcessHeap(), 0, size))) {}
    ~HeapBlock() {
        if (bytes_) HeapFree(GetProcessHeap(), 0, bytes_);
    }
    HeapBlock(const HeapBlock&) = delete;
    HeapBlock& operator=(const HeapBlock&) = delete;
    unsigned char* get() const { return bytes_; }

private:
    unsigned char* bytes_;
};

}  // namespace

bool WritePayloadFile(std::string_view fileName, const String& path) {
    const Resource packed = FindPayload(fileName);
    const size_t size = PackedSize(packed.bytes, packed.size);
    if (size == 0) return false;
    HeapBlock file(size);
    return file.get() && Unpack(packed.bytes, packed.size, file.get(), size) && WriteWholeFile(path, file.get(), size);
}

size_t PayloadFileSize(std::string_view fileName) {
    const Resource packed = FindPayload(fileName);
    return PackedSize(packed.bytes, packed.size);
}
