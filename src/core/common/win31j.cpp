// Table-driven Windows-31J codec. The tables (win31j_table.inc) are generated
// by src/core/common/tools/gen_win31j_table.py, which explains where they come from.
//
// Qt's own "windows-31j" converter (ICU) is not used: it swaps the control
// codes 0x1A, 0x1C and 0x7F, reads invalid bytes as U+001A, drops a trailing
// lead byte and writes unmappable characters as FC FC, all of which would
// corrupt card files.
#include "core/common/win31j.h"

#include <QStringDecoder>

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace Win31J {
namespace {

#include "core/common/win31j_table.inc"

constexpr char16_t kLeadMark = 0xFFFF;
constexpr char16_t kReplacement = 0xFFFD;
constexpr unsigned char kNone = 0xFF;
constexpr qsizetype kStackUnits = 2048;

// Copies the run of ASCII bytes at the start of src[0..n) to dst, widened, and
// returns its length. May write up to 15 units past the run, never past
// dst + n: the caller overwrites them.
inline qsizetype widenAscii(const unsigned char *src, qsizetype n, char16_t *dst)
{
    qsizetype i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    for (; i + 16 <= n; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(src + i));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(dst + i), _mm_unpacklo_epi8(v, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(dst + i + 8), _mm_unpackhi_epi8(v, zero));
        if (const int mask = _mm_movemask_epi8(v))
            return i + __builtin_ctz(unsigned(mask));
    }
#endif
    for (; i < n && src[i] < 0x80; ++i)
        dst[i] = src[i];
    return i;
}

// How decoding reads a byte and the one after it, by byte | next << 8: two
// characters (neither is a lead byte) or one character of two bytes, one
// character of one byte (the next byte is a lead byte), a pair with no
// character (two bytes, invalid), or a lead byte before a byte that cannot
// trail (one byte, invalid). 64 KB, built on first use; a scan looks up one
// entry per one or two characters. ASCII takes the common step too: in
// Japanese text its runs are short, and a branch of its own would be
// mispredicted at every one of them.
enum Step : unsigned char { Two, One, InvalidPair, LoneLead };

struct StepTable {
    unsigned char step[256 * 256];
    StepTable()
    {
        for (unsigned next = 0; next <= 0xFF; ++next) {
            for (unsigned b = 0; b <= 0xFF; ++b) {
                Step s;
                if (kLeadRow[b] == kNone) {
                    s = kLeadRow[next] != kNone ? One : Two;
                } else if (kTrailCol[next] == kNone) {
                    s = LoneLead;
                } else {
                    s = kDouble[kLeadRow[b] * kTrailCount + kTrailCol[next]] ? Two : InvalidPair;
                }
                step[b | next << 8] = s;
            }
        }
    }
};

// The form Windows writes for c (>= 0x80): a byte, a lead << 8 | trail pair,
// or 0.
inline unsigned formOf(char16_t c)
{
    return kEncode[kEncodeIndex[c >> kEncodeBlockBits]][c & ((1u << kEncodeBlockBits) - 1)];
}

// The bytes Windows writes for every BMP character, in the order they are
// written (first byte in the low half): one byte below 0x100, a lead and a
// trail byte at or above it (a trail byte is at least 0x40), 0 when the
// character has none and for U+0000 (the byte 00), which both take the slow
// way. 128 KB, built on first use; the writers look up one entry per
// character.
struct WrittenForms {
    unsigned short bytes[0x10000];
    WrittenForms()
    {
        for (unsigned c = 0; c < 0x80; ++c)
            bytes[c] = static_cast<unsigned short>(c); // 0 for U+0000
        for (unsigned c = 0x80; c <= 0xFFFF; ++c) {
            const unsigned form = formOf(char16_t(c));
            bytes[c] = static_cast<unsigned short>(form > 0xFF ? (form >> 8) | (form & 0xFF) << 8 : form);
        }
    }
};

const WrittenForms &writtenForms()
{
    static const WrittenForms forms;
    return forms;
}

unsigned variantFormOf(char16_t c)
{
    for (const Variant &v : kVariants) {
        if (v.ch == c)
            return v.code;
    }
    return 0;
}

inline bool startsSurrogatePair(const char16_t *s, qsizetype i, qsizetype n)
{
    return QChar::isHighSurrogate(s[i]) && i + 1 < n && QChar::isLowSurrogate(s[i + 1]);
}

inline void note(qsizetype &count, qsizetype &first, qsizetype at)
{
    if (count++ == 0)
        first = at;
}

inline void merge(qsizetype &count, qsizetype &first, qsizetype addCount, qsizetype addFirst)
{
    if (addCount == 0)
        return;
    if (first < 0)
        first = addFirst;
    count += addCount;
}

// Decodes p[0..n) into begin, which has room for n units; returns the number of
// units written.
qsizetype decodeUnits(const unsigned char *p, qsizetype n, char16_t *const begin, qsizetype &invalid,
                      qsizetype &firstInvalid)
{
    char16_t *d = begin;
    qsizetype i = 0;
    while (i < n) {
        unsigned b = p[i];
        if (b < 0x80) {
            const qsizetype run = widenAscii(p + i, n - i, d);
            i += run;
            d += run;
            continue;
        }
        do {
            const char16_t single = kSingle[b];
            if (single != kLeadMark) {
                *d++ = single;
                ++i;
                continue;
            }
            const unsigned col = i + 1 < n ? kTrailCol[p[i + 1]] : kNone;
            if (col != kNone) {
                const char16_t c = kDouble[kLeadRow[b] * kTrailCount + col];
                if (c == 0) {
                    note(invalid, firstInvalid, i);
                    *d++ = kReplacement;
                } else {
                    *d++ = c;
                }
                i += 2;
            } else {
                note(invalid, firstInvalid, i);
                *d++ = kReplacement;
                ++i;
            }
        } while (i < n && (b = p[i]) >= 0x80);
    }
    return d - begin;
}

// Counts what decodeUnits would count on p[0..n), reading the bytes the same
// way.
qsizetype countInvalid(const unsigned char *p, qsizetype n, qsizetype &firstInvalid)
{
    static const StepTable table;
    qsizetype invalid = 0;
    if (n == 0)
        return 0;
    const unsigned char *q = p;
    const unsigned char *const last = p + n - 1; // every byte before it has a next one
    while (q < last) {
        const Step s = Step(table.step[unsigned(q[0]) | unsigned(q[1]) << 8]);
        if (s == Two) [[likely]] {
            q += 2;
        } else if (s == One) {
            q += 1;
        } else {
            note(invalid, firstInvalid, q - p);
            q += s == InvalidPair ? 2 : 1;
        }
    }
    // The last byte on its own: a lead byte there has nothing to trail it.
    if (q == last && kLeadRow[*q] != kNone)
        note(invalid, firstInvalid, q - p);
    return invalid;
}

} // namespace

