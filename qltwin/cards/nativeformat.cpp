#include "nativeformat.h"

#include "cardkeys.h"
#include "cardstore.h"
#include "services.h"
#include "textfastread.h"
#include "titlefield.h"

#include <cstring>

ReadResult ReadNativeFile(const QString &path, CardStore &store)
{
    ReadResult result;
    TextFastReadBinary reader;
    if (!reader.LoadTextFile(path)) {
        result.error = reader.errorString();
        return result;
    }
    KeyCounter &keys = CardKeyCounter();
    QList<Card> cards;
    cards.reserve(reader.lineCount() / 3 + 1);
    while (!reader.EOFText()) {
        Card card;
        card.key = keys.nextForNewList(cards.size());
        card.title = reader.InputLine();
        card.remarks = reader.InputLine();
        card.content = reader.InputLine();
        card.icon = CardIcon::Saved;
        cards.append(std::move(card));
    }
    result.ok = true;
    result.cardCount = cards.size();
    result.decode = reader.decodeStats();
    store.reset(std::move(cards));
    return result;
}

WriteResult WriteNativeFile(const QString &path, const CardStore &store, const WriteOptions &options)
{
    WriteResult refused;
    if (!CardFile::CanWrite(path, &refused.error)) {
        refused.status = WriteStatus::NotWritable;
        return refused;
    }
    const QString today = ShortDatePrefix(CardFile::ClockOf(options).today());
    CardFile::Encoder out(store);
    qsizetype fieldMarkRow = -1;
    const QList<Card> &cards = store.cards();
    for (qsizetype row = 0; row < cards.size(); ++row) {
        const Card &card = cards[row];
        out.beginCard(row);
        const qsizetype start = out.bytes().size();
        if (options.addDateInfo && !DatePrefixLength(card.title))
            out.text(today);
        out.text(card.title);
        out.ascii("\x01");
        out.text(card.remarks);
        out.ascii("\x01");
        out.text(card.content);
        // 0x01 is never the second byte of a character: one in the card's
        // bytes other than its three terminators is a field mark in a field.
        if (fieldMarkRow < 0) {
            const QByteArray &b = out.bytes();
            const char *p = b.constData() + start;
            qsizetype marks = 0;
            for (const char *end = b.constData() + b.size();
                 (p = static_cast<const char *>(std::memchr(p, 1, size_t(end - p)))); ++p)
                ++marks;
            if (marks != 2)
                fieldMarkRow = row;
        }
        out.ascii("\x01");
    }
    WriteResult result = out.result();
    result.fieldMarkRow = fieldMarkRow;
    return CardFile::Finish(path, out.bytes(), result, options);
}
