#include "cardoutput.h"

#include "core/cards/cardstore.h"
#include "core/common/tool.h"

#include <QFileInfo>
#include <QIODevice>

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

const char *const ReadableList = "qlw, csv, qlt, txt, stk";

} // namespace

namespace CardOutput {

bool wantsHelp(const QStringList &arguments)
{
    return arguments.contains(QLatin1String("--help")) || arguments.contains(QLatin1String("-h"));
}

int usage(VerbIo &io, const QString &verb, const QString &problem)
{
    io.err << "qltcard " << verb << ": " << problem << "; see qltcard " << verb << " --help\n";
    return Exit::Usage;
}

namespace {

// Exit::Ok when path may go to the reader of its extension. Something that
// is there but no regular file (a FIFO, /dev/zero) is no file to read,
// whatever its name.
int checkReadable(VerbIo &io, const QString &verb, const QString &path)
{
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        io.err << "qltcard " << verb << ": cannot read " << path << ": not a regular file\n";
        return Exit::FileError;
    }
    if (CanReadFormat(CardFormatOfPath(path)))
        return Exit::Ok;
    io.err << "qltcard " << verb << ": " << path << ": no card-file reader for the extension \""
           << Tool::ExtensionOf(path) << "\" (readable: " << ReadableList << ")\n";
    return Exit::Refused;
}

int reportRead(VerbIo &io, const QString &verb, const QString &path, const ReadResult &read)
{
    if (!read.ok) {
        io.err << "qltcard " << verb << ": cannot read " << path << ": " << read.error << '\n';
        return Exit::FileError;
    }
    if (read.decode.invalidCount > 0)
        io.err << "qltcard " << verb << ": warning: " << path << ": " << read.decode.invalidCount
               << " invalid byte sequence(s) (no Windows-31J character, read as U+FFFD), the first at byte offset "
               << read.decode.firstInvalidOffset << "; writing the cards back changes them\n";
    if (read.strayLines > 0)
        io.err << "qltcard " << verb << ": warning: " << path << ": " << read.strayLines
               << " line(s) with text outside the card records; writing the cards back drops them\n";
    return Exit::Ok;
}

} // namespace

int readCards(VerbIo &io, const QString &verb, const QString &path, CardStore &store, ReadResult *read)
{
    if (const int status = checkReadable(io, verb, path))
        return status;
    *read = ReadCardFile(path, CardFormatOfPath(path), store);
    return reportRead(io, verb, path, *read);
}

namespace {

// Units of text escaped at a time: a slice takes at most six bytes per unit.
constexpr qsizetype Slice = qsizetype(1) << 16;

// The UTF-8 of a unit from 0x800 on (no surrogate) in the low three bytes,
// first byte lowest: stored as four bytes, of which three are kept (the
// room is six bytes per unit).
inline quint32 threeBytes(char16_t u)
{
    const quint32 c = u;
    return 0x008080E0u | (c >> 12) | ((c << 2) & 0x3F00u) | ((c << 16) & 0x3F0000u);
}

// The escaped UTF-8 of text, without quotes. A slice boundary never splits
// a surrogate pair: a slice that ends in a high surrogate takes the unit
// after it too.
void appendJsonChars(QByteArray &out, QStringView text)
{
    static const char hex[] = "0123456789abcdef";
    const qsizetype start = out.size();
    const qsizetype n = text.size();
    // At most 6 bytes per unit (\uXXXX).
    out.resize(start + 6 * n);
    char *const begin = out.data();
    char *w = begin + start;
    const char16_t *const r = text.utf16();
    // Escaping and UTF-8 in one pass over the text: a file of cards is
    // mostly characters that only need encoding. Runs of kana and kanji
    // (three bytes each) and runs of ASCII that needs no escape go through
    // loops of their own; the rest one unit at a time.
    qsizetype i = 0;
    while (i < n) {
        char16_t u = r[i];
        if (u >= 0x800 && (u < 0xD800 || u >= 0xE000)) {
#if defined(__SSE2__)
            // Eight at a time while all eight take three bytes: units whose
            // top five bits are neither 0 (below 0x800) nor 11011 (surrogates).
            const __m128i none = _mm_setzero_si128();
            const __m128i surrogate = _mm_set1_epi16(0xD800 >> 11);
            while (i + 8 <= n) {
                const __m128i top = _mm_srli_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i *>(r + i)), 11);
                if (_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi16(top, none), _mm_cmpeq_epi16(top, surrogate))))
                    break;
                for (int k = 0; k < 8; ++k) {
                    const quint32 bytes = threeBytes(r[i + k]);
                    std::memcpy(w, &bytes, 4);
                    w += 3;
                }
                i += 8;
            }
            if (i >= n)
                break;
            u = r[i];
#endif
            while (u >= 0x800 && (u < 0xD800 || u >= 0xE000)) {
                const quint32 bytes = threeBytes(u);
                std::memcpy(w, &bytes, 4);
                w += 3;
                if (++i >= n)
                    break;
                u = r[i];
            }
            continue;
        }
