#!/usr/bin/env python3
"""Builds the self-contained help page: every <img src="NAME.png"> of the source becomes a
data: URI of the picture NAME.png (or NAME_cp932.png, as the Wine tests name their screenshots)
from the picture folder, recompressed so the page stays small. Same input, same bytes.

usage: build_help.py SOURCE.html PICTURE-FOLDER OUTPUT.html
"""
import base64
import re
import struct
import sys
import zlib
from pathlib import Path


def chunks(data):
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG")
    pos = 8
    while pos < len(data):
        (length,) = struct.unpack(">I", data[pos:pos + 4])
        kind = data[pos + 4:pos + 8]
        yield kind, data[pos + 8:pos + 8 + length]
        pos += 12 + length


def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))


def recompress(data):
    """The same image with its pixel data compressed at the highest level, other chunks dropped."""
    header = None
    pixels = b""
    for kind, body in chunks(data):
        if kind == b"IHDR":
            header = body
        elif kind == b"IDAT":
            pixels += body
    raw = zlib.decompress(pixels)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main(source, folder, output):
    text = Path(source).read_text(encoding="utf-8")
    folder = Path(folder)

    def embed(match):
        name = match.group(2)
        stem = name[:-len(".png")]
        for candidate in (folder / name, folder / (stem + "_cp932.png")):
            if candidate.is_file():
                data = base64.b64encode(recompress(candidate.read_bytes())).decode("ascii")
                return match.group(1) + "data:image/png;base64," + data + match.group(3)
        raise SystemExit(f"build_help: no picture {name} in {folder}")

    page = re.sub(r'(<img\b[^>]*\bsrc=")([^":]+\.png)(")', embed, text)
    Path(output).parent.mkdir(parents=True, exist_ok=True)
    Path(output).write_bytes(page.encode("utf-8"))


if __name__ == "__main__":
    if len(sys.argv) != 4:
        raise SystemExit(__doc__)
    main(*sys.argv[1:])
