#include "core/cards/groupindex.h"

#include "core/cards/cardstore.h"
#include "core/cards/titlefield.h"

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
    // First appearances, in a scan of the row numbers that stops once every
    // group in use has been met.
    qsizetype inUse = 0;
    for (const qsizetype n : std::as_const(m_cardCounts))
        inUse += n > 0;
    QStringList out;
    out.reserve(inUse);
    QList<bool> met(m_names.size(), false);
    int last = -1;
    for (qsizetype row = 0; row < m_rowGroup.size() && out.size() < inUse; ++row) {
        const int id = m_rowGroup[row];
        if (id < 0 || id == last)
            continue;
        last = id;
        if (!met[id]) {
            met[id] = true;
            out.append(m_names[id]);
        }
    }
    return out;
}

void GroupIndex::reorderRows(const QList<qsizetype> &order)
{
    if (!m_valid || order.size() != m_rowGroup.size())
        return; // read again at the next groups()
    QList<int> moved(order.size());
    for (qsizetype row = 0; row < order.size(); ++row)
        moved[row] = m_rowGroup[order[row]];
    m_rowGroup.swap(moved);
    m_reordered = true;
}

void GroupIndex::layoutChanged()
{
    if (!std::exchange(m_reordered, false))
        invalidate();
}

void GroupIndex::rebuild()
{
    m_rowGroup.clear();
    m_numbers.clear();
    m_names.clear();
    m_cardCounts.clear();
    const QList<Card> &cards = m_store.cards();
    m_rowGroup.reserve(cards.size());
    // Neighbouring cards mostly share their group: the last one is compared
    // before the hash is asked.
    QStringView lastName;
    int lastId = -1;
    constexpr qsizetype Ahead = 16;
    for (qsizetype row = 0; row < Ahead; ++row)
        PrefetchTitle(cards, row);
    for (qsizetype row = 0; row < cards.size(); ++row) {
        PrefetchTitle(cards, row + Ahead);
        const std::optional<QStringView> group = GroupViewOf(cards[row].title);
        int id = -1;
        if (group) {
            if (lastId >= 0 && *group == lastName) {
                id = lastId;
            } else {
                id = idOfGroup(*group);
                lastName = *group;
                lastId = id;
            }
            ++m_cardCounts[id];
        }
        m_rowGroup.append(id);
    }
    m_valid = true;
}

int GroupIndex::idOfTitle(const QString &title)
{
    const std::optional<QStringView> group = GroupViewOf(title);
    return group ? idOfGroup(*group) : -1;
}

int GroupIndex::idOfGroup(QStringView group)
{
    // Looked up as a view: a name is copied only the first time it is met.
    const auto it = m_numbers.constFind(group);
    if (it != m_numbers.constEnd())
        return *it;
    const int id = int(m_names.size());
    m_names.append(group.toString());
    m_cardCounts.append(0);
    m_numbers.insert(QStringView(m_names.constLast()), id);
    return id;
}

void GroupIndex::insertRows(qsizetype first, qsizetype last)
{
    if (!m_valid)
        return;
    QList<int> ids;
    ids.reserve(last - first + 1);
    for (qsizetype row = first; row <= last; ++row) {
        const int id = idOfTitle(m_store.at(row).title);
        if (id >= 0)
            ++m_cardCounts[id];
        ids.append(id);
    }
    m_rowGroup.insert(first, ids.size(), 0);
    std::copy(ids.cbegin(), ids.cend(), m_rowGroup.begin() + first);
}

void GroupIndex::removeRows(qsizetype first, qsizetype last)
{
    if (!m_valid)
        return;
    for (qsizetype row = first; row <= last; ++row) {
        if (const int id = m_rowGroup[row]; id >= 0)
            --m_cardCounts[id];
    }
    m_rowGroup.remove(first, last - first + 1);
}

void GroupIndex::retitleRows(qsizetype first, qsizetype last)
{
    if (!m_valid)
        return;
    for (qsizetype row = first; row <= last; ++row) {
        if (const int old = m_rowGroup[row]; old >= 0)
            --m_cardCounts[old];
        const int id = idOfTitle(m_store.at(row).title);
        if (id >= 0)
            ++m_cardCounts[id];
        m_rowGroup[row] = id;
    }
}
