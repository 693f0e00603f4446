#include "core/cards/cardstore.h"

#include "core/cards/cardkeys.h"
#include "core/cards/titlefield.h"

#include <QSet>

#include <algorithm>
#include <cstring>
#include <numeric>
#include <vector>

CardStore::CardStore(QObject *parent)
    : QAbstractTableModel(parent), m_headers{QStringLiteral("題名"), QStringLiteral("備考"), QStringLiteral("内容")}
{}

const QHash<QString, qsizetype> &CardStore::rows() const
{
    if (!m_rowsBuilt) {
        m_rows.reserve(m_cards.size());
        for (qsizetype row = 0; row < m_cards.size(); ++row)
            m_rows.insert(m_cards[row].key, row);
        m_rowsValidBelow = m_cards.size();
        m_rowsBuilt = true;
    }
    return m_rows;
}

qsizetype CardStore::indexOfKey(const QString &key) const
{
    auto it = rows().constFind(key);
    if (it == m_rows.constEnd())
        return -1;
    const qsizetype row = *it;
    // Keys are unique, so a row that holds the key is the row.
    if (row < m_cards.size() && m_cards[row].key == key)
        return row;
    repairRows();
    return m_rows.value(key, -1);
}

const Card *CardStore::cardWithKey(const QString &key) const
{
    const qsizetype row = indexOfKey(key);
    return row < 0 ? nullptr : &m_cards[row];
}

void CardStore::reset(QList<Card> cards, Keys keys, ReadNotes notes)
{
    Q_ASSERT(notes.groups.rowGroup.size() == cards.size());
    reset(std::move(cards), keys);
    if (notes.groups.rowGroup.size() == m_cards.size()) {
        // The walk over every icon after the first save is left out.
        if (notes.allSaved)
            m_iconOfAll = CardIcon::Saved;
        m_notes = std::move(notes);
        m_notesAt = m_changes;
    }
}

std::optional<GroupRows> CardStore::takeNotedGroups() const
{
    // Once taken, the notes hold no rows: only a store without cards, whose
    // groups are none, would give them again.
    if (!notesHold() || m_notes->groups.rowGroup.size() != m_cards.size())
        return std::nullopt;
    std::optional<GroupRows> groups(std::move(m_notes->groups));
    m_notes->groups = GroupRows();
    return groups;
}

const QList<qsizetype> *CardStore::notedAutoOpenRows() const
{
    return notesHold() ? &m_notes->autoOpenRows : nullptr;
}

void CardStore::reset(QList<Card> cards, Keys keys)
{
    beginResetModel();
    m_notes.reset();
    m_cards = std::move(cards);
    m_rows.clear();
    m_counterKeysExhausted = false;
    m_iconOfAll = UnknownIcon;
    ++m_changes;
    if (keys == Keys::Unique) {
        // Building the hash costs as much as the rest of a load; a store
        // that is only shown, walked or written never needs it.
        m_rowsBuilt = false;
        m_rowsValidBelow = 0;
        endResetModel();
        return;
    }
    m_rowsBuilt = true;
    m_rows.reserve(m_cards.size());
    QList<qsizetype> rekey;
    for (qsizetype row = 0; row < m_cards.size(); ++row) {
        const QString &key = m_cards[row].key;
        if (key.isEmpty()) {
            rekey.append(row);
            continue;
        }
        const qsizetype before = m_rows.size();
        qsizetype &slot = m_rows[key];
        if (m_rows.size() != before)
            slot = row;
        else
            rekey.append(row);
    }
    // An empty or repeated key is a caller's slip; a list never holds two
    // cards with one key.
    for (qsizetype row : std::as_const(rekey)) {
        m_cards[row].key = NewCardKey(*this);
        m_rows.insert(m_cards[row].key, row);
    }
    m_rowsValidBelow = m_cards.size();
    endResetModel();
}

void CardStore::clear()
{
    reset({});
}

bool CardStore::insert(qsizetype row, Card card)
{
    if (card.key.isEmpty() || rows().contains(card.key))
        return false;
    const qsizetype n = m_cards.size();
    if (row < 0 || row > n)
        row = n;
    beginInsertRows(QModelIndex(), int(row), int(row));
    iconSet(card.icon);
    ++m_changes;
    m_rows.insert(card.key, row);
    m_cards.insert(row, std::move(card));
    if (row < n)
        rowsShiftedFrom(row);
    else if (m_rowsValidBelow == n)
        m_rowsValidBelow = n + 1;
    endInsertRows();
    return true;
}

