#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Draws the program's toolbar images and its application icon as PNG files.

Run it from anywhere; it writes the PNGs beside itself. Standard library only:
shapes are filled with 4x4 supersampling, so edges stay crisp at 16 x 16.
"""
import math
import os
import struct
import zlib

SS = 4  # samples per pixel along each axis


class Canvas:
    def __init__(self, size):
        self.size = size
        self.px = [[(0, 0, 0, 0)] * size for _ in range(size)]

    def _blend(self, x, y, color, coverage):
        if coverage <= 0:
            return
        r, g, b, a = color
        a = a * coverage / 255.0
        dr, dg, db, da = self.px[y][x]
        da /= 255.0
        out_a = a + da * (1 - a)
        if out_a == 0:
            return
        mix = lambda s, d: (s * a + d * da * (1 - a)) / out_a
        self.px[y][x] = (round(mix(r, dr)), round(mix(g, dg)), round(mix(b, db)), round(out_a * 255))

    def fill(self, inside, color):
        """Fills every sample point (in pixel units) for which inside(x, y) holds."""
        for y in range(self.size):
            for x in range(self.size):
                hits = 0
                for sy in range(SS):
                    for sx in range(SS):
                        if inside(x + (sx + 0.5) / SS, y + (sy + 0.5) / SS):
                            hits += 1
                self._blend(x, y, color, hits / (SS * SS))

    def rect(self, x0, y0, x1, y1, color):
        self.fill(lambda x, y: x0 <= x < x1 and y0 <= y < y1, color)

    def circle(self, cx, cy, r, color):
        self.fill(lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r, color)

    def ring(self, cx, cy, r_out, r_in, color, gap=None):
        def inside(x, y):
            d = (x - cx) ** 2 + (y - cy) ** 2
            if not (r_in * r_in <= d <= r_out * r_out):
                return False
            if gap:
                angle = math.degrees(math.atan2(x - cx, cy - y)) % 360
                lo, hi = gap
                in_gap = lo <= angle <= hi if lo <= hi else (angle >= lo or angle <= hi)
                return not in_gap
            return True
        self.fill(inside, color)

    def polygon(self, points, color):
        def inside(x, y):
            result = False
            j = len(points) - 1
            for i in range(len(points)):
                xi, yi = points[i]
                xj, yj = points[j]
                if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                    result = not result
                j = i
            return result
        self.fill(inside, color)

    def line(self, x0, y0, x1, y1, width, color):
        def inside(x, y):
            dx, dy = x1 - x0, y1 - y0
            t = max(0, min(1, ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy)))
            px, py = x0 + t * dx, y0 + t * dy
            return (x - px) ** 2 + (y - py) ** 2 <= (width / 2) ** 2
        self.fill(inside, color)

    def save(self, path):
        raw = b"".join(b"\0" + b"".join(struct.pack("4B", *p) for p in row) for row in self.px)
        chunk = lambda kind, data: (struct.pack(">I", len(data)) + kind + data +
                                    struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
        header = struct.pack(">IIBBBBB", self.size, self.size, 8, 6, 0, 0, 0)
        with open(path, "wb") as f:
            f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
                    chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


NAVY = (32, 64, 128, 255)
BLUE = (52, 101, 164, 255)
LIGHT = (220, 230, 245, 255)
WHITE = (255, 255, 255, 255)
GREEN = (46, 139, 58, 255)
DARK_GREEN = (24, 96, 34, 255)
RED = (204, 40, 40, 255)
DARK_RED = (150, 20, 20, 255)
GREY = (96, 96, 96, 255)
SILVER = (200, 200, 200, 255)
PAPER = (250, 250, 245, 255)
GOLD = (236, 178, 30, 255)
DARK_GOLD = (168, 112, 10, 255)


def save_icon():  # a floppy disk
    c = Canvas(16)
    c.polygon([(1, 1), (13, 1), (15, 3), (15, 15), (1, 15)], NAVY)
    c.rect(4, 2, 12, 7, WHITE)
    c.rect(9, 3, 11, 6, NAVY)
    c.rect(3, 9, 13, 15, LIGHT)
    c.rect(4, 11, 12, 12, SILVER)
    c.rect(4, 13, 12, 14, SILVER)
    return c


def shut_down_icon():  # the power symbol
    c = Canvas(16)
    c.circle(8, 8, 7.5, DARK_RED)
    c.circle(8, 8, 6.5, RED)
    c.ring(8, 8.5, 4.6, 3.2, WHITE, gap=(325, 35))
    c.line(8, 2.8, 8, 8, 1.6, WHITE)
    return c


def plus(c, cx, cy, arm, width, color):
    c.rect(cx - arm, cy - width / 2, cx + arm, cy + width / 2, color)
    c.rect(cx - width / 2, cy - arm, cx + width / 2, cy + arm, color)


def page(c, x0, y0, x1, y1):
    c.rect(x0, y0, x1, y1, GREY)
    c.rect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, PAPER)
    for y in range(int(y0) + 3, int(y1) - 1, 2):
        c.rect(x0 + 2.5, y, x1 - 2.5, y + 1, SILVER)


def add_icon():  # a page with a green plus
    c = Canvas(16)
    page(c, 1, 1, 11, 14)
    c.circle(11.5, 11.5, 4.5, DARK_GREEN)
    plus(c, 11.5, 11.5, 3, 1.8, WHITE)
    return c


def duplicate_icon():  # two overlapping pages
    c = Canvas(16)
    page(c, 1, 1, 10, 12)
    page(c, 6, 4, 15, 15)
    return c


def delete_icon():  # a red cross
    c = Canvas(16)
    c.line(3, 3, 13, 13, 3.2, RED)
    c.line(13, 3, 3, 13, 3.2, RED)
    return c


def options_icon():  # a gear
    c = Canvas(16)
    teeth = []
    for i in range(16):
        angle = math.radians(i * 22.5)
        r = 7.4 if i % 2 == 0 else 5.4
        # Each tooth is a short flat top: two points per step.
        for offset in (-0.19, 0.19):
            teeth.append((8 + r * math.sin(angle + offset), 8 - r * math.cos(angle + offset)))
    c.polygon(teeth, GREY)
    c.px = [[(0, 0, 0, 0) if (x + 0.5 - 8) ** 2 + (y + 0.5 - 8) ** 2 < 4.0 else p
             for x, p in enumerate(row)] for y, row in enumerate(c.px)]
    return c


def help_icon():  # a blue circle with a question mark
    c = Canvas(16)
    c.circle(8, 8, 7.5, NAVY)
    c.circle(8, 8, 6.6, BLUE)
    c.ring(8, 6.2, 3.1, 1.6, WHITE, gap=(160, 250))
    c.line(8.6, 8.6, 8, 9.4, 1.5, WHITE)
    c.rect(7.25, 9.0, 8.75, 10.4, WHITE)
    c.circle(8, 12.3, 1.0, WHITE)
    return c


def application_icon(size):  # a golden bell over a clock face
    c = Canvas(size)
    s = size / 16.0
    c.circle(8 * s, 8 * s, 7.6 * s, NAVY)
    c.circle(8 * s, 8 * s, 6.6 * s, WHITE)
    for i in range(12):
        a = math.radians(i * 30)
        r0, r1 = (5.0, 6.1) if i % 3 == 0 else (5.6, 6.1)
        c.line((8 + r0 * math.sin(a)) * s, (8 - r0 * math.cos(a)) * s,
               (8 + r1 * math.sin(a)) * s, (8 - r1 * math.cos(a)) * s, max(0.8, 0.5 * s), GREY)
    bell = [(4.6, 11.2), (5.3, 10.2), (5.5, 6.6), (6.4, 4.8), (8, 4.2), (9.6, 4.8),
            (10.5, 6.6), (10.7, 10.2), (11.4, 11.2)]
    c.polygon([(x * s, y * s) for x, y in bell], DARK_GOLD)
    inner = [(5.3, 10.7), (5.9, 10.0), (6.05, 6.8), (6.8, 5.4), (8, 4.95), (9.2, 5.4),
             (9.95, 6.8), (10.1, 10.0), (10.7, 10.7)]
    c.polygon([(x * s, y * s) for x, y in inner], GOLD)
    c.circle(8 * s, 11.9 * s, 1.1 * s, DARK_GOLD)
    return c


def main():
    folder = os.path.dirname(os.path.abspath(__file__))
    images = {
        "save": save_icon, "shut_down": shut_down_icon, "add": add_icon,
        "duplicate": duplicate_icon, "delete": delete_icon, "options": options_icon,
        "help": help_icon,
    }
    for name, draw in images.items():
        draw().save(os.path.join(folder, name + ".png"))
    for size in (16, 32, 48, 64):
        application_icon(size).save(os.path.join(folder, "zrdorvel-%d.png" % size))


if __name__ == "__main__":
    main()
