#include "core/commands/cardlistedits.h"

#include "core/cards/cardlist.h"
#include "core/cards/cardstore.h"

#include <QItemSelection>
#include <QSignalBlocker>

#include <algorithm>
#include <numeric>
#include <utility>
#include <vector>

namespace CardListEdits {

namespace {

struct Run {
    qsizetype first = 0;
    qsizetype count = 0;
};

// Each removed run shifts the rest of the list once. Past this many runs in a
// long list one pass that keeps the other cards is cheaper: 100 scattered
// rows of a million cards cost seconds of shifting, the pass a few
// milliseconds.
constexpr qsizetype ManyRuns = 32;
constexpr qsizetype LongList = 20000;

QList<Run> runsOf(const QList<qsizetype> &sortedRows)
{
    QList<Run> runs;
    for (qsizetype row : sortedRows) {
        if (!runs.isEmpty() && runs.last().first + runs.last().count == row)
            ++runs.last().count;
        else
            runs.append({row, 1});
    }
    return runs;
}

QItemSelection selectionOf(const CardStore &store, const QList<qsizetype> &sortedRows)
{
    QItemSelection selection;
    for (const Run &run : runsOf(sortedRows))
        selection.append(QItemSelectionRange(store.index(int(run.first), 0),
                                             store.index(int(run.first + run.count - 1), CardStore::ColumnCount - 1)));
    return selection;
}

// The whole list rebuilt without the removed cards, selection and current
// card carried over.
void removeInOnePass(CardList &list, const std::vector<bool> &gone)
{
    CardStore &store = list.store();
    const qsizetype count = store.count();
    qsizetype currentOld = list.currentRow();
    // As the selection model moves it when rows go one run at a time.
    if (currentOld >= 0 && gone[size_t(currentOld)]) {
        qsizetype before = currentOld - 1;
        while (before >= 0 && gone[size_t(before)])
            --before;
        if (before >= 0) {
            currentOld = before;
        } else {
            qsizetype next = currentOld + 1;
            while (next < count && gone[size_t(next)])
                ++next;
            currentOld = next < count ? next : -1;
        }
    }
    const QList<qsizetype> selectedOld = list.selectedRows();
    auto selectedIt = selectedOld.cbegin();

    QList<Card> kept;
    QList<qsizetype> selectedNew;
    qsizetype currentNew = -1;
    for (qsizetype old = 0; old < count; ++old) {
        while (selectedIt != selectedOld.cend() && *selectedIt < old)
            ++selectedIt;
        if (gone[size_t(old)])
            continue;
        const qsizetype row = kept.size();
        if (old == currentOld)
            currentNew = row;
        if (selectedIt != selectedOld.cend() && *selectedIt == old)
            selectedNew.append(row);
        kept.append(store.at(old));
    }
    store.reset(std::move(kept), CardStore::Keys::Unique);
    if (!selectedNew.isEmpty())
        list.selectionModel().select(selectionOf(store, selectedNew),
                                     QItemSelectionModel::Select | QItemSelectionModel::Rows);
    list.setCurrentRow(currentNew);
}

} // namespace

void RemoveRows(CardList &list, QList<qsizetype> rows)
{
    CardStore &store = list.store();
    const qsizetype count = store.count();
    rows.removeIf([count](qsizetype row) { return row < 0 || row >= count; });
    if (rows.isEmpty())
        return;
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    const QList<Run> runs = runsOf(rows);
    if (runs.size() <= ManyRuns || count < LongList) {
        // From the bottom, so that the rows above stay where they are.
        for (auto it = runs.crbegin(); it != runs.crend(); ++it)
            store.remove(it->first, it->count);
        return;
    }
    std::vector<bool> gone(size_t(count), false);
    for (qsizetype row : std::as_const(rows))
        gone[size_t(row)] = true;
    removeInOnePass(list, gone);
}

qsizetype ChangeTitles(CardStore &store, const QList<qsizetype> &rows,
                       const std::function<std::optional<QString>(const QString &)> &newTitle)
{
    qsizetype changed = 0;
    qsizetype first = -1;
    qsizetype last = -1;
    {
        // One notice for all instead of one per card and column.
        const QSignalBlocker quiet(store);
        for (qsizetype row : rows) {
            if (row < 0 || row >= store.count())
                continue;
            const std::optional<QString> title = newTitle(store.at(row).title);
            if (!title)
                continue;
            store.setTitle(row, *title);
            store.setIcon(row, CardIcon::Changed);
            ++changed;
            first = first < 0 ? row : std::min(first, row);
            last = std::max(last, row);
        }
    }
    if (changed > 0)
        emit store.dataChanged(store.index(int(first), 0), store.index(int(last), CardStore::ColumnCount - 1));
    return changed;
}

QList<qsizetype> AllRows(const CardStore &store)
{
    QList<qsizetype> rows(store.count());
    std::iota(rows.begin(), rows.end(), qsizetype(0));
    return rows;
}

} // namespace CardListEdits
