#!/usr/bin/env python3
"""Draws the program icon (a folder with an arrow): the Windows .ico and the Linux icon theme's
PNG and SVG files, all from the one shape below, so both platforms show the same artwork.

The .ico holds 16x16 in 16 colours, 32x32 and 48x48 in 256 colours (BMP format); the PNGs are
the same pixels with transparency; the SVG draws the same shape and gradients. Standard library only.
Usage: tools/make-icon.py [output folder]   (default: data/icons)
"""
import os
import struct
import sys
import zlib

# The 16 standard Windows colours (R, G, B).
VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
       (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
       (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
BLACK, OLIVE, NAVY, YELLOW, BLUE, WHITE = 0, 3, 4, 11, 12, 15
SHADES = 24  # gradient steps per part in the 256-colour images


def palette256():
    pal = list(VGA)
    for i in range(SHADES):  # folder: light to deep yellow
        t = i / (SHADES - 1)
        pal.append((255, int(236 - 60 * t), int(140 - 110 * t)))
    for i in range(SHADES):  # tab: darker
        t = i / (SHADES - 1)
        pal.append((int(230 - 40 * t), int(180 - 50 * t), int(60 - 40 * t)))
    for i in range(SHADES):  # arrow: light to deep blue
        t = i / (SHADES - 1)
        pal.append((int(90 - 70 * t), int(150 - 90 * t), int(255 - 60 * t)))
    pal += [(0, 0, 0)] * (256 - len(pal))
    return pal


def part(x, y):
    """What the shape holds at (x, y), both in 0..1: None, 'edge', 'tab', 'body', 'arrow'."""
    def in_arrow(px, py):
        if 0.26 <= px <= 0.58 and 0.50 <= py <= 0.66:
            return True
        # head: triangle with its tip at the right
        if 0.56 <= px <= 0.86:
            half = 0.20 * (0.86 - px) / 0.30
            return abs(py - 0.58) <= half
        return False

    if in_arrow(x, y):
        return 'arrow'
    tab = 0.06 <= x <= 0.46 and 0.16 <= y <= 0.30
    body = 0.06 <= x <= 0.94 and 0.26 <= y <= 0.86
    if not (tab or body):
        return None
    return 'body' if body else 'tab'


def render(size, colours):
    """Rows top to bottom of palette indexes, None where transparent."""
    rows = []
    for j in range(size):
        row = []
        for i in range(size):
            x, y = (i + 0.5) / size, (j + 0.5) / size
            p = part(x, y)
            if p is None:
                row.append(None)
                continue
            # the outline: a pixel with an empty or different neighbour outside the arrow
            d = 1.0 / size
            near = [part(x + dx, y + dy) for dx, dy in ((d, 0), (-d, 0), (0, d), (0, -d))]
            if p != 'arrow' and None in near:
                row.append(BLACK if colours == 16 else OLIVE)
            elif p == 'arrow' and any(n != 'arrow' for n in near):
                row.append(NAVY)
            elif colours == 16:
                row.append({'tab': OLIVE, 'body': YELLOW, 'arrow': BLUE}[p])
            else:
                step = min(SHADES - 1, int(y * SHADES))
                base = {'body': 16, 'tab': 16 + SHADES, 'arrow': 16 + 2 * SHADES}[p]
                row.append(base + step)
        rows.append(row)
    return rows


def bmp_image(size, colours):
    bpp = 4 if colours == 16 else 8
    pal = VGA if colours == 16 else palette256()
    rows = render(size, colours)
    xor_stride = ((size * bpp + 31) // 32) * 4
    and_stride = ((size + 31) // 32) * 4
    xor = bytearray()
    mask = bytearray()
    for row in reversed(rows):  # bottom-up
        line = bytearray(xor_stride)
        bits = bytearray(and_stride)
        for i, c in enumerate(row):
            idx = 0 if c is None else c
            if bpp == 4:
                line[i // 2] |= idx << (4 if i % 2 == 0 else 0)
            else:
                line[i] = idx
            if c is None:
                bits[i // 8] |= 0x80 >> (i % 8)
        xor += line
        mask += bits
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, bpp, 0, len(xor) + len(mask),
                         0, 0, 0, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in pal)
    return header + palette + bytes(xor) + bytes(mask), bpp


def ico_file():
    images = [(16, 16), (32, 256), (48, 256)]
    blobs = [bmp_image(size, colours) for size, colours in images]
    data = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for (size, colours), (blob, bpp) in zip(images, blobs):
        data += struct.pack('<BBBBHHII', size, size, 16 if colours == 16 else 0, 0, 1, bpp,
                            len(blob), offset)
        offset += len(blob)
    return data + b''.join(blob for blob, _ in blobs)


def png_file(size, colours):
    """The .ico image of that size as an RGBA PNG."""
    pal = VGA if colours == 16 else palette256()
    raw = bytearray()
    for row in render(size, colours):
        raw.append(0)  # filter: none
        for c in row:
            raw += bytes((0, 0, 0, 0)) if c is None else bytes(pal[c]) + b'\xff'

    def chunk(kind, body):
        return (struct.pack('>I', len(body)) + kind + body +
                struct.pack('>I', zlib.crc32(kind + body) & 0xffffffff))

    return (b'\x89PNG\r\n\x1a\n' +
            chunk(b'IHDR', struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0)) +
            chunk(b'IDAT', zlib.compress(bytes(raw), 9)) + chunk(b'IEND', b''))


def svg_file():
    """part() as paths on a 48-unit canvas; the gradients run top to bottom like the shades."""
    pal = palette256()

    def stops(base):
        lo, hi = pal[base], pal[base + SHADES - 1]
        return ''.join(f'<stop offset="{o}" stop-color="#{r:02x}{g:02x}{b:02x}"/>'
                       for o, (r, g, b) in (('0', lo), ('1', hi)))

    def grad(name, base):
        return (f'<linearGradient id="{name}" gradientUnits="userSpaceOnUse" x1="0" y1="0" '
                f'x2="0" y2="48">{stops(base)}</linearGradient>')

    def pt(x, y):
        return f'{x * 48:g},{y * 48:g}'

    folder = (f'M{pt(0.06, 0.16)} H{0.46 * 48:g} V{0.26 * 48:g} H{0.94 * 48:g} V{0.86 * 48:g} '
              f'H{0.06 * 48:g} Z')
    arrow = (f'M{pt(0.26, 0.50)} H{0.56 * 48:g} V{0.38 * 48:g} L{pt(0.86, 0.58)} '
             f'L{pt(0.56, 0.78)} V{0.66 * 48:g} H{0.26 * 48:g} Z')
    return ('<?xml version="1.0" encoding="UTF-8"?>\n'
            '<svg xmlns="http://www.w3.org/2000/svg" width="48" height="48" viewBox="0 0 48 48">\n'
            f'<defs>{grad("body", 16)}{grad("arrow", 16 + 2 * SHADES)}</defs>\n'
            f'<path d="{folder}" fill="url(#body)" stroke="#808000" stroke-width="1" '
            'stroke-linejoin="miter"/>\n'
            f'<path d="{arrow}" fill="url(#arrow)" stroke="#000080" stroke-width="1" '
            'stroke-linejoin="miter"/>\n'
            '</svg>\n').encode()


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, '..', 'data', 'icons')
    files = {'kivoret.ico': ico_file(), 'kivoret.svg': svg_file()}
    for size, colours in ((16, 16), (32, 256), (48, 256)):
        files[f'kivoret-{size}.png'] = png_file(size, colours)
    os.makedirs(out, exist_ok=True)
    for name, data in files.items():
        with open(os.path.join(out, name), 'wb') as f:
            f.write(data)


if __name__ == '__main__':
    main()
