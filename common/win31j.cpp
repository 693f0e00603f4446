// Table-driven Windows-31J codec. The tables (win31j_table.inc) are generated
// by common/tools/gen_win31j_table.py, which explains where they come from.
//
// Qt's own "windows-31j" converter (ICU) is not used: it swaps the control
// codes 0x1A, 0x1C and 0x7F, reads invalid bytes as U+001A, drops a trailing
// lead byte and writes unmappable characters as FC FC, all of which would
// corrupt card files.
#include "win31j.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace Win31J {
namespace {

#include "win31j_table.inc"

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

// Copies the run of ASCII characters at the start of src[0..n) to dst,
// narrowed, and returns its length.
inline qsizetype narrowAscii(const char16_t *src, qsizetype n, unsigned char *dst)
{
    qsizetype i = 0;
#if defined(__SSE2__)
    const __m128i high = _mm_set1_epi16(short(0xFF80));
    const __m128i zero = _mm_setzero_si128();
    for (; i + 8 <= n; i += 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(src + i));
        const int ascii = _mm_movemask_epi8(_mm_cmpeq_epi16(_mm_and_si128(v, high), zero));
        if (ascii != 0xFFFF)
            break;
        _mm_storel_epi64(reinterpret_cast<__m128i *>(dst + i), _mm_packus_epi16(v, v));
    }
#endif
    for (; i < n && src[i] < 0x80; ++i)
        dst[i] = static_cast<unsigned char>(src[i]);
    return i;
}

// The form Windows writes for c (>= 0x80): a byte, a lead << 8 | trail pair,
// or 0.
inline unsigned formOf(char16_t c)
{
    return kEncode[kEncodeIndex[c >> kEncodeBlockBits]][c & ((1u << kEncodeBlockBits) - 1)];
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
qsizetype decodeInto(const unsigned char *p, qsizetype n, char16_t *const begin, qsizetype &invalid,
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

} // namespace

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
        const qsizetype length = decodeInto(p, n, buffer, invalid, firstInvalid);
        out = QString(reinterpret_cast<const QChar *>(buffer), length);
    } else {
        out = QString(n, Qt::Uninitialized);
        out.resize(decodeInto(p, n, reinterpret_cast<char16_t *>(out.data()), invalid, firstInvalid));
    }
    if (stats)
        merge(stats->invalidCount, stats->firstInvalidOffset, invalid, baseOffset + firstInvalid);
    return out;
}

void encodeAppend(QStringView text, QByteArray &out, EncodeStats *stats, qsizetype baseIndex)
{
    const qsizetype n = text.size();
    if (n == 0)
        return;
    const qsizetype start = out.size();
    // Every UTF-16 unit gives at most two bytes.
    out.resize(start + 2 * n);
    auto *const begin = reinterpret_cast<unsigned char *>(out.data());
    unsigned char *d = begin + start;
    const char16_t *s = text.utf16();
    qsizetype unmappable = 0, firstUnmappable = -1;
    qsizetype substituted = 0, firstSubstituted = -1;

    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = s[i];
        if (c < 0x80) {
            const qsizetype run = narrowAscii(s + i, n - i, d);
            d += run;
            i += run - 1;
            continue;
        }
        unsigned form = formOf(c);
        if (form == 0) {
            form = variantFormOf(c);
            if (form != 0) {
                note(substituted, firstSubstituted, i);
            } else {
                note(unmappable, firstUnmappable, i);
                *d++ = '?';
                if (startsSurrogatePair(s, i, n))
                    ++i;
                continue;
            }
        }
        if (form >= 0x100)
            *d++ = static_cast<unsigned char>(form >> 8);
        *d++ = static_cast<unsigned char>(form);
    }

    out.resize(d - begin);
    if (stats) {
        merge(stats->unmappableCount, stats->firstUnmappableIndex, unmappable, baseIndex + firstUnmappable);
        merge(stats->substitutedCount, stats->firstSubstitutedIndex, substituted, baseIndex + firstSubstituted);
    }
}

QByteArray encode(QStringView text, EncodeStats *stats)
{
    QByteArray out;
    encodeAppend(text, out, stats);
    return out;
}

qsizetype countUnmappable(QStringView text, qsizetype *firstIndex)
{
    const qsizetype n = text.size();
    const char16_t *s = text.utf16();
    qsizetype count = 0, first = -1;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = s[i];
        if (c < 0x80 || formOf(c) != 0 || variantFormOf(c) != 0)
            continue;
        note(count, first, i);
        if (startsSurrogatePair(s, i, n))
            ++i;
    }
    if (firstIndex)
        *firstIndex = first;
    return count;
}

} // namespace Win31J
