#!/usr/bin/env python3
"""Writes the seeds of the picture fuzz targets that are made to cost a decoder: a JPEG of more
scans than any photo has, a GIF whose screen passes the pixel limit, and a JPEG and a GIF cut
short. Each is a few hundred bytes at most. The seeds of fitted_picture start with the byte that
chooses the handset and the budget.

    tests/fuzz/picture_seeds.py        (run from anywhere; rewrites the files it makes)
"""
import pathlib
import struct

corpus = pathlib.Path(__file__).resolve().parent / "corpus"


def scan_bomb():
    """An 8 x 8 grey progressive frame and 51 scan headers, each without data: one past the limit."""
    frame = b"\xff\xc2" + struct.pack(">HBHHB", 11, 8, 8, 8, 1) + b"\x01\x11\x00"
    scan = b"\xff\xda" + struct.pack(">HB", 8, 1) + b"\x01\x00" + b"\x00\x3f\x00"
    return b"\xff\xd8" + frame + scan * 51 + b"\xff\xd9"


def large_screen_gif():
    """A screen of 8191 x 8191 pixels holding one 1 x 1 frame, in two colours."""
    header = b"GIF89a" + struct.pack("<HHBBB", 8191, 8191, 0x80, 0, 0) + b"\x00\x00\x00\xff\xff\xff"
    frame = b"\x2c" + struct.pack("<HHHHB", 0, 0, 1, 1, 0)
    return header + frame + b"\x02\x02\x44\x01\x00\x3b"


def cut_short(data):
    """The file without its last quarter: the picture's data ends early."""
    return data[: len(data) * 3 // 4]


def main():
    seeds = {
        "scan_bomb.jpg": scan_bomb(),
        "large_screen.gif": large_screen_gif(),
        "cut.jpg": cut_short((corpus / "picture" / "colour.jpg").read_bytes()),
        "cut.gif": cut_short((corpus / "fitted_picture" / "small.gif").read_bytes()[1:]),
    }
    for target, prefix in (("picture", b""), ("image_facts", b""), ("fitted_picture", b"O")):
        for name, data in seeds.items():
            (corpus / target / name).write_bytes(prefix + data)


if __name__ == "__main__":
    main()
