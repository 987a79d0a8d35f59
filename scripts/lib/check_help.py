#!/usr/bin/env python3
"""Checks the built help page without any network: UTF-8 declared, nothing loaded from outside,
every in-page link has its target, every picture is embedded and decodes. Writes a test report
in the Google Test XML form when given one.

usage: check_help.py PAGE.html [REPORT.xml]
"""
import base64
import struct
import sys
import zlib
from html.parser import HTMLParser


class Page(HTMLParser):
    def __init__(self):
        super().__init__()
        self.ids, self.links, self.pictures, self.outside = set(), [], [], []
        self.charset = None

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        if "id" in a:
            self.ids.add(a["id"])
        if tag == "a" and "name" in a:
            self.ids.add(a["name"])
        if tag == "meta" and "charset" in a:
            self.charset = a["charset"].lower()
        if tag == "a" and "href" in a:
            self.links.append(a["href"])
        elif tag == "img":
            self.pictures.append(a.get("src", ""))
        for key in ("src", "href", "data", "poster"):
            value = a.get(key)
            if value is not None and tag != "a" and tag != "img" and not value.startswith("data:"):
                self.outside.append(f"<{tag} {key}={value}>")


def decode_png(data):
    """Width and height of a PNG whose chunks are intact and whose pixels inflate fully."""
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("no PNG signature")
    pos, pixels, size = 8, b"", None
    while pos < len(data):
        (length,) = struct.unpack(">I", data[pos:pos + 4])
        kind, body = data[pos + 4:pos + 8], data[pos + 8:pos + 8 + length]
        (crc,) = struct.unpack(">I", data[pos + 8 + length:pos + 12 + length])
        if zlib.crc32(kind + body) != crc:
            raise ValueError(f"bad CRC in {kind!r}")
        if kind == b"IHDR":
            width, height, depth, colour = struct.unpack(">IIBB", body[:10])
            channels = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}[colour]
            size = (width, height, height * (1 + (width * channels * depth + 7) // 8))
        elif kind == b"IDAT":
            pixels += body
        pos += 12 + length
    if size is None or len(zlib.decompress(pixels)) != size[2] or size[0] * size[1] == 0:
        raise ValueError("pixel data does not match the image size")
    return size[:2]


def check(path):
    failures = []
    page = Page()
    page.feed(open(path, encoding="utf-8").read())
    if page.charset != "utf-8":
        failures.append(f"charset declared as {page.charset!r}, not utf-8")
    for href in page.links:
        if not href.startswith("#"):
            failures.append(f"link out of the page: {href}")
        elif href[1:] not in page.ids:
            failures.append(f"link without target: {href}")
    for where in page.outside:
        failures.append(f"loads from outside: {where}")
    if not page.pictures:
        failures.append("no pictures")
    for src in page.pictures:
        prefix = "data:image/png;base64,"
        if not src.startswith(prefix):
            failures.append(f"picture not embedded: {src[:60]}")
            continue
        try:
            decode_png(base64.b64decode(src[len(prefix):], validate=True))
        except (ValueError, KeyError, struct.error, zlib.error) as e:
            failures.append(f"picture does not decode: {e}")
    return page, failures


def main(path, report=None):
    page, failures = check(path)
    for f in failures:
        print("FAIL:", f)
    print(f"help page check: {len(page.links)} links, {len(page.pictures)} pictures, "
          f"{len(failures)} failures")
    if report:
        with open(report, "w", encoding="utf-8") as out:
            out.write(f'<?xml version="1.0" encoding="UTF-8"?>\n<testsuites tests="1" '
                      f'failures="{1 if failures else 0}" errors="0" name="help_page">\n'
                      f'<testsuite name="HelpPage" tests="1"><testcase name="LinksAndPictures"/>'
                      f'</testsuite>\n</testsuites>\n')
    return 1 if failures else 0


if __name__ == "__main__":
    if len(sys.argv) not in (2, 3):
        raise SystemExit(__doc__)
    sys.exit(main(*sys.argv[1:]))
