#!/usr/bin/python3
"""Draws every picture Jukelet ships and packs it as .ico/.bmp/.png.

Pure standard library: shapes are signed-distance functions rendered with
8x8 supersampling, then quantised to a palette and packed by hand so the
colour depths are exact.  Output is byte-for-byte stable.

    python3 resources/art/make_art.py [--out DIR]
"""
import math
import os
import struct
import sys
import zlib

# ---------------------------------------------------------------- shapes
# A shape is f(x, y) -> signed distance in pixels (negative inside).
# Pixel (i, j) covers [i, i+1] x [j, j+1].


def clamp(v, lo, hi):
    return lo if v < lo else hi if v > hi else v


def rbox(x0, y0, x1, y1, r=0.0):
    cx, cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
    hx, hy = (x1 - x0) / 2.0 - r, (y1 - y0) / 2.0 - r

    def f(x, y):
        qx = abs(x - cx) - hx
        qy = abs(y - cy) - hy
        ox, oy = max(qx, 0.0), max(qy, 0.0)
        return math.hypot(ox, oy) + min(max(qx, qy), 0.0) - r
    return f


def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def poly(pts):
    pts = [(float(a), float(b)) for a, b in pts]
    n = len(pts)

    def f(x, y):
        d = (x - pts[0][0]) ** 2 + (y - pts[0][1]) ** 2
        s = 1.0
        j = n - 1
        for i in range(n):
            ix, iy = pts[i]
            jx, jy = pts[j]
            ex, ey = jx - ix, jy - iy
            wx, wy = x - ix, y - iy
            t = clamp((wx * ex + wy * ey) / (ex * ex + ey * ey), 0.0, 1.0)
            bx, by = wx - ex * t, wy - ey * t
            d = min(d, bx * bx + by * by)
            c1 = y >= iy
            c2 = y < jy
            c3 = ex * wy > ey * wx
            if (c1 and c2 and c3) or (not c1 and not c2 and not c3):
                s = -s
            j = i
        return s * math.sqrt(d)
    return f


def capsule(ax, ay, bx, by, r):
    def f(x, y):
        px, py = x - ax, y - ay
        ex, ey = bx - ax, by - ay
        t = clamp((px * ex + py * ey) / (ex * ex + ey * ey), 0.0, 1.0)
        return math.hypot(px - ex * t, py - ey * t) - r
    return f


def arc(cx, cy, radius, half_width, gap_deg):
    """Ring with round ends and a gap of gap_deg centred at the top."""
    ap = math.pi - math.radians(gap_deg) / 2.0
    sx, sy = math.sin(ap), math.cos(ap)

    def f(x, y):
        px, py = abs(x - cx), y - cy   # y grows downwards: arc hangs below
        if sy * px > sx * py:
            return math.hypot(px - sx * radius, py - sy * radius) - half_width
        return abs(math.hypot(px, py) - radius) - half_width
    return f


def union(*fs):
    return lambda x, y: min(f(x, y) for f in fs)


def inter(a, b):
    return lambda x, y: max(a(x, y), b(x, y))


def minus(a, b):
    return lambda x, y: max(a(x, y), -b(x, y))


def grow(f, t):
    return lambda x, y: f(x, y) - t


def mirror_x(f, w):
    return lambda x, y: f(w - x, y)


# ---------------------------------------------------------------- paints


def vgrad(y0, y1, stops):
    """Vertical gradient: stops are (t, (r, g, b)) with t in 0..1."""
    def p(x, y):
        t = clamp((y - y0) / float(y1 - y0), 0.0, 1.0)
        for k in range(1, len(stops)):
            if t <= stops[k][0] or k == len(stops) - 1:
                t0, c0 = stops[k - 1]
                t1, c1 = stops[k]
                u = clamp((t - t0) / (t1 - t0), 0.0, 1.0)
                return tuple(c0[i] + (c1[i] - c0[i]) * u for i in range(3))
    return p


def solid(c):
    return lambda x, y: c


def hexc(s):
    return (int(s[0:2], 16), int(s[2:4], 16), int(s[4:6], 16))


# ---------------------------------------------------------------- canvas

SS = 8  # supersampling per axis


