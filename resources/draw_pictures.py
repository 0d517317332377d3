#!/usr/bin/env python3
"""Draws the program's pictures into the build's generated folder.

lumitrax.ico: the application icon group "A" - a dark key cap carrying three lit
LED cells - at 16, 24, 32, 48, 64, 96, 128 and 256 pixels. Up to 32 pixels the
images are 32-bit bitmaps with alpha and an AND mask; the larger ones are stored
as PNG (32-bit RGBA), which Windows Vista and later read inside an icon and
which keeps them a fraction of the size. Every size is rendered from the same
vector description with 4 x 4 supersampling, so the output is identical on
every machine.

led_on.bmp, led_off.bmp: the lock buttons' glyphs, 16 x 16 256-colour bitmaps of
a round LED on the transparent colour 0xFF00FF (its lower-left pixel); and
led_on_N.bmp, led_off_N.bmp, the same drawn at 20, 24 and 32 pixels for the
larger scales.

Usage: draw_pictures.py OUTPUT_DIR
"""
import os
import struct
import sys
import zlib

ICON_SIZES = (16, 24, 32, 48, 64, 96, 128, 256)
# From this size up the images are stored as PNG.
PNG_FROM_SIZE = 48
SUPERSAMPLE = 4

# The three LEDs of the emblem, as they look when lit (R, G, B).
LED_COLOURS = ((0x2E, 0xE0, 0x55), (0xFF, 0xB4, 0x1E), (0xFF, 0x3B, 0x30))


def rounded_rect_contains(x, y, left, top, right, bottom, radius):
    if x < left or x >= right or y < top or y >= bottom:
        return False
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def emblem_sample(x, y, size):
    """Colour (r, g, b, a) of the emblem at unit coordinates x, y in [0, 1)."""
    # Small sizes get a thicker margin-free cap and chunkier LEDs so they stay legible.
    small = size <= 24
    margin = 0.02 if small else 0.05
    radius = 0.14 if small else 0.17
    if not rounded_rect_contains(x, y, margin, margin, 1 - margin, 1 - margin, radius):
        return None
    # Key cap: a lighter rim around a darker top face, shaded top to bottom.
    rim = 0.05 if small else 0.07
    inside = rounded_rect_contains(x, y, margin + rim, margin + rim * 0.7,
                                   1 - margin - rim, 1 - margin - rim * 1.6, radius * 0.75)
    if inside:
        colour = mix((0x3C, 0x43, 0x52), (0x23, 0x27, 0x30), y)
    else:
        colour = mix((0x5A, 0x63, 0x75), (0x14, 0x17, 0x1D), y)
    # The LED row: three cells across the middle of the cap.
    led_top, led_bottom = (0.30, 0.72) if small else (0.36, 0.66)
    led_left, led_right = (0.14, 0.86) if small else (0.19, 0.81)
    gap = 0.06 if small else 0.045
    width = (led_right - led_left - 2 * gap) / 3
    for index, lit in enumerate(LED_COLOURS):
        left = led_left + index * (width + gap)
        # A soft glow around each LED on the larger sizes.
        if not small:
            cx, cy = left + width / 2, (led_top + led_bottom) / 2
            dx = max(abs(x - cx) - width / 2, 0)
            dy = max(abs(y - cy) - (led_bottom - led_top) / 2, 0)
            distance = (dx * dx + dy * dy) ** 0.5
            if 0 < distance < 0.05:
                colour = mix(colour, lit, 0.35 * (1 - distance / 0.05))
        if rounded_rect_contains(x, y, left, led_top, left + width, led_bottom,
                                 width * (0.18 if small else 0.25)):
            # Brighter in the upper third, like light under a lens.
            t = (y - led_top) / (led_bottom - led_top)
            highlight = max(0.0, 0.45 - t) * 0.9
            colour = mix(lit, (0xFF, 0xFF, 0xFF), highlight)
    return colour + (255,)


def render(size):
    """Premultiplied-free BGRA rows, top to bottom."""
    rows = []
    n = SUPERSAMPLE
    for py in range(size):
        row = bytearray()
        for px in range(size):
            r = g = b = a = 0.0
            for sy in range(n):
                for sx in range(n):
                    sample = emblem_sample((px + (sx + 0.5) / n) / size,
                                           (py + (sy + 0.5) / n) / size, size)
                    if sample:
                        r += sample[0]
                        g += sample[1]
                        b += sample[2]
                        a += 1
            if a:
                row += bytes((round(b / a), round(g / a), round(r / a), round(255 * a / (n * n))))
            else:
                row += bytes(4)
        rows.append(bytes(row))
    return rows


def dib_image(size, rows):
    """A 32-bit DIB icon image: header, XOR bitmap bottom-up, AND mask bottom-up."""
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = b''.join(reversed(rows))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x in range(size):
            if row[x * 4 + 3] == 0:  # fully transparent pixels are masked out
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + xor + bytes(mask)