void CardStore::remove(qsizetype row, qsizetype n)
{
    if (row < 0 || n <= 0 || row >= m_cards.size())
        return;
    n = std::min(n, m_cards.size() - row);
    beginRemoveRows(QModelIndex(), int(row), int(row + n - 1));
    ++m_changes;
    // A hash not built yet has nothing to forget: it is built from the
    // cards that remain, at its first use.
    if (m_rowsBuilt) {
        for (qsizetype r = row; r < row + n; ++r)
            m_rows.remove(m_cards[r].key);
        rowsShiftedFrom(row);
    }
    m_cards.remove(row, n);
    m_counterKeysExhausted = false;
    endRemoveRows();
}

bool CardStore::removeKey(const QString &key)
{
    const qsizetype row = indexOfKey(key);
    if (row < 0)
        return false;
    remove(row);
    return true;
}

template<typename C>
static auto &columnText(C &card, int column)
{
    switch (column) {
    case CardStore::RemarksColumn: return card.remarks;
    case CardStore::ContentColumn: return card.content;
    default: return card.title;
    }
}

void CardStore::changed(qsizetype first, qsizetype last, int firstColumn, int lastColumn, const QList<int> &roles)
{
    ++m_changes;
    emit dataChanged(index(int(first), firstColumn), index(int(last), lastColumn), roles);
}

static const QList<int> TextRoles{Qt::DisplayRole, Qt::EditRole};

void CardStore::setTitle(qsizetype row, const QString &title)
{
    m_cards[row].title = title;
    changed(row, row, TitleColumn, TitleColumn, TextRoles);
}

void CardStore::setRemarks(qsizetype row, const QString &remarks)
{
    m_cards[row].remarks = remarks;
    changed(row, row, RemarksColumn, RemarksColumn, TextRoles);
}

void CardStore::setContent(qsizetype row, const QString &content)
{
    m_cards[row].content = content;
    changed(row, row, ContentColumn, ContentColumn, TextRoles);
}

void CardStore::setIcon(qsizetype row, int icon)
{
    iconSet(icon);
    m_cards[row].icon = icon;
    changed(row, row, TitleColumn, ContentColumn, {IconRole});
}

void CardStore::setFields(qsizetype row, const Card &from)
{
    Card &card = m_cards[row];
    card.title = from.title;
    card.remarks = from.remarks;
    card.content = from.content;
    iconSet(from.icon);
    card.icon = from.icon;
    changed(row, row, TitleColumn, ContentColumn, {Qt::DisplayRole, Qt::EditRole, IconRole});
}

void CardStore::setAllIcons(int icon)
{
    // Only the runs of cards whose icon changes are announced: after a save
    // most cards show theirs already, and a change over every row of a
    // million makes each view walk them all.
    // Past a few dozen runs, one change from the first to the last.
    constexpr qsizetype MaxRuns = 64;
    // Nothing changed an icon since the last time: nothing to walk.
    if (m_iconOfAll == icon)
        return;
    m_iconOfAll = icon;
    const qsizetype n = m_cards.size();
    QList<std::pair<qsizetype, qsizetype>> runs;
    for (qsizetype row = 0; row < n;) {
        if (m_cards[row].icon == icon) {
            ++row;
            continue;
        }
        const qsizetype first = row;
        for (; row < n && m_cards[row].icon != icon; ++row)
            m_cards[row].icon = icon;
        runs.append({first, row - 1});
    }
    if (runs.size() > MaxRuns) {
        changed(runs.first().first, runs.last().second, TitleColumn, ContentColumn, {IconRole});
        return;
    }
    for (const auto &[first, last] : std::as_const(runs))
        changed(first, last, TitleColumn, ContentColumn, {IconRole});
}

qsizetype CardStore::stripDatePrefixes()
{
    qsizetype first = -1, last = -1, n = 0;
    for (qsizetype row = 0; row < m_cards.size(); ++row) {
        QString &title = m_cards[row].title;
        const qsizetype prefix = DatePrefixLength(title);
        if (!prefix)
            continue;
        title.remove(0, prefix);
        if (first < 0)
            first = row;
        last = row;
        ++n;
    }
    if (n)
        changed(first, last, TitleColumn, TitleColumn, TextRoles);
    return n;
}