class Canvas:
    def __init__(self, w, h):
        self.w, self.h = w, h
        # premultiplied r, g, b (0..255) and alpha (0..1)
        self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(w * h)]

    def fill(self, shape, paint, opacity=1.0):
        offs = [(k + 0.5) / SS for k in range(SS)]
        for j in range(self.h):
            for i in range(self.w):
                d = shape(i + 0.5, j + 0.5)
                if d > 0.75:
                    continue
                if d < -0.75:
                    cov = 1.0
                else:
                    hit = 0
                    for oy in offs:
                        for ox in offs:
                            if shape(i + ox, j + oy) < 0.0:
                                hit += 1
                    if not hit:
                        continue
                    cov = hit / float(SS * SS)
                a = cov * opacity
                c = paint(i + 0.5, j + 0.5)
                p = self.px[j * self.w + i]
                k = 1.0 - a
                p[0] = c[0] * a + p[0] * k
                p[1] = c[1] * a + p[1] * k
                p[2] = c[2] * a + p[2] * k
                p[3] = a + p[3] * k

    def straight(self):
        """List of (r, g, b, a) with un-premultiplied colour."""
        out = []
        for r, g, b, a in self.px:
            if a <= 1e-9:
                out.append((0.0, 0.0, 0.0, 0.0))
            else:
                out.append((r / a, g / a, b / a, a))
        return out


def map_colours(rgba, fn):
    return [(fn((r, g, b)) + (a,)) if a > 0 else (r, g, b, a)
            for r, g, b, a in rgba]


# ---------------------------------------------------------------- palettes

def flatten(rgba, matte, threshold):
    """Opaque 8-bit RGB list with None for transparent pixels."""
    out = []
    for r, g, b, a in rgba:
        if a < threshold:
            out.append(None)
            continue
        if a < 0.999:
            # soft edges are blended onto a toolbar-grey matte
            r = r * a + matte[0] * (1 - a)
            g = g * a + matte[1] * (1 - a)
            b = b * a + matte[2] * (1 - a)
        out.append((int(round(clamp(r, 0, 255))), int(round(clamp(g, 0, 255))),
                    int(round(clamp(b, 0, 255)))))
    return out


def median_cut(colours, n):
    """colours: dict rgb -> count.  Returns up to n rgb tuples."""
    items = sorted(colours.items())
    if len(items) <= n:
        return [c for c, _ in items]
    boxes = [items]

    def spread(box):
        best = (-1, 0)
        for ch in range(3):
            vals = [c[ch] for c, _ in box]
            rng = (max(vals) - min(vals)) * (1.2, 1.4, 1.0)[ch]
            if rng > best[0]:
                best = (rng, ch)
        return best

    while len(boxes) < n:
        cand = None
        for bi, box in enumerate(boxes):
            if len(box) < 2:
                continue
            rng, ch = spread(box)
            weight = sum(k for _, k in box)
            score = rng * math.sqrt(weight)
            if cand is None or score > cand[0]:
                cand = (score, bi, ch)
        if cand is None:
            break
        _, bi, ch = cand
        box = sorted(boxes[bi], key=lambda it: (it[0][ch], it[0]))
        total = sum(k for _, k in box)
        acc = 0
        cut = 1
        for idx, (_, k) in enumerate(box):
            acc += k
            if acc * 2 >= total:
                cut = clamp(idx + 1, 1, len(box) - 1)
                break
        boxes[bi:bi + 1] = [box[:cut], box[cut:]]
    pal = []
    for box in boxes:
        tw = sum(k for _, k in box)
        pal.append(tuple(int(round(sum(c[i] * k for c, k in box) / float(tw)))
                         for i in range(3)))
    return sorted(set(pal))


def nearest(pal, c):
    best, bi = None, 0
    for i, p in enumerate(pal):
        dr, dg, db = c[0] - p[0], c[1] - p[1], c[2] - p[2]
        d = 3 * dr * dr + 4 * dg * dg + 2 * db * db
        if best is None or d < best:
            best, bi = d, i
    return bi


def to_indexed(flat, ncolours):
    """Palette (index 0 = black, used by transparent pixels) + indices."""
    counts = {}
    for c in flat:
        if c is not None and c != (0, 0, 0):
            counts[c] = counts.get(c, 0) + 1
    pal = [(0, 0, 0)] + [c for c in median_cut(counts, ncolours - 1)
                         if c != (0, 0, 0)]
    cache = {}
    idx = []
    for c in flat:
        if c is None:
            idx.append(0)
        else:
            if c not in cache:
                cache[c] = nearest(pal, c)
            idx.append(cache[c])
    return pal, idx


