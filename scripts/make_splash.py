#!/usr/bin/env python3
"""Draws share/splash.png, the splash window's picture: a racehorse and rider at the gallop on
the turf, five numbered boxes and the title. Standard library only; run from the repository root."""

import math
import struct
import sys
import zlib

W, H, S = 480, 240, 3  # picture size, supersampling factor

# 5x7 capitals and digits, one string of five bits per row.
FONT = {
    "A": ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    "B": ["11110", "10001", "10001", "11110", "10001", "10001", "11110"],
    "C": ["01111", "10000", "10000", "10000", "10000", "10000", "01111"],
    "E": ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    "F": ["11111", "10000", "10000", "11110", "10000", "10000", "10000"],
    "H": ["10001", "10001", "10001", "11111", "10001", "10001", "10001"],
    "I": ["11111", "00100", "00100", "00100", "00100", "00100", "11111"],
    "L": ["10000", "10000", "10000", "10000", "10000", "10000", "11111"],
    "N": ["10001", "11001", "10101", "10011", "10001", "10001", "10001"],
    "O": ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    "S": ["01111", "10000", "10000", "01110", "00001", "00001", "11110"],
    "V": ["10001", "10001", "10001", "10001", "01010", "01010", "00100"],
    "W": ["10001", "10001", "10001", "10101", "10101", "11011", "10001"],
    "X": ["10001", "01010", "00100", "00100", "00100", "01010", "10001"],
    "Y": ["10001", "01010", "00100", "00100", "00100", "00100", "00100"],
    "&": ["01100", "10010", "10100", "01000", "10101", "10010", "01101"],
    "1": ["00100", "01100", "00100", "00100", "00100", "00100", "01110"],
    "2": ["01110", "10001", "00001", "00110", "01000", "10000", "11111"],
    "3": ["11110", "00001", "00001", "01110", "00001", "00001", "11110"],
    "4": ["00010", "00110", "01010", "10010", "11111", "00010", "00010"],
    "5": ["11111", "10000", "11110", "00001", "00001", "10001", "01110"],
    " ": ["00000"] * 7,
}


class Canvas:
    def __init__(self, w, h):
        self.w, self.h = w, h
        self.px = [[(0, 0, 0)] * w for _ in range(h)]

    def fill(self, box, inside, colour):
        """Paints colour where inside(x, y) holds, (x, y) in picture units, within box."""
        x0, y0, x1, y1 = (max(0, int(box[0] * S)), max(0, int(box[1] * S)),
                          min(self.w, int(math.ceil(box[2] * S)) + 1), min(self.h, int(math.ceil(box[3] * S)) + 1))
        for sy in range(y0, y1):
            y = (sy + 0.5) / S
            row = self.px[sy]
            for sx in range(x0, x1):
                if inside((sx + 0.5) / S, y):
                    row[sx] = colour(sx / S, y) if callable(colour) else colour

    def rect(self, x0, y0, x1, y1, colour):
        self.fill((x0, y0, x1, y1), lambda x, y: x0 <= x < x1 and y0 <= y < y1, colour)

    def ellipse(self, cx, cy, rx, ry, colour, angle=0.0):
        c, s = math.cos(math.radians(angle)), math.sin(math.radians(angle))
        r = max(rx, ry)

        def inside(x, y):
            dx, dy = x - cx, y - cy
            u, v = dx * c + dy * s, -dx * s + dy * c
            return (u / rx) ** 2 + (v / ry) ** 2 <= 1.0

        self.fill((cx - r, cy - r, cx + r, cy + r), inside, colour)

    def capsule(self, points, r, colour):
        """A thick polyline with round ends and joints."""
        for (ax, ay), (bx, by) in zip(points, points[1:]):
            dx, dy = bx - ax, by - ay
            length2 = dx * dx + dy * dy or 1e-9

            def inside(x, y, ax=ax, ay=ay, dx=dx, dy=dy, length2=length2):
                t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
                ex, ey = x - (ax + t * dx), y - (ay + t * dy)
                return ex * ex + ey * ey <= r * r

            self.fill((min(ax, bx) - r, min(ay, by) - r, max(ax, bx) + r, max(ay, by) + r), inside, colour)

    def polygon(self, points, colour):
        xs, ys = [p[0] for p in points], [p[1] for p in points]

        def inside(x, y):
            hit = False
            for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
                if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                    hit = not hit
            return hit

        self.fill((min(xs), min(ys), max(xs), max(ys)), inside, colour)

    def text(self, x, y, text, cell, colour):
        for i, ch in enumerate(text):
            for row, bits in enumerate(FONT[ch]):
                for col, bit in enumerate(bits):
                    if bit == "1":
                        gx, gy = x + (i * 6 + col) * cell, y + row * cell
                        self.rect(gx, gy, gx + cell, gy + cell, colour)

    def downsampled(self):
        out = []
        for y in range(self.h // S):
            row = bytearray([0])  # PNG filter type: none
            for x in range(self.w // S):
                acc = [0, 0, 0]
                for sy in range(y * S, y * S + S):
                    for sx in range(x * S, x * S + S):
                        p = self.px[sy][sx]
                        acc[0] += p[0]
                        acc[1] += p[1]
                        acc[2] += p[2]
                row += bytes(round(a / (S * S)) for a in acc)
            out.append(bytes(row))
        return b"".join(out)


def mix(a, b, t):
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))


