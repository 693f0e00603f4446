#!/usr/bin/env python3
"""Writes tests/data/win31j/cp932.txt, the reference the codec's tests read.

Kept apart from gen_win31j_table.py on purpose: the characters come straight
from Python's "cp932" codec and the forms written back from glibc's iconv
"CP932" (Python for the five single bytes glibc lacks), with no rule of the
table generator involved, so the tests compare the committed tables with an
independent derivation.

Line format (hex, upper case):  BYTES CHAR [WRITTEN]
  BYTES    a byte sequence that Windows-31J reads as a character
  CHAR     that character (UTF-16 code unit)
  WRITTEN  present only when the character is written back as another sequence
and, for the characters written one way as a variant form:  > CHAR WRITTEN
"""

import os
import sys

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from gen_win31j_table import glibc_converter  # noqa: E402  (the iconv wrapper only)

ROOT = os.path.abspath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..", ".."))
OUT = os.path.join(ROOT, "tests", "data", "win31j", "cp932.txt")


def main():
    enc = glibc_converter("CP932", "UTF-16LE")
    if enc is None:
        sys.exit("glibc iconv CP932 is needed")

    def written(ch):
        got = enc(chr(ch).encode("utf-16le"))
        return got if got is not None else chr(ch).encode("cp932")

    seqs = [bytes([b]) for b in range(256)]
    seqs += [bytes([l, t]) for l in range(0x81, 0x100) for t in range(256)]
    lines = ["# Windows-31J reference: BYTES CHAR [WRITTEN]; > CHAR WRITTEN for one-way forms"]
    for seq in seqs:
        try:
            s = seq.decode("cp932")
        except UnicodeDecodeError:
            continue
        if len(s) != 1:
            continue  # a single byte followed by another: not a pair
        w = written(ord(s))
        line = "%s %04X" % (seq.hex().upper(), ord(s))
        if w != seq:
            line += " " + w.hex().upper()
        lines.append(line)
    for ch in (0x00A2, 0x00A3, 0x00AC, 0x2014, 0x2016, 0x2212, 0x301C, 0x00A5, 0x203E):
        got = enc(chr(ch).encode("utf-16le"))
        if ch in (0x00A5, 0x203E):
            continue  # glibc writes these as 5C/7E, which read back as \ and ~: not taken
        lines.append("> %04X %s" % (ch, got.hex().upper()))
    with open(OUT, "w", newline="\n") as f:
        f.write("\n".join(lines) + "\n")
    print("wrote", OUT, len(lines), "lines")


if __name__ == "__main__":
    main()
