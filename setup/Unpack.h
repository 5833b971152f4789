#pragma once
#include <stddef.h>

// The payload's packed form (setup/pack.py makes it): the unpacked size in four bytes, then
// literals and back references. A damaged resource must fail the install, not the process.

// The unpacked size a packed block claims; 0 when it is too short to claim one or claims
// more than its items could ever make.
size_t PackedSize(const unsigned char* packed, size_t packedSize);

// Unpacks the block into `out`, which holds exactly PackedSize() bytes. False when the block
// is damaged: its items run past its end or before the output's start, or make more or less
// than `outSize` bytes, or bytes are left over. Never writes outside `out`.
bool Unpack(const unsigned char* packed, size_t packedSize, unsigned char* out, size_t outSize);
