// Card transfer text: the cards a paste gives copy and paste again
// unchanged (once they went through one copy, which dates their titles and
// splits plain text at the record lines it holds), and the line ends of the
// platform make no difference.
#include "fuzzsupport.h"

#include "core/cards/cardlist.h"
#include "core/cards/transfertext.h"
#include "core/common/tool.h"
#include "core/common/win31j.h"

namespace {

QList<Fuzz::Texts> paste(const QString &text)
{
    CardList list;
    InsertOptions options;
    options.keepDate = true;
    InsertCardsFromText(text, list, options);
    return Fuzz::textsOf(list.store());
}

QString copy(const QList<Fuzz::Texts> &cards)
{
    QString text;
    for (const Fuzz::Texts &t : cards) {
        Card card;
        card.title = t.title;
        card.remarks = t.remarks;
        card.content = t.content;
        text += CardToText(card, QDate(2001, 5, 3));
    }
    return text;
}

QList<Fuzz::Texts> withEmptyLines(QList<Fuzz::Texts> cards)
{
    for (Fuzz::Texts &card : cards)
        if (card.content.isEmpty())
            card.content = QStringLiteral("\r\n");
    return cards;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = Win31J::decode(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    if (!HasNoFieldMark(text))
        return 0; // refused before it is parsed
    const QString platform = Tool::WithCrLf(text);
    FUZZ_CHECK(Tool::WithCrLf(platform) == platform);
    QString lineFeeds = platform;
    lineFeeds.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    FUZZ_CHECK(Tool::WithCrLf(lineFeeds) == platform);

    // Pasted plain text is one card whatever it holds, and its content may
    // hold lines of the record layout (an end line, a start line and an
    // undated title line) that become records of their own when it is copied
    // as a record, and their titles are dated by the next copy. From then on
    // nothing changes but empty content, which a copy gives as one empty line.
    const QList<Fuzz::Texts> settled = paste(copy(paste(copy(paste(platform)))));
    FUZZ_CHECK(withEmptyLines(paste(copy(settled))) == withEmptyLines(settled));
    return 0;
}
