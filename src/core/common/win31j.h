#pragma once
// Windows-31J (code page 932): Shift-JIS with the NEC and IBM extensions,
// read and written exactly as Windows does, whatever the locale. Every file
// text of the system passes through here.
//
// Bytes 0x00-0x7F are ASCII both ways (0x5C is the backslash, 0x7E the
// tilde), 0xA1-0xDF the half-width katakana, and 0x80, 0xA0, 0xFD, 0xFE, 0xFF
// read as U+0080, U+F8F0, U+F8F1, U+F8F2, U+F8F3 and are written back as the
// same bytes, as Windows' code page 932 table does. The user-defined area
// F040-F9FC is U+E000-U+E757. Where a character has several byte forms (NEC
// row 13 against JIS row 2, NEC-selected against IBM extensions) every form
// reads as that character and the one Windows writes is written.
//
// CR, LF and the field terminator 0x01 never occur inside a double-byte
// character, so a caller may split bytes at them and decode the pieces.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace Win31J {

struct DecodeStats {
    qsizetype invalidCount = 0;        // byte sequences with no character (a lone lead byte at the end counts)
    qsizetype firstInvalidOffset = -1; // byte offset of the first one, -1 when none
};

struct EncodeStats {
    qsizetype unmappableCount = 0;       // characters with no Windows-31J form (each written as "?")
    qsizetype firstUnmappableIndex = -1; // index in the text (UTF-16 units) of the first one, -1 when none
    // Characters written in the form of a look-alike the code page holds, one
    // way: U+301C WAVE DASH as 0x8160 (read back as U+FF5E FULLWIDTH TILDE),
    // U+2014, U+2016, U+2212, U+00A2, U+00A3, U+00AC likewise. Not unmappable.
    qsizetype substitutedCount = 0;
    qsizetype firstSubstitutedIndex = -1;
};

// Never fails. An invalid sequence decodes to U+FFFD:
// - a lead byte (81-9F, E0-FC) followed by a trail byte (40-7E, 80-FC) is
//   always read as one two-byte unit, as Windows reads it; a pair with no
//   character is one invalid sequence of two bytes;
// - a lead byte followed by any other byte, or by nothing, is one invalid
//   sequence of one byte, and the next byte is read on its own, so a broken
//   lead byte never swallows a control code, quote, comma or line end.
// Stats accumulate, so a reader can decode piece by piece into one
// DecodeStats; firstInvalidOffset is baseOffset plus the offset in the piece
// it was first found in.
QString decode(QByteArrayView bytes, DecodeStats *stats = nullptr, qsizetype baseOffset = 0);

// The same into out, which has room for bytes.size() units (no byte gives
// more than one); returns the number of units written.
qsizetype decodeInto(QByteArrayView bytes, char16_t *out, DecodeStats *stats = nullptr, qsizetype baseOffset = 0);

// Counts the invalid sequences of bytes exactly as decode would, without
// producing any text (a scan that only needs the counts). Returns the number
// found in bytes; stats accumulate as with decode.
qsizetype validate(QByteArrayView bytes, DecodeStats *stats = nullptr, qsizetype baseOffset = 0);

// Appends to out instead of returning a new array (the writers' hot path).
// A character with no form is written as "?", as Windows does: a surrogate
// pair (one character beyond the BMP) gives one "?", a lone surrogate too.
// Stats accumulate; indices are baseIndex plus the index in text.
void encodeAppend(QStringView text, QByteArray &out, EncodeStats *stats = nullptr, qsizetype baseIndex = 0);
QByteArray encode(QStringView text, EncodeStats *stats = nullptr);
// The same into out, which has room for 2 * text.size() bytes (no unit gives
// more than two); returns the number of bytes written. Bytes of out past
// them may have been overwritten.
qsizetype encodeInto(QStringView text, char *out, EncodeStats *stats = nullptr, qsizetype baseIndex = 0);

// Number of characters of text that Windows-31J cannot hold, counted as
// encode counts them (0 = nothing becomes "?").
qsizetype countUnmappable(QStringView text, qsizetype *firstIndex = nullptr);

// Text of a file another program wrote. Linux programs usually save UTF-8,
// and Japanese UTF-8 is often also a valid (and wrong) Windows-31J byte
// sequence, while Windows-31J text is almost never valid UTF-8 once it holds
// a Japanese character. So bytes that are valid UTF-8 and not plain ASCII
// are read as UTF-8 (a byte-order mark dropped), anything else as
// Windows-31J; stats are only filled in the second case.
QString decodeForeign(QByteArrayView bytes, DecodeStats *stats = nullptr);

} // namespace Win31J