def draw():
    c = Canvas(W * S, H * S)
    sky_top, sky_low = (28, 46, 92), (236, 170, 96)
    c.rect(0, 0, W, 150, lambda x, y: mix(sky_top, sky_low, y / 150))
    c.ellipse(84, 150, 38, 38, (250, 214, 140))  # the sun going down behind the far rail
    c.rect(0, 138, W, 150, (58, 92, 60))  # far infield
    c.rect(0, 150, W, H, lambda x, y: mix((46, 120, 58), (28, 86, 40), (y - 150) / 90))
    for y0 in (146, 214):  # the rails
        c.rect(0, y0, W, y0 + 2, (244, 244, 236))
        for x0 in range(6, W, 24):
            c.rect(x0, y0, x0 + 2, y0 + 9, (244, 244, 236))

    horse, rider, silks = (22, 18, 24), (22, 18, 24), (200, 40, 48)
    c.ellipse(296, 150, 50, 22, horse, angle=-6)  # barrel
    c.capsule([(336, 140), (362, 112), (370, 104)], 11, horse)  # neck
    c.capsule([(370, 104), (392, 116)], 8, horse)  # head
    c.polygon([(362, 98), (368, 86), (372, 100)], horse)  # ear
    c.polygon([(248, 142), (216, 150), (196, 176), (220, 160), (248, 156)], horse)  # tail
    c.capsule([(326, 164), (354, 176), (374, 166)], 5, horse)  # fore legs, reaching
    c.capsule([(318, 166), (328, 192), (316, 206)], 5, horse)
    c.capsule([(266, 162), (246, 186), (220, 196)], 6, horse)  # hind legs, driving
    c.capsule([(276, 164), (276, 192), (292, 204)], 5, horse)
    c.capsule([(310, 124), (292, 104)], 9, silks)  # the rider crouched over the withers
    c.ellipse(284, 94, 9, 9, silks)
    c.capsule([(302, 112), (332, 118), (354, 112)], 4, rider)  # arms to the reins
    c.capsule([(300, 128), (316, 142)], 5, rider)  # knee

    boxes = [(200, 40, 48), (244, 244, 236), (40, 80, 184), (236, 190, 40), (40, 140, 70)]
    for i, fill in enumerate(boxes):
        x0 = 34 + i * 34
        c.rect(x0 - 2, 170, x0 + 28, 200, (16, 16, 20))
        c.rect(x0, 172, x0 + 26, 198, fill)
        ink = (16, 16, 20) if fill in ((244, 244, 236), (236, 190, 40)) else (250, 250, 250)
        c.text(x0 + 6, 178, str(i + 1), 2.2, ink)

    title = "BOX FIVE & EACH WAY SELVANE"
    cell = 2.6
    x = (W - (len(title) * 6 - 1) * cell) / 2
    c.text(x + 1.5, 21.5, title, cell, (10, 14, 30))  # shadow
    c.text(x, 20, title, cell, (250, 246, 232))
    return c.downsampled()


def png(width, height, raw, colour_type=2):
    """PNG bytes of raw 8-bit rows, each led by filter byte 0: RGB (2) or RGBA (6)."""
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, colour_type, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


if __name__ == "__main__":
    target = sys.argv[1] if len(sys.argv) > 1 else "share/splash.png"
    with open(target, "wb") as f:
        f.write(png(W, H, draw()))
