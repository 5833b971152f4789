#!/usr/bin/python3
"""Checks the shipped pictures' sizes, depths and image counts.

    python3 resources/art/check_art.py [--reproducible]

--reproducible also re-runs make_art.py into a temporary folder and
compares every output byte for byte with the files in the tree.
Prints "art ok" or one line per failure (exit status 1).
"""
import os
import shutil
import struct
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, '..', '..'))

TOOLBAR = ['prev', 'play', 'pause', 'stop', 'next', 'start', 'minimize']

# expected (width, height, bits per pixel) in directory order
EXPECTED = {
    'resources/jukelet.ico': [(16, 16, 4), (32, 32, 4), (48, 48, 4),
                              (32, 32, 8), (48, 48, 8)],
    'resources/picture.ico': [(16, 16, 4), (16, 16, 8), (32, 32, 4),
                              (32, 32, 8), (48, 48, 4), (48, 48, 8)],
}
for _n in TOOLBAR:
    for _s in ('default', 'hot'):
        EXPECTED['resources/toolbar/%s_%s.ico' % (_n, _s)] = [
            (20, 20, 8), (20, 20, 4), (16, 16, 4), (16, 16, 8)]

OTHER = ['resources/banner.bmp', 'docs/toolbar-icons.png',
         'docs/program-art.png']


def read(rel, base=ROOT):
    with open(os.path.join(base, rel), 'rb') as f:
        return f.read()


