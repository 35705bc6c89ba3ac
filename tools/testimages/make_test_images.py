#!/usr/bin/env python3
"""Writes the small images of the image-drawing tests (tests/data/images/): PNG files and DDS files
with DXT1, DXT5 and 32-bit pixels. Run once; the outputs are committed."""
import os
import struct
import sys
import zlib


def png(path, width, height, rgba):
    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF)
    rows = b''.join(b'\0' + bytes(rgba[y * width * 4:(y + 1) * width * 4]) for y in range(height))
    data = b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 6, 0, 0, 0))
    data += chunk(b'IDAT', zlib.compress(rows, 9)) + chunk(b'IEND', b'')
    open(path, 'wb').write(data)


def dds(path, width, height, fourcc, data, mips=1):
    header = bytearray(124)
    struct.pack_into('<IIIII', header, 0, 124, 0x1007 | (0x20000 if mips > 1 else 0), height, width, len(data))
    struct.pack_into('<I', header, 24, mips)
    struct.pack_into('<I', header, 72, 32)
    if fourcc:
        struct.pack_into('<I', header, 76, 4)
        header[80:84] = fourcc
    else:
        struct.pack_into('<IIIIIII', header, 76, 0x41, 0, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000)
    open(path, 'wb').write(b'DDS ' + bytes(header) + data)


def rgb565(r, g, b):
    return (r >> 3) << 11 | (g >> 2) << 5 | b >> 3


def arrow(width, height):
    """An upward arrow on a transparent ground, with a red tip, so flips and rotations show."""
    pixels = []
    for y in range(height):
        for x in range(width):
            cx = abs(x - width // 2 + 0.5)
            head = y < height // 2 and cx < (y + 1) * 0.5
            shaft = y >= height // 2 and cx < width // 6
            if head or shaft:
                r, g = (230, 40) if y < height // 4 else (40, 200)
                pixels += [r, g, 60 + 5 * (x % 8), 255]
            else:
                pixels += [0, 0, 0, 0]
    return pixels


def main(out):
    os.makedirs(out, exist_ok=True)
    png(os.path.join(out, 'arrow.png'), 32, 32, arrow(32, 32))
    # A 16x8 strip with a horizontal alpha ramp in white.
    png(os.path.join(out, 'ramp.png'), 16, 8, sum(([255, 255, 255, x * 17] for y in range(8) for x in range(16)), []))

    # DXT1 32x32: 4x4 blocks in a colour checker; every fifth block is transparent (three-colour
    # mode, index 3).
    blocks = b''
    for by in range(8):
        for bx in range(8):
            colour = rgb565(255, 200, 0) if (bx + by) % 2 else rgb565(0, 90, 255)
            if (bx * 3 + by) % 5 == 0:
                blocks += struct.pack('<HHI', 0, 0xFFFF, 0xFFFFFFFF)
            else:
                blocks += struct.pack('<HHI', colour, colour, 0)
    dds(os.path.join(out, 'checker_dxt1.dds'), 32, 32, b'DXT1', blocks)

    # DXT5 16x16 magenta with alpha falling from left (255) to right (0) by block column.
    blocks = b''
    for by in range(4):
        for bx in range(4):
            alpha = 255 - bx * 85
            blocks += struct.pack('<BB6s', alpha, alpha, bytes(6))
            blocks += struct.pack('<HHI', rgb565(255, 0, 255), rgb565(255, 0, 255), 0)
    dds(os.path.join(out, 'fade_dxt5.dds'), 16, 16, b'DXT5', blocks)

    # DXT1 16x16 with its whole mip chain, each level one colour (red, green, blue, yellow, white),
    # so a draw at a quarter of the size shows which level was sampled.
    colours = [(255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 0), (255, 255, 255)]
    blocks = b''
    for level, colour in enumerate(colours):
        side = max(16 >> level, 1)
        count = max(side // 4, 1) ** 2
        blocks += struct.pack('<HHI', rgb565(*colour), rgb565(*colour), 0) * count
    dds(os.path.join(out, 'levels_dxt1.dds'), 16, 16, b'DXT1', blocks, mips=5)

    # 32-bit 8x8: four opaque quadrants (red, green, blue, white), stored as B, G, R, A bytes.
    quadrant = [(0, 0, 255), (0, 255, 0), (255, 0, 0), (255, 255, 255)]
    data = b''
    for y in range(8):
        for x in range(8):
            b, g, r = quadrant[(y // 4) * 2 + x // 4]
            data += bytes([b, g, r, 255])
    dds(os.path.join(out, 'quads_argb.dds'), 8, 8, None, data)


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), '..', '..', 'tests', 'data', 'images'))
