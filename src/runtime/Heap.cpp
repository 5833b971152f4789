#include "runtime/Heap.h"

#include <windows.h>

#include "base/UnexpectedError.h"

namespace {

// Larger requests are a miscalculation, not a need: the heap is not even asked.
constexpr size_t LargestBlock = 0x7FFF0000;

}  // namespace

void* AllocateOrEnd(size_t size) {
    void* block = size <= LargestBlock ? HeapAlloc(GetProcessHeap(), 0, size ? size : 1) : nullptr;
    if (!block) EndOnUnexpectedError(OutOfMemoryText);
    return block;
}

void FreeBlock(void* block) {
    if (block) HeapFree(GetProcessHeap(), 0, block);
}
