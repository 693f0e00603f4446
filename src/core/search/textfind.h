#pragma once
// Finding one text in many: the plain-text search over every card of a
// file. A pair of units of the pattern (its first and its last) is looked
// for sixteen places at a time, and only where both stand is the rest
// compared. Japanese text seldom repeats a pair at the pattern's distance,
// so most of a card is passed over at the speed of reading it.
//
//     TextFinder finder(u"打ち合わせ");
//     if (finder.indexIn(card.content) >= 0) ...

#include <QString>
#include <QStringView>

class TextFinder
{
public:
    TextFinder() = default;
    explicit TextFinder(QStringView pattern) { setPattern(pattern); }

    void setPattern(QStringView pattern) { m_pattern = pattern.toString(); }
    const QString &pattern() const { return m_pattern; }

    // The first place in text where the pattern stands unit for unit, -1
    // when none; 0 for an empty pattern (as QStringView::indexOf).
    qsizetype indexIn(QStringView text) const;

private:
    QString m_pattern;
};