namespace {
// What releaseForExit let go, still reachable (so that a leak checker at the
// process's end does not count it).
struct Released {
    QList<Card> cards;
    QHash<QString, qsizetype> rows;
};
Released *g_released[8];
std::size_t g_releasedCount = 0;
} // namespace

void CardStore::releaseForExit()
{
    beginResetModel();
    ++m_changes;
    if (g_releasedCount < std::size(g_released)) {
        g_released[g_releasedCount++] = new Released{std::exchange(m_cards, {}), std::exchange(m_rows, {})};
    } else {
        m_cards.clear();
        m_rows.clear();
    }
    m_rowsBuilt = true;
    m_rowsValidBelow = 0;
    endResetModel();
}

void CardStore::reorder(const QList<qsizetype> &order)
{
    const qsizetype n = m_cards.size();
    Q_ASSERT(order.size() == n);
    if (order.size() != n)
        return;
    // The cards move as bytes below: an order that is no permutation would
    // leave two rows holding one card's texts. It changes nothing.
    // The order is also copied in 32 bits (a list of a million cards fills
    // memory long before 2^32 rows): the walk along its cycles goes from row
    // to row at random, and half the size halves the pages it looks up.
    std::vector<quint32> next(static_cast<std::size_t>(n));
    {
        std::vector<bool> seen(static_cast<std::size_t>(n), false);
        for (qsizetype row = 0; row < n; ++row) {
            const qsizetype from = order[row];
            if (from < 0 || from >= n || seen[std::size_t(from)])
                return;
            seen[std::size_t(from)] = true;
            next[std::size_t(row)] = quint32(from);
        }
    }
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    ++m_changes;
    const QModelIndexList from = persistentIndexList();
    if (!from.isEmpty()) {
        std::vector<int> newRowOf(std::size_t(n), 0);
        for (qsizetype newRow = 0; newRow < n; ++newRow)
            newRowOf[std::size_t(order[newRow])] = int(newRow);
        QModelIndexList to;
        to.reserve(from.size());
        for (const QModelIndex &i : from)
            to.append(index(newRowOf[std::size_t(i.row())], i.column()));
        changePersistentIndexList(from, to);
    }
    // The cards move in place, cycle by cycle: row j takes the card of row
    // order[j]. A second list of every card would cost as much again. Cards
    // are relocatable: each moves as its bytes, without touching the
    // reference counts of its texts (a quarter less time for a million).
    // A cycle is followed a stretch at a time: first the rows of the
    // stretch, then their cards are asked for all at once, so that the
    // page walks of those far apart in the list run side by side, and then
    // they move.
    static_assert(QTypeInfo<Card>::isRelocatable);
    constexpr std::size_t Size = sizeof(Card);
    constexpr qsizetype Stretch = 64;
    auto *cards = reinterpret_cast<unsigned char *>(m_cards.data());
    auto at = [cards](qsizetype row) { return cards + std::size_t(row) * Size; };
    alignas(Card) unsigned char held[Size];
    qsizetype path[Stretch + 1];
    // A row filled becomes its own next: a cycle is followed once.
    for (qsizetype start = 0; start < n; ++start) {
        if (next[std::size_t(start)] == quint32(start))
            continue;
        std::memcpy(held, at(start), Size);
        // path[0] is the row to fill next; each row takes the card of the
        // row after it on the path.
        path[0] = start;
        for (bool closed = false; !closed;) {
            qsizetype count = 1;
            while (count <= Stretch) {
                const qsizetype row = next[std::size_t(path[count - 1])];
                if (row == start) {
                    closed = true;
                    break;
                }
                path[count++] = row;
            }
            for (qsizetype i = 1; i < count; ++i) {
                __builtin_prefetch(at(path[i]));
                __builtin_prefetch(at(path[i]) + Size - 1);
            }
            for (qsizetype i = 0; i + 1 < count; ++i) {
                next[std::size_t(path[i])] = quint32(path[i]);
                std::memcpy(at(path[i]), at(path[i + 1]), Size);
            }
            if (closed) {
                next[std::size_t(path[count - 1])] = quint32(path[count - 1]);
                std::memcpy(at(path[count - 1]), held, Size);
            } else {
                path[0] = path[count - 1];
            }
        }
    }
    rowsShiftedFrom(0);
    emit rowsReordered(order);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void CardStore::sortByColumn(int column, Qt::SortOrder order,
                             const std::function<int(const QString &, const QString &)> &compare)
{
    if (column < 0 || column >= ColumnCount)
        return;
    QList<qsizetype> rows(m_cards.size());
    std::iota(rows.begin(), rows.end(), qsizetype(0));
    auto text = [&](qsizetype row) -> const QString & { return columnText(m_cards[row], column); };
    auto cmp = [&](const QString &a, const QString &b) { return compare ? compare(a, b) : a.compare(b); };
    std::stable_sort(rows.begin(), rows.end(), [&](qsizetype a, qsizetype b) {
        return order == Qt::AscendingOrder ? cmp(text(a), text(b)) < 0 : cmp(text(b), text(a)) < 0;
    });
    reorder(rows);
}

void CardStore::rowsShiftedFrom(qsizetype row) const
{
    m_rowsValidBelow = std::min(m_rowsValidBelow, row);
}

void CardStore::repairRows() const
{
    for (qsizetype row = m_rowsValidBelow; row < m_cards.size(); ++row)
        m_rows[m_cards[row].key] = row;
    m_rowsValidBelow = m_cards.size();
}

int CardStore::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_cards.size());
}

