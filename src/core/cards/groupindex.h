#pragma once
// The groups of a card store (GroupsOf) kept up to date as the store
// changes, for a group list shown beside a million cards: every row holds
// the number of its group, so an insertion, a removal or a changed title
// costs the rows it touches, and the order of first appearance is found by
// a scan of those numbers rather than of the titles. A sort moves the
// numbers with their rows; a reset or another change of the layout reads
// every title again, at the next groups(), unless the store carries the
// groups its reader noted.

#include "core/cards/readnotes.h"

#include <QObject>
#include <QStringList>

class CardStore;

class GroupIndex : public QObject
{
    Q_OBJECT
public:
    explicit GroupIndex(const CardStore &store, QObject *parent = nullptr);

    // As GroupsOf(store): the distinct groups, compared exactly, in the order
    // of the first card that carries each.
    QStringList groups();

private:
    void invalidate() { m_valid = false; }
    void reorderRows(const QList<qsizetype> &order);
    void layoutChanged();
    void rebuild();
    void insertRows(qsizetype first, qsizetype last);
    void removeRows(qsizetype first, qsizetype last);
    void retitleRows(qsizetype first, qsizetype last);

    const CardStore &m_store;
    bool m_valid = false;
    bool m_reordered = false; // the coming layoutChanged is a reorder already followed
    GroupRows m_rows;
};