def check_ico(rel, data, errors):
    """Returns {(w, h, bpp): dib bytes} for the entries that parsed."""
    want = EXPECTED[rel]
    dibs = {}
    if len(data) < 6:
        errors.append('%s: too short for an icon' % rel)
        return dibs
    reserved, kind, count = struct.unpack_from('<HHH', data, 0)
    if reserved != 0 or kind != 1:
        errors.append('%s: not an icon (reserved=%d type=%d)'
                      % (rel, reserved, kind))
        return dibs
    if count != len(want):
        errors.append('%s: %d images, expected %d' % (rel, count, len(want)))
    seen_end = 6 + 16 * count
    for i in range(count):
        if 6 + 16 * (i + 1) > len(data):
            errors.append('%s: directory truncated' % rel)
            break
        (bw, bh, ncol, res, planes, bits, size,
         off) = struct.unpack_from('<BBBBHHII', data, 6 + 16 * i)
        w, h = bw or 256, bh or 256
        tag = '%s image %d' % (rel, i)
        exp = want[i] if i < len(want) else None
        if exp and (w, h, bits) != exp:
            errors.append('%s: entry says %dx%d %d bpp, expected %dx%d %d bpp'
                          % ((tag, w, h, bits) + exp))
        if bits not in (4, 8):
            errors.append('%s: wBitCount %d' % (tag, bits))
            continue
        if ncol != (16 if bits == 4 else 0):
            errors.append('%s: bColorCount %d wrong for %d bpp'
                          % (tag, ncol, bits))
        if res != 0 or planes != 1:
            errors.append('%s: bReserved %d / wPlanes %d' % (tag, res, planes))
        if off < 6 + 16 * count or off + size > len(data):
            errors.append('%s: offset/size %d+%d outside file of %d bytes'
                          % (tag, off, size, len(data)))
            continue
        seen_end = max(seen_end, off + size)
        dib = data[off:off + size]
        if len(dib) < 40:
            errors.append('%s: DIB header truncated' % tag)
            continue
        (hs, dw, dh, dplanes, dbits, comp, _, _, _, used,
         _) = struct.unpack_from('<IiiHHIIiiII', dib, 0)
        if hs != 40:
            errors.append('%s: header size %d, expected BITMAPINFOHEADER'
                          % (tag, hs))
        if (dw, dh) != (w, 2 * h):
            errors.append('%s: DIB %dx%d, expected %dx%d (height doubled)'
                          % (tag, dw, dh, w, 2 * h))
        if dbits != bits or dplanes != 1:
            errors.append('%s: DIB biBitCount %d planes %d, entry says %d'
                          % (tag, dbits, dplanes, bits))
        if comp != 0:
            errors.append('%s: compressed DIB (%d)' % (tag, comp))
        ncolours = used or (1 << dbits)
        if ncolours != (1 << bits):
            errors.append('%s: palette of %d entries, expected %d'
                          % (tag, ncolours, 1 << bits))
        xor = ((w * bits + 31) // 32) * 4 * h
        andm = ((w + 31) // 32) * 4 * h
        need = 40 + 4 * ncolours + xor + andm
        if size != need:
            errors.append('%s: %d bytes, expected %d (header + palette + '
                          'colour bits + mask)' % (tag, size, need))
        dibs[(w, h, bits)] = dib
    if seen_end != len(data):
        errors.append('%s: %d bytes, images end at %d'
                      % (rel, len(data), seen_end))
    return dibs


def check_bmp(rel, data, errors):
    if len(data) < 54 or data[:2] != b'BM':
        errors.append('%s: not a BMP' % rel)
        return
    fsize, _, _, off = struct.unpack_from('<IHHI', data, 2)
    (hs, w, h, planes, bits, comp, _, _, _, used,
     _) = struct.unpack_from('<IiiHHIIiiII', data, 14)
    if fsize != len(data):
        errors.append('%s: header says %d bytes, file has %d'
                      % (rel, fsize, len(data)))
    if hs != 40:
        errors.append('%s: header size %d' % (rel, hs))
    if (w, h) != (88, 31):
        errors.append('%s: %dx%d, expected 88x31' % (rel, w, h))
    if bits != 8 or planes != 1:
        errors.append('%s: %d bpp, expected 8' % (rel, bits))
    if comp != 0:
        errors.append('%s: compression %d, expected BI_RGB' % (rel, comp))
    ncolours = used or 256
    if not 1 <= ncolours <= 256:
        errors.append('%s: palette of %d entries' % (rel, ncolours))
    if off != 14 + 40 + 4 * ncolours:
        errors.append('%s: bits at %d, expected right after a %d-entry '
                      'palette' % (rel, off, ncolours))
    stride = (abs(w) + 3) // 4 * 4
    if len(data) != off + stride * abs(h):
        errors.append('%s: %d bytes, expected %d'
                      % (rel, len(data), off + stride * abs(h)))
    else:
        top = max(data[off:])
        if top >= ncolours:
            errors.append('%s: pixel index %d beyond palette of %d'
                          % (rel, top, ncolours))


def check_png(rel, data, errors):
    if data[:8] != b'\x89PNG\r\n\x1a\n':
        errors.append('%s: not a PNG' % rel)


def check_tree(errors):
    dibs = {}
    for rel in sorted(EXPECTED):
        try:
            data = read(rel)
        except OSError as e:
            errors.append('%s: missing (%s)' % (rel, e.strerror))
            continue
        dibs[rel] = check_ico(rel, data, errors)
    prog = dibs.get('resources/jukelet.ico', {})
    pic = dibs.get('resources/picture.ico', {})
    for key in [(32, 32, 4), (32, 32, 8), (48, 48, 4), (48, 48, 8)]:
        if key in prog and key in pic and prog[key] != pic[key]:
            errors.append('picture.ico %dx%d %d bpp differs from jukelet.ico'
                          % key)
    for rel in OTHER:
        try:
            data = read(rel)
        except OSError as e:
            errors.append('%s: missing (%s)' % (rel, e.strerror))
            continue
        if rel.endswith('.bmp'):
            check_bmp(rel, data, errors)
        else:
            check_png(rel, data, errors)


def check_reproducible(errors):
    tmp = tempfile.mkdtemp(prefix='jukelet-art-')
    try:
        run = subprocess.run([sys.executable, os.path.join(HERE, 'make_art.py'),
                              '--out', tmp], stdout=subprocess.PIPE,
                             stderr=subprocess.STDOUT)
        if run.returncode != 0:
            errors.append('make_art.py failed:\n' +
                          run.stdout.decode('utf-8', 'replace'))
            return
        for rel in sorted(EXPECTED) + OTHER:
            try:
                fresh = read(rel, tmp)
            except OSError:
                errors.append('%s: not produced by make_art.py' % rel)
                continue
            try:
                kept = read(rel)
            except OSError:
                continue   # already reported
            if fresh != kept:
                errors.append('%s: differs from a fresh make_art.py run' % rel)
    finally:
        shutil.rmtree(tmp)


def main(argv):
    errors = []
    check_tree(errors)
    if '--reproducible' in argv:
        check_reproducible(errors)
    if errors:
        for e in errors:
            print('FAIL ' + e)
        print('art check: %d problem(s)' % len(errors))
        return 1
    print('art ok')
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
