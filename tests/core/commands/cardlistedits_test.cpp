// Changes to many cards at once: scattered removals in short and long lists
// keep the other cards, their selection and the current card; many title
// changes arrive as one change notice.
#include "core/cards/cardlist.h"
#include "core/commands/cardlistedits.h"

#include "support/searchtestutil.h"

#include <gtest/gtest.h>

namespace {

CardList &filled(CardList &list, qsizetype count)
{
    QList<Card> cards;
    for (qsizetype i = 0; i < count; ++i)
        cards.append(makeCard(QStringLiteral("K%1").arg(i), QStringLiteral("t%1").arg(i)));
    list.store().reset(cards);
    return list;
}

// Removes rows from a list of count cards with the selection and current
// card given, and checks what stays against a plain model of the list.
void checkRemoval(qsizetype count, const QList<qsizetype> &removed, const QList<qsizetype> &selected, qsizetype current)
{
    CardList list;
    filled(list, count);
    for (qsizetype row : selected)
        list.setSelected(row);
    list.setCurrentRow(current);

    QStringList expectedKeys;
    QStringList expectedSelected;
    for (qsizetype row = 0; row < count; ++row) {
        if (removed.contains(row))
            continue;
        expectedKeys.append(QStringLiteral("K%1").arg(row));
        if (selected.contains(row))
            expectedSelected.append(QStringLiteral("K%1").arg(row));
    }
    // The current card, or the nearest one before it that stays, or the
    // nearest one after it.
    QString expectedCurrent;
    if (current >= 0) {
        qsizetype c = current;
        while (c >= 0 && removed.contains(c))
            --c;
        if (c < 0) {
            c = current;
            while (c < count && removed.contains(c))
                ++c;
        }
        if (c >= 0 && c < count)
            expectedCurrent = QStringLiteral("K%1").arg(c);
    }

    CardListEdits::RemoveRows(list, removed);

    ASSERT_EQ(keysOf(list.store()), expectedKeys);
    QStringList selectedKeys;
    for (qsizetype row : list.selectedRows())
        selectedKeys.append(list.store().at(row).key);
    EXPECT_EQ(selectedKeys, expectedSelected);
    EXPECT_EQ(list.currentCard() ? list.currentCard()->key : QString(), expectedCurrent);
}

TEST(CardListEdits, RemovesRunsOfAShortList)
{
    checkRemoval(10, {7, 1, 2, 2, 9, -1, 40}, {0, 3, 7}, 3);
    checkRemoval(10, {4, 5}, {}, 4);
    checkRemoval(10, {8, 9}, {}, 9);
    checkRemoval(10, {0, 1, 3}, {}, 1); // nothing before stays: the card after
    checkRemoval(10, {0, 1, 3}, {}, 3);
}

TEST(CardListEdits, RemovesScatteredRowsOfALongListInOnePass)
{
    const qsizetype count = 30000;
    QList<qsizetype> removed;
    for (qsizetype row = 5; row < count; row += 97)
        removed.append(row);
    QList<qsizetype> selected = {0, 5, 6, 100, 102, 29999};
    checkRemoval(count, removed, selected, 102); // 102 is removed: 101 stays
    checkRemoval(count, removed, selected, 5);   // 4 stays
    checkRemoval(count, removed, selected, 6);
    removed.append(29999);
    checkRemoval(count, removed, {}, 29999);
}

TEST(CardListEdits, RemovingAllLeavesNoCurrentCard)
{
    checkRemoval(3, {0, 1, 2}, {0, 1, 2}, 1);
}

TEST(CardListEdits, ChangesTitlesUnderOneNotice)
{
    CardList list;
    filled(list, 6);
    int notices = 0;
    QObject::connect(&list.store(), &QAbstractItemModel::dataChanged,
                     [&](const QModelIndex &from, const QModelIndex &to) {
                         ++notices;
                         EXPECT_EQ(from.row(), 1);
                         EXPECT_EQ(to.row(), 4);
                         EXPECT_EQ(to.column(), CardStore::ColumnCount - 1);
                     });
    const qsizetype changed = CardListEdits::ChangeTitles(list.store(), {4, 1, 2, 99}, [](const QString &title) {
        return title == QStringLiteral("t2") ? std::nullopt : std::optional<QString>(title + QStringLiteral("!"));
    });
    EXPECT_EQ(changed, 2);
    EXPECT_EQ(notices, 1);
    EXPECT_EQ(titlesOf(list.store()), QStringList({"t0", "t1!", "t2", "t3", "t4!", "t5"}));
    EXPECT_EQ(list.store().at(1).icon, CardIcon::Changed);
    EXPECT_EQ(list.store().at(2).icon, CardIcon::Saved);
}

TEST(CardListEdits, NoChangeNoNotice)
{
    CardList list;
    filled(list, 3);
    int notices = 0;
    QObject::connect(&list.store(), &QAbstractItemModel::dataChanged, [&] { ++notices; });
    EXPECT_EQ(CardListEdits::ChangeTitles(list.store(), CardListEdits::AllRows(list.store()),
                                          [](const QString &) { return std::optional<QString>(); }),
              0);
    EXPECT_EQ(notices, 0);
}

} // namespace