def png_filtered(previous, line, kind):
    """One PNG filter (0 none, 1 sub, 2 up, 3 average, 4 Paeth) of a line of 4-byte pixels."""
    out = bytearray(len(line))
    for i, value in enumerate(line):
        left = line[i - 4] if i >= 4 else 0
        up = previous[i]
        corner = previous[i - 4] if i >= 4 else 0
        if kind == 0:
            predictor = 0
        elif kind == 1:
            predictor = left
        elif kind == 2:
            predictor = up
        elif kind == 3:
            predictor = (left + up) // 2
        else:
            estimate = left + up - corner
            pa, pb, pc = abs(estimate - left), abs(estimate - up), abs(estimate - corner)
            predictor = left if pa <= pb and pa <= pc else (up if pb <= pc else corner)
        out[i] = (value - predictor) & 0xFF
    return out


def png_image(size, rows):
    """A PNG file of the BGRA rows (top to bottom) as 8-bit RGBA, each line with
    the filter that leaves the smallest differences, at the best compression."""
    raw = bytearray()
    previous = bytes(size * 4)
    for row in rows:
        line = bytearray()
        for x in range(size):
            b, g, r, a = row[x * 4:x * 4 + 4]
            line += bytes((r, g, b, a))
        candidates = [png_filtered(previous, line, kind) for kind in range(5)]
        cost = [sum(v if v < 128 else 256 - v for v in c) for c in candidates]
        kind = cost.index(min(cost))
        raw.append(kind)
        raw += candidates[kind]
        previous = line

    def chunk(kind, data):
        return (struct.pack('>I', len(data)) + kind + data +
                struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF))

    header = struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header) +
            chunk(b'IDAT', zlib.compress(bytes(raw), 9)) + chunk(b'IEND', b''))


def icon_image(size):
    rows = render(size)
    return png_image(size, rows) if size >= PNG_FROM_SIZE else dib_image(size, rows)


