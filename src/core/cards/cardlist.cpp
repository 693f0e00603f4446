#include "core/cards/cardlist.h"

#include <algorithm>

CardList::CardList(QObject *parent) : QObject(parent), m_selection(&m_store) {}

qsizetype CardList::currentRow() const
{
    const QModelIndex current = m_selection.currentIndex();
    return current.isValid() ? current.row() : -1;
}

const Card *CardList::currentCard() const
{
    const qsizetype row = currentRow();
    return row < 0 ? nullptr : &m_store.at(row);
}

void CardList::setCurrentRow(qsizetype row)
{
    const QModelIndex index = row < 0 || row >= m_store.count() ? QModelIndex() : m_store.index(int(row), 0);
    m_selection.setCurrentIndex(index, QItemSelectionModel::NoUpdate);
}

bool CardList::isSelected(qsizetype row) const
{
    return row >= 0 && row < m_store.count() && m_selection.isRowSelected(int(row), QModelIndex());
}

void CardList::setSelected(qsizetype row, bool selected)
{
    if (row < 0 || row >= m_store.count())
        return;
    m_selection.select(m_store.index(int(row), 0),
                       (selected ? QItemSelectionModel::Select : QItemSelectionModel::Deselect)
                           | QItemSelectionModel::Rows);
}

void CardList::ClearSelection()
{
    m_selection.clearSelection();
}

static QItemSelection everyRow(const CardStore &store)
{
    if (store.isEmpty())
        return {};
    return QItemSelection(store.index(0, 0), store.index(int(store.count() - 1), CardStore::ColumnCount - 1));
}

void CardList::selectAll()
{
    m_selection.select(everyRow(m_store), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void CardList::invertSelection()
{
    m_selection.select(everyRow(m_store), QItemSelectionModel::Toggle | QItemSelectionModel::Rows);
}

QList<qsizetype> CardList::selectedRows() const
{
    // Straight from the ranges: "select all" over a million cards is one range.
    QList<qsizetype> rows;
    for (const QItemSelectionRange &range : m_selection.selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.append(row);
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

qsizetype CardList::firstSelectedRow() const
{
    qsizetype first = -1;
    for (const QItemSelectionRange &range : m_selection.selection()) {
        if (first < 0 || range.top() < first)
            first = range.top();
    }
    return first;
}
