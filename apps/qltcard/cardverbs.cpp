// The card-file verbs: dump, convert, stat. Each reads a card file with the
// reader its extension selects, exactly as the main program opens it; the
// cards are shown as read (the main program strips the date prefixes of a
// text-format file afterwards when AddDateInfo is 0; these verbs do not).
#include "cardoutput.h"
#include "verb.h"

#include "core/cards/card.h"
#include "core/cards/cardfilestats.h"
#include "core/cards/cardformats.h"
#include "core/cards/titlefield.h"
#include "core/common/services.h"
#include "core/common/tool.h"

#include <QDateTime>
#include <QFileInfo>

#include <optional>

namespace {

const char *const ReadableList = "qlw, csv, qlt, txt, stk";

class FixedClock : public Clock
{
public:
    explicit FixedClock(const QDateTime &moment) : m_moment(moment) {}
    QDate today() override { return m_moment.date(); }
    QDateTime now() override { return m_moment; }

private:
    QDateTime m_moment;
};

using CardOutput::usage;
using CardOutput::wantsHelp;

QString cardName(qsizetype row, const QString &title)
{
    return QStringLiteral("card %1 \"%2\"").arg(row + 1).arg(Tool::ShortenWithEllipsis(title, 40));
}

int runDump(const QStringList &arguments, VerbIo &io)
{
    if (wantsHelp(arguments)) {
        io.out << "Usage: qltcard dump FILE\n\n"
                  "Prints the cards of FILE, one JSON object per card and line, in list order:\n"
                  "  {\"key\":...,\"title\":...,\"remarks\":...,\"content\":...}\n"
                  "The reader is chosen by the extension (lower case): qlw native, csv, and qlt, txt, stk\n"
                  "text format. Keys are those the reader gives (Key00000000... for qlw, Key0... for\n"
                  "the others). Content keeps its CR LF line ends (\\r\\n).\n"
                  "Cards of qlt, txt and stk files are shown as read: their date prefixes are not\n"
                  "stripped (the main program strips them after opening when AddDateInfo is 0).\n"
                  "Invalid bytes (count and first offset) are reported on standard error.\n";
        return Exit::Ok;
    }
    if (arguments.size() != 1 || arguments.first().startsWith(QLatin1String("--")))
        return usage(io, QStringLiteral("dump"), QStringLiteral("expects exactly one FILE"));
    // Card by card as the file is read: a file of millions of cards needs
    // no memory for them.
    CardOutput::CardLineWriter lines(io);
    return CardOutput::streamCards(io, QStringLiteral("dump"), arguments.first(),
                                   [&lines](Card &&card) { lines.add(card); });
}

int runConvert(const QStringList &arguments, VerbIo &io)
{
    const QString verb = QStringLiteral("convert");
    if (wantsHelp(arguments)) {
        io.out << "Usage: qltcard convert IN OUT [--add-date] [--now \"yyyy/mm/dd hh:nn:ss\"] [--lossy]\n\n"
                  "Reads IN with the reader its extension selects and writes its cards to OUT with the\n"
                  "writer OUT's extension selects: qlw native, csv, qlt and txt text format with the\n"
                  "short date prefix, stk text format with the long one. OUT is replaced atomically.\n"
                  "Cards pass as read; date prefixes are not stripped.\n"
                  "  --add-date  AddDateInfo = 1: the native and CSV writers give undated titles today's\n"
                  "              date prefix (the text writers always do)\n"
                  "  --now T     the date and time the writers use instead of the clock\n"
                  "  --lossy     write characters Windows-31J cannot hold as \"?\" instead of refusing\n"
                  "Refused, writing nothing: characters Windows-31J cannot hold (without --lossy), a field\n"
                  "holding the character 0x01 in a native file, html/htm and unknown extensions.\n";
        return Exit::Ok;
    }
    QStringList files;
    WriteOptions options;
    std::optional<FixedClock> fixed;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        if (a == QLatin1String("--add-date")) {
            options.addDateInfo = true;
        } else if (a == QLatin1String("--lossy")) {
            options.lossyAllowed = true;
        } else if (a == QLatin1String("--now")) {
            if (i + 1 >= arguments.size())
                return usage(io, verb, QStringLiteral("--now needs a date and time"));
            const QDateTime moment = QDateTime::fromString(arguments[++i], QStringLiteral("yyyy/MM/dd HH:mm:ss"));
            if (!moment.isValid())
                return usage(io, verb,
                             QStringLiteral("--now takes \"yyyy/mm/dd hh:nn:ss\", not \"%1\"").arg(arguments[i]));
            fixed.emplace(moment);
        } else if (a.startsWith(QLatin1String("--"))) {
            return usage(io, verb, QStringLiteral("unknown option %1").arg(a));
        } else {
            files.append(a);
        }
    }
    if (files.size() != 2)
        return usage(io, verb, QStringLiteral("expects IN and OUT"));
    if (fixed)
        options.clock = &*fixed;
    const QString &in = files[0];
    const QString &out = files[1];