# ---------------------------------------------------------------- packing

def dib_icon(w, h, bpp, pal, idx, mask):
    """BITMAPINFOHEADER + palette + XOR bits + AND mask for an icon."""
    ncol = 1 << bpp
    pal = list(pal) + [(0, 0, 0)] * (ncol - len(pal))
    xor_stride = ((w * bpp + 31) // 32) * 4
    and_stride = ((w + 31) // 32) * 4
    xor = bytearray()
    andm = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray(xor_stride)
        mrow = bytearray(and_stride)
        for x in range(w):
            v = idx[y * w + x]
            if bpp == 8:
                row[x] = v
            else:
                row[x >> 1] |= (v << 4) if x % 2 == 0 else v
            if mask[y * w + x]:
                mrow[x >> 3] |= 0x80 >> (x & 7)
        xor += row
        andm += mrow
    hdr = struct.pack('<IiiHHIIiiII', 40, w, h * 2, 1, bpp, 0,
                      len(xor) + len(andm), 0, 0, 0, 0)
    quads = b''.join(struct.pack('BBBB', b, g, r, 0) for r, g, b in pal)
    return hdr + quads + bytes(xor) + bytes(andm)


def pack_ico(images):
    """images: list of (w, h, bpp, dib bytes)."""
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    body = b''
    for w, h, bpp, dib in images:
        out += struct.pack('<BBBBHHII', w % 256, h % 256,
                           16 if bpp == 4 else 0, 0, 1, bpp, len(dib), offset)
        offset += len(dib)
        body += dib
    return out + body


def icon_image(rgba, w, h, bpp, matte, threshold=0.45):
    flat = flatten(rgba, matte, threshold)
    pal, idx = to_indexed(flat, 1 << bpp)
    mask = [c is None for c in flat]
    return (w, h, bpp, dib_icon(w, h, bpp, pal, idx, mask))


def decode_dib(dib):
    """Back to RGBA 8-bit (for contact sheets); transparent -> None."""
    (_, w, h2, _, bpp, _, _, _, _, used, _) = struct.unpack_from(
        '<IiiHHIIiiII', dib, 0)
    h = h2 // 2
    ncol = used or (1 << bpp)
    pal = [(dib[40 + 4 * i + 2], dib[40 + 4 * i + 1], dib[40 + 4 * i])
           for i in range(ncol)]
    off = 40 + 4 * ncol
    xs = ((w * bpp + 31) // 32) * 4
    ms = ((w + 31) // 32) * 4
    moff = off + xs * h
    out = []
    for y in range(h):
        ry = h - 1 - y
        for x in range(w):
            if bpp == 8:
                v = dib[off + ry * xs + x]
            else:
                b = dib[off + ry * xs + (x >> 1)]
                v = (b >> 4) if x % 2 == 0 else (b & 15)
            m = dib[moff + ry * ms + (x >> 3)] & (0x80 >> (x & 7))
            out.append(None if m else pal[v])
    return w, h, out


def pack_bmp8(w, h, pal, idx):
    stride = (w + 3) // 4 * 4
    bits = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray(stride)
        row[:w] = bytes(idx[y * w:(y + 1) * w])
        bits += row
    quads = b''.join(struct.pack('BBBB', b, g, r, 0) for r, g, b in pal)
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 8, 0, len(bits),
                       2835, 2835, len(pal), 0)
    off = 14 + len(info) + len(quads)
    fh = struct.pack('<2sIHHI', b'BM', off + len(bits), 0, 0, off)
    return fh + info + quads + bytes(bits)


def pack_png(w, h, rgb):
    raw = bytearray()
    for y in range(h):
        raw.append(0)
        for x in range(w):
            raw += bytes(rgb[y * w + x])

    def chunk(tag, data):
        c = struct.pack('>I', len(data)) + tag + data
        return c + struct.pack('>I', zlib.crc32(tag + data) & 0xffffffff)
    return (b'\x89PNG\r\n\x1a\n'
            + chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, 8, 2, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(bytes(raw), 9))
            + chunk(b'IEND', b''))


# ---------------------------------------------------------------- toolbar

MATTE = (200, 200, 200)   # between classic and 2000-era button faces

HOT = {
    'outline': hexc('0b2f63'),
    'stops': [(0.0, hexc('8fe3ff')), (0.45, hexc('2fa4f0')),
              (1.0, hexc('0a55b8'))],
}


def glyph_shape(name, n):
    """Returns the glyph's fill shape for an n x n icon (16 or 20)."""
    if name == 'play':
        if n == 20:
            return poly([(7, 4), (7, 16), (16, 10)])
        return poly([(5, 3), (5, 13), (13, 8)])
    if name == 'pause':
        if n == 20:
            return union(rbox(5, 4, 8, 16, 0.5), rbox(12, 4, 15, 16, 0.5))
        return union(rbox(4, 3, 7, 13, 0.5), rbox(9, 3, 12, 13, 0.5))
    if name == 'stop':
        if n == 20:
            return rbox(5, 5, 15, 15, 1.0)
        return rbox(4, 4, 12, 12, 1.0)
    if name in ('prev', 'next'):
        # 45-degree flanks land on whole pixels, so the steps stay crisp
        if n == 20:
            s = union(rbox(2, 4, 4, 16, 0.3),
                      poly([(5, 10), (11, 4), (11, 16)]),
                      poly([(11, 10), (17, 4), (17, 16)]))
        else:
            s = union(rbox(2, 4, 4, 12, 0.3),
                      poly([(5, 8), (9, 4), (9, 12)]),
                      poly([(9, 8), (13, 4), (13, 12)]))
        return s if name == 'prev' else mirror_x(s, n)
    if name == 'start':
        if n == 20:
            return union(arc(10, 10.5, 6.0, 1.25, 84),
                         capsule(10, 3.25, 10, 9.5, 1.25))
        return union(arc(8, 8.5, 5.0, 1.0, 90),
                     capsule(8, 2.0, 8, 7.5, 1.0))
    if name == 'minimize':
        if n == 20:
            return rbox(3, 3, 17, 16, 0)
        return rbox(2, 2, 14, 14, 0)
    raise KeyError(name)


def glyph_extent(shape, n):
    top, bot = n, 0
    for j in range(n * 4):
        y = (j + 0.5) / 4.0
        for i in range(n * 4):
            if shape((i + 0.5) / 4.0, y) < 0:
                top, bot = min(top, y), max(bot, y)
                break
    return top, bot


def render_glyph(name, n):
    shape = glyph_shape(name, n)
    top, bot = glyph_extent(shape, n)
    c = Canvas(n, n)
    c.fill(grow(shape, 1.0), solid(HOT['outline']))
    c.fill(shape, vgrad(top, bot, HOT['stops']))
    if name == 'minimize':
        # pale client area under a title bar, holding the minimise bar
        win = shape
        t, by = (6, 11) if n == 20 else (4, 9)
        bar = rbox(5, by, 12, by + 2, 0) if n == 20 else \
            rbox(4, by, 9, by + 2, 0)
        c.fill(inter(win, rbox(-1, -1, n + 1, t, 0)),
               vgrad(top, t, HOT['stops']))
        c.fill(inter(win, rbox(-1, t, n + 1, t + 1, 0)),
               solid(HOT['outline']))
        c.fill(inter(win, rbox(-1, t + 1, n + 1, n + 1, 0)),
               vgrad(t + 1, n - 3, [(0.0, hexc('ffffff')),
                                    (1.0, hexc('d6eafa'))]))
        c.fill(grow(bar, 1.0), solid(HOT['outline']))
        c.fill(bar, vgrad(by, by + 2, HOT['stops']))
    return c.straight()


def dim(rgb):
    # greyscale, squeezed toward the button face so it reads as inactive
    lum = 0.299 * rgb[0] + 0.587 * rgb[1] + 0.114 * rgb[2]
    v = 62 + 0.62 * lum
    return (v, v, v)


TOOLBAR = ['prev', 'play', 'pause', 'stop', 'next', 'start', 'minimize']
TB_ORDER = [(20, 8), (20, 4), (16, 4), (16, 8)]


def build_toolbar():
    files = {}
    for name in TOOLBAR:
        hot = {n: render_glyph(name, n) for n in (20, 16)}
        for state in ('default', 'hot'):
            imgs = []
            for n, bpp in TB_ORDER:
                rgba = hot[n] if state == 'hot' else map_colours(hot[n], dim)
                imgs.append(icon_image(rgba, n, n, bpp, MATTE))
            files['resources/toolbar/%s_%s.ico' % (name, state)] = imgs
    return files


# ---------------------------------------------------------------- app icon

APP = {
    'outline': hexc('6b2a06'),
    'body': [(0.0, hexc('ffc45c')), (0.5, hexc('ff8a1f')),
             (1.0, hexc('d9480f'))],
    'bar': [(0.0, hexc('ffffff')), (1.0, hexc('c9d2de'))],
    'button': hexc('1d5fb8'),
    'tri_edge': hexc('9a3b0a'),
    'tri': [(0.0, hexc('ffffff')), (1.0, hexc('fde6cf'))],
}

# per size: body box, corner radius, toolbar bottom, button centres + radius,
# play triangle points
APP_GEOM = {
    48: dict(body=(3, 3, 45, 45), r=8, bar=15, dots=[(11, 9.5), (18, 9.5),
             (25, 9.5)], dot_r=2.5, tri=[(19, 20), (19, 39), (35, 29.5)]),
    32: dict(body=(2, 2, 30, 30), r=5.5, bar=10, dots=[(7.5, 6.25),
             (12.5, 6.25), (17.5, 6.25)], dot_r=1.75,
             tri=[(12.5, 13.5), (12.5, 26.5), (23.5, 20)]),
    16: dict(body=(1, 1, 15, 15), r=3, bar=5, dots=[(4, 3), (7, 3)],
             dot_r=1.0, tri=[(6, 7), (6, 13), (11.5, 10)]),
}


def render_app(n):
    g = APP_GEOM[n]
    x0, y0, x1, y1 = g['body']
    body = rbox(x0, y0, x1, y1, g['r'])
    c = Canvas(n, n)
    c.fill(grow(body, 1.0), solid(APP['outline']))
    c.fill(body, vgrad(g['bar'], y1, APP['body']))
    bar = inter(body, rbox(x0 - 1, y0 - 1, x1 + 1, g['bar'], 0))
    c.fill(bar, vgrad(y0, g['bar'], APP['bar']))
    c.fill(inter(body, rbox(x0, g['bar'], x1, g['bar'] + 1, 0)),
           solid(APP['outline']), 0.55)
    for cx, cy in g['dots']:
        c.fill(circle(cx, cy, g['dot_r']), solid(APP['button']))
    tri = poly(g['tri'])
    if n > 16:
        # soft drop shadow lifts the play button off the body
        k = n / 32.0
        c.fill(grow(poly([(x + k, y + k) for x, y in g['tri']]), 0.5 * k),
               solid(APP['tri_edge']), 0.45)
        c.fill(grow(tri, 0.6), solid(APP['tri_edge']), 0.35)
    c.fill(tri, vgrad(g['tri'][0][1], g['tri'][1][1], APP['tri']))
    return c.straight()


APP_MATTE = (192, 192, 192)


def build_icons():
    img = {}
    for n in (16, 32, 48):
        rgba = render_app(n)
        for bpp in (4, 8):
            img[(n, bpp)] = icon_image(rgba, n, n, bpp, APP_MATTE)
    prog = [img[(16, 4)], img[(32, 4)], img[(48, 4)], img[(32, 8)],
            img[(48, 8)]]
    pic = [img[(16, 4)], img[(16, 8)], img[(32, 4)], img[(32, 8)],
           img[(48, 4)], img[(48, 8)]]
    return {'resources/jukelet.ico': prog, 'resources/picture.ico': pic}


# ---------------------------------------------------------------- pixel fonts

WORDMARK = {   # bold 2-px strokes, 11 rows, baseline under row 10
    'J': ['..####', '..####', '....##', '....##', '....##', '....##',
          '....##', '##..##', '##..##', '######', '.####.'],
    'u': ['', '', '', '##..##', '##..##', '##..##', '##..##', '##..##',
          '##..##', '######', '.##.##'],
    'k': ['##....', '##....', '##....', '##..##', '##.##.', '####..',
          '###...', '####..', '##.##.', '##..##', '##..##'],
    'e': ['', '', '', '.####.', '##..##', '##..##', '######', '##....',
          '##...#', '######', '.####.'],
    'l': ['##', '##', '##', '##', '##', '##', '##', '##', '##', '##', '##'],
    't': ['', '.##..', '.##..', '#####', '#####', '.##..', '.##..', '.##..',
          '.##..', '.####', '..###'],
}

TINY = {   # 3x5 capitals (M, W five wide)
    'A': ['.#.', '#.#', '###', '#.#', '#.#'],
    'E': ['###', '#..', '##.', '#..', '###'],
    'I': ['#', '#', '#', '#', '#'],
    'M': ['#...#', '##.##', '#.#.#', '#...#', '#...#'],
    'N': ['#..#', '##.#', '#.##', '#..#', '#..#'],
    'O': ['.#.', '#.#', '#.#', '#.#', '.#.'],
    'P': ['##.', '#.#', '##.', '#..', '#..'],
    'R': ['##.', '#.#', '##.', '#.#', '#.#'],
    'T': ['###', '.#.', '.#.', '.#.', '.#.'],
    'W': ['#...#', '#...#', '#.#.#', '#.#.#', '.#.#.'],
    ' ': ['..', '..', '..', '..', '..'],
}

# 5x7 lowercase label font with two descender rows
_F = {
    'a': '..... ..... .###. ....# .#### #...# .####',
    'b': '#.... #.... ####. #...# #...# #...# ####.',
    'c': '..... ..... .###. #.... #.... #.... .###.',
    'd': '....# ....# .#### #...# #...# #...# .####',
    'e': '..... ..... .###. #...# ##### #.... .###.',
    'f': '..##. .#... ####. .#... .#... .#... .#...',
    'g': '..... ..... .#### #...# #...# #...# .#### ....# .###.',
    'h': '#.... #.... ####. #...# #...# #...# #...#',
    'i': '..#.. ..... .##.. ..#.. ..#.. ..#.. .###.',
    'j': '...#. ..... ..##. ...#. ...#. ...#. ...#. #..#. .##..',
    'k': '#.... #.... #..#. #.#.. ##... #.#.. #..#.',
    'l': '.##.. ..#.. ..#.. ..#.. ..#.. ..#.. .###.',
    'm': '..... ..... ##.#. #.#.# #.#.# #.#.# #.#.#',
    'n': '..... ..... ####. #...# #...# #...# #...#',
    'o': '..... ..... .###. #...# #...# #...# .###.',
    'p': '..... ..... ####. #...# #...# #...# ####. #.... #....',
    'q': '..... ..... .#### #...# #...# #...# .#### ....# ....#',
    'r': '..... ..... #.##. ##..# #.... #.... #....',
    's': '..... ..... .#### #.... .###. ....# ####.',
    't': '.#... .#... ####. .#... .#... .#..# ..##.',
    'u': '..... ..... #...# #...# #...# #..## .##.#',
    'v': '..... ..... #...# #...# #...# .#.#. ..#..',
    'w': '..... ..... #...# #...# #.#.# #.#.# .#.#.',
    'x': '..... ..... #...# .#.#. ..#.. .#.#. #...#',
    'y': '..... ..... #...# #...# #...# #..## .##.# ....# .###.',
    'z': '..... ..... ##### ...#. ..#.. .#... #####',
    '0': '.###. #...# #..## #.#.# ##..# #...# .###.',
    '1': '..#.. .##.. ..#.. ..#.. ..#.. ..#.. .###.',
    '2': '.###. #...# ....# ...#. ..#.. .#... #####',
    '3': '##### ...#. ..#.. ...#. ....# #...# .###.',
    '4': '...#. ..##. .#.#. #..#. ##### ...#. ...#.',
    '5': '##### #.... ####. ....# ....# #...# .###.',
    '6': '..##. .#... #.... ####. #...# #...# .###.',
    '7': '##### ....# ...#. ..#.. .#... .#... .#...',
    '8': '.###. #...# #...# .###. #...# #...# .###.',
    '9': '.###. #...# #...# .#### ....# ...#. .##..',
    '_': '..... ..... ..... ..... ..... ..... ..... #####',
    '.': '..... ..... ..... ..... ..... .##.. .##..',
    '%': '##... ##..# ...#. ..#.. .#... #..## ...##',
    '-': '..... ..... ..... .###. ..... ..... .....',
    ':': '..... ..... .##.. .##.. ..... .##.. .##..',
    '(': '...#. ..#.. .#... .#... .#... ..#.. ...#.',
    ')': '.#... ..#.. ...#. ...#. ...#. ..#.. .#...',
    '/': '....# ....# ...#. ..#.. .#... #.... #....',
    ',': '..... ..... ..... ..... ..... ..#.. ..#.. .#...',
    ' ': '..... ..... ..... ..... ..... ..... .....',
}
LABEL = {k: v.split() for k, v in _F.items()}


def text_width(text, font, gap=1):
    return sum(max(len(r) for r in font[ch]) + gap for ch in text) - gap


def draw_text(setpx, x, y, text, font, colour, gap=1):
    for ch in text:
        rows = font[ch]
        w = max(len(r) for r in rows)
        for j, row in enumerate(rows):
            for i, v in enumerate(row):
                if v == '#':
                    setpx(x + i, y + j, colour)
        x += w + gap
    return x


# ---------------------------------------------------------------- banner

BW, BH = 88, 31


def render_banner():
    c = Canvas(BW, BH)
    full = rbox(0, 0, BW, BH, 0)
    c.fill(full, vgrad(0, BH, [(0.0, hexc('2c5d9e')), (0.55, hexc('173c73')),
                               (1.0, hexc('0d2447'))]))
    # classic badge bevel
    c.fill(minus(full, rbox(1, 1, BW, BH, 0)), solid(hexc('7fa7dd')))
    c.fill(minus(full, rbox(0, 0, BW - 1, BH - 1, 0)), solid(hexc('06142b')))
    # play disc
    disc = circle(15.5, 15.5, 11.5)
    c.fill(grow(disc, 1.0), solid(hexc('06142b')), 0.8)
    c.fill(disc, vgrad(4, 27, APP['body']))
    c.fill(inter(disc, circle(15.5, 9.0, 8.5)), solid((255, 255, 255)), 0.22)
    tri = poly([(12, 9), (12, 22), (22.5, 15.5)])
    c.fill(grow(tri, 0.8), solid(hexc('9a3b0a')), 0.6)
    c.fill(tri, vgrad(9, 22, APP['tri']))
    rgba = c.straight()
    px = [(int(round(r)), int(round(g)), int(round(b))) for r, g, b, _ in rgba]

    def setpx(x, y, col, alpha=1.0):
        if 0 <= x < BW and 0 <= y < BH:
            o = px[y * BW + x]
            px[y * BW + x] = tuple(int(round(o[k] * (1 - alpha)
                                             + col[k] * alpha))
                                   for k in range(3))

    word = 'Jukelet'
    ww = text_width(word, WORDMARK)
    wx = 31 + (BW - 2 - 31 - ww) // 2
    wy = 5
    draw_text(lambda x, y, col: setpx(x, y, col, 0.75), wx + 1, wy + 1, word,
              WORDMARK, hexc('040c1a'))
    # warm vertical sheen on the wordmark
    draw_text(lambda x, y, col: setpx(x, y, vgrad(wy, wy + 10, [
        (0.0, (255, 255, 255)), (1.0, hexc('ffd9a0'))])(x, y)),
        wx, wy, word, WORDMARK, None)
    tag = 'WINAMP REMOTE'
    tw = text_width(tag, TINY)
    tx = 31 + (BW - 2 - 31 - tw) // 2
    draw_text(lambda x, y, col: setpx(x, y, col), tx, 20, tag, TINY,
              hexc('9fd0ff'))
    return px


def build_banner():
    px = render_banner()
    pal, idx = to_indexed(px, 244)
    return pack_bmp8(BW, BH, pal, idx), px


# ---------------------------------------------------------------- sheets

class Sheet:
    def __init__(self, w, h, bg):
        self.w, self.h = w, h
        self.px = [bg] * (w * h)

    def set(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y * self.w + x] = c

    def rect(self, x, y, w, h, c):
        for j in range(y, y + h):
            for i in range(x, x + w):
                self.set(i, j, c)

    def image(self, x, y, w, h, pixels, scale):
        for j in range(h):
            for i in range(w):
                c = pixels[j * w + i]
                if c is None:
                    continue
                self.rect(x + i * scale, y + j * scale, scale, scale, c)

    def text(self, x, y, s, c=(40, 40, 40)):
        draw_text(self.set, x, y, s, LABEL, c)

    def png(self):
        return pack_png(self.w, self.h, self.px)


SHEET_BG = (244, 244, 240)
FRAME = (214, 214, 208)


DEPTH_NAME = {4: '16c', 8: '256c'}


def icon_cells(s, x, y, images, cell_w=None):
    """Each image at 400 % in a frame, caption, then at 100 % below."""
    tall = max(ih for _, ih, _, _ in images)
    for iw, ih, bpp, dib in images:
        _, _, pix = decode_dib(dib)
        s.rect(x, y, 4 * iw + 2, 4 * ih + 2, FRAME)
        s.rect(x + 1, y + 1, 4 * iw, 4 * ih, SHEET_BG)
        s.image(x + 1, y + 1, iw, ih, pix, 4)
        s.text(x, y + 4 * tall + 6, '%dx%d %s' % (iw, ih, DEPTH_NAME[bpp]),
               (110, 110, 110))
        s.image(x + 1, y + 4 * tall + 20, iw, ih, pix, 1)
        x += (cell_w or 4 * iw + 16)
    return 4 * tall + 20 + tall


def toolbar_sheet(files):
    cell = 92
    row_h = 162
    col_w = 4 * cell + 24
    w = 14 + 2 * col_w
    h = 34 + len(TOOLBAR) * row_h
    s = Sheet(w, h, SHEET_BG)
    s.text(14, 10, 'jukelet toolbar icons - 400% with 100% below')
    for r, name in enumerate(TOOLBAR):
        for k, state in enumerate(('default', 'hot')):
            fn = 'resources/toolbar/%s_%s.ico' % (name, state)
            x0 = 14 + k * col_w
            y0 = 34 + r * row_h
            s.text(x0, y0, fn.split('/')[-1])
            icon_cells(s, x0, y0 + 12, files[fn], cell)
    return s.png()


def program_sheet(icons, banner_px):
    w, h = 880, 790
    s = Sheet(w, h, SHEET_BG)
    s.text(14, 10, 'jukelet program art - 400% with 100% below')
    y = 34
    for fn in ('resources/jukelet.ico', 'resources/picture.ico'):
        s.text(14, y, fn.split('/')[-1])
        y += 12 + icon_cells(s, 14, y + 12, icons[fn]) + 24
    s.text(14, y, 'banner.bmp')
    s.rect(14, y + 12, 4 * BW + 2, 4 * BH + 2, FRAME)
    s.image(15, y + 13, BW, BH, banner_px, 4)
    s.image(4 * BW + 40, y + 13, BW, BH, banner_px, 1)
    return s.png()


# ---------------------------------------------------------------- main

def decode_bmp8(data):
    off = struct.unpack_from('<I', data, 10)[0]
    (_, w, h, _, _, _, _, _, _, used, _) = struct.unpack_from(
        '<IiiHHIIiiII', data, 14)
    pal = [(data[54 + 4 * i + 2], data[54 + 4 * i + 1], data[54 + 4 * i])
           for i in range(used)]
    stride = (w + 3) // 4 * 4
    return [pal[data[off + (h - 1 - y) * stride + x]]
            for y in range(h) for x in range(w)]


def main(argv):
    out = os.path.normpath(os.path.join(os.path.dirname(
        os.path.abspath(__file__)), '..', '..'))
    if '--out' in argv:
        out = argv[argv.index('--out') + 1]
    written = {}
    toolbar = build_toolbar()
    for fn, imgs in toolbar.items():
        written[fn] = pack_ico(imgs)
    icons = build_icons()
    for fn, imgs in icons.items():
        written[fn] = pack_ico(imgs)
    bmp, _ = build_banner()
    written['resources/banner.bmp'] = bmp
    written['docs/toolbar-icons.png'] = toolbar_sheet(toolbar)
    written['docs/program-art.png'] = program_sheet(icons, decode_bmp8(bmp))
    for fn in sorted(written):
        path = os.path.join(out, fn)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, 'wb') as f:
            f.write(written[fn])
    print('wrote %d files under %s' % (len(written), out))


if __name__ == '__main__':
    main(sys.argv[1:])
