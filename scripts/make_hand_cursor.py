#!/usr/bin/env python3
"""Writes resources/hand.cur: a 32 x 32 monochrome pointing hand, hot spot on the fingertip."""
import os
import struct

# '#' outline (black), '.' inside (white), anything else transparent.
HAND = [
    "      ##                        ",
    "     #..#                       ",
    "     #..#                       ",
    "     #..#                       ",
    "     #..#                       ",
    "     #..###                     ",
    "     #..#..###                  ",
    "     #..#..#..##                ",
    "     #..#..#..#.#               ",
    " ### #..#..#..#..#              ",
    " #..##........#..#              ",
    " #...#...........#              ",
    "  #..#...........#              ",
    "   #.............#              ",
    "   #.............#              ",
    "    #............#              ",
    "    #...........#               ",
    "     #..........#               ",
    "     #.........#                ",
    "      #........#                ",
    "      #........#                ",
    "      ##########                ",
]
HOT_SPOT = (6, 0)
SIZE = 32


def mask_rows(bit_of):
    """Rows bottom-up, 32 bits each, most significant bit leftmost."""
    rows = []
    for y in reversed(range(SIZE)):
        line = HAND[y] if y < len(HAND) else ""
        value = 0
        for x in range(SIZE):
            value = (value << 1) | bit_of(line[x] if x < len(line) else " ")
        rows.append(struct.pack(">I", value))
    return b"".join(rows)


def main():
    xor_mask = mask_rows(lambda c: 1 if c == "." else 0)
    and_mask = mask_rows(lambda c: 0 if c in "#." else 1)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 1, 0, len(xor_mask) + len(and_mask), 0, 0, 2, 2)
    palette = struct.pack("<II", 0x00000000, 0x00FFFFFF)
    image = header + palette + xor_mask + and_mask
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 2, 0, HOT_SPOT[0], HOT_SPOT[1], len(image), 6 + 16)
    target = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources", "hand.cur")
    with open(target, "wb") as out:
        out.write(directory + entry + image)


if __name__ == "__main__":
    main()
