#!/usr/bin/env python3
"""Writes the small hostile inputs kept in this folder: metafiles, a JPEG, a page file and a
result table of a few bytes to a few hundred kilobytes that ask a reader for gigabytes of memory
or minutes of work. Run from anywhere; the files land beside this script.

    make_hostile_inputs.py [--full] [OUTDIR]

--full writes the sizes measured for the closing figures (100,000 saves and clip rectangles,
3,000 JPEG scans, 3.6 million result lines, and 1,000 metafiles of text in wide fonts for one
process) into OUTDIR instead of the smaller kept ones.
"""
import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))


# ---- Enhanced metafiles -------------------------------------------------------------------

def record(rtype, payload):
    body = payload + b"\0" * (-len(payload) % 4)
    return struct.pack("<II", rtype, 8 + len(body)) + body


def metafile(records, handles=20):
    eof = record(14, struct.pack("<III", 0, 16, 20))
    body = b"".join(records) + eof
    size = 108 + len(body)
    header = struct.pack("<II", 1, 108)
    header += struct.pack("<4i", 0, 0, 399, 299)          # bounds
    header += struct.pack("<4i", 0, 0, 10583, 7937)       # frame, 0.01 mm
    header += struct.pack("<IIII", 0x464D4520, 0x10000, size, len(records) + 2)
    header += struct.pack("<HH", handles, 0)
    header += struct.pack("<III", 0, 0, 0)                # description, palette entries
    header += struct.pack("<2i", 1920, 1440) + struct.pack("<2i", 508, 381)
    header += struct.pack("<III", 0, 0, 0) + struct.pack("<2i", 508000, 381000)
    assert len(header) == 108
    return header + body


def rle8_bitmap(width, height):
    """An info header with a two-entry palette and two bytes of run-length data."""
    bmi = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 1, 2, 3780, 3780, 2, 0)
    bmi += struct.pack("<II", 0x00FF0000, 0x0000FF00)
    return bmi, b"\x00\x01"  # end of bitmap at once


def pattern_brushes(count=16, side=8192):
    bmi, bits = rle8_bitmap(side, side)
    recs = []
    for k in range(count):
        off_bmi = 32
        off_bits = off_bmi + len(bmi)
        recs.append(record(94, struct.pack("<IIIIII", 1 + k, 0, off_bmi, len(bmi), off_bits, len(bits))
                           + bmi + bits))
    return metafile(recs)


def stretch_dibits(count=100, side=8192, dest=(10, 10, 200, 150)):
    bmi, bits = rle8_bitmap(side, side)
    recs = []
    for _ in range(count):
        off_bmi = 80
        off_bits = off_bmi + len(bmi)
        x, y, cx, cy = dest
        payload = struct.pack("<4i", x, y, x + cx, y + cy)                  # bounds
        payload += struct.pack("<6i", x, y, 0, 0, side, side)               # dest, source
        payload += struct.pack("<IIII", off_bmi, len(bmi), off_bits, len(bits))
        payload += struct.pack("<II", 0, 0x00CC0020)                        # usage, SRCCOPY
        payload += struct.pack("<2i", cx, cy)
        recs.append(record(81, payload + bmi + bits))
    return metafile(recs)


def clip_rects_record(rects):
    """EMR_EXTSELECTCLIPRGN (RGN_COPY) of the rectangles."""
    data = struct.pack("<IIII", 32, 1, len(rects), 16 * len(rects))
    data += struct.pack("<4i", 0, 0, 400, 300)
    data += b"".join(struct.pack("<4i", *r) for r in rects)
    return record(75, struct.pack("<Ii", len(data), 5) + data)


