#include "core/search/extraction.h"

#include "core/cards/cardlist.h"
#include "core/cards/cardstore.h"

#include <algorithm>

namespace {

// One selection of whole rows from sorted rows, contiguous rows in one range:
// selecting a whole list row by row would cost a signal and a merge per row.
QItemSelection rowRanges(const CardStore &store, QList<qsizetype> rows)
{
    std::sort(rows.begin(), rows.end());
    QItemSelection selection;
    const int lastColumn = CardStore::ColumnCount - 1;
    for (qsizetype i = 0; i < rows.size();) {
        qsizetype j = i;
        while (j + 1 < rows.size() && rows[j + 1] <= rows[j] + 1)
            ++j;
        selection.append(QItemSelectionRange(store.index(int(rows[i]), 0), store.index(int(rows[j]), lastColumn)));
        i = j + 1;
    }
    return selection;
}

void selectRows(CardList &list, const QList<qsizetype> &rows)
{
    if (rows.isEmpty())
        return;
    list.selectionModel().select(rowRanges(list.store(), rows),
                                 QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

bool sameFields(const Card &a, const Card &b)
{
    return a.icon == b.icon && a.title == b.title && a.remarks == b.remarks && a.content == b.content;
}

} // namespace

QList<qsizetype> MatchingRows(const CardStore &store, const CardMatcher &matcher, CardTextCache *cache)
{
    QList<qsizetype> rows;
    if (matcher.matchesNothing())
        return rows;
    const qsizetype n = store.count();
    for (qsizetype row = 0; row < n; ++row) {
        if (matcher.matches(store, row, cache))
            rows.append(row);
    }
    return rows;
}

Extraction::Extraction(CardList &main, CardList &list)
    : m_main(main), m_list(list), m_mainCache(main.store()), m_listCache(list.store())
{}

qsizetype Extraction::start(const CardMatcher &matcher)
{
    m_marks.clear();
    const CardStore &main = m_main.store();
    const QList<qsizetype> rows = MatchingRows(main, matcher, &m_mainCache);
    QList<Card> copies;
    copies.reserve(rows.size());
    for (qsizetype row : rows)
        copies.append(main.at(row));
    // One reset instead of a row insertion per card; the keys are those of
    // the main card list, so they are distinct.
    m_list.store().reset(std::move(copies), CardStore::Keys::Unique);
    m_mainRows = rows;
    return m_list.store().count();
}

qsizetype Extraction::narrow(const CardMatcher &matcher)
{
    writeBack(false);
    CardStore &store = m_list.store();
    const qsizetype n = store.count();
    QList<qsizetype> keep = MatchingRows(store, matcher, &m_listCache);
    if (keep.size() == n)
        return n;

    QList<Card> kept;
    kept.reserve(keep.size());
    QList<qsizetype> mainRows;
    mainRows.reserve(keep.size());
    QList<qsizetype> selected;
    qsizetype current = -1;
    const qsizetype oldCurrent = m_list.currentRow();
    for (qsizetype i = 0; i < keep.size(); ++i) {
        const qsizetype row = keep[i];
        kept.append(store.at(row));
        mainRows.append(row < m_mainRows.size() ? m_mainRows[row] : -1);
        if (m_list.isSelected(row))
            selected.append(i);
        if (row == oldCurrent)
            current = i;
    }
    store.reset(std::move(kept), CardStore::Keys::Unique);
    m_mainRows = std::move(mainRows);
    selectRows(m_list, selected);
    m_list.setCurrentRow(current);
    return store.count();
}

void Extraction::writeBack(bool carrySelection)
{
    CardStore &main = m_main.store();
    CardStore &list = m_list.store();
    QList<qsizetype> toSelect;
    for (qsizetype row = 0; row < list.count(); ++row) {
        const Card &card = list.at(row);
        qsizetype mainRow = -1;
        if (isNewCard(card.key)) {
            Card added = card;
            added.icon = CardIcon::Changed;
            const QString key = card.key;
            if (main.containsKey(key)) {
                // A key the main card list took meanwhile: the card gets a
                // fresh one in both lists rather than being lost.
                added.key = NewCardKey(main, &list);
                const bool selected = m_list.isSelected(row);
                const bool isCurrent = m_list.currentRow() == row;
                Card renamed = card;
                renamed.key = added.key;
                list.remove(row);
                list.insert(row, renamed);
                if (selected)
                    m_list.setSelected(row);
                if (isCurrent)
                    m_list.setCurrentRow(row);
            }
            unmarkNewCard(key);
            mainRow = main.count();
            if (!main.append(std::move(added)))
                continue;
        } else {
            mainRow = mainRowOf(row, card.key);
            if (mainRow < 0)
                continue;
            // Unchanged cards are left alone: no signal, and their folded
            // texts stay valid.
            if (!sameFields(main.at(mainRow), card))
                main.setFields(mainRow, card);
        }
        if (carrySelection && m_list.isSelected(row))
            toSelect.append(mainRow);
    }
    selectRows(m_main, toSelect);
}

qsizetype Extraction::mainRowOf(qsizetype row, const QString &key) const
{
    const CardStore &main = m_main.store();
    if (row < m_mainRows.size()) {
        const qsizetype hint = m_mainRows[row];
        if (hint >= 0 && hint < main.count() && main.at(hint).key == key)
            return hint;
    }
    return main.indexOfKey(key);
}

qsizetype Extraction::finish()
{
    m_main.ClearSelection();
    writeBack(true);
    const Card *current = m_list.currentCard();
    const QString currentKey = current ? current->key : QString();
    const qsizetype mainCurrent = currentKey.isEmpty() ? -1 : mainRowOf(m_list.currentRow(), currentKey);
    if (mainCurrent >= 0)
        m_main.setCurrentRow(mainCurrent);
    m_list.store().clear();
    m_mainRows.clear();
    m_marks.clear();
    return m_main.currentRow();
}
