#include "core/search/cardsearch.h"

#include "core/cards/cardlist.h"

qsizetype SearchCardList(CardList &list, const CardMatcher &matcher, SearchDirection direction, CardTextCache *cache)
{
    const CardStore &store = list.store();
    const qsizetype count = store.count();
    if (count == 0)
        return -1;
    // The current card survives the deselection: it is where Up and Down start.
    const qsizetype current = list.currentRow();
    list.ClearSelection();

    qsizetype from = 0, to = count - 1, step = 1;
    switch (direction) {
    case SearchDirection::FromTop: break;
    case SearchDirection::Up:
        from = current < 0 ? count - 1 : current - 1;
        to = 0;
        step = -1;
        break;
    case SearchDirection::Down: from = current < 0 ? 0 : current + 1; break;
    }
    if (matcher.matchesNothing())
        return -1;
    for (qsizetype row = from; step > 0 ? row <= to : row >= to; row += step) {
        if (matcher.matches(store, row, cache)) {
            list.setSelected(row);
            list.setCurrentRow(row);
            return row;
        }
    }
    return -1;
}

namespace SearchHistory {

QStringList recorded(const QStringList &history, const QString &keyword)
{
    if (keyword.isEmpty() || (!history.isEmpty() && history.first() == keyword))
        return history;
    QStringList entries = history;
    entries.removeAll(keyword);
    entries.prepend(keyword);
    return entries;
}

} // namespace SearchHistory
