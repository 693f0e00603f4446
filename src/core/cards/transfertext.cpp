#include "core/cards/transfertext.h"

#include "core/cards/cardlist.h"
#include "core/cards/cardmessages.h"
#include "core/cards/textformat.h"

using namespace RecordLayout;

static const QString CrLf = QStringLiteral("\r\n");

QString CardToText(const Card &card, const QDate &today)
{
    QString text = StartLine + CrLf;
    if (!DatePrefixLength(card.title))
        text += ShortDatePrefix(today);
    text += card.title;
    if (!card.remarks.isEmpty())
        text += RemarksMark + card.remarks;
    text += CrLf + SeparatorLine + CrLf + card.content;
    if (!card.content.endsWith(CrLf))
        text += CrLf;
    text += EndLine + CrLf;
    return text;
}

QString SelectedCardsToText(const CardList &list, const QDate &today)
{
    QString text;
    for (qsizetype row : list.selectedRows())
        text += CardToText(list.store().at(row), today);
    return text;
}

bool HasNoFieldMark(QStringView text)
{
    return !text.contains(QChar(0x01));
}

qsizetype InsertCardsFromText(const QString &text, CardList &list, const InsertOptions &options)
{
    CardStore &store = list.store();
    QString key = NewCardKey(store, options.alsoAvoidKeys);
    if (text.isEmpty())
        return 0;
    QStringList lines = text.split(CrLf);
    qsizetype position = options.position;
    // Inserts at the position and returns the row the card went to.
    auto insert = [&](Card card) {
        const qsizetype row = position < 0 || position > store.count() ? store.count() : position;
        store.insert(row, std::move(card));
        if (options.select)
            list.setSelected(row);
        return row;
    };

    if (lines.first() != StartLine) {
        Card card;
        card.key = key;
        card.title = StampDate(options.title.value_or(QStringLiteral("(無題のカード)")), options.stamp);
        card.remarks = options.remarks.value_or(QString());
        card.content = text;
        card.icon = CardIcon::Changed;
        insert(std::move(card));
        return 1;
    }

    // A final CR LF ends the last line; it starts no further one.
    if (lines.size() > 1 && lines.last().isEmpty())
        lines.removeLast();
    qsizetype count = 0;
    qsizetype row = -1;
    RecordReader records;
    records.onTitle = [&](const TitleLine &title) {
        ++count;
        Card card;
        card.key = key;
        const QString datePart = options.keepDate ? title.beforeColon + TitleField::DateColon : QString();
        card.title = StampDate(datePart + title.name, options.stamp);
        card.remarks = title.remarks;
        card.icon = CardIcon::Changed;
        row = insert(std::move(card));
    };
    records.onContent = [&](QString &&content, bool complete) {
        store.setContent(row, content);
        if (!complete)
            return;
        if (position >= 0)
            ++position;
        key = NewCardKey(store, options.alsoAvoidKeys);
    };
    for (const QString &line : std::as_const(lines))
        records.line(line);
    records.finish();
    return count;
}

PasteResult PasteCardText(const QString &text, CardList &target, Dialogs &dialogs, const PasteOptions &options,
                          const std::optional<QString> &title, const std::optional<QString> &remarks)
{
    PasteResult result;
    if (!options.pasteEnabled) {
        result.refused = true;
        return result;
    }
    if (!HasNoFieldMark(text)) {
        CardMessages::ShowBinaryTransferText(dialogs);
        result.refused = true;
        return result;
    }
    InsertOptions insert;
    const qsizetype current = target.currentRow();
    if (current >= 0)
        insert.position = options.insertCardAtNextCard ? current + 1 : current;
    insert.select = true;
    insert.title = title;
    insert.remarks = remarks;
    insert.stamp = options.stamp;
    insert.alsoAvoidKeys = options.alsoAvoidKeys;
    target.ClearSelection();
    result.count = InsertCardsFromText(text, target, insert);
    if (result.count != 0 && options.setModified)
        options.setModified(true);
    return result;
}

QString DefaultPasteTitle(const QString &text, const DateStamp &stamp)
{
    const qsizetype end = text.indexOf(CrLf);
    return StampDate(end < 0 ? text : text.left(end), stamp);
}
