#!/usr/bin/env python3
"""Writes resources/preview.jpg, the picture of the preview pane: a landscape (sky, trees, bands of
flower fields) caught by the collapse effect. Above an uneven, ridge-like front the landscape is
intact; from the front down each column is a streak of the colour it has at the front.

The pixels are computed here and encoded by ImageMagick's convert as a baseline JFIF JPEG."""
import math
import os
import random
import subprocess

WIDTH, HEIGHT = 152, 112
HORIZON = 44
rng = random.Random(1440)


def mix(a, b, t):
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))


def sky(x, y):
    colour = mix((92, 148, 214), (196, 222, 240), y / HORIZON)
    # Two soft clouds.
    for cx, cy, rx, ry in ((38, 12, 22, 6), (112, 20, 28, 5)):
        d = ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2
        if d < 1:
            colour = mix(colour, (246, 248, 250), (1 - d) * 0.8)
    return colour


# The tree line: a row of crowns of varied height along the horizon.
crowns = []
x = -4
while x < WIDTH + 6:
    crowns.append((x, HORIZON - rng.randint(6, 16), rng.randint(5, 9)))
    x += rng.randint(5, 9)


def tree(x, y):
    for cx, top, radius in crowns:
        cy = top + radius
        d = math.hypot(x - cx, (y - cy) * 0.8)
        if d <= radius or (y > cy and abs(x - cx) <= radius and y < HORIZON + 4):
            shade = 0.8 + 0.3 * ((x * 73 + y * 151 + cx * 17) % 11) / 10 - 0.15 * (y - top) / (2 * radius)
            light = 1.15 if x < cx and y < cy else 1.0
            return tuple(min(255, round(c * shade * light)) for c in (58, 112, 52))
    return None


# Bands of flowers, narrow near the horizon and wider towards the viewer.
FLOWERS = [(214, 58, 72), (238, 204, 64), (150, 96, 190), (240, 236, 228), (232, 132, 54), (206, 70, 150)]


def field(x, y):
    depth = (y - HORIZON) / (HEIGHT - HORIZON)
    band_position = math.sqrt(depth) * 9 + 0.05 * math.sin(x * 0.15)
    band = int(band_position)
    base = FLOWERS[band % len(FLOWERS)]
    leaves = (92, 146, 70)
    speckle = 0.55 + 0.45 * math.sin(x * 1.7 + y * 2.3) * math.cos(x * 0.6 - y * 1.1)
    colour = mix(leaves, base, max(0.35, speckle))
    if band_position - band < 0.08:
        colour = mix(colour, leaves, 0.5)
    return colour


def landscape(x, y):
    if y >= HORIZON + 2:
        return field(x, y)
    return tree(x, y) or (field(x, y) if y >= HORIZON else sky(x, y))


def front_rows():
    """An uneven front: a walk of ridges and valleys between rows 52 and 92."""
    rows = []
    level = 70.0
    step = 0.0
    for _ in range(WIDTH):
        if rng.random() < 0.3:
            step = rng.uniform(-3.5, 3.5)
        level += step + rng.uniform(-1.5, 1.5)
        if level < 52 or level > 92:
            step = -step
            level = min(92.0, max(52.0, level))
        rows.append(int(level))
    return rows


def main():
    front = front_rows()
    pixels = bytearray()
    for y in range(HEIGHT):
        for x in range(WIDTH):
            pixels += bytes(landscape(x, min(y, front[x])))
    target = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources", "preview.jpg")
    ppm = b"P6\n%d %d\n255\n" % (WIDTH, HEIGHT) + bytes(pixels)
    subprocess.run(["convert", "ppm:-", "-strip", "-interlace", "none", "-sampling-factor", "1x1",
                    "-quality", "92", "jpeg:" + target], input=ppm, check=True)


if __name__ == "__main__":
    main()
