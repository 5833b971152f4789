#include "Unpack.h"

namespace {

constexpr size_t HeaderSize = 4;
constexpr size_t Shortest = 3;
// The most one packed byte can make: a 273-byte match in three bytes and its flag bit.
constexpr size_t MostPerByte = 88;

}  // namespace

size_t PackedSize(const unsigned char* packed, size_t packedSize) {
    if (packedSize < HeaderSize) return 0;
    const size_t size = packed[0] | packed[1] << 8 | packed[2] << 16 | static_cast<size_t>(packed[3]) << 24;
    return size / MostPerByte <= packedSize ? size : 0;
}

bool Unpack(const unsigned char* packed, size_t packedSize, unsigned char* out, size_t outSize) {
    if (packedSize < HeaderSize || PackedSize(packed, packedSize) != outSize) return false;
    const unsigned char* in = packed + HeaderSize;
    const unsigned char* const inEnd = packed + packedSize;
    size_t made = 0;
    while (made < outSize) {
        if (in == inEnd) return false;
        unsigned flags = *in++;
        for (int item = 0; item < 8 && made < outSize; ++item, flags >>= 1) {
            if (flags & 1) {
                if (in == inEnd) return false;
                out[made++] = *in++;
                continue;
            }
            if (inEnd - in < 2) return false;
            const unsigned word = in[0] | in[1] << 8;
            in += 2;
            const size_t distance = (word >> 4) + 1;
            size_t length = word & 15;
            if (length == 15) {
                if (in == inEnd) return false;
                length += *in++;
            }
            length += Shortest;
            if (distance > made || length > outSize - made) return false;
            for (; length; --length, ++made) out[made] = out[made - distance];
        }
    }
    return in == inEnd;
}
