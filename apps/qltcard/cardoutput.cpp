#include "cardoutput.h"

#include "core/cards/cardstore.h"
#include "core/common/tool.h"

#include <QIODevice>

namespace {

const char *const ReadableList = "qlw, csv, qlt, txt, stk";

} // namespace

namespace CardOutput {

CardStore &storeForTheRun()
{
    return *new CardStore;
}

bool wantsHelp(const QStringList &arguments)
{
    return arguments.contains(QLatin1String("--help")) || arguments.contains(QLatin1String("-h"));
}

int usage(VerbIo &io, const QString &verb, const QString &problem)
{
    io.err << "qltcard " << verb << ": " << problem << "; see qltcard " << verb << " --help\n";
    return Exit::Usage;
}

int readCards(VerbIo &io, const QString &verb, const QString &path, CardStore &store, ReadResult *read)
{
    const CardFormat format = CardFormatOfPath(path);
    if (!CanReadFormat(format)) {
        io.err << "qltcard " << verb << ": " << path << ": no card-file reader for the extension \""
               << Tool::ExtensionOf(path) << "\" (readable: " << ReadableList << ")\n";
        return Exit::Refused;
    }
    *read = ReadCardFile(path, format, store);
    if (!read->ok) {
        io.err << "qltcard " << verb << ": cannot read " << path << ": " << read->error << '\n';
        return Exit::FileError;
    }
    if (read->decode.invalidCount > 0)
        io.err << "qltcard " << verb << ": warning: " << path << ": " << read->decode.invalidCount
               << " invalid byte sequence(s) (no Windows-31J character, read as U+FFFD), the first at byte offset "
               << read->decode.firstInvalidOffset << "; writing the cards back changes them\n";
    return Exit::Ok;
}

void appendJsonString(QByteArray &out, QStringView text)
{
    static const char hex[] = "0123456789abcdef";
    const qsizetype start = out.size();
    const qsizetype n = text.size();
    // At most 6 bytes per unit (\uXXXX), and the quotes.
    out.resize(start + 6 * n + 2);
    char *const begin = out.data();
    char *w = begin + start;
    const char16_t *const r = text.utf16();
    *w++ = '"';
    // Escaping and UTF-8 in one pass over the text: a file of cards is
    // mostly characters that only need encoding.
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = r[i];
        if (u < 0x80) {
            if (u >= 0x20 && u != '"' && u != '\\') {
                *w++ = char(u);
                continue;
            }
            *w++ = '\\';
            switch (u) {
            case '"': *w++ = '"'; continue;
            case '\\': *w++ = '\\'; continue;
            case '\n': *w++ = 'n'; continue;
            case '\r': *w++ = 'r'; continue;
            case '\t': *w++ = 't'; continue;
            case '\b': *w++ = 'b'; continue;
            case '\f': *w++ = 'f'; continue;
            default: break;
            }
        } else if (u < 0x800) {
            *w++ = char(0xC0 | (u >> 6));
            *w++ = char(0x80 | (u & 0x3F));
            continue;
        } else if (u < 0xD800 || u >= 0xE000) {
            *w++ = char(0xE0 | (u >> 12));
            *w++ = char(0x80 | ((u >> 6) & 0x3F));
            *w++ = char(0x80 | (u & 0x3F));
            continue;
        } else if (u < 0xDC00 && i + 1 < n && r[i + 1] >= 0xDC00 && r[i + 1] < 0xE000) {
            const char32_t cp = 0x10000 + ((char32_t(u) - 0xD800) << 10) + (char32_t(r[i + 1]) - 0xDC00);
            ++i;
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
    }
    *w++ = '"';
    out.resize(w - begin);
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
    appendCardLine(m_buffer, card);
    if (m_buffer.size() > Piece)
        flush();
}

void CardLineWriter::flush()
{
    if (m_buffer.isEmpty())
        return;
    write(m_io, m_buffer);
    m_buffer.resize(0);
}

} // namespace CardOutput
