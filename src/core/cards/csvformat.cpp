#include "core/cards/csvformat.h"

#include "core/cards/cardstore.h"
#include "core/cards/textfastread.h"
#include "core/cards/titlefield.h"
#include "core/common/services.h"
#include "core/common/tool.h"

QStringList SplitQuoted(QStringView line, QStringView separator)
{
    QStringList fields;
    QString field;
    const QChar quote = QLatin1Char('"');
    const qsizetype n = line.size();
    bool quoted = line.startsWith(quote);
    qsizetype i = 0;
    while (i < n) {
        if (quoted && line[i] == quote) {
            const QStringView after = line.mid(i + 1);
            if ((!separator.isEmpty() && after.startsWith(separator)) || after.startsWith(QLatin1Char('\r')))
                quoted = false;
        }
        if (!quoted && !separator.isEmpty() && line.mid(i).startsWith(separator)) {
            fields.append(Tool::Unquote(field));
            field.clear();
            i += separator.size();
            if (i < n && line[i] == quote) {
                quoted = true;
                field += quote;
                ++i;
            }
            continue;
        }
        field += line[i];
        ++i;
    }
    fields.append(Tool::Unquote(field));
    return fields;
}

ReadResult StreamCsvFile(const QString &path, const CardSink &sink)
{
    // One card per line of a TextFastRead load, taken as the lines come.
    const QString comma = QStringLiteral(",");
    const QString crlf = QStringLiteral("\r\n");
    qsizetype count = 0;
    const LineSplit::Outcome split = LineSplit::SplitFile(path, LineSplit::Separator::CrLf, [&](QString &&line) {
        QStringList fields = SplitQuoted(line, comma);
        line = QString(); // the fields hold the text now
        while (fields.size() < 3)
            fields.append(QString());
        Card card;
        card.key = QStringLiteral("Key") + QString::number(count++);
        card.title = Tool::Unquote(fields[0]);
        card.remarks = Tool::Unquote(fields[1]);
        for (qsizetype i = 2; i < fields.size(); ++i) {
            card.content += Tool::Unquote(fields[i]);
            fields[i] = QString();
            card.content += crlf;
        }
        card.icon = CardIcon::Saved;
        sink(std::move(card));
    });
    return CardFile::Streamed(split, count);
}

ReadResult ReadCsvFile(const QString &path, CardStore &store)
{
    return CardFile::Collect(store, [&](const CardSink &sink) { return StreamCsvFile(path, sink); });
}

// Where the first CR LF of text begins, -1 when none: a search for the CR
// alone runs on vector instructions, a two-unit needle would not.
static qsizetype lineEnd(QStringView text)
{
    for (qsizetype cr = text.indexOf(u'\r'); cr >= 0; cr = text.indexOf(u'\r', cr + 1)) {
        if (cr + 1 < text.size() && text[cr + 1] == u'\n')
            return cr;
    }
    return -1;
}

CardFile::CardEncoding CsvCardEncoding(const WriteOptions &options)
{
    const QString today = options.addDateInfo ? ShortDatePrefix(CardFile::ClockOf(options).today()) : QString();
    return [today](CardFile::Encoder &out, const Card &card) {
        const QStringView crlf = u"\r\n";
        out.ascii("\"");
        if (!today.isEmpty() && !DatePrefixLength(card.title))
            out.text(today);
        out.text(card.title);
        out.ascii("\",\"");
        out.text(card.remarks);
        out.ascii("\",");
        // Content without a final CR LF is taken as if it had one, so empty
        // content is one empty line.
        QStringView content = card.content;
        if (content.endsWith(crlf))
            content.chop(2);
        for (;;) {
            const qsizetype end = lineEnd(content);
            if (end < 0)
                break;
            out.ascii("\"");
            out.text(content.left(end));
            out.ascii("\",");
            content = content.mid(end + 2);
        }
        if (!content.isEmpty()) {
            out.ascii("\"");
            out.text(content);
            out.ascii("\"");
        }
        out.crlf();
    };
}

WriteResult WriteCsvFile(const QString &path, const CardStore &store, const WriteOptions &options)
{
    return CardFile::WriteCards(path, store, CsvCardEncoding(options), options);
}
