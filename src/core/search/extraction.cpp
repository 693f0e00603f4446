#include "core/search/extraction.h"

#include "core/cards/cardlist.h"
#include "core/cards/cardstore.h"

#include <algorithm>
#include <array>
#include <limits>
#include <vector>

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

// The rows in the order their contents lie in memory, or none when the rows
// follow it already (mostly, as after reading a file). A sort leaves the
// texts of neighbouring rows far apart; a test of every card reads them
// several times faster in this order.
std::vector<quint32> rowsInMemoryOrder(const CardStore &store)
{
    const qsizetype n = store.count();
    if (n < 4096 || n > qsizetype(std::numeric_limits<quint32>::max()))
        return {};
    auto address = [&](qsizetype row) { return quintptr(store.at(row).content.constData()); };
    // Rows whose contents lie a little after those of the row before.
    qsizetype near = 0;
    quintptr lowest = address(0), highest = lowest;
    for (qsizetype row = 1; row < n; ++row) {
        const quintptr a = address(row);
        near += a - address(row - 1) < 4096 ? 1 : 0;
        lowest = std::min(lowest, a);
        highest = std::max(highest, a);
    }
    if (near > n / 2)
        return {};
    // A radix sort of (address, row) on the address in 64-byte lines, eleven
    // bits a pass, as many passes as the range of the addresses needs.
    struct Item {
        quint32 line;
        quint32 row;
    };
    const quint64 lines = quint64(highest - lowest) >> 6;
    if (lines > std::numeric_limits<quint32>::max())
        return {};
    std::vector<Item> items(static_cast<std::size_t>(n));
    std::vector<Item> other(static_cast<std::size_t>(n));
    for (qsizetype row = 0; row < n; ++row)
        items[std::size_t(row)] = Item{quint32((address(row) - lowest) >> 6), quint32(row)};
    for (int shift = 0; shift < 32 && (lines >> shift) != 0; shift += 11) {
        std::array<qsizetype, 2049> start{};
        for (const Item &i : items)
            ++start[((i.line >> shift) & 2047) + 1];
        for (std::size_t b = 1; b < start.size(); ++b)
            start[b] += start[b - 1];
        for (const Item &i : items)
            other[std::size_t(start[(i.line >> shift) & 2047]++)] = i;
        items.swap(other);
    }
    std::vector<quint32> rows(static_cast<std::size_t>(n));
    for (qsizetype i = 0; i < n; ++i)
        rows[std::size_t(i)] = items[std::size_t(i)].row;
    return rows;
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
    const std::vector<quint32> visit = rowsInMemoryOrder(store);
    if (visit.empty()) {
        for (qsizetype row = 0; row < n; ++row) {
            if (matcher.matches(store, row, cache))
                rows.append(row);
        }
        return rows;
    }
    std::vector<bool> hit(std::size_t(n), false);
    qsizetype hits = 0;
    for (std::size_t i = 0; i < visit.size(); ++i) {
        // The cards themselves lie in row order: ask for one a little ahead.
        if (i + 8 < visit.size())
            __builtin_prefetch(&store.at(visit[i + 8]));
        const quint32 row = visit[i];
        if (matcher.matches(store, row, cache)) {
            hit[row] = true;
            ++hits;
        }
    }
    rows.reserve(hits);
    for (qsizetype row = 0; row < n; ++row) {
        if (hit[std::size_t(row)])
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
    noteInStep();
    return m_list.store().count();
}

qsizetype Extraction::narrow(const CardMatcher &matcher)
{
    // The main rows noted stay exact through the narrowing only when they
    // were exact before it.
    const bool exact = inStep();
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
    if (exact)
        noteInStep();
    else
        m_inStep = {};
    selectRows(m_list, selected);
    m_list.setCurrentRow(current);
    return store.count();
}

void Extraction::noteInStep()
{
    m_inStep = {m_main.store().changeCount(), m_list.store().changeCount()};
}

bool Extraction::inStep() const
{
    return m_inStep && *m_inStep == std::pair{m_main.store().changeCount(), m_list.store().changeCount()};
}

void Extraction::writeBack(bool carrySelection)
{
    CardStore &main = m_main.store();
    CardStore &list = m_list.store();
    QList<qsizetype> toSelect;
    // Neither list changed since they were last in step (no card edited,
    // added, removed or moved): nothing to write, and each card's main row
    // is the one noted. Hundreds of thousands of cards are not walked.
    if (inStep()) {
        if (carrySelection) {
            for (const qsizetype row : m_list.selectedRows()) {
                if (row < m_mainRows.size() && m_mainRows[row] >= 0)
                    toSelect.append(m_mainRows[row]);
            }
        }
        selectRows(m_main, toSelect);
        return;
    }
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