qsizetype validate(QByteArrayView bytes, DecodeStats *stats, qsizetype baseOffset)
{
    qsizetype firstInvalid = -1;
    const qsizetype invalid =
        countInvalid(reinterpret_cast<const unsigned char *>(bytes.data()), bytes.size(), firstInvalid);
    if (stats)
        merge(stats->invalidCount, stats->firstInvalidOffset, invalid, baseOffset + firstInvalid);
    return invalid;
}

QString decode(QByteArrayView bytes, DecodeStats *stats, qsizetype baseOffset)
{
    const qsizetype n = bytes.size();
    if (n == 0)
        return QString();
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    qsizetype invalid = 0;
    qsizetype firstInvalid = -1;
    QString out;
    // Every byte gives at most one UTF-16 unit, and kanji-heavy text needs
    // only half as many. A line or field (the common case, and the texts that
    // stay in memory) goes through a buffer on the stack and into a string of
    // its exact size; anything longer is decoded in place and keeps its spare
    // room, since it is usually a whole file about to be split.
    if (n <= kStackUnits) {
        char16_t buffer[kStackUnits];
        const qsizetype length = decodeUnits(p, n, buffer, invalid, firstInvalid);
        out = QString(reinterpret_cast<const QChar *>(buffer), length);
    } else {
        out = QString(n, Qt::Uninitialized);
        out.resize(decodeUnits(p, n, reinterpret_cast<char16_t *>(out.data()), invalid, firstInvalid));
    }
    if (stats)
        merge(stats->invalidCount, stats->firstInvalidOffset, invalid, baseOffset + firstInvalid);
    return out;
}

qsizetype decodeInto(QByteArrayView bytes, char16_t *out, DecodeStats *stats, qsizetype baseOffset)
{
    qsizetype invalid = 0;
    qsizetype firstInvalid = -1;
    const qsizetype length = bytes.isEmpty() ? 0
                                             : decodeUnits(reinterpret_cast<const unsigned char *>(bytes.data()),
                                                           bytes.size(), out, invalid, firstInvalid);
    if (stats)
        merge(stats->invalidCount, stats->firstInvalidOffset, invalid, baseOffset + firstInvalid);
    return length;
}

