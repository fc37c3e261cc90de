#!/usr/bin/env python3
"""Writes the fuzz harnesses' seed corpora into OUT/<harness>/: pictures of the kinds the test bed
makes (bitmaps of 1, 8 and 24 bits, the old core header, run-length and top-first rows; GIFs;
baseline and progressive JPEGs with and without an Exif orientation in either byte order; placeable
metafiles) with the program's own skin pictures, settings files as the saver and a hand edit leave
them, and the command lines, numbers and paths the host and the dialog hand over.

Usage: make_fuzz_seeds.py OUT. GIFs and JPEGs are encoded by ImageMagick's convert; the rest is
written byte by byte here."""
import os
import shutil
import struct
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT = sys.argv[1]


def write(harness, name, data):
    folder = os.path.join(OUT, harness)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data if isinstance(data, bytes) else data.encode("utf-8"))


def bmp(width, height, bits, compression=0, info_size=40, pixels=None):
    """A bitmap of the given header kind; rows of zeros unless pixels (for run-length data) is given."""
    colours = 1 << bits if bits <= 8 else 0
    entry = 3 if info_size == 12 else 4
    table = bytes(range(256))[: colours * entry] if colours else b""
    table = table.ljust(colours * entry, b"\x80")
    rows = pixels if pixels is not None else bytes((abs(width) * bits + 31) // 32 * 4 * abs(height))
    if info_size == 12:
        info = struct.pack("<IHHHH", 12, width, height, 1, bits)
    else:
        info = struct.pack("<IiiHHIIiiII", info_size, width, height, 1, bits, compression, len(rows), 2835, 2835, 0, 0)
        if compression == 3:  # 16-bit rows with 5-6-5 colour masks
            info += struct.pack("<III", 0xF800, 0x07E0, 0x001F)
        info = info.ljust(info_size, b"\0")
    offset = 14 + len(info) + len(table)
    return b"BM" + struct.pack("<IHHI", offset + len(rows), 0, 0, offset) + info + table + rows


def convert(*arguments):
    return subprocess.run(["convert", *arguments], check=True, stdout=subprocess.PIPE).stdout


def app1_exif(orientation, big_endian=False, directory=8, extra_entries=()):
    """An APP1 payload: the Exif mark and a first directory holding the orientation."""
    order = ">" if big_endian else "<"
    entries = [(271, 2, 6, 0), *extra_entries, (274, 3, 1, orientation)]
    tiff = (b"MM\0\x2A" if big_endian else b"II\x2A\0") + struct.pack(order + "I", directory)
    tiff = tiff.ljust(directory, b"\0") + struct.pack(order + "H", len(entries))
    for tag, kind, count, value in entries:
        tiff += struct.pack(order + "HHIHH", tag, kind, count, value, 0)
    return b"Exif\0\0" + tiff + struct.pack(order + "I", 0)


def with_app1(jpeg, payload):
    return jpeg[:2] + b"\xFF\xE1" + struct.pack(">H", len(payload) + 2) + payload + jpeg[2:]


def placeable_metafile(left, top, right, bottom, inch):
    """A placeable header and a metafile that fills one rectangle."""
    records = [
        struct.pack("<IHhhhh", 7, 0x041B, 40, 30, 0, 0),  # Rectangle
        struct.pack("<IH", 3, 0),  # end of file
    ]
    body = b"".join(records)
    header = struct.pack("<HHHIHIH", 1, 9, 0x300, (18 + len(body)) // 2, 0, 7, 0)
    key = struct.pack("<IHhhhhHI", 0x9AC6CDD7, 0, left, top, right, bottom, inch, 0)
    checksum = 0
    for (word,) in struct.iter_unpack("<H", key):
        checksum ^= word
    return key + struct.pack("<H", checksum) + header + body


def pictures():
    write("picture_header", "bitmap-24.bmp", bmp(8, 6, 24))
    write("picture_header", "bitmap-8.bmp", bmp(8, 6, 8))
    write("picture_header", "bitmap-1.bmp", bmp(17, 3, 1))
    write("picture_header", "bitmap-top-first.bmp", bmp(8, -6, 24))
    write("picture_header", "bitmap-core.bmp", bmp(8, 6, 8, info_size=12))
    write("picture_header", "bitmap-masks.bmp", bmp(8, 6, 16, compression=3, info_size=56))
    write("picture_header", "bitmap-v5.bmp", bmp(4, 4, 32, info_size=124))
    run_length = bytes([4, 1, 4, 2, 0, 0, 4, 3, 4, 4, 0, 1])  # two rows of two runs, then the end
    write("picture_header", "bitmap-rle8.bmp", bmp(8, 2, 8, compression=1, pixels=run_length))
    shutil.copy(os.path.join(ROOT, "resources", "skin", "header.bmp"), os.path.join(OUT, "picture_header", "skin-header.bmp"))

    write("picture_header", "two-bands.gif", convert("-size", "8x6", "gradient:red-blue", "gif:-"))
    write("picture_header", "transparent-frame.gif",
          convert("-size", "8x6", "xc:white", "-fill", "black", "-draw", "point 3,3", "-transparent", "white",
                  "-page", "12x9+2+1", "gif:-"))
    baseline = convert("-size", "16x8", "gradient:yellow-green", "-quality", "90", "jpg:-")
    progressive = convert("-size", "16x8", "gradient:white-navy", "-interlace", "JPEG", "jpg:-")
    grey = convert("-size", "8x8", "gradient:", "-colorspace", "Gray", "jpg:-")
    write("picture_header", "baseline.jpg", baseline)
    write("picture_header", "progressive.jpg", progressive)
    write("picture_header", "grey.jpg", grey)
    # The block-average reader: each kind of JPEG it reads, and one whose blocks restart.
    write("jpeg_eighth_scale", "baseline.jpg", baseline)
    write("jpeg_eighth_scale", "progressive.jpg", progressive)
    write("jpeg_eighth_scale", "grey.jpg", grey)
    write("jpeg_eighth_scale", "full-colour-restarts.jpg",
          convert("-seed", "7", "-size", "40x24", "plasma:fractal", "-sampling-factor", "1x1",
                  "-define", "jpeg:restart-interval=2", "jpg:-"))
    for skin in sorted(os.listdir(os.path.join(ROOT, "resources", "skin"))):
        if skin.endswith(".jpg"):
            shutil.copy(os.path.join(ROOT, "resources", "skin", skin), os.path.join(OUT, "picture_header", "skin-" + skin))
    for orientation, big in ((6, False), (3, True), (8, False), (5, True)):
        turned = with_app1(baseline, app1_exif(orientation, big))
        write("picture_header", "turned-%d-%s.jpg" % (orientation, "mm" if big else "ii"), turned)
        write("exif_orientation", "turned-%d-%s.jpg" % (orientation, "mm" if big else "ii"), turned)
    write("picture_header", "metafile.wmf", placeable_metafile(0, 0, 1440, 960, 1440))
    write("picture_header", "metafile-offset.wmf", placeable_metafile(-100, 50, 100, 250, 576))

    for orientation in range(1, 9):
        for big in (False, True):
            write("exif_orientation", "app1-%d-%s" % (orientation, "mm" if big else "ii"), app1_exif(orientation, big))
    write("exif_orientation", "app1-after-others", app1_exif(7, True, directory=16, extra_entries=((272, 2, 8, 0),)))
    write("exif_orientation", "app1-not-a-short", app1_exif(6).replace(struct.pack("<HH", 274, 3), struct.pack("<HH", 274, 4)))
    write("exif_orientation", "progressive.jpg", with_app1(progressive, app1_exif(2)))


def settings():
    def ini(*lines):
        return "".join(line + "\r\n" for line in lines).encode("cp932")

    keys = ["画像ﾁｪﾝｼﾞ", "画像のｻｲｽﾞ", "画像のﾌｫﾙﾀﾞ", "画像種類_0", "画像種類_1", "画像種類_2", "画像種類_3", "速さ"]
    saved = lambda values: ini("[Section]", *("%s=%s" % (k, v) for k, v in zip(keys, values)))
    write("settings_values", "saved.ini", saved(["1", "0", "C:\\Pics", "1", "1", "1", "1", "3"]))
    write("settings_values", "saved-root.ini", saved(["0", "1", "C:\\", "1", "0", "1", "-1", "2"]))
    write("settings_values", "saved-share.ini", saved(["0", "0", "\\\\server\\share", "0", "1", "0", "0", "1"]))
    write("settings_values", "hand-edited.ini",
          ini("[section]", "速さ = 2.9 ", "画像ﾁｪﾝｼﾞ=abc", "画像のｻｲｽﾞ=40000", "画像種類_2=2",
              "画像のﾌｫﾙﾀﾞ=\"c:\\pics\\\"", "画像種類_0=1e0", "画像種類_1=-0.5"))
    write("settings_values", "gone-folder.ini", ini("[Section]", "画像のﾌｫﾙﾀﾞ=C:\\写真", "速さ=1"))
    write("settings_values", "other-section.ini", ini("[Other]", "速さ=3", "[Section]", "画像種類_3= 1"))
    write("settings_values", "empty.ini", b"")

    numbers = [" 3", "2.9", "-0.5", "abc", "40000", "1e2", "2.5E-1", "-1", " 0 ", "32767.5", "-32768", "0.5", "1.5",
               "2147483647.5", "-2147483648.49", "00012.000", ".5", "5.", "1e-400", "９"]
    for i, text in enumerate(numbers):
        write("number_text", "number-%02d" % i, text)


def command_lines():
    lines = ["/s", "/S", "-s", "xs", " /s", "", "x", "/p 1234", "/p:1234", "/p1234", "/c:4567", "/c", "/a 1234",
             "/p -12.5", "/p 4294967296", "C:\\Windows\\rubblit.scr /p 1234", "\"C:\\Program Files\\rubblit.scr\" /s",
             "rubblit.scr  /c"]
    for i, text in enumerate(lines):
        write("arguments", "command-%02d" % i, text)

    # Two bytes choose which of the paths the dialog lists (from, how many); then one path a line.
    lists = [
        ["C:\\Pics\\a.bmp", "C:\\Pics\\A.BMP", "C:\\Pics\\b.jpg", "C:\\Pics\\c.gif"],
        ["C:\\\\x.jpg", "C:\\x.jpg", "C:\\*.jpg", "C:\\Pics\\"],
        ["\\\\server\\share\\写真.jpg", "\\\\server\\share\\写真.JPG", "D:\\Fotos\\Été\\ä.gif", "D:\\Fotos\\ÉTÉ\\Ä.GIF"],
        ["C:\\Program Files\\Rubblit\\rubblit.scr", "C:\\rubblit.scr", "rubblit.scr", "C:\\Pics  ", "C:", "C:a.bmp"],
    ]
    for i, paths in enumerate(lists):
        write("paths", "paths-%d" % i, bytes([0, 12]) + "\n".join(paths).encode("utf-8"))


pictures()
settings()
command_lines()
