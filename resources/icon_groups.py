#!/usr/bin/python3
"""Writes the icon resources of several .ico files with each image stored once.

    icon_groups.py OUT_DIR ID=FILE.ico [ID=FILE.ico ...]

The .rc ICON statement copies every image of its file, so two icons that share images
would carry them twice. This writes each distinct image once as an RT_ICON resource, one
RT_GROUP_ICON directory per file that points at them, and OUT_DIR/icons.rc naming them all,
for the program's .rc to include. IDs are the .rc's own names or numbers.
"""
import hashlib
import pathlib
import struct
import sys

FIRST_IMAGE_ID = 101


def images_of(path):
    data = path.read_bytes()
    reserved, kind, count = struct.unpack_from('<HHH', data, 0)
    if reserved != 0 or kind != 1 or count == 0:
        sys.exit(f'{path}: not an icon file')
    images = []
    for index in range(count):
        width, height, colours, _, planes, bits, size, offset = struct.unpack_from('<BBBBHHII', data, 6 + 16 * index)
        if offset + size > len(data):
            sys.exit(f'{path}: image {index} lies outside the file')
        images.append((width, height, colours, planes, bits, data[offset:offset + size]))
    return images


def main(arguments):
    if len(arguments) < 2 or any('=' not in pair for pair in arguments[1:]):
        sys.exit(__doc__)
    out = pathlib.Path(arguments[0])
    out.mkdir(parents=True, exist_ok=True)
    stored = {}  # image bytes' digest: resource id
    lines = ['// Made by resources/icon_groups.py: each image once, and a directory per icon.']
    for pair in arguments[1:]:
        group_id, path = pair.split('=', 1)
        images = images_of(pathlib.Path(path))
        directory = struct.pack('<HHH', 0, 1, len(images))
        for width, height, colours, planes, bits, image in images:
            digest = hashlib.sha256(image).hexdigest()
            if digest not in stored:
                stored[digest] = FIRST_IMAGE_ID + len(stored)
                (out / f'image-{stored[digest]}.bin').write_bytes(image)
                lines.append(f'{stored[digest]} 3 "image-{stored[digest]}.bin"')
            directory += struct.pack('<BBBBHHIH', width, height, colours, 0, planes, bits, len(image), stored[digest])
        (out / f'group-{group_id}.bin').write_bytes(directory)
        lines.append(f'{group_id} 14 "group-{group_id}.bin"')
    (out / 'icons.rc').write_text('\n'.join(lines) + '\n')


if __name__ == '__main__':
    main(sys.argv[1:])