qsizetype encodeInto(QStringView text, char *out, EncodeStats *stats, qsizetype baseIndex)
{
    const WrittenForms &forms = writtenForms();
    const qsizetype n = text.size();
    const char16_t *s = text.utf16();
    auto *const begin = reinterpret_cast<unsigned char *>(out);
    unsigned char *d = begin;
    qsizetype unmappable = 0, firstUnmappable = -1;
    qsizetype substituted = 0, firstSubstituted = -1;

    // A character without a branch on its kind: ASCII, katakana and double
    // bytes mix in Japanese text, and a branch per kind would be mispredicted
    // at every change. Both bytes of a form are stored and d moves by one or
    // two, inside the room of two bytes per unit.
    auto put = [&d](unsigned bytes) {
        d[0] = static_cast<unsigned char>(bytes);
        d[1] = static_cast<unsigned char>(bytes >> 8);
        d += bytes > 0xFF ? 2 : 1;
    };
#if defined(__SSE2__)
    const __m128i high = _mm_set1_epi16(short(0xFF80));
    const __m128i zero = _mm_setzero_si128();
#endif
    qsizetype i = 0;
    while (i < n) {
        // Sixteen units at a time: all ASCII are packed at once, the others
        // go by the table.
        const qsizetype end = std::min(i + 16, n);
#if defined(__SSE2__)
        if (end - i == 16) {
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i *>(s + i));
            const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i *>(s + i + 8));
            if (_mm_movemask_epi8(_mm_cmpeq_epi16(_mm_and_si128(_mm_or_si128(a, b), high), zero)) == 0xFFFF) {
                _mm_storeu_si128(reinterpret_cast<__m128i *>(d), _mm_packus_epi16(a, b));
                d += 16;
                i += 16;
                continue;
            }
        }
#endif
        // Four at a time while none of them needs the slow way.
        for (; i + 4 <= end; i += 4) {
            const unsigned b0 = forms.bytes[s[i]], b1 = forms.bytes[s[i + 1]];
            const unsigned b2 = forms.bytes[s[i + 2]], b3 = forms.bytes[s[i + 3]];
            if (!b0 || !b1 || !b2 || !b3)
                break; // one of them takes the slow way below
            put(b0);
            put(b1);
            put(b2);
            put(b3);
        }
        while (i < end) {
            const char16_t c = s[i];
            const unsigned bytes = forms.bytes[c];
            if (bytes == 0) [[unlikely]] {
                if (c == 0) {
                    *d++ = 0;
                    ++i;
                } else if (const unsigned form = variantFormOf(c)) {
                    note(substituted, firstSubstituted, i);
                    *d++ = static_cast<unsigned char>(form >> 8);
                    *d++ = static_cast<unsigned char>(form);
                    ++i;
                } else {
                    note(unmappable, firstUnmappable, i);
                    *d++ = '?';
                    i += startsSurrogatePair(s, i, n) ? 2 : 1;
                }
                continue;
            }
            put(bytes);
            ++i;
        }
    }

    if (stats) {
        merge(stats->unmappableCount, stats->firstUnmappableIndex, unmappable, baseIndex + firstUnmappable);
        merge(stats->substitutedCount, stats->firstSubstitutedIndex, substituted, baseIndex + firstSubstituted);
    }
    return d - begin;
}

void encodeAppend(QStringView text, QByteArray &out, EncodeStats *stats, qsizetype baseIndex)
{
    const qsizetype n = text.size();
    if (n == 0)
        return;
    const qsizetype start = out.size();
    // Every UTF-16 unit gives at most two bytes.
    out.resize(start + 2 * n);
    out.resize(start + encodeInto(text, out.data() + start, stats, baseIndex));
}

QByteArray encode(QStringView text, EncodeStats *stats)
{
    QByteArray out;
    encodeAppend(text, out, stats);
    return out;
}

qsizetype countUnmappable(QStringView text, qsizetype *firstIndex)
{
    const WrittenForms &forms = writtenForms();
    const qsizetype n = text.size();
    const char16_t *s = text.utf16();
    qsizetype count = 0, first = -1;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = s[i];
        if (forms.bytes[c] != 0 || c == 0 || variantFormOf(c) != 0)
            continue;
        note(count, first, i);
        if (startsSurrogatePair(s, i, n))
            ++i;
    }
    if (firstIndex)
        *firstIndex = first;
    return count;
}

QString decodeForeign(QByteArrayView bytes, DecodeStats *stats)
{
    const bool ascii = std::all_of(bytes.cbegin(), bytes.cend(), [](char c) { return uchar(c) < 0x80; });
    if (!ascii) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString asUtf8 = utf8.decode(bytes);
        if (!utf8.hasError()) {
            if (asUtf8.startsWith(QChar(0xFEFF)))
                asUtf8.remove(0, 1);
            return asUtf8;
        }
    }
    return decode(bytes, stats);
}

} // namespace Win31J
