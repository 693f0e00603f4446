#include "core/cards/nativeformat.h"

#include "core/cards/cardkeys.h"
#include "core/cards/cardstore.h"
#include "core/cards/textfastread.h"
#include "core/cards/titlefield.h"
#include "core/common/services.h"
#include "core/common/sharedtext.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

ReadResult StreamNativeFile(const QString &path, const CardSink &sink)
{
    // The pieces of a TextFastReadBinary load, taken as they come: field 1,
    // 2, 3 of a card in turn; fields missing at the end stay empty. The
    // texts and keys are cut from shared blocks (they mostly stay as read).
    KeyCounter &keys = CardKeyCounter();
    SharedTextBlocks texts;
    Win31J::DecodeStats stats;
    qsizetype count = 0;
    Card card;
    int field = 0;
    LineSplit::Outcome split =
        LineSplit::SplitFileBytes(path, LineSplit::Separator::FieldMark, [&](QByteArrayView bytes, qsizetype offset) {
            QString piece = texts.decode(bytes, &stats, offset);
            switch (field) {
            case 0: {
                char16_t key[32];
                card.key = texts.copy(QStringView(key, FormatCounterKeyInto(keys.nextValueForNewList(count++), key)));
                card.title = std::move(piece);
                card.icon = CardIcon::Saved;
                break;
            }
            case 1: card.remarks = std::move(piece); break;
            default:
                card.content = std::move(piece);
                sink(std::exchange(card, Card()));
                break;
            }
            field = (field + 1) % 3;
        });
    split.stats = stats;
    if (split.ok && field != 0)
        sink(std::move(card));
    return CardFile::Streamed(split, count);
}

ReadResult ReadNativeFile(const QString &path, CardStore &store)
{
    return CardFile::Collect(store, [&](const CardSink &sink) { return StreamNativeFile(path, sink); });
}

namespace {

// The 0x01 bytes in bytes. A card's bytes are a few hundred and still in the
// first-level cache: sixteen at a time beats a search per mark.
qsizetype countFieldMarks(QByteArrayView bytes)
{
    const char *p = bytes.data();
    const char *const end = p + bytes.size();
    qsizetype marks = 0;
#if defined(__SSE2__)
    const __m128i mark = _mm_set1_epi8(1);
    for (; end - p >= 16; p += 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
        // Marks are few: a loop per mark beats a popcount, which the
        // baseline instruction set lacks.
        for (unsigned found = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, mark))); found; found &= found - 1)
            ++marks;
    }
#endif
    for (; p < end; ++p)
        marks += *p == 1;
    return marks;
}

} // namespace

CardFile::CardEncoding NativeCardEncoding(const WriteOptions &options)
{
    const QString today = options.addDateInfo ? ShortDatePrefix(CardFile::ClockOf(options).today()) : QString();
    return [today](CardFile::Encoder &out, const Card &card) {
        const qsizetype start = out.size();
        if (!today.isEmpty() && !DatePrefixLength(card.title))
            out.text(today);
        out.text(card.title);
        out.ascii("\x01");
        out.text(card.remarks);
        out.ascii("\x01");
        out.text(card.content);
        // 0x01 is never the second byte of a character: one in the card's
        // bytes other than its three terminators is a field mark in a field.
        if (out.fieldMarkRow() < 0 && countFieldMarks(out.bytesFrom(start)) != 2)
            out.noteFieldMark();
        out.ascii("\x01");
    };
}

QByteArray NativeFileBytes(const CardStore &store, const WriteOptions &options, WriteResult *counts)
{
    const CardFile::CardEncoding encode = NativeCardEncoding(options);
    CardFile::Encoder out(store);
    const QList<Card> &cards = store.cards();
    for (qsizetype row = 0; row < cards.size(); ++row) {
        out.beginCard(row);
        encode(out, cards[row]);
    }
    if (counts)
        *counts = out.result();
    return std::move(out.bytes());
}

WriteResult WriteNativeFile(const QString &path, const CardStore &store, const WriteOptions &options)
{
    return CardFile::WriteCards(path, store, NativeCardEncoding(options), options);
}
