#!/usr/bin/env python3
"""Writes the settings dialog's skin into resources/skin/: the background tile and the header strip as
24-bit bitmaps, the button faces, option pictures and check boxes as JPEG files.

The pixels are computed here from a fixed seed, so every run writes the same pictures; ImageMagick's
convert encodes them. Captions are not part of the pictures: the dialog draws them over the faces."""
import math
import os
import random
import subprocess

SKIN = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources", "skin")

# A pale slate that black captions read well on; the small pictures' corners take it too, so that
# they sit on the texture without a visible box.
PAPER = (214, 219, 226)


def clamp(value):
    return max(0, min(255, round(value)))


def mix(a, b, t):
    return tuple(clamp(a[i] + (b[i] - a[i]) * t) for i in range(3))


def shade(colour, amount):
    return tuple(clamp(c + amount) for c in colour)


def smooth_noise(length, rng, spread):
    """Noise along a ring of `length` samples, smoothed so that it reads as brushed fibres and wraps
    round without a seam."""
    raw = [rng.uniform(-1.0, 1.0) for _ in range(length)]
    out = []
    for i in range(length):
        total = 0.0
        for d in range(-spread, spread + 1):
            total += raw[(i + d) % length]
        out.append(total / (2 * spread + 1))
    return out


def tile():
    """555 x 20, seamless both ways: the dialog repeats it column by column over every panel."""
    width, height = 555, 20
    rng = random.Random(555020)
    rows = [smooth_noise(width, rng, 6) for _ in range(height)]
    grain = [[rng.uniform(-1.0, 1.0) for _ in range(width)] for _ in range(height)]
    pixels = []
    for y in range(height):
        # A faint weave: every other row a touch lighter, in step with the tile's height.
        weave = 1.5 * math.cos(2 * math.pi * y / 4)
        row = []
        for x in range(width):
            amount = 7.0 * rows[y][x] * 2.2 + 2.0 * grain[y][x] + weave
            row.append(shade(PAPER, amount))
        pixels.append(row)
    return width, height, pixels


def header():
    """95 x 22, stretched across each group's title: a steel-blue band with a lit top edge."""
    width, height = 95, 22
    top, bottom = (196, 210, 230), (150, 172, 204)
    pixels = []
    for y in range(height):
        row = []
        for x in range(width):
            colour = mix(top, bottom, y / (height - 1))
            if y == 0 or x == 0:
                colour = shade(colour, 30)
            if y == height - 1 or x == width - 1:
                colour = (96, 114, 142)
            row.append(colour)
        pixels.append(row)
    return width, height, pixels


def button(pressed):
    """95 x 22: the normal face is lit from above, the pressed one darker, lit from below and edged
    with a shadow on its top and left, as if pushed into the panel."""
    width, height = 95, 22
    if pressed:
        top, bottom = (168, 178, 194), (206, 213, 223)
    else:
        top, bottom = (250, 251, 253), (200, 207, 218)
    border = (92, 104, 122)
    pixels = []
    for y in range(height):
        row = []
        for x in range(width):
            colour = mix(top, bottom, y / (height - 1))
            corner = (x in (0, width - 1)) and (y in (0, height - 1))
            if corner:
                colour = PAPER
            elif x in (0, width - 1) or y in (0, height - 1):
                colour = border
            elif pressed and (x == 1 or y == 1):
                colour = (128, 138, 154)
            elif not pressed and (x == 1 or y == 1):
                colour = (255, 255, 255)
            elif not pressed and (x == width - 2 or y == height - 2):
                colour = (170, 178, 192)
            row.append(colour)
        pixels.append(row)
    return width, height, pixels


def option(selected):
    """13 x 13: a round option, filled with a dark blue dot when selected."""
    size = 13
    centre = (size - 1) / 2
    pixels = []
    for y in range(size):
        row = []
        for x in range(size):
            d = math.hypot(x - centre, y - centre)
            if d > 6.4:
                colour = PAPER
            elif d > 5.3:
                colour = (84, 98, 122)
            else:
                colour = mix((255, 255, 255), (222, 228, 238), (x + y) / (2 * size))
                if selected and d <= 3.0:
                    colour = mix((40, 74, 150), (78, 118, 196), max(0.0, (x + y - 8) / 8))
            row.append(colour)
        pixels.append(row)
    return size, size, pixels


def check(on):
    """12 x 12: a square box, with a dark blue tick when on."""
    size = 12
    tick = {(3, 5), (3, 6), (4, 6), (4, 7), (5, 7), (5, 8), (6, 6), (6, 7), (7, 5), (7, 6), (8, 4), (8, 5),
            (9, 3), (9, 4), (4, 5), (5, 6), (7, 4), (8, 3)}
    pixels = []
    for y in range(size):
        row = []
        for x in range(size):
            if x in (0, size - 1) or y in (0, size - 1):
                colour = (84, 98, 122)
            else:
                colour = mix((255, 255, 255), (222, 228, 238), (x + y) / (2 * size))
                if on and (x, y) in tick:
                    colour = (36, 70, 146)
            row.append(colour)
        pixels.append(row)
    return size, size, pixels


def write(name, picture):
    width, height, pixels = picture
    ppm = b"P6\n%d %d\n255\n" % (width, height) + bytes(c for row in pixels for p in row for c in p)
    target = os.path.join(SKIN, name)
    if name.endswith(".bmp"):
        encoding = ["-type", "TrueColor", "bmp3:" + target]
    else:
        encoding = ["-interlace", "none", "-sampling-factor", "1x1", "-quality", "95", "jpeg:" + target]
    subprocess.run(["convert", "ppm:-", "-strip"] + encoding, input=ppm, check=True)


def main():
    os.makedirs(SKIN, exist_ok=True)
    write("tile.bmp", tile())
    write("header.bmp", header())
    write("button_normal.jpg", button(False))
    write("button_pressed.jpg", button(True))
    write("option_on.jpg", option(True))
    write("option_off.jpg", option(False))
    write("check_on.jpg", check(True))
    write("check_off.jpg", check(False))


if __name__ == "__main__":
    main()
