#!/usr/bin/python3
"""Packs a file for the setup program's payload: pack.py INPUT OUTPUT

The format, which setup/Unpack.cpp reads:
  4 bytes     the unpacked size, little-endian
  then groups of a flag byte and up to eight items, the flag's lowest bit first:
    bit 1     a literal: one byte
    bit 0     a match: two bytes, little-endian: the distance back less 1 in the top 12
              bits, the length less 3 in the low 4; a length of 15 there is followed by a
              byte to add to it (lengths 3 to 273)
A greedy LZ77 with one step of lazy matching: plenty for a program and a few icons, and a
decoder of a dozen lines.
"""
import sys

WINDOW = 1 << 12
SHORTEST = 3
LONGEST = SHORTEST + 15 + 255
CANDIDATES = 512  # the most recent places of a 3-byte prefix that are tried


def pack(data):
    size = len(data)
    places = {}  # 3-byte prefix -> positions where it starts, oldest first

    def remember(position):
        if position + SHORTEST <= size:
            places.setdefault(data[position:position + SHORTEST], []).append(position)

    def longest_match(position):
        if position + SHORTEST > size:
            return 0, 0
        limit = min(LONGEST, size - position)
        best_length, best_distance = 0, 0
        for start in reversed(places.get(data[position:position + SHORTEST], [])[-CANDIDATES:]):
            distance = position - start
            if distance > WINDOW:
                break
            length = SHORTEST
            while length < limit and data[start + length] == data[position + length]:
                length += 1
            if length > best_length:
                best_length, best_distance = length, distance
                if length == limit:
                    break
        return best_length, best_distance

    items = []  # ('literal', byte) or ('match', distance, length)
    position = 0
    pending = None  # the match found at position, when already looked up
    while position < size:
        length, distance = pending or longest_match(position)
        pending = None
        if length >= SHORTEST:
            remember(position)
            # One step of lazy matching: a longer match one byte on is worth a literal.
            following = longest_match(position + 1)
            if following[0] > length:
                items.append(('literal', data[position]))
                position += 1
                pending = following
                continue
            items.append(('match', distance, length))
            for inside in range(position + 1, position + length):
                remember(inside)
            position += length
        else:
            remember(position)
            items.append(('literal', data[position]))
            position += 1

    out = bytearray(size.to_bytes(4, 'little'))
    for group in range(0, len(items), 8):
        flags, body = 0, bytearray()
        for bit, item in enumerate(items[group:group + 8]):
            if item[0] == 'literal':
                flags |= 1 << bit
                body.append(item[1])
                continue
            _, distance, length = item
            code = min(length - SHORTEST, 15)
            body += (((distance - 1) << 4) | code).to_bytes(2, 'little')
            if code == 15:
                body.append(length - SHORTEST - 15)
        out.append(flags)
        out += body
    return bytes(out)


def unpack(packed):
    """The decoder's rules, to prove each packed file before the build embeds it."""
    size = int.from_bytes(packed[:4], 'little')
    out = bytearray()
    at = 4
    while len(out) < size:
        flags = packed[at]
        at += 1
        for bit in range(8):
            if len(out) == size:
                break
            if flags >> bit & 1:
                out.append(packed[at])
                at += 1
                continue
            word = int.from_bytes(packed[at:at + 2], 'little')
            at += 2
            distance, length = (word >> 4) + 1, word & 15
            if length == 15:
                length += packed[at]
                at += 1
            for _ in range(length + SHORTEST):
                out.append(out[-distance])
    if at != len(packed):
        raise ValueError('bytes left after the last item')
    return bytes(out)


def main(arguments):
    if len(arguments) != 2:
        sys.exit(__doc__)
    with open(arguments[0], 'rb') as source:
        data = source.read()
    packed = pack(data)
    if unpack(packed) != data:
        sys.exit(f'{arguments[0]}: the packed form does not unpack to the file')
    with open(arguments[1], 'wb') as target:
        target.write(packed)
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
