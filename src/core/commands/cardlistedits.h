#pragma once
// Changes to many cards of a list at once, sized for lists of a million
// cards: removing scattered rows without shifting the list once per row, and
// changing many title fields under one change notice (every notice repaints
// the preview and invalidates the search's folded texts).

#include <QList>
#include <QString>

#include <functional>
#include <optional>

class CardList;
class CardStore;

namespace CardListEdits {

// Removes the cards at rows (any order; duplicates and rows out of range are
// ignored). Cards that stay keep their selection; the current card stays, or,
// when it was removed, the nearest card before it that stays becomes current
// (the nearest after it when none before stays), as the selection model does.
void RemoveRows(CardList &list, QList<qsizetype> rows);

// For every row of rows: newTitle(old title) gives the new title field, or
// nothing to leave the card alone. A card given a title (even the same one)
// gets icon 2. One change notice covers every changed card. Returns how
// many cards were given a title.
qsizetype ChangeTitles(CardStore &store, const QList<qsizetype> &rows,
                       const std::function<std::optional<QString>(const QString &)> &newTitle);

// Every row of store, in order.
QList<qsizetype> AllRows(const CardStore &store);

} // namespace CardListEdits