int CardStore::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant CardStore::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const Card &card = m_cards[index.row()];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole: return columnText(card, index.column());
    case IconRole: return card.icon;
    case KeyRole: return card.key;
    default: return {};
    }
}

bool CardStore::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return false;
    const qsizetype row = index.row();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole: {
        QString &text = columnText(m_cards[row], index.column());
        const QString v = value.toString();
        if (text != v) {
            text = v;
            changed(row, row, index.column(), index.column(), TextRoles);
        }
        return true;
    }
    case IconRole: {
        bool ok = false;
        const int icon = value.toInt(&ok);
        if (!ok)
            return false;
        if (m_cards[row].icon != icon)
            setIcon(row, icon);
        return true;
    }
    default: return false;
    }
}

Qt::ItemFlags CardStore::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
    if (index.column() == TitleColumn)
        f |= Qt::ItemIsEditable;
    return f;
}

QVariant CardStore::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < ColumnCount ? QVariant(m_headers[section]) : QVariant();
    return section >= 0 && section < m_cards.size() ? QVariant(section + 1) : QVariant();
}

bool CardStore::setHeaderData(int section, Qt::Orientation orientation, const QVariant &value, int role)
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount
        || (role != Qt::DisplayRole && role != Qt::EditRole))
        return false;
    m_headers[section] = value.toString();
    emit headerDataChanged(orientation, section, section);
    return true;
}

void CardStore::sort(int column, Qt::SortOrder order)
{
    sortByColumn(column, order);
}

QHash<int, QByteArray> CardStore::roleNames() const
{
    QHash<int, QByteArray> names = QAbstractTableModel::roleNames();
    names.insert(IconRole, "icon");
    names.insert(KeyRole, "key");
    return names;
}

QString NewCardKey(const CardStore &list, const CardStore *alsoAvoid)
{
    bool exhausted = list.counterKeysExhausted();
    QString key = CardKeyCounter().nextFree(
        [&](const QString &k) { return list.containsKey(k) || (alsoAvoid && alsoAvoid->containsKey(k)); }, &exhausted);
    if (exhausted)
        list.setCounterKeysExhausted();
    return key;
}

qsizetype StripDatePrefixes(CardStore &store)
{
    return store.stripDatePrefixes();
}

QStringList GroupsOf(const CardStore &store)
{
    QStringList groups;
    QSet<QStringView> seen;
    // Neighbouring cards mostly share their group: the last one seen is
    // compared before the set is asked.
    QStringView last;
    bool haveLast = false;
    for (const Card &card : store.cards()) {
        const std::optional<QStringView> group = GroupViewOf(card.title);
        if (!group || (haveLast && *group == last))
            continue;
        last = *group;
        haveLast = true;
        if (!seen.contains(*group)) {
            seen.insert(*group);
            groups.append(group->toString());
        }
    }
    return groups;
}
