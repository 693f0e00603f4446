#!/usr/bin/env python3
"""Generates src/core/common/win31j_table.inc, the tables of the Windows-31J codec.

Run from anywhere:  python3 src/core/common/tools/gen_win31j_table.py
The build does not run this; the output is committed.

Sources and the checks made on them:
- Characters of every byte sequence: Python's "cp932" codec. It reads the
  double-byte area exactly like glibc's iconv "CP932" (= "WINDOWS-31J"), which
  the script checks when glibc is available. For the single bytes 0x80, 0xA0
  and 0xFD-0xFF Python follows Windows' own code page 932 table (U+0080,
  U+F8F0, U+F8F1-U+F8F3) while glibc refuses them.
- The form written for a character with several byte sequences: Windows'
  rule, applied here explicitly: the lowest sequence wins, except that the
  NEC-selected IBM extensions (lead bytes ED, EE) lose to any other form (the
  IBM extensions FA-FC or the JIS/NEC rows). glibc's "CP932" writes exactly
  these forms (checked); Python's encoder prefers ED/EE, which Windows never
  writes, so its choice is not used.
- Variant forms: a handful of characters that Windows-31J does not hold
  under their own code point but whose JIS X 0208 code it holds under the
  Microsoft reading (WAVE DASH U+301C is 0x8160, read back as FULLWIDTH TILDE
  U+FF5E, and so on). They are written in that form, one way, as glibc does
  (and Python for all but EM DASH). U+00A5 and U+203E are deliberately not among them: written as
  0x5C and 0x7E they would read back as backslash and tilde.
"""

import ctypes
import ctypes.util
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(os.path.dirname(HERE), "win31j_table.inc")

LEADS = list(range(0x81, 0xA0)) + list(range(0xE0, 0xFD))
TRAILS = list(range(0x40, 0x7F)) + list(range(0x80, 0xFD))

# One-way forms: character -> code. Verified below against both references.
VARIANTS = {
    0x00A2: 0x8191,  # CENT SIGN -> FULLWIDTH CENT SIGN
    0x00A3: 0x8192,  # POUND SIGN -> FULLWIDTH POUND SIGN
    0x00AC: 0x81CA,  # NOT SIGN -> FULLWIDTH NOT SIGN
    0x2014: 0x815C,  # EM DASH -> HORIZONTAL BAR
    0x2016: 0x8161,  # DOUBLE VERTICAL LINE -> PARALLEL TO
    0x2212: 0x817C,  # MINUS SIGN -> FULLWIDTH HYPHEN-MINUS
    0x301C: 0x8160,  # WAVE DASH -> FULLWIDTH TILDE
}


def glibc_converter(to, frm):
    """A function converting bytes with glibc's iconv, or None."""
    libc = ctypes.CDLL(ctypes.util.find_library("c"))
    libc.iconv_open.restype = ctypes.c_void_p
    libc.iconv_open.argtypes = [ctypes.c_char_p, ctypes.c_char_p]
    pp = ctypes.POINTER(ctypes.c_char_p)
    sp = ctypes.POINTER(ctypes.c_size_t)
    libc.iconv.argtypes = [ctypes.c_void_p, pp, sp, pp, sp]
    libc.iconv.restype = ctypes.c_size_t
    cd = libc.iconv_open(to.encode(), frm.encode())
    if cd is None or cd == ctypes.c_void_p(-1).value:
        return None

    def convert(data):
        libc.iconv(cd, None, None, None, None)
        inbuf = ctypes.create_string_buffer(data, len(data))
        inp = ctypes.c_char_p(ctypes.addressof(inbuf))
        inleft = ctypes.c_size_t(len(data))
        outbuf = ctypes.create_string_buffer(64)
        outp = ctypes.c_char_p(ctypes.addressof(outbuf))
        outleft = ctypes.c_size_t(64)
        failed = ctypes.c_size_t(-1).value
        if libc.iconv(cd, ctypes.byref(inp), ctypes.byref(inleft),
                      ctypes.byref(outp), ctypes.byref(outleft)) == failed:
            return None
        if libc.iconv(cd, None, None, ctypes.byref(outp), ctypes.byref(outleft)) == failed:
            return None
        return outbuf.raw[:64 - outleft.value]

    return convert


def py_decode(b):
    try:
        return b.decode("cp932")
    except UnicodeDecodeError:
        return None


def build():
    single = {}
    for b in range(256):
        if b in LEADS:
            continue
        s = py_decode(bytes([b]))
        assert s is not None and len(s) == 1, hex(b)
        single[b] = ord(s)
    assert all(single[b] == b for b in range(0x80))
    assert single[0x80] == 0x80 and single[0xA0] == 0xF8F0
    assert [single[b] for b in (0xFD, 0xFE, 0xFF)] == [0xF8F1, 0xF8F2, 0xF8F3]

    double = {}
    for lead in LEADS:
        for t in range(256):
            s = py_decode(bytes([lead, t]))
            if s is None:
                continue
            assert t in TRAILS and len(s) == 1, (hex(lead), hex(t))
            double[(lead << 8) | t] = ord(s)
    user = [c for c in double if 0xF0 <= c >> 8 <= 0xF9]
    assert len(user) == 1880
    assert sorted(double[c] for c in user) == list(range(0xE000, 0xE758))
    assert not set(single.values()) & set(double.values())

    forms = {}
    for code in sorted(double):
        forms.setdefault(double[code], []).append(code)
    encode = {ch: b for b, ch in single.items()}
    for ch, codes in forms.items():
        preferred = [c for c in codes if c >> 8 not in (0xED, 0xEE)] or codes
        encode[ch] = preferred[0]
    duplicates = sum(len(c) - 1 for c in forms.values())
    assert duplicates == 398, duplicates

    for ch, code in VARIANTS.items():
        assert ch not in encode
        try:  # Python lacks EM DASH; glibc has all of them (checked below)
            assert chr(ch).encode("cp932") == bytes([code >> 8, code & 0xFF]), hex(ch)
        except UnicodeEncodeError:
            assert ch == 0x2014

    cross_check(single, double, encode)
    return single, double, encode