def write_ico(path, sizes):
    images = [(size, icon_image(size)) for size in sizes]
    out = bytearray(struct.pack('<HHH', 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, data in images:
        dim = 0 if size >= 256 else size
        out += struct.pack('<BBBBHHII', dim, dim, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for _, data in images:
        out += data
    with open(path, 'wb') as f:
        f.write(out)


LED_BACKGROUND = (0xFF, 0x00, 0xFF)  # the glyphs' transparent colour
# Shading of the lock buttons' LEDs: highlight at the upper left, body, rim at the lower right.
LED_ON_SHADES = ((0xFF, 0xD8, 0xDC), (0xF0, 0x30, 0x30), (0x80, 0x00, 0x00))
LED_OFF_SHADES = ((0xFF, 0xFF, 0xFF), (0xD8, 0xE0, 0xDA), (0x80, 0x80, 0x80))


# The glyphs' sizes: 16 pixels at 100 % scaling, and 20, 24 and 32 for 125, 150 and 200 %.
LED_GLYPH_SIZES = (16, 20, 24, 32)


def led_pixels(shades, size=16):
    """A round LED one pixel less across than the picture, lit from the upper
    left; the last row and column stay transparent."""
    highlight, body, rim = shades
    scale = size / 16
    centre = (size - 2) / 2
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            dx, dy = x - centre, y - centre
            if x > size - 2 or y > size - 2 or dx * dx + dy * dy > (7.3 * scale) ** 2:
                row.append(LED_BACKGROUND)
                continue
            # Distance from the light spot decides the shade: light, body, dark rim.
            t = min(1.0, (((x - 4 * scale) ** 2 + (y - 4 * scale) ** 2) ** 0.5) / (12.0 * scale))
            if t < 0.45:
                colour = mix(highlight, body, t / 0.45)
            else:
                colour = mix(body, rim, (t - 0.45) / 0.55)
            if dx * dx + dy * dy > (7.3 * scale - 0.9) ** 2:
                colour = mix(colour, rim, 0.6)
            row.append(tuple(int(round(c)) for c in colour))
        rows.append(row)
    return rows


def write_bmp8(path, rows):
    """A 256-colour bottom-up BMP file with the colour table it needs."""
    palette = sorted({pixel for row in rows for pixel in row})
    assert len(palette) <= 256
    index = {colour: i for i, colour in enumerate(palette)}
    height, width = len(rows), len(rows[0])
    stride = (width + 3) // 4 * 4
    bits = bytearray()
    for row in reversed(rows):
        line = bytes(index[pixel] for pixel in row)
        bits += line + bytes(stride - width)
    # Only the colours the picture uses are stored (biClrUsed), not all 256.
    colours = b''.join(bytes((b, g, r, 0)) for r, g, b in palette)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 8, 0, len(bits), 2835, 2835, len(palette), 0)
    offset = 14 + len(info) + len(colours)
    header = struct.pack('<2sIHHI', b'BM', offset + len(bits), 0, 0, offset)
    with open(path, 'wb') as f:
        f.write(header + info + colours + bits)


# The six service emblems of the settings window: 16 x 16 pixel art on the
# transparent colour. '.' transparent, '#' the service's colour, 'o' white,
# 'x' the darker shade, 'y' a second colour.
SERVICE_EMBLEMS = {
    'svc_facebook': ((0x3B, 0x59, 0x98), (0x2D, 0x44, 0x75), None, [
        '..############..', '.##############.', '##########oooo##', '#########ooooo##',
        '#########oo#####', '#########oo#####', '#######oooooo###', '#######oooooo###',
        '#########oo#####', '#########oo#####', '#########oo#####', '#########oo#####',
        '#########oo#####', '#########oo#####', '.########oo####.', '..#######oo###..']),
    'svc_gplus': ((0xDD, 0x4B, 0x39), (0xB0, 0x3A, 0x2B), None, [
        '..############..', '.##############.', '################', '###oooo#########',
        '##oo##oo########', '#oo#############', '#oo#######oo####', '#oo###ooo#oo####',
        '#oo####oooooooo#', '#oo####oooooooo#', '##oo##oo##oo####', '###ooooo##oo####',
        '################', '################', '.##############.', '..############..']),
    'svc_twitter': ((0x1D, 0xA1, 0xF2), (0x16, 0x7F, 0xC0), None, [
        '..############..', '.##############.', '########ooo#o###', '#o#####ooooooo##',
        '#oo###oooooooo##', '#ooo##ooooooo###', '##oooooooooooo##', '#ooooooooooooo##',
        '##oooooooooooo##', '###ooooooooooo##', '####oooooooooo##', '####ooooooooo###',
        '##ooooooooooo###', '#ooooooooo######', '.##############.', '..############..']),
    'svc_rss': ((0xF2, 0x8C, 0x1A), (0xC8, 0x6E, 0x10), None, [
        '..############..', '.##############.', '################', '##ooo###########',
        '##ooooo#########', '#####oooo#######', '##ooo##ooo######', '##ooooo#ooo#####',
        '#####ooo#oo#####', '##oo###oo#oo####', '#oooo##oo#oo####', '#oooo##oo#oo####',
        '##oo###oo#oo####', '################', '.##############.', '..############..']),
    'svc_delicious': ((0x32, 0x84, 0xFF), (0x22, 0x22, 0x22), (0xD3, 0xD2, 0xD2), [
        'xxxxxxxx########', 'xxxxxxxx########', 'xxxxxxxx########', 'xxxxxxxx########',
        'xxxxxxxx########', 'xxxxxxxx########', 'xxxxxxxx########', 'xxxxxxxx########',
        'ooooooooyyyyyyyy', 'ooooooooyyyyyyyy', 'ooooooooyyyyyyyy', 'ooooooooyyyyyyyy',
        'ooooooooyyyyyyyy', 'ooooooooyyyyyyyy', 'ooooooooyyyyyyyy', 'ooooooooyyyyyyyy']),
    'svc_stumbleupon': ((0xEB, 0x49, 0x24), (0xB8, 0x35, 0x18), None, [
        '.....######.....', '...##########...', '..############..', '.######ooo#####.',
        '.#####ooooo####.', '#####oo###oo####', '####oo#####oo###', '####oo##o##oo#o#',
        '####oo##o##oo#o#', '####oo##o#ooo#o#', '##o#oo##ooooooo#', '.#oooo###ooo#oo.',
        '.##oo#####o####.', '..############..', '...##########...', '.....######.....']),
}


def service_pixels(colour, dark, second, rows):
    palette = {'.': LED_BACKGROUND, '#': colour, 'x': dark, 'o': (0xFF, 0xFF, 0xFF),
               'y': second or colour}
    return [[palette[c] for c in row] for row in rows]


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    out_dir = sys.argv[1]
    os.makedirs(out_dir, exist_ok=True)
    write_bmp8(os.path.join(out_dir, 'led_on.bmp'), led_pixels(LED_ON_SHADES))
    write_bmp8(os.path.join(out_dir, 'led_off.bmp'), led_pixels(LED_OFF_SHADES))
    for size in LED_GLYPH_SIZES[1:]:
        write_bmp8(os.path.join(out_dir, 'led_on_%d.bmp' % size), led_pixels(LED_ON_SHADES, size))
        write_bmp8(os.path.join(out_dir, 'led_off_%d.bmp' % size), led_pixels(LED_OFF_SHADES, size))
    for name, (colour, dark, second, rows) in SERVICE_EMBLEMS.items():
        assert len(rows) == 16 and all(len(row) == 16 for row in rows), name
        write_bmp8(os.path.join(out_dir, name + '.bmp'), service_pixels(colour, dark, second, rows))
    write_ico(os.path.join(out_dir, 'lumitrax.ico'), ICON_SIZES)


if __name__ == '__main__':
    main()
