#pragma once
// What a reader notes of the cards as it hands them over, while each card it
// has just decoded is still in the cache: the group of every row by number
// (GroupRows, what GroupIndex keeps), the rows whose title asks to be opened
// in an editor at once, and whether every icon is the saved one. A walk over
// a million cards afterwards waits for memory at every card, some 40 ms a
// walk.

#include "core/cards/card.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

class GroupRows
{
public:
    // Forgets every row and group.
    void clear();
    // Notes the next row, of this title field.
    void append(QStringView title);
    // The number of the group of a title field, the group numbered first
    // when new; -1 for a title without a group.
    int idOfTitle(QStringView title);
    int idOfGroup(QStringView group);

    // As GroupsOf: the groups that rows carry, in the order of the first row
    // of each.
    QStringList groups() const;

    QList<int> rowGroup;         // per row: its group's number, -1 for none
    QList<QString> names;        // number -> name
    QList<qsizetype> cardCounts; // number -> rows carrying it

private:
    // name -> number; the views look into names, whose texts never change
    // while they are in it (a list that grows moves the strings, not their
    // characters, and a copy shares them).
    QHash<QStringView, int> m_numbers;
};

struct ReadNotes {
    GroupRows groups;
    QList<qsizetype> autoOpenRows; // rows whose title is IsAutoOpenTitle, ascending
    bool allSaved = true;          // every icon is CardIcon::Saved

    // Notes the next row, of this card.
    void append(const Card &card);
};