def cross_check(single, double, encode):
    dec = glibc_converter("UTF-16LE", "CP932")
    enc = glibc_converter("CP932", "UTF-16LE")
    if dec is None or enc is None:
        print("glibc iconv CP932 not available: cross-check skipped", file=sys.stderr)
        return
    for lead in LEADS:
        for t in range(256):
            got = dec(bytes([lead, t]))
            want = double.get((lead << 8) | t)
            got = None if got is None else got.decode("utf-16le")
            assert got == (None if want is None else chr(want)), (hex(lead), hex(t), got)
    for ch, code in encode.items():
        if ch in (0x80, 0xF8F0, 0xF8F1, 0xF8F2, 0xF8F3):
            continue  # glibc has no form for these single bytes
        got = enc(chr(ch).encode("utf-16le"))
        want = bytes([code]) if code < 0x100 else bytes([code >> 8, code & 0xFF])
        assert got == want, (hex(ch), got, want)
    for ch, code in VARIANTS.items():
        assert enc(chr(ch).encode("utf-16le")) == bytes([code >> 8, code & 0xFF]), hex(ch)


def rows(values, per_line, fmt):
    lines = []
    for i in range(0, len(values), per_line):
        items = ["0" if v == 0 else fmt % v for v in values[i:i + per_line]]
        lines.append(",".join(items) + ",")
    return "\n".join(lines)


def write(single, double, encode):
    lead_row = [0xFF] * 256
    for i, lead in enumerate(LEADS):
        lead_row[lead] = i
    trail_col = [0xFF] * 256
    for i, t in enumerate(TRAILS):
        trail_col[t] = i
    single_tab = [single.get(b, 0xFFFF) for b in range(256)]
    double_tab = [double.get((lead << 8) | t, 0) for lead in LEADS for t in TRAILS]

    # Encode table: 128-character blocks, identical blocks shared (block 0 is
    # the empty one).
    block = 128
    blocks = [tuple([0] * block)]
    index = []
    for start in range(0, 0x10000, block):
        b = tuple(encode.get(c, 0) if c >= 0x80 else 0 for c in range(start, start + block))
        if b not in blocks:
            blocks.append(b)
        index.append(blocks.index(b))
    assert len(blocks) < 256

    out = []
    out.append("// Generated by src/core/common/tools/gen_win31j_table.py; do not edit.")
    out.append("// Tables of the Windows-31J codec (see win31j.cpp).")
    out.append("")
    out.append("// Character of each single byte; 0xFFFF marks a lead byte.")
    out.append("static const char16_t kSingle[256] = {")
    out.append(rows(single_tab, 16, "0x%04X"))
    out.append("};")
    out.append("")
    out.append("// Row of each lead byte in kDouble, 0xFF for other bytes.")
    out.append("static const unsigned char kLeadRow[256] = {")
    out.append(rows(lead_row, 16, "0x%02X"))
    out.append("};")
    out.append("")
    out.append("// Column of each trail byte in kDouble, 0xFF for bytes that cannot trail.")
    out.append("static const unsigned char kTrailCol[256] = {")
    out.append(rows(trail_col, 16, "0x%02X"))
    out.append("};")
    out.append("")
    out.append("constexpr int kTrailCount = %d;" % len(TRAILS))
    out.append("")
    out.append("// Character of each lead/trail pair (row * kTrailCount + column); 0 = none.")
    out.append("static const char16_t kDouble[%d * kTrailCount] = {" % len(LEADS))
    out.append(rows(double_tab, 16, "0x%04X"))
    out.append("};")
    out.append("")
    out.append("constexpr int kEncodeBlockBits = %d;" % (block.bit_length() - 1))
    out.append("")
    out.append("// Block of kEncode for each run of %d characters of the BMP." % block)
    out.append("static const unsigned char kEncodeIndex[%d] = {" % len(index))
    out.append(rows(index, 32, "%d"))
    out.append("};")
    out.append("")
    out.append("// Form Windows writes for each character: a single byte (< 0x100), a")
    out.append("// lead/trail pair (lead << 8 | trail), or 0 when there is none. Characters")
    out.append("// below 0x80 are ASCII and handled before the table.")
    out.append("static const unsigned short kEncode[%d][%d] = {" % (len(blocks), block))
    for b in blocks:
        out.append("{")
        out.append(rows(list(b), 16, "0x%04X"))
        out.append("},")
    out.append("};")
    out.append("")
    out.append("// Characters written, one way, in the form of a variant the code page holds.")
    out.append("struct Variant { char16_t ch; unsigned short code; };")
    out.append("static const Variant kVariants[] = {")
    for ch in sorted(VARIANTS):
        out.append("    {0x%04X, 0x%04X}," % (ch, VARIANTS[ch]))
    out.append("};")
    out.append("")
    with open(OUT, "w", newline="\n") as f:
        f.write("\n".join(out))
    print("wrote %s: %d single bytes, %d pairs, %d encodable characters, %d encode blocks"
          % (OUT, len(single), len(double), len(encode), len(blocks)))


if __name__ == "__main__":
    write(*build())
