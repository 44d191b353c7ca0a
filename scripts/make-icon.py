#!/usr/bin/env python3
"""Draws Marlovent's 48 x 48 program icon (24-bit RGB PNG): a strip of film turning into
a phone, on a blue tile. Run once; the picture is kept in ui/resources/marlovent.png."""
import struct
import sys
import zlib

SIZE, SCALE = 48, 4  # drawn four times larger, then averaged down for smooth edges
N = SIZE * SCALE
BACKGROUND = (192, 192, 192)  # the window's silver, behind the tile's rounded corners


def inside_round_rect(x, y, left, top, right, bottom, radius):
    if not (left <= x < right and top <= y < bottom):
        return False
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def colour_at(x, y):
    u, v = x / SCALE, y / SCALE  # in icon pixels
    if not inside_round_rect(u, v, 1, 1, 47, 47, 8):
        return BACKGROUND
    shade = v / 48
    tile = (int(52 - 28 * shade), int(118 - 50 * shade), int(196 - 80 * shade))
    # The film strip: dark band with white sprocket holes along both edges.
    if 5 <= u < 22 and 13 <= v < 35:
        if (7 <= u < 20) and (17 <= v < 31):
            return (250, 186, 72)  # a frame of the film
        if (u - 5) % 4 < 2 and (14 <= v < 16 or 32 <= v < 34):
            return (245, 245, 245)
        return (34, 34, 40)
    # The arrow from film to phone.
    if 22 <= u < 28 and abs(v - 24) <= (28 - u) * 0.8 and u >= 24:
        return (255, 255, 255)
    if 21 <= u < 24 and 23 <= v < 25:
        return (255, 255, 255)
    # The phone: white body, orange screen, one key.
    if inside_round_rect(u, v, 29, 8, 43, 41, 3):
        if 31 <= u < 41 and 11 <= v < 32:
            return (250, 186, 72)
        if (u - 36) ** 2 + (v - 36.5) ** 2 <= 4:
            return (120, 130, 150)
        return (248, 248, 248)
    return tile


def main(path):
    rows = []
    for py in range(SIZE):
        row = bytearray([0])  # filter type: none
        for px in range(SIZE):
            total = [0, 0, 0]
            for sy in range(SCALE):
                for sx in range(SCALE):
                    c = colour_at(px * SCALE + sx + 0.5, py * SCALE + sy + 0.5)
                    total = [t + ci for t, ci in zip(total, c)]
            row += bytes(t // (SCALE * SCALE) for t in total)
        rows.append(bytes(row))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 2, 0, 0, 0)  # 8 bits, RGB
    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
    png += chunk(b"IDAT", zlib.compress(b"".join(rows), 9)) + chunk(b"IEND", b"")
    with open(path, "wb") as out:
        out.write(png)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "ui/resources/marlovent.png")
