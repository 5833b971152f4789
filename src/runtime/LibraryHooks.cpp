// What the compiler and the library headers call into, in place of libsupc++ and libstdc++:
// allocation, the pure-virtual trap, and the library's error reports. The program is built
// without exceptions, so each of these ends it with a message.
#include <stddef.h>

#include <new>

#include "base/UnexpectedError.h"
#include "runtime/Heap.h"

void* operator new(size_t size) { return AllocateOrEnd(size); }
void* operator new[](size_t size) { return AllocateOrEnd(size); }
void operator delete(void* block) noexcept { FreeBlock(block); }
void operator delete[](void* block) noexcept { FreeBlock(block); }
void operator delete(void* block, size_t) noexcept { FreeBlock(block); }
void operator delete[](void* block, size_t) noexcept { FreeBlock(block); }

extern "C" {

void __cxa_pure_virtual() { EndOnUnexpectedError("A pure virtual function was called."); }

}  // extern "C"

namespace std {

// A view's substr() past its end, and the like: a fault in this program.
void __throw_out_of_range_fmt(const char* format, ...) { EndOnUnexpectedError(format); }

}  // namespace std
