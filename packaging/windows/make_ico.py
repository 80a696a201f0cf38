#!/usr/bin/env python3
"""The program's Windows icon (.ico) from its PNGs: an ICO container whose entries are the PNG
files themselves, which Windows reads since Vista, so no image library is needed.
  make_ico.py OUT.ico IN_16.png IN_32.png ..."""

import struct
import sys


def png_size(data):
    if data[:8] != b"\x89PNG\r\n\x1a\n" or data[12:16] != b"IHDR":
        raise ValueError("not a PNG")
    return struct.unpack(">II", data[16:24])


def ico_bytes(pngs):
    images = sorted(((png_size(p), p) for p in pngs), key=lambda item: item[0])
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = len(header) + 16 * len(images)
    entries, bodies = b"", b""
    for (width, height), data in images:
        if width > 256 or height > 256:
            raise ValueError("an icon is at most 256 pixels wide")
        # 0 stands for 256; colour count 0, planes 1, 32 bits a pixel.
        entries += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(data),
                               offset + len(bodies))
        bodies += data
    return header + entries + bodies


def main(argv):
    if len(argv) < 3:
        sys.stderr.write(__doc__)
        return 2
    pngs = []
    for name in argv[2:]:
        with open(name, "rb") as f:
            pngs.append(f.read())
    with open(argv[1], "wb") as f:
        f.write(ico_bytes(pngs))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
