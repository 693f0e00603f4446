#include "cardoutput.h"

#include "cardstore.h"
#include "tool.h"

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

void appendJsonString(QString &out, const QString &text)
{
    static const char hex[] = "0123456789abcdef";
    out += QLatin1Char('"');
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        const char16_t u = c.unicode();
        switch (u) {
        case '"': out += QLatin1String("\\\""); continue;
        case '\\': out += QLatin1String("\\\\"); continue;
        case '\n': out += QLatin1String("\\n"); continue;
        case '\r': out += QLatin1String("\\r"); continue;
        case '\t': out += QLatin1String("\\t"); continue;
        case '\b': out += QLatin1String("\\b"); continue;
        case '\f': out += QLatin1String("\\f"); continue;
        default: break;
        }
        const bool pairedSurrogate = (c.isHighSurrogate() && i + 1 < n && text[i + 1].isLowSurrogate())
            || (c.isLowSurrogate() && i > 0 && text[i - 1].isHighSurrogate());
        if (u < 0x20 || (c.isSurrogate() && !pairedSurrogate)) {
            out += QLatin1String("\\u");
            for (int shift = 12; shift >= 0; shift -= 4)
                out += QLatin1Char(hex[(u >> shift) & 0xF]);
            continue;
        }
        out += c;
    }
    out += QLatin1Char('"');
}

void appendCardLine(QString &out, const Card &card)
{
    out += QLatin1String("{\"key\":");
    appendJsonString(out, card.key);
    out += QLatin1String(",\"title\":");
    appendJsonString(out, card.title);
    out += QLatin1String(",\"remarks\":");
    appendJsonString(out, card.remarks);
    out += QLatin1String(",\"content\":");
    appendJsonString(out, card.content);
    out += QLatin1String("}\n");
}

} // namespace CardOutput
