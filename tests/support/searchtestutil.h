#pragma once
// Card lists for the search, extraction, group and sort tests.

#include "core/cards/cardlist.h"
#include "core/cards/cardstore.h"

#include <QStringList>

#include <ostream>

inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

inline Card makeCard(const QString &key, const QString &title, const QString &remarks = QString(),
                     const QString &content = QString(), int icon = 1)
{
    return Card{key, title, remarks, content, icon};
}

// Cards K0, K1, ... with these titles.
inline QList<Card> cardsTitled(const QStringList &titles)
{
    QList<Card> cards;
    for (qsizetype i = 0; i < titles.size(); ++i)
        cards.append(makeCard(QStringLiteral("K%1").arg(i), titles[i]));
    return cards;
}

inline QStringList titlesOf(const CardStore &store)
{
    QStringList titles;
    for (const Card &card : store.cards())
        titles.append(card.title);
    return titles;
}

inline QStringList keysOf(const CardStore &store)
{
    QStringList keys;
    for (const Card &card : store.cards())
        keys.append(card.key);
    return keys;
}

inline QList<qsizetype> rows(std::initializer_list<qsizetype> list)
{
    return QList<qsizetype>(list);
}
