#pragma once
// The keyword test of search and extraction. A card is tested on its card
// text: the title field, the remarks and the content joined with nothing
// between them, so a keyword may run from the end of one field into the
// next. Two match modes:
//   - plain text: the keyword occurs in the text, regardless of letter case
//     and of the width of letters, digits and katakana (textfold.h);
//   - regular expression: the keyword is a pattern (QRegularExpression,
//     case-insensitive) with at least one match in the text. A pattern the
//     engine rejects matches no card.
//
//     CardMatcher matcher(keyword, MatchMode::PlainText);
//     CardTextCache cache(store);              // folds each card once
//     for (qsizetype row = 0; ...) if (matcher.matches(store, row, &cache)) ...

#include "core/cards/card.h"
#include "core/search/textfind.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QRegularExpression>
#include <QString>
#include <QStringView>

class CardStore;

enum class MatchMode {
    PlainText,
    RegularExpression,
    // No keyword: the cards whose title field holds no "＠" (no group).
    WithoutGroup,
};

// The card text: title field + remarks + content.
QString CardText(const Card &card);
// The same, replacing the contents of out (its capacity is reused).
void CardTextInto(const Card &card, QString &out);

// The folded card text of every card of one store, each folded once and kept
// until the card's texts change. Follows the store through its signals:
// changed texts are folded again on their next use, inserted and removed rows
// shift the cache, a reordering keeps every folded text (by key), a reset
// empties it.
class CardTextCache : public QObject
{
    Q_OBJECT
public:
    explicit CardTextCache(const CardStore &store, QObject *parent = nullptr);

    const CardStore &store() const { return m_store; }
    // The folded card text of the card at row.
    const QString &folded(qsizetype row);
    // How many rows hold a folded text now (tests, benchmarks).
    qsizetype foldedCount() const;
    void clear();

private:
    struct Entry {
        QString folded;
        bool valid = false;
    };
    void invalidate(qsizetype first, qsizetype last);
    void rowsInserted(qsizetype first, qsizetype last);
    void rowsRemoved(qsizetype first, qsizetype last);
    void layoutAboutToChange();
    void layoutChanged();

    const CardStore &m_store;
    QList<Entry> m_entries;
    QHash<QString, QString> m_byKey; // only while a layout change runs
};

class CardMatcher
{
public:
    CardMatcher(const QString &keyword, MatchMode mode);

    const QString &keyword() const { return m_keyword; }
    MatchMode mode() const { return m_mode; }
    // The cards without a group (the keyword is not used).
    static CardMatcher withoutGroup() { return CardMatcher(QString(), MatchMode::WithoutGroup); }

    // An empty keyword, or a pattern the engine rejects: no card matches.
    bool matchesNothing() const { return m_nothing; }

    // The card text (unfolded) holds a match (never for WithoutGroup, which
    // needs the title field alone).
    bool matchesText(QStringView cardText) const;
    bool matches(const Card &card) const;
    // The card at row; the plain-text test takes the folded text from cache
    // when it is given and belongs to store.
    bool matches(const CardStore &store, qsizetype row, CardTextCache *cache = nullptr) const;

private:
    QString m_keyword;
    MatchMode m_mode;
    bool m_nothing = false;
    QString m_foldedKeyword;
    TextFinder m_matcher;
    bool m_unfolded = false; // plain text searched in the texts as they are (textfold.h)
    QRegularExpression m_pattern;
    mutable QString m_buffer; // the card text of the card being tested
};
