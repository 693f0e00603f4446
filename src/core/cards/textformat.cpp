#include "core/cards/textformat.h"

#include "core/cards/cardstore.h"
#include "core/cards/textfastread.h"
#include "core/cards/titlefield.h"
#include "core/common/services.h"

#include <optional>

namespace RecordLayout {

bool ParseTitleLine(QStringView line, TitleLine *parts)
{
    const qsizetype colon = line.indexOf(TitleField::DateColon);
    if (colon < 0)
        return false;
    const QStringView after = line.mid(colon + 1);
    parts->beforeColon = line.left(colon).toString();
    const qsizetype mark = after.indexOf(RemarksMark);
    if (mark < 0) {
        parts->name = after.toString();
        parts->remarks.clear();
        return true;
    }
    parts->name = after.left(mark).toString();
    QStringView rest = after.mid(mark + RemarksMark.size());
    const qsizetype next = rest.indexOf(RemarksMark);
    parts->remarks = (next < 0 ? rest : rest.left(next)).toString();
    return true;
}

void RecordReader::stray(const QString &line)
{
    for (const QChar c : line) {
        if (!c.isSpace()) {
            ++m_strayLines;
            return;
        }
    }
}

void RecordReader::line(const QString &line)
{
    switch (m_state) {
    case State::Between:
        if (line.startsWith(QLatin1Char('@'))) {
            m_state = State::AfterStart;
            stray(line.mid(1));
        } else {
            stray(line);
        }
        break;
    case State::AfterStart:
        if (ParseTitleLine(line, &m_title)) {
            onTitle(m_title);
            m_state = State::AfterTitle;
        } else {
            stray(line);
        }
        break;
    case State::AfterTitle:
        if (line == SeparatorLine)
            m_state = State::InContent;
        else
            stray(line);
        break;
    case State::InContent:
        if (line == EndLine) {
            m_state = State::Between;
            onContent(std::exchange(m_buffer, QString()), true);
        } else {
            m_buffer += line;
            m_buffer += QLatin1String("\r\n");
        }
        break;
    }
}

void RecordReader::finish()
{
    if (m_state == State::InContent)
        onContent(std::exchange(m_buffer, QString()), false);
    if (m_state == State::AfterStart)
        ++m_strayLines; // a start line that began no card
    m_state = State::Between;
}

} // namespace RecordLayout

using namespace RecordLayout;

ReadResult StreamTextFile(const QString &path, const CardSink &sink)
{
    // The lines of a TextFastRead load, taken as they come. A card is
    // complete with its content, or at the end of the text.
    qsizetype count = 0;
    std::optional<Card> pending;
    RecordReader records;
    records.onTitle = [&](const TitleLine &title) {
        if (pending)
            sink(std::move(*pending));
        pending.emplace();
        pending->key = QStringLiteral("Key") + QString::number(count++);
        pending->title = title.beforeColon + TitleField::DateColon + title.name;
        pending->remarks = title.remarks;
        pending->icon = CardIcon::Saved;
    };
    records.onContent = [&](QString &&content, bool) {
        pending->content = std::move(content);
        sink(std::move(*pending));
        pending.reset();
    };
    const LineSplit::Outcome split =
        LineSplit::SplitFile(path, LineSplit::Separator::CrLf, [&](QString &&line) { records.line(line); });
    if (split.ok) {
        records.finish();
        if (pending)
            sink(std::move(*pending));
    }
    ReadResult result = CardFile::Streamed(split, count);
    result.strayLines = records.strayLines();
    return result;
}

ReadResult ReadTextFile(const QString &path, CardStore &store)
{
    return CardFile::Collect(store, [&](const CardSink &sink) { return StreamTextFile(path, sink); });
}

CardFile::CardEncoding TextCardEncoding(bool shortForm, const WriteOptions &options)
{
    Clock &clock = CardFile::ClockOf(options);
    const QString prefix = shortForm ? ShortDatePrefix(clock.today()) : LongDatePrefix(clock.now());
    const QByteArray separator = SeparatorLine.toLatin1() + "\r\n";
    const QByteArray end = EndLine.toLatin1() + "\r\n";
    return [prefix, separator, end](CardFile::Encoder &out, const Card &card) {
        const QStringView crlf = u"\r\n";
        out.ascii("@\r\n");
        if (!DatePrefixLength(card.title))
            out.text(prefix);
        out.text(card.title);
        if (!card.remarks.isEmpty()) {
            out.ascii(" - ");
            out.text(card.remarks);
        }
        out.crlf();
        out.ascii(separator);
        if (!card.content.isEmpty()) {
            QStringView content = card.content;
            if (content.endsWith(crlf))
                content.chop(2);
            out.text(content);
            out.crlf();
        }
        out.ascii(end);
    };
}

WriteResult WriteTextFile(const QString &path, const CardStore &store, bool shortForm, const WriteOptions &options)
{
    return CardFile::WriteCards(path, store, TextCardEncoding(shortForm, options), options);
}
