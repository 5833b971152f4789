#pragma once
#include <stddef.h>

// Blocks on the process heap. A request the heap cannot meet ends the program with a message:
// nothing here can carry on without the memory it asked for.
void* AllocateOrEnd(size_t size);
void FreeBlock(void* block);