    const CardFormat outFormat = CardFormatOfPath(out);
    if (outFormat == CardFormat::Html) {
        io.err << "qltcard convert: " << out << ": HTML is written by the HTML output wizard of QLTWIN, not here ("
               << QStringLiteral("「HTML出力ウイザード」を使用してください。") << ")\n";
        return Exit::Refused;
    }
    if (!CanWriteFormat(outFormat)) {
        io.err << "qltcard convert: " << out << ": no card-file writer for the extension \"" << Tool::ExtensionOf(out)
               << "\" (writable: " << ReadableList << ")\n";
        return Exit::Refused;
    }

    // The cards go to the writer as they are read: neither all cards nor
    // all their bytes are held at once. A read that fails writes nothing.
    CardFile::StreamWriter writer(out, CardEncodingOf(outFormat, options), options);
    qsizetype row = 0;
    QString unmappableName, fieldMarkName; // the cards the messages name
    const int status = CardOutput::streamCards(io, verb, in, [&](Card &&card) {
        writer.add(card);
        if (unmappableName.isEmpty() && writer.firstUnmappableRow() == row)
            unmappableName = cardName(row, card.title);
        if (fieldMarkName.isEmpty() && writer.fieldMarkRow() == row)
            fieldMarkName = cardName(row, card.title);
        ++row;
    });
    if (status)
        return status;

    const WriteResult written = writer.finish();
    switch (written.status) {
    case WriteStatus::Ok:
        if (written.unmappableCount > 0)
            io.err << "qltcard convert: warning: " << written.unmappableCount
                   << " character(s) Windows-31J cannot hold were written as \"?\", the first in " << unmappableName
                   << '\n';
        return Exit::Ok;
    case WriteStatus::Unmappable:
        io.err << "qltcard convert: " << written.unmappableCount
               << " character(s) cannot be stored in Windows-31J, the first in " << unmappableName
               << "; nothing written (--lossy writes them as \"?\")\n";
        return Exit::Refused;
    case WriteStatus::FieldMark:
        io.err << "qltcard convert: " << fieldMarkName
               << " holds the character 0x01, which ends a field in the native format and would shift "
                  "every later card; nothing written\n";
        return Exit::Refused;
    case WriteStatus::NotWritable:
    case WriteStatus::WriteFailed:
        io.err << "qltcard convert: cannot write " << out << ": " << written.error << '\n';
        return Exit::FileError;
    case WriteStatus::Unsupported: break;
    }
    io.err << "qltcard convert: " << out << ": no writer\n";
    return Exit::Refused;
}

int runStat(const QStringList &arguments, VerbIo &io)
{
    if (wantsHelp(arguments)) {
        io.out << "Usage: qltcard stat FILE\n\n"
                  "Reads FILE as dump does and prints\n"
                  "  cards: N          the number of cards\n"
                  "  groups: N         distinct groups (the text before the first \"＠\" without date\n"
                  "                    prefix; compared exactly)\n"
                  "  invalid-bytes: N  byte sequences that are no Windows-31J character\n";
        return Exit::Ok;
    }
    if (arguments.size() != 1 || arguments.first().startsWith(QLatin1String("--")))
        return usage(io, QStringLiteral("stat"), QStringLiteral("expects exactly one FILE"));
    // The counts come from a scan that gives what reading the file gives (a
    // native file is not built into cards at all); the messages are those of
    // readCards.
    const QString &path = arguments.first();
    const CardFormat format = CardFormatOfPath(path);
    if (QFileInfo(path).exists() && !QFileInfo(path).isFile()) {
        io.err << "qltcard stat: cannot read " << path << ": not a regular file\n";
        return Exit::FileError;
    }
    if (!CanReadFormat(format)) {
        io.err << "qltcard stat: " << path << ": no card-file reader for the extension \"" << Tool::ExtensionOf(path)
               << "\" (readable: " << ReadableList << ")\n";
        return Exit::Refused;
    }
    const CardFileStats stats = StatCardFile(path, format);
    if (!stats.ok) {
        io.err << "qltcard stat: cannot read " << path << ": " << stats.error << '\n';
        return Exit::FileError;
    }
    if (stats.decode.invalidCount > 0)
        io.err << "qltcard stat: warning: " << path << ": " << stats.decode.invalidCount
               << " invalid byte sequence(s) (no Windows-31J character, read as U+FFFD), the first at byte offset "
               << stats.decode.firstInvalidOffset << "; writing the cards back changes them\n";
    io.out << "cards: " << stats.cardCount << '\n'
           << "groups: " << stats.groupCount << '\n'
           << "invalid-bytes: " << stats.decode.invalidCount << '\n';
    return Exit::Ok;
}

} // namespace

QList<Verb> cardVerbs()
{
    return {
        {QStringLiteral("dump"), QStringLiteral("dump FILE"),
         QStringLiteral("print each card as one JSON line (qlt/txt/stk as read, date prefixes kept)"), runDump},
        {QStringLiteral("convert"), QStringLiteral("convert IN OUT [OPTIONS]"),
         QStringLiteral("rewrite a card file in the format of OUT's extension (see convert --help)"), runConvert},
        {QStringLiteral("stat"), QStringLiteral("stat FILE"), QStringLiteral("count cards, groups and invalid bytes"),
         runStat},
    };
}