#if defined(__SSE2__)
        // Eight units at a time while all are ASCII from 0x20 on, none a
        // quote or a backslash.
        if (u >= 0x20 && u < 0x80 && u != '"' && u != '\\') {
            const __m128i below = _mm_set1_epi16(0x20);
            const __m128i above = _mm_set1_epi16(0x7F);
            const __m128i quote = _mm_set1_epi16('"');
            const __m128i backslash = _mm_set1_epi16('\\');
            const qsizetype from = i;
            while (i + 8 <= n) {
                const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(r + i));
                // Units are compared as signed: 0x8000 and up are below 0x20.
                const __m128i bad =
                    _mm_or_si128(_mm_or_si128(_mm_cmplt_epi16(v, below), _mm_cmpgt_epi16(v, above)),
                                 _mm_or_si128(_mm_cmpeq_epi16(v, quote), _mm_cmpeq_epi16(v, backslash)));
                if (_mm_movemask_epi8(bad))
                    break;
                _mm_storel_epi64(reinterpret_cast<__m128i *>(w), _mm_packus_epi16(v, v));
                w += 8;
                i += 8;
            }
            // What follows the run may be of any kind: looked at afresh.
            if (i > from)
                continue;
        }
#endif
        if (u < 0x80) {
            if (u >= 0x20 && u != '"' && u != '\\') {
                *w++ = char(u);
                ++i;
                continue;
            }
            *w++ = '\\';
            switch (u) {
            case '"':
                *w++ = '"';
                ++i;
                continue;
            case '\\':
                *w++ = '\\';
                ++i;
                continue;
            case '\n':
                *w++ = 'n';
                ++i;
                continue;
            case '\r':
                *w++ = 'r';
                ++i;
                continue;
            case '\t':
                *w++ = 't';
                ++i;
                continue;
            case '\b':
                *w++ = 'b';
                ++i;
                continue;
            case '\f':
                *w++ = 'f';
                ++i;
                continue;
            default: break;
            }
        } else if (u < 0x800) {
            *w++ = char(0xC0 | (u >> 6));
            *w++ = char(0x80 | (u & 0x3F));
            ++i;
            continue;
        } else if (u < 0xDC00 && i + 1 < n && r[i + 1] >= 0xDC00 && r[i + 1] < 0xE000) {
            const char32_t cp = 0x10000 + ((char32_t(u) - 0xD800) << 10) + (char32_t(r[i + 1]) - 0xDC00);
            i += 2;
            *w++ = char(0xF0 | (cp >> 18));
            *w++ = char(0x80 | ((cp >> 12) & 0x3F));
            *w++ = char(0x80 | ((cp >> 6) & 0x3F));
            *w++ = char(0x80 | (cp & 0x3F));
            continue;
        } else {
            *w++ = '\\'; // a lone surrogate, which UTF-8 cannot hold
        }
        *w++ = 'u';
        for (int shift = 12; shift >= 0; shift -= 4)
            *w++ = hex[(u >> shift) & 0xF];
        ++i;
    }
    out.resize(w - begin);
}

// The next slice of text from `from` on.
QStringView sliceFrom(QStringView text, qsizetype from)
{
    qsizetype end = std::min(text.size(), from + Slice);
    if (end < text.size() && QChar::isHighSurrogate(text[end - 1].unicode()))
        ++end;
    return text.sliced(from, end - from);
}

} // namespace

int streamCards(VerbIo &io, const QString &verb, const QString &path, const CardSink &sink)
{
    if (const int status = checkReadable(io, verb, path))
        return status;
    return reportRead(io, verb, path, StreamCardFile(path, CardFormatOfPath(path), sink));
}

void appendJsonString(QByteArray &out, QStringView text)
{
    out += '"';
    for (qsizetype from = 0; from < text.size();) {
        const QStringView slice = sliceFrom(text, from);
        appendJsonChars(out, slice);
        from += slice.size();
    }
    out += '"';
}

void appendCardLine(QByteArray &out, const Card &card)
{
    out += "{\"key\":";
    appendJsonString(out, card.key);
    out += ",\"title\":";
    appendJsonString(out, card.title);
    out += ",\"remarks\":";
    appendJsonString(out, card.remarks);
    out += ",\"content\":";
    appendJsonString(out, card.content);
    out += "}\n";
}

void write(VerbIo &io, const QByteArray &utf8)
{
    QIODevice *device = io.out.device();
    if (!device) {
        io.out << QString::fromUtf8(utf8);
        return;
    }
    io.out.flush();
    device->write(utf8);
}

namespace {
// The buffer's memory is reused for every piece instead of growing page by page.
constexpr qsizetype Piece = qsizetype(1) << 18;
} // namespace

CardLineWriter::CardLineWriter(VerbIo &io) : m_io(io)
{
    m_buffer.reserve(2 * Piece);
}

CardLineWriter::~CardLineWriter()
{
    flush();
}

void CardLineWriter::add(const Card &card)
{
    m_buffer += "{\"key\":";
    addString(card.key);
    m_buffer += ",\"title\":";
    addString(card.title);
    m_buffer += ",\"remarks\":";
    addString(card.remarks);
    m_buffer += ",\"content\":";
    addString(card.content);
    m_buffer += "}\n";
    if (m_buffer.size() > Piece)
        flush();
}

void CardLineWriter::addString(QStringView text)
{
    m_buffer += '"';
    for (qsizetype from = 0; from < text.size();) {
        const QStringView slice = sliceFrom(text, from);
        appendJsonChars(m_buffer, slice);
        from += slice.size();
        if (m_buffer.size() > Piece)
            flush();
    }
    m_buffer += '"';
}

void CardLineWriter::flush()
{
    if (m_buffer.isEmpty())
        return;
    write(m_io, m_buffer);
    m_buffer.resize(0);
}

} // namespace CardOutput
