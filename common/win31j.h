#pragma once
// Windows-31J (code page 932): Shift-JIS with the NEC and IBM extensions,
// read and written exactly as Windows does, whatever the locale. Every file
// text of the system passes through here.

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
    qsizetype unmappableCount = 0;     // characters with no Windows-31J form (each written as "?")
    qsizetype firstUnmappableIndex = -1; // index in the text (UTF-16 units) of the first one, -1 when none
};

// Never fails. An invalid sequence decodes to U+FFFD. Stats accumulate, so a
// reader can decode piece by piece into one DecodeStats; firstInvalidOffset is
// then relative to the piece it was first found in unless baseOffset is given.
QString decode(QByteArrayView bytes, DecodeStats *stats = nullptr, qsizetype baseOffset = 0);

// Appends to out instead of returning a new array (the writers' hot path).
void encodeAppend(QStringView text, QByteArray &out, EncodeStats *stats = nullptr, qsizetype baseIndex = 0);
QByteArray encode(QStringView text, EncodeStats *stats = nullptr);

// Number of characters of text that Windows-31J cannot hold (0 = lossless).
qsizetype countUnmappable(QStringView text, qsizetype *firstIndex = nullptr);

} // namespace Win31J
