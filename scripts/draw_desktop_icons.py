#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Draws the desktop menu icon: a golden bell over a clock face.

Writes resources/icons/hicolor/scalable/apps/zrdorvel.svg and renders the
16, 32, 48 and 256 pixel PNGs of the hicolor theme from it with rsvg-convert
(Debian package librsvg2-bin). The build only installs the committed files,
so run this again only after changing the drawing.
"""
import math
import os
import subprocess

NAVY = "#204080"
WHITE = "#ffffff"
GREY = "#606060"
GOLD = "#ecb21e"
DARK_GOLD = "#a8700a"

# Shapes in a 16 x 16 box, the same geometry as the window's own icon.
BELL = [(4.6, 11.2), (5.3, 10.2), (5.5, 6.6), (6.4, 4.8), (8, 4.2), (9.6, 4.8),
        (10.5, 6.6), (10.7, 10.2), (11.4, 11.2)]
BELL_INSIDE = [(5.3, 10.7), (5.9, 10.0), (6.05, 6.8), (6.8, 5.4), (8, 4.95), (9.2, 5.4),
               (9.95, 6.8), (10.1, 10.0), (10.7, 10.7)]
SIZES = (16, 32, 48, 256)


def number(value):
    return ("%.3f" % value).rstrip("0").rstrip(".")


def points(shape):
    return " ".join("%s,%s" % (number(x), number(y)) for x, y in shape)


def hour_marks():
    marks = []
    for hour in range(12):
        angle = math.radians(hour * 30)
        inner = 5.0 if hour % 3 == 0 else 5.6
        outer = 6.1
        marks.append('    <line x1="%s" y1="%s" x2="%s" y2="%s"/>' % (
            number(8 + inner * math.sin(angle)), number(8 - inner * math.cos(angle)),
            number(8 + outer * math.sin(angle)), number(8 - outer * math.cos(angle))))
    return "\n".join(marks)


def svg():
    return f"""<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 16 16">
  <title>ZR Dorvel</title>
  <circle cx="8" cy="8" r="7.6" fill="{NAVY}"/>
  <circle cx="8" cy="8" r="6.6" fill="{WHITE}"/>
  <g stroke="{GREY}" stroke-width="0.5" stroke-linecap="round">
{hour_marks()}
  </g>
  <polygon points="{points(BELL)}" fill="{DARK_GOLD}"/>
  <polygon points="{points(BELL_INSIDE)}" fill="{GOLD}"/>
  <circle cx="8" cy="11.9" r="1.1" fill="{DARK_GOLD}"/>
</svg>
"""


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    theme = os.path.join(root, "resources", "icons", "hicolor")
    scalable = os.path.join(theme, "scalable", "apps", "zrdorvel.svg")
    os.makedirs(os.path.dirname(scalable), exist_ok=True)
    with open(scalable, "w", encoding="utf-8") as f:
        f.write(svg())
    for size in SIZES:
        png = os.path.join(theme, "%dx%d" % (size, size), "apps", "zrdorvel.png")
        os.makedirs(os.path.dirname(png), exist_ok=True)
        subprocess.run(["rsvg-convert", "--width", str(size), "--height", str(size),
                        "--output", png, scalable], check=True)


if __name__ == "__main__":
    main()
