#pragma once
// An ordered store of cards and the item model the card lists show: one row
// per card, the columns title field, remarks and content; the icon number
// and the key through their own roles. The main card list and the
// extraction list are one store each.
//
// Sized for a million cards: the cards lie in one contiguous array, a hash
// from key to row answers key lookups in O(1), and readers hand over a whole
// new list at once (reset) instead of inserting row by row. Rows shift on
// insertion and removal; the hash learns the new rows lazily, at the next
// lookup that finds a stale row.

#include "core/cards/card.h"
#include "core/cards/readnotes.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QList>
#include <QStringList>

#include <functional>
#include <optional>

class CardStore : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { TitleColumn = 0, RemarksColumn = 1, ContentColumn = 2 };
    static constexpr int ColumnCount = 3;
    enum Role {
        IconRole = Qt::UserRole + 1, // int: 1 or 2
        KeyRole,                     // QString, read only
    };

    explicit CardStore(QObject *parent = nullptr);

    qsizetype count() const { return m_cards.size(); }
    bool isEmpty() const { return m_cards.isEmpty(); }
    const Card &at(qsizetype row) const { return m_cards.at(row); }
    const QList<Card> &cards() const { return m_cards; }

    bool containsKey(const QString &key) const { return rows().contains(key); }
    // Row of the card with this key, -1 when none.
    qsizetype indexOfKey(const QString &key) const;
    const Card *cardWithKey(const QString &key) const;

    // How reset() treats the keys it is given.
    enum class Keys {
        Check,  // a later card whose key is empty or taken gets a fresh one
        Unique, // the caller vouches that they are distinct and not empty (the
                // readers make them so); the key hash waits for its first use
    };
    // Replaces every card (one model reset).
    void reset(QList<Card> cards, Keys keys = Keys::Check);
    // The same with what a reader noted of the cards as it read them, a row
    // for every card, kept until the first change of the cards.
    void reset(QList<Card> cards, Keys keys, ReadNotes notes);
    // The noted groups while no card changed since the reset that brought
    // them; handed out once (the group index takes them over).
    std::optional<GroupRows> takeNotedGroups() const;
    // The noted rows whose title asks to be opened at once, while no card
    // changed since; nullptr when there are no notes to go by.
    const QList<qsizetype> *notedAutoOpenRows() const;
    void clear();
    // Inserts before row (row < 0 or past the end: appends). False, and
    // nothing inserted, when the key is empty or already in the store.
    bool insert(qsizetype row, Card card);
    bool append(Card card) { return insert(-1, std::move(card)); }
    void remove(qsizetype row, qsizetype n = 1);
    bool removeKey(const QString &key);

    void setTitle(qsizetype row, const QString &title);
    void setRemarks(qsizetype row, const QString &remarks);
    void setContent(qsizetype row, const QString &content);
    void setIcon(qsizetype row, int icon);
    // Title field, remarks, content and icon from `from`; the key stays.
    void setFields(qsizetype row, const Card &from);
    // Every card to this icon number; the runs of cards that change are
    // announced (one dataChanged each, or one over them all when many).
    void setAllIcons(int icon);
    // Removes the date prefix from every title field that has one (one
    // dataChanged); returns how many changed.
    qsizetype stripDatePrefixes();
    // Empties the store (one model reset) without freeing its cards: for a
    // process about to end, which gives the memory back at once, where
    // freeing a million cards one by one would only delay the end.
    void releaseForExit();

    // New order: order[newRow] = oldRow, a permutation of all rows; any
    // other list changes nothing.
    void reorder(const QList<qsizetype> &order);
    // Stable sort by the text of a column; compare defaults to
    // QString::compare (code-unit order).
    void sortByColumn(int column, Qt::SortOrder order = Qt::AscendingOrder,
                      const std::function<int(const QString &, const QString &)> &compare = {});

    // Counts the changes to the cards (a text, an icon, rows added, removed
    // or moved, a reset): the same count means the same cards in the same
    // rows.
    quint64 changeCount() const { return m_changes; }

    // Key generation help (see NewCardKey): true once a whole turn of the
    // card counter found every one of its keys in this store; forgotten when
    // cards leave the store.
    bool counterKeysExhausted() const { return m_counterKeysExhausted; }
    void setCounterKeysExhausted() const { m_counterKeysExhausted = true; }

    // QAbstractItemModel
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant &value,
                       int role = Qt::EditRole) override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
    QHash<int, QByteArray> roleNames() const override;

signals:
    // Between layoutAboutToBeChanged and layoutChanged of reorder(): the
    // rows' new order (order[newRow] = oldRow), for a follower that can
    // move what it keeps per row instead of reading every card again.
    void rowsReordered(const QList<qsizetype> &order);

private:
    void changed(qsizetype first, qsizetype last, int firstColumn, int lastColumn, const QList<int> &roles);
    void rowsShiftedFrom(qsizetype row) const;
    // A card takes this icon: unless every card shows it already, the icon
    // of all is no longer known.
    void iconSet(int icon)
    {
        if (icon != m_iconOfAll)
            m_iconOfAll = UnknownIcon;
    }
    void repairRows() const;
    // The reader's notes are there and no card changed since.
    bool notesHold() const { return m_notes && m_notesAt == m_changes; }
    const QHash<QString, qsizetype> &rows() const;

    QList<Card> m_cards;
    // key -> row; once built (rows()) every key of the store is in it, rows
    // from m_rowsValidBelow on may be stale until repairRows().
    mutable QHash<QString, qsizetype> m_rows;
    mutable qsizetype m_rowsValidBelow = 0;
    mutable bool m_rowsBuilt = true;
    mutable bool m_counterKeysExhausted = false;
    // The icon every card shows, when known: set by setAllIcons and kept
    // while no card takes another, so that the walk after a save is left out
    // when no icon changed since the one before (20 ms for a million cards).
    static constexpr int UnknownIcon = -1;
    int m_iconOfAll = UnknownIcon;
    quint64 m_changes = 0;
    // What the reader of the present cards noted, valid while m_changes is
    // still m_notesAt.
    mutable std::optional<ReadNotes> m_notes;
    quint64 m_notesAt = 0;
    QStringList m_headers;
};

// A key no card of list (nor of alsoAvoid, when given) holds: the card
// counter's next key, skipping keys in use.
QString NewCardKey(const CardStore &list, const CardStore *alsoAvoid = nullptr);

// Removes the date prefix from every title field that has one; returns how
// many changed.
qsizetype StripDatePrefixes(CardStore &store);

// The distinct groups of the cards (GroupOf), compared exactly, in the order
// of the first card that carries each.
QStringList GroupsOf(const CardStore &store);
