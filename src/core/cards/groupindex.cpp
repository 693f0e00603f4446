#include "core/cards/groupindex.h"

#include "core/cards/cardstore.h"

#include <utility>

GroupIndex::GroupIndex(const CardStore &store, QObject *parent) : QObject(parent), m_store(store)
{
    connect(&store, &QAbstractItemModel::modelReset, this, &GroupIndex::invalidate);
    connect(&store, &CardStore::rowsReordered, this, &GroupIndex::reorderRows);
    connect(&store, &QAbstractItemModel::layoutChanged, this, &GroupIndex::layoutChanged);
    connect(&store, &QAbstractItemModel::rowsMoved, this, &GroupIndex::invalidate);
    connect(&store, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex &, int first, int last) { insertRows(first, last); });
    connect(&store, &QAbstractItemModel::rowsRemoved, this,
            [this](const QModelIndex &, int first, int last) { removeRows(first, last); });
    connect(&store, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex &from, const QModelIndex &to, const QList<int> &roles) {
                // Only the title field carries the group; icons change nothing.
                if (from.column() > CardStore::TitleColumn)
                    return;
                if (!roles.isEmpty() && !roles.contains(Qt::DisplayRole) && !roles.contains(Qt::EditRole))
                    return;
                retitleRows(from.row(), to.row());
            });
}

QStringList GroupIndex::groups()
{
    if (!m_valid)
        rebuild();
    return m_rows.groups();
}

void GroupIndex::reorderRows(const QList<qsizetype> &order)
{
    if (!m_valid || order.size() != m_rows.rowGroup.size())
        return; // read again at the next groups()
    QList<int> moved(order.size());
    for (qsizetype row = 0; row < order.size(); ++row)
        moved[row] = m_rows.rowGroup[order[row]];
    m_rows.rowGroup.swap(moved);
    m_reordered = true;
}

void GroupIndex::layoutChanged()
{
    if (!std::exchange(m_reordered, false))
        invalidate();
}

void GroupIndex::rebuild()
{
    m_valid = true;
    // A store just read carries the groups its reader noted.
    if (std::optional<GroupRows> noted = m_store.takeNotedGroups()) {
        m_rows = std::move(*noted);
        return;
    }
    m_rows.clear();
    const QList<Card> &cards = m_store.cards();
    m_rows.rowGroup.reserve(cards.size());
    ForEachCardTitlesAhead(cards, [this](qsizetype, const Card &card) { m_rows.append(card.title); });
}

void GroupIndex::insertRows(qsizetype first, qsizetype last)
{
    if (!m_valid)
        return;
    QList<int> ids;
    ids.reserve(last - first + 1);
    for (qsizetype row = first; row <= last; ++row) {
        const int id = m_rows.idOfTitle(m_store.at(row).title);
        if (id >= 0)
            ++m_rows.cardCounts[id];
        ids.append(id);
    }
    m_rows.rowGroup.insert(first, ids.size(), 0);
    std::copy(ids.cbegin(), ids.cend(), m_rows.rowGroup.begin() + first);
}

void GroupIndex::removeRows(qsizetype first, qsizetype last)
{
    if (!m_valid)
        return;
    for (qsizetype row = first; row <= last; ++row) {
        if (const int id = m_rows.rowGroup[row]; id >= 0)
            --m_rows.cardCounts[id];
    }
    m_rows.rowGroup.remove(first, last - first + 1);
}

void GroupIndex::retitleRows(qsizetype first, qsizetype last)
{
    if (!m_valid)
        return;
    for (qsizetype row = first; row <= last; ++row) {
        if (const int old = m_rows.rowGroup[row]; old >= 0)
            --m_rows.cardCounts[old];
        const int id = m_rows.idOfTitle(m_store.at(row).title);
        if (id >= 0)
            ++m_rows.cardCounts[id];
        m_rows.rowGroup[row] = id;
    }
}