def clip_then_saves(rects=9600, saves=100000):
    # Rectangles in rows of 80 one pixel apart: many bands with many rectangles each.
    rs = [(2 * (k % 80), 2 * (k // 80), 2 * (k % 80) + 1, 2 * (k // 80) + 1) for k in range(rects)]
    return metafile([clip_rects_record(rs)] + [record(33, b"")] * saves)


def clip_in_bands(rects=100000):
    rs = [(k % 7, 2 * k, k % 7 + 5, 2 * k + 1) for k in range(rects)]
    return metafile([clip_rects_record(rs)])


def wide_font_text(index, width):
    """Text in a font of 120 to 139 units and `width`: 60 different kanji on the base line,
    other ones in every metafile."""
    height = -(120 + index % 20)
    face = "IPAGothic" if index % 2 else "IPAMincho"
    font = struct.pack("<iiiii8B", height, width, 0, 0, 400, 0, 0, 0, 1, 0, 0, 0, 0)
    font += face.encode("utf-16-le").ljust(64, b"\0")
    font += b"\0" * (332 - len(font))
    text = "".join(chr(0x4E00 + (index * 60 + k) % 20000) for k in range(60))
    n = len(text)
    emrtext = struct.pack("<ii", -20, 290)                    # reference point
    emrtext += struct.pack("<II", n, 76)                      # chars, offset of the string
    emrtext += struct.pack("<I", 0) + struct.pack("<4i", 0, 0, 0, 0) + struct.pack("<I", 0)
    text_rec = struct.pack("<4i", 0, 0, 399, 299) + struct.pack("<Iff", 1, 1.0, 1.0) + emrtext
    text_rec += text.encode("utf-16-le")
    return metafile([record(22, struct.pack("<I", 24)),  # TA_BASELINE: the glyphs rise into the picture
                     record(82, struct.pack("<I", 1) + font), record(37, struct.pack("<I", 1)),
                     record(84, text_rec)])


def turned_text_int_min():
    """Text turned by -2^31 tenths of a degree, with the y axis pointing up (MM_LOMETRIC): the
    player turns the angle over for it."""
    font = struct.pack("<iiiii8B", -40, 0, -2**31, -2**31, 400, 0, 0, 0, 1, 0, 0, 0, 0)
    font += "Liberation Sans".encode("utf-16-le").ljust(64, b"\0")
    font += b"\0" * (332 - len(font))
    text = "INT_MIN"
    emrtext = struct.pack("<ii", 200, -300) + struct.pack("<II", len(text), 76)
    emrtext += struct.pack("<I", 0) + struct.pack("<4i", 0, 0, 0, 0) + struct.pack("<I", 0)
    text_rec = struct.pack("<4i", 0, 0, 399, 299) + struct.pack("<Iff", 1, 1.0, 1.0) + emrtext
    text_rec += text.encode("utf-16-le")
    return metafile([record(17, struct.pack("<I", 2)), record(82, struct.pack("<I", 1) + font),
                     record(37, struct.pack("<I", 1)), record(84, text_rec)])


# ---- JPEG ---------------------------------------------------------------------------------

class Bits:
    def __init__(self):
        self.out = bytearray()
        self.acc = 0
        self.n = 0

    def put(self, value, count):
        for k in range(count - 1, -1, -1):
            self.acc = (self.acc << 1) | ((value >> k) & 1)
            self.n += 1
            if self.n == 8:
                self.out.append(self.acc)
                if self.acc == 0xFF:
                    self.out.append(0)
                self.acc = self.n = 0

    def done(self):
        while self.n:
            self.put(1, 1)
        return bytes(self.out)


def segment(marker, payload):
    return struct.pack(">BBH", 0xFF, marker, len(payload) + 2) + payload


def dht(klass, ident, by_length):
    counts = [len(by_length.get(n, [])) for n in range(1, 17)]
    symbols = b"".join(bytes(by_length.get(n, [])) for n in range(1, 17))
    return segment(0xC4, bytes([klass << 4 | ident]) + bytes(counts) + symbols)


def jpeg_start(side, components):
    out = b"\xFF\xD8" + segment(0xDB, b"\x00" + b"\x01" * 64)
    sof = struct.pack(">BHHB", 8, side, side, components)
    for c in range(components):
        sof += bytes([1 + c, 0x11, 0])
    return out + segment(0xC2, sof)


def sos(component, ss, se, ah, al):
    return segment(0xDA, bytes([1, component, 0x00, ss, se, ah << 4 | al]))


def jpeg_repeated_scan(side=8192, scans=3000):
    """An 8192-square progressive picture whose one AC scan (end-of-band runs over every block,
    no DC scan before it) comes again and again."""
    blocks = (side // 8) ** 2
    bits = Bits()
    left = blocks
    while left:
        run = min(left, 32767)
        r = run.bit_length() - 1
        bits.put(0 if r == 14 else 1, 2)           # code '00' = 0xE0, '01' = r << 4
        bits.put(run - (1 << r), r)
        left -= run
    data = bits.done()
    last = blocks % 32767 or 32767
    out = jpeg_start(side, 1) + dht(1, 0, {2: [0xE0, (last.bit_length() - 1) << 4]})
    out += (sos(1, 1, 63, 0, 0) + data) * scans
    return out + b"\xFF\xD9"


def jpeg_many_scans():
    """An 8 x 8 picture of three components, every coefficient of each brought in bit by bit: a
    valid progression of 2,688 scans."""
    out = jpeg_start(8, 3) + dht(0, 0, {1: [0]}) + dht(1, 0, {1: [0]})
    one_zero = b"\x7F"  # one code '0' (a zero or an end of band), padded with ones
    for c in range(1, 4):
        out += sos(c, 0, 0, 0, 13) + one_zero
        for al in range(12, -1, -1):
            out += sos(c, 0, 0, al + 1, al) + one_zero
    for c in range(1, 4):
        for k in range(1, 64):
            out += sos(c, k, k, 0, 13) + one_zero
            for al in range(12, -1, -1):
                out += sos(c, k, k, al + 1, al) + one_zero
    return out + b"\xFF\xD9"


# ---- Report page file ---------------------------------------------------------------------

def page_file(page):
    """A saved report page file holding `page` as its one uncompressed page."""
    header = struct.pack("<hhIiI", 3, 40, 0, 1, 0) + struct.pack("<d", 0.0) + b"\0\0" + b"\x48" * 100 + b"\0\0"
    assert len(header) == 128
    end = 128 + 8 + len(page) + 4
    return header + struct.pack("<ii", 1, end) + page + struct.pack("<i", 128)


# ---- Result table -------------------------------------------------------------------------

def empty_lines(count):
    return b"\r\n" * count


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)
    print(f"{path}: {len(data)} bytes")


def main():
    args = sys.argv[1:]
    full = "--full" in args
    args = [a for a in args if a != "--full"]
    out = args[0] if args else HERE
    def at(target, name):
        os.makedirs(os.path.join(out, target), exist_ok=True)
        return os.path.join(out, target, name)
    for target in ("emf_trace", "emf_qt"):
        write(at(target, "pattern_brushes_16_rle_8192_square.emf"), pattern_brushes())
        write(at(target, "stretch_dibits_100_rle_8192_square.emf"), stretch_dibits())
        write(at(target, "clip_9600_rects_then_saves.emf"), clip_then_saves(9600, 100000 if full else 20000))
        write(at(target, "clip_rects_in_separate_bands.emf"), clip_in_bands(100000 if full else 20000))
        write(at(target, "turned_text_escapement_int_min.emf"), turned_text_int_min())
    write(at("jpeg", "one_scan_repeated_8192_square.jpg"), jpeg_repeated_scan(scans=3000 if full else 1100))
    write(at("jpeg", "valid_progression_of_2688_scans.jpg"), jpeg_many_scans())
    write(at("page_file", "pattern_brushes_16_rle_8192_square_as_page_1.rpt"), page_file(pattern_brushes()))
    write(at("emf_qt", "kanji_in_a_font_of_largest_width.emf"), wide_font_text(1, 30000))
    write(at("result_tables", "empty_lines_" + ("3600000" if full else "20000") + ".txt"),
          b"\x01" + empty_lines(3600000 if full else 20000))
    if full:
        for k in range(1000):
            write(at("wide_fonts", f"wide_font_{k:04d}.emf"), wide_font_text(k, 300))


if __name__ == "__main__":
    main()
