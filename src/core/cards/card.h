#pragma once
// One card of a card list: its identity within the list, the three texts and
// the icon number. Keys and icons never reach a file.

#include <QList>
#include <QString>
#include <QTypeInfo>

struct Card {
    QString key;     // unique within its list
    QString title;   // title field: optional date prefix, optional group + "＠", name
    QString remarks; // one line
    QString content; // lines joined by CR LF
    int icon = 1;    // 1 = as read or saved, 2 = created or changed since

    friend bool operator==(const Card &, const Card &) = default;
};

// QStrings move by memcpy, so a list of a million cards grows by realloc
// instead of moving card by card.
Q_DECLARE_TYPEINFO(Card, Q_RELOCATABLE_TYPE);

// Asks for the title of cards[row] ahead of a walk that reads every title.
// Titles lie hundreds of bytes apart, among their cards' other texts, in no
// stride the processor foresees: a walk that asks a few cards ahead waits
// for memory once per stretch rather than once per card.
// Always inlined: GCC takes a function that only prefetches for one without
// effects and drops the calls before it would inline them.
[[gnu::always_inline]] inline void PrefetchTitle(const QList<Card> &cards, qsizetype row)
{
    if (row < cards.size())
        __builtin_prefetch(cards.at(row).title.constData());
}

// Calls visit(row, card) for every card in order, asking for the titles of
// the cards ahead (PrefetchTitle).
template<typename Visit>
void ForEachCardTitlesAhead(const QList<Card> &cards, Visit &&visit)
{
    constexpr qsizetype Ahead = 16;
    for (qsizetype row = 0; row < Ahead; ++row)
        PrefetchTitle(cards, row);
    for (qsizetype row = 0; row < cards.size(); ++row) {
        PrefetchTitle(cards, row + Ahead);
        visit(row, cards[row]);
    }
}

namespace CardIcon {
inline constexpr int Saved = 1;
inline constexpr int Changed = 2;
} // namespace CardIcon
