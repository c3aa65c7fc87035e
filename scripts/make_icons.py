#!/usr/bin/env python3
"""Draws packaging/icons/selvane-SIZE.png from the shapes of packaging/icons/selvane.svg (a
rounded square, three circles, five boxes on a 64 grid). Standard library only; run from the
repository root."""

from make_splash import png

SIZES = (16, 24, 32, 48, 64, 128, 256)
GREEN, GOLD, WHITE = (0x1E, 0x6B, 0x3A), (0xE8, 0xB9, 0x23), (0xFF, 0xFF, 0xFF)


def rounded_rect(x, y, w, h, r):
    def inside(px, py):
        if not (x <= px <= x + w and y <= py <= y + h):
            return False
        cx = min(max(px, x + r), x + w - r)
        cy = min(max(py, y + r), y + h - r)
        return (px - cx) ** 2 + (py - cy) ** 2 <= r * r
    return inside


def circle(cx, cy, r):
    return lambda px, py: (px - cx) ** 2 + (py - cy) ** 2 <= r * r


def rect(x, y, w, h):
    return lambda px, py: x <= px <= x + w and y <= py <= y + h


# Painted in order, as the SVG lists them.
SHAPES = [
    (rounded_rect(2, 2, 60, 60, 8), GREEN),
    (circle(32, 26, 17), GOLD),
    (circle(32, 26, 11), GREEN),
    (circle(32, 26, 6), WHITE),
    (rect(7, 49, 8, 8), WHITE),
    (rect(17, 49, 8, 8), WHITE),
    (rect(27, 49, 10, 8), GOLD),
    (rect(39, 49, 8, 8), WHITE),
    (rect(49, 49, 8, 8), WHITE),
]


def render(size, samples=4):
    rows = []
    for y in range(size):
        row = bytearray([0])  # filter: none
        for x in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(samples):
                for sx in range(samples):
                    px = (x + (sx + 0.5) / samples) * 64 / size
                    py = (y + (sy + 0.5) / samples) * 64 / size
                    colour = None
                    for inside, c in SHAPES:
                        if inside(px, py):
                            colour = c
                    if colour:
                        acc[0] += colour[0]
                        acc[1] += colour[1]
                        acc[2] += colour[2]
                        acc[3] += 255
            n = samples * samples
            alpha = acc[3] // n
            # Colour averaged over the covered samples only, so edges do not darken.
            covered = max(acc[3] // 255, 1)
            row += bytes([acc[0] // covered, acc[1] // covered, acc[2] // covered, alpha])
        rows.append(bytes(row))
    return b"".join(rows)


if __name__ == "__main__":
    for s in SIZES:
        with open(f"packaging/icons/selvane-{s}.png", "wb") as f:
            f.write(png(s, s, render(s), colour_type=6))
