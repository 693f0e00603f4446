#include "cardtestutil.h"

#include "core/cards/cardkeys.h"
#include "core/cards/cardlist.h"
#include "core/cards/cardstore.h"

#include <QAbstractItemModelTester>
#include <QRandomGenerator>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <functional>
#include <numeric>

namespace {

Card card(const QString &key, const QString &title = QString(), int icon = 1)
{
    return Card{key, title, QStringLiteral("r-") + key, QStringLiteral("c-") + key, icon};
}

QStringList keysOf(const CardStore &store)
{
    QStringList keys;
    for (const Card &c : store.cards())
        keys.append(c.key);
    return keys;
}

class CounterAt
{
public:
    explicit CounterAt(std::int16_t value) : m_saved(CardKeyCounter().value()) { CardKeyCounter().setValue(value); }
    ~CounterAt() { CardKeyCounter().setValue(m_saved); }

private:
    std::int16_t m_saved;
};

} // namespace

TEST(CardStoreModel, PassesTheModelTesterThroughEveryKindOfChange)
{
    CardStore store;
    QAbstractItemModelTester tester(&store, QAbstractItemModelTester::FailureReportingMode::Fatal);
    store.reset({card("a", "2001/05/03：b"), card("b", "c"), card("c", "a")});
    store.insert(1, card("d", "d"));
    store.append(card("e", "e"));
    store.insert(0, card("f", "2001/05/04：f"));
    store.remove(2, 2);
    store.setTitle(0, QStringLiteral("x"));
    store.setRemarks(1, QStringLiteral("y"));
    store.setContent(2, QStringLiteral("z"));
    store.setIcon(0, CardIcon::Changed);
    EXPECT_TRUE(store.setData(store.index(1, CardStore::TitleColumn), QStringLiteral("edited")));
    EXPECT_TRUE(store.setData(store.index(1, 0), 2, CardStore::IconRole));
    EXPECT_FALSE(store.setData(store.index(1, 0), QStringLiteral("k"), CardStore::KeyRole));
    store.sort(CardStore::TitleColumn, Qt::DescendingOrder);
    store.sortByColumn(CardStore::RemarksColumn);
    store.setAllIcons(CardIcon::Saved);
    store.stripDatePrefixes();
    store.setHeaderData(0, Qt::Horizontal, QStringLiteral("名前▽"));
    store.removeKey(QStringLiteral("e"));
    store.clear();
    store.append(card("g"));
    EXPECT_EQ(store.count(), 1);
}

TEST(CardStoreModel, SetAllIconsAnnouncesOnlyTheRunsThatChange)
{
    CardStore store;
    store.reset({card("a"), card("b", {}, 2), card("c", {}, 2), card("d"), card("e", {}, 2)});
    QSignalSpy changes(&store, &QAbstractItemModel::dataChanged);
    store.setAllIcons(CardIcon::Saved);
    ASSERT_EQ(changes.size(), 2);
    EXPECT_EQ(changes[0][0].toModelIndex().row(), 1);
    EXPECT_EQ(changes[0][1].toModelIndex().row(), 2);
    EXPECT_EQ(changes[1][0].toModelIndex().row(), 4);
    EXPECT_EQ(changes[1][1].toModelIndex().row(), 4);
    for (const Card &c : store.cards())
        EXPECT_EQ(c.icon, CardIcon::Saved);
    changes.clear();
    store.setAllIcons(CardIcon::Saved);
    EXPECT_TRUE(changes.isEmpty());

    // Many scattered runs: one change over them all.
    QList<Card> cards;
    for (int i = 0; i < 400; ++i)
        cards.append(card(QString::number(i), {}, i % 2 ? 2 : 1));
    store.reset(cards);
    store.setAllIcons(CardIcon::Saved);
    ASSERT_EQ(changes.size(), 1);
    EXPECT_EQ(changes[0][0].toModelIndex().row(), 1);
    EXPECT_EQ(changes[0][1].toModelIndex().row(), 399);
}

TEST(CardStoreModel, SetAllIconsAfterEachWayACardTakesAnIcon)
{
    // A second setAllIcons without a change between walks nothing; every
    // way a card can take another icon is seen by the next one.
    CardStore store;
    store.reset({card("a"), card("b"), card("c"), card("d")});
    store.setAllIcons(CardIcon::Saved);
    QSignalSpy changes(&store, &QAbstractItemModel::dataChanged);
    const QList<std::pair<const char *, std::function<void()>>> ways{
        {"setIcon", [&] { store.setIcon(2, CardIcon::Changed); }},
        {"setData", [&] { store.setData(store.index(1, 0), CardIcon::Changed, CardStore::IconRole); }},
        {"setFields", [&] { store.setFields(3, card("x", QStringLiteral("t"), CardIcon::Changed)); }},
        {"insert", [&] { store.insert(1, card("new", {}, CardIcon::Changed)); }},
        {"reset", [&] { store.reset({card("a"), card("b", {}, CardIcon::Changed), card("c")}); }},
    };
    for (const auto &[name, change] : ways) {
        store.setAllIcons(CardIcon::Saved);
        change();
        changes.clear();
        store.setAllIcons(CardIcon::Saved);
        EXPECT_EQ(changes.size(), 1) << name;
        for (const Card &c : store.cards())
            EXPECT_EQ(c.icon, CardIcon::Saved) << name;
    }
    // Cards that move or go keep what is known; another icon for all is
    // walked again.
    store.reorder({2, 0, 1});
    store.remove(0);
    changes.clear();
    store.setAllIcons(CardIcon::Saved);
    EXPECT_TRUE(changes.isEmpty());
    store.setAllIcons(CardIcon::Changed);
    EXPECT_EQ(changes.size(), 1);
    for (const Card &c : store.cards())
        EXPECT_EQ(c.icon, CardIcon::Changed);
}

TEST(CardStoreModel, ReleaseForExitEmptiesTheStoreWithOneReset)
{
    CardStore store;
    store.reset({card("a"), card("b")});
    EXPECT_EQ(store.indexOfKey(QStringLiteral("b")), 1);
    QSignalSpy resets(&store, &QAbstractItemModel::modelReset);
    store.releaseForExit();
    EXPECT_EQ(resets.size(), 1);
    EXPECT_EQ(store.rowCount(), 0);
    EXPECT_EQ(store.indexOfKey(QStringLiteral("b")), -1);
    EXPECT_TRUE(store.append(card("b")));
    EXPECT_EQ(store.indexOfKey(QStringLiteral("b")), 0);
}

TEST(CardStoreModel, ShowsTitleRemarksContentAsColumnsAndIconAndKeyAsRoles)
{
    CardStore store;
    store.reset({Card{QStringLiteral("Key7"), QStringLiteral("t"), QStringLiteral("r"), QStringLiteral("c"), 2}});
    ASSERT_EQ(store.columnCount(), 3);
    EXPECT_EQ(store.data(store.index(0, 0)).toString(), QStringLiteral("t"));
    EXPECT_EQ(store.data(store.index(0, 1)).toString(), QStringLiteral("r"));
    EXPECT_EQ(store.data(store.index(0, 2)).toString(), QStringLiteral("c"));
    EXPECT_EQ(store.data(store.index(0, 2), CardStore::IconRole).toInt(), 2);
    EXPECT_EQ(store.data(store.index(0, 1), CardStore::KeyRole).toString(), QStringLiteral("Key7"));
    EXPECT_EQ(store.headerData(0, Qt::Horizontal).toString(), QStringLiteral("題名"));
    EXPECT_EQ(store.headerData(1, Qt::Horizontal).toString(), QStringLiteral("備考"));
    EXPECT_EQ(store.headerData(2, Qt::Horizontal).toString(), QStringLiteral("内容"));
    EXPECT_TRUE(store.flags(store.index(0, 0)) & Qt::ItemIsEditable);
    EXPECT_FALSE(store.flags(store.index(0, 2)) & Qt::ItemIsEditable);
}

TEST(CardStoreModel, LoadsWithOneResetInsteadOfRowInserts)
{
    CardStore store;
    QSignalSpy resets(&store, &QAbstractItemModel::modelReset);
    QSignalSpy inserts(&store, &QAbstractItemModel::rowsInserted);
    QList<Card> cards;
    for (int i = 0; i < 1000; ++i)
        cards.append(card(QString::number(i)));
    store.reset(cards);
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(inserts.count(), 0);
    EXPECT_EQ(store.count(), 1000);
}

TEST(CardStoreKeys, NeverHoldsTwoCardsWithOneKey)
{
    CardStore store;
    EXPECT_TRUE(store.append(card("a")));
    EXPECT_FALSE(store.append(card("a")));
    EXPECT_FALSE(store.insert(0, card(QString())));
    EXPECT_EQ(store.count(), 1);

    store.reset({card("x"), card("y"), card("x"), card(QString())});
    const QStringList keys = keysOf(store);
    EXPECT_EQ(QSet<QString>(keys.begin(), keys.end()).size(), 4);
    EXPECT_EQ(keys[0], QStringLiteral("x"));
    EXPECT_EQ(keys[1], QStringLiteral("y"));
    EXPECT_EQ(store.indexOfKey(QStringLiteral("x")), 0);
    EXPECT_EQ(store.indexOfKey(keys[2]), 2);
}

TEST(CardStoreKeys, VouchedKeysAreLookedUpLikeCheckedOnes)
{
    CardStore store;
    store.reset({card("a"), card("b"), card("c")}, CardStore::Keys::Unique);
    EXPECT_FALSE(store.append(card("b")));
    EXPECT_EQ(store.indexOfKey(QStringLiteral("c")), 2);
    store.reset({card("x"), card("y")}, CardStore::Keys::Unique);
    EXPECT_FALSE(store.containsKey(QStringLiteral("a")));
    store.remove(0);
    EXPECT_EQ(store.indexOfKey(QStringLiteral("y")), 0);
    EXPECT_TRUE(store.insert(0, card("x")));
    EXPECT_EQ(store.indexOfKey(QStringLiteral("y")), 1);
}

TEST(CardStoreKeys, LookupFollowsInsertsRemovesAndReorders)
{
    // A naive list beside the store: after every change each key must be
    // found at its row.
    CardStore store;
    QStringList naive;
    QRandomGenerator rng(20010503);
    int next = 0;
    for (int step = 0; step < 3000; ++step) {
        const int op = rng.bounded(10);
        if (op < 5 || naive.isEmpty()) {
            const qsizetype row = rng.bounded(int(naive.size() + 1));
            const QString key = QStringLiteral("k%1").arg(next++);
            ASSERT_TRUE(store.insert(row, card(key)));
            naive.insert(row, key);
        } else if (op < 8) {
            const qsizetype row = rng.bounded(int(naive.size()));
            const qsizetype n = std::min<qsizetype>(1 + rng.bounded(3), naive.size() - row);
            store.remove(row, n);
            naive.remove(row, n);
        } else if (op == 8) {
            store.sortByColumn(CardStore::ContentColumn, rng.bounded(2) ? Qt::AscendingOrder : Qt::DescendingOrder);
            naive = keysOf(store);
        } else {
            const QString &key = naive[rng.bounded(int(naive.size()))];
            ASSERT_EQ(store.indexOfKey(key), naive.indexOf(key));
        }
    }
    ASSERT_EQ(keysOf(store), naive);
    for (qsizetype row = 0; row < naive.size(); ++row)
        ASSERT_EQ(store.indexOfKey(naive[row]), row);
    EXPECT_EQ(store.indexOfKey(QStringLiteral("missing")), -1);
}

TEST(KeyCounterTest, FormatsWithAtLeastEightDigits)
{
    EXPECT_EQ(FormatCounterKey(0), QStringLiteral("Key00000000"));
    EXPECT_EQ(FormatCounterKey(7), QStringLiteral("Key00000007"));
    EXPECT_EQ(FormatCounterKey(32767), QStringLiteral("Key00032767"));
    EXPECT_EQ(FormatCounterKey(-32768), QStringLiteral("Key-00032768"));
    EXPECT_EQ(FormatCounterKey(-1), QStringLiteral("Key-00000001"));
    EXPECT_EQ(FormatCounterKey(123456789), QStringLiteral("Key123456789"));
}

TEST(KeyCounterTest, WrapsFrom32767ToMinus32768AndComesRound)
{
    KeyCounter counter;
    counter.setValue(32766);
    EXPECT_EQ(counter.next(), QStringLiteral("Key00032766"));
    EXPECT_EQ(counter.next(), QStringLiteral("Key00032767"));
    EXPECT_EQ(counter.next(), QStringLiteral("Key-00032768"));
    EXPECT_EQ(counter.next(), QStringLiteral("Key-00032767"));
    counter.setValue(-1);
    EXPECT_EQ(counter.next(), QStringLiteral("Key-00000001"));
    EXPECT_EQ(counter.next(), QStringLiteral("Key00000000"));
}

TEST(KeyCounterTest, CardAndGroupCountersAreSeparate)
{
    const std::int16_t cards = CardKeyCounter().value();
    const std::int16_t groups = GroupKeyCounter().value();
    NewGroupKey();
    NewGroupKey();
    EXPECT_EQ(CardKeyCounter().value(), cards);
    EXPECT_EQ(GroupKeyCounter().value(), std::int16_t(groups + 2));
}

TEST(NewCardKeyTest, SkipsKeysTheListOrTheOtherListHolds)
{
    CounterAt at(5);
    CardStore list, other;
    list.append(card("Key00000005"));
    other.append(card("Key00000006"));
    EXPECT_EQ(NewCardKey(list, &other), QStringLiteral("Key00000007"));
    EXPECT_EQ(NewCardKey(list), QStringLiteral("Key00000008"));
}

TEST(NewCardKeyTest, SkipsAcrossTheWrap)
{
    CounterAt at(32767);
    CardStore list;
    list.append(card("Key00032767"));
    list.append(card("Key-00032768"));
    EXPECT_EQ(NewCardKey(list), QStringLiteral("Key-00032767"));
}

TEST(NewCardKeyTest, ListHoldingEveryCounterKeyGetsWiderKeysOfTheSameShape)
{
    CounterAt at(0);
    CardStore list;
    QList<Card> cards;
    for (int v = -32768; v <= 32767; ++v)
        cards.append(card(FormatCounterKey(v)));
    list.reset(cards);
    const QString first = NewCardKey(list);
    EXPECT_TRUE(first.startsWith(QStringLiteral("Key000")));
    EXPECT_FALSE(list.containsKey(first));
    ASSERT_TRUE(list.append(card(first)));
    const QString second = NewCardKey(list);
    EXPECT_NE(second, first);
    EXPECT_FALSE(list.containsKey(second));
    EXPECT_GT(second.mid(3).toLongLong(), 32767);

    // Once a counter key is free again it is found.
    list.removeKey(QStringLiteral("Key00000100"));
    CardKeyCounter().setValue(0);
    EXPECT_EQ(NewCardKey(list), QStringLiteral("Key00000100"));
}

TEST(CardListTest, CurrentCardMovesWithRowsInsertedOrRemovedBeforeIt)
{
    CardList list;
    list.store().reset({card("a"), card("b"), card("c")});
    EXPECT_EQ(list.currentRow(), -1);
    EXPECT_EQ(list.currentCard(), nullptr);
    list.setCurrentRow(1);
    list.store().insert(0, card("z"));
    EXPECT_EQ(list.currentRow(), 2);
    EXPECT_EQ(list.currentCard()->key, QStringLiteral("b"));
    list.store().remove(0);
    EXPECT_EQ(list.currentRow(), 1);
    list.store().sortByColumn(CardStore::ContentColumn, Qt::DescendingOrder);
    EXPECT_EQ(list.currentCard()->key, QStringLiteral("b"));
    list.clearCurrent();
    EXPECT_EQ(list.currentRow(), -1);
}

TEST(CardListTest, SelectsDeselectsAndInverts)
{
    CardList list;
    list.store().reset({card("a"), card("b"), card("c"), card("d")});
    list.setCurrentRow(3);
    list.setSelected(2);
    list.setSelected(0);
    EXPECT_EQ(list.selectedRows(), (QList<qsizetype>{0, 2}));
    EXPECT_EQ(list.firstSelectedRow(), 0);
    list.invertSelection();
    EXPECT_EQ(list.selectedRows(), (QList<qsizetype>{1, 3}));
    list.setSelected(1, false);
    EXPECT_EQ(list.selectedRows(), (QList<qsizetype>{3}));
    list.selectAll();
    EXPECT_EQ(list.selectedRows().size(), 4);
    list.ClearSelection();
    EXPECT_FALSE(list.hasSelection());
    EXPECT_EQ(list.firstSelectedRow(), -1);
    EXPECT_EQ(list.currentRow(), 3); // deselecting keeps the current card
}

TEST(CardStoreEdits, StripsDatePrefixesOfBothFormsOnly)
{
    CardStore store;
    fill(store, {{QStringLiteral("2001/05/03：Work＠Meeting"), {}, {}},
                 {QStringLiteral("2001/05/03(14:05:09)［題］：Meeting"), {}, {}},
                 {QStringLiteral("2001-05-03：Meeting"), {}, {}},
                 {QStringLiteral("2001/05/03："), {}, {}}});
    EXPECT_EQ(StripDatePrefixes(store), 3);
    EXPECT_EQ(store.at(0).title, QStringLiteral("Work＠Meeting"));
    EXPECT_EQ(store.at(1).title, QStringLiteral("Meeting"));
    EXPECT_EQ(store.at(2).title, QStringLiteral("2001-05-03：Meeting"));
    EXPECT_EQ(store.at(3).title, QString());
}

TEST(CardStoreEdits, SortIsStableAndFieldsCopyKeepsTheKey)
{
    CardStore store;
    fill(store, {{QStringLiteral("b"), QStringLiteral("1"), {}},
                 {QStringLiteral("a"), QStringLiteral("2"), {}},
                 {QStringLiteral("b"), QStringLiteral("3"), {}}});
    store.sortByColumn(CardStore::TitleColumn);
    EXPECT_EQ(store.at(0).remarks, QStringLiteral("2"));
    EXPECT_EQ(store.at(1).remarks, QStringLiteral("1"));
    EXPECT_EQ(store.at(2).remarks, QStringLiteral("3"));
    const QString key = store.at(0).key;
    store.setFields(0, Card{QStringLiteral("other"), QStringLiteral("t"), QStringLiteral("r"), QStringLiteral("c"), 2});
    EXPECT_EQ(store.at(0), (Card{key, QStringLiteral("t"), QStringLiteral("r"), QStringLiteral("c"), 2}));
}

TEST(CardStoreEdits, GroupsInOrderOfTheirFirstCardComparedExactly)
{
    CardStore store;
    fill(store, {{QStringLiteral("2001/05/06：旅行＠京都"), {}, {}},
                 {QStringLiteral("仕事＠a"), {}, {}},
                 {QStringLiteral("none"), {}, {}},
                 {QStringLiteral("2001/05/06(01:02:03)［題］：旅行＠奈良"), {}, {}},
                 {QStringLiteral("仕事＠b＠c"), {}, {}},
                 {QStringLiteral("ｼｺﾞﾄ＠x"), {}, {}},
                 {QStringLiteral("＠y"), {}, {}}});
    EXPECT_EQ(GroupsOf(store), (QStringList{"旅行", "仕事", "ｼｺﾞﾄ", ""}));
}

TEST(CardStoreModel, ReorderMovesEveryCardWithItsKeyAndPersistentIndexes)
{
    // A random order (long cycles, rows that stay) over a store a view holds
    // indexes into.
    QList<Card> cards;
    for (int i = 0; i < 3000; ++i)
        cards.append(card(QStringLiteral("K%1").arg(i), QStringLiteral("t%1").arg(i)));
    CardStore store;
    store.reset(cards);
    QList<qsizetype> order(cards.size());
    std::iota(order.begin(), order.end(), qsizetype(0));
    QRandomGenerator rng(3);
    for (qsizetype i = order.size() - 1; i > 0; --i) {
        if (rng.bounded(4) != 0)
            std::swap(order[i], order[rng.bounded(int(i) + 1)]);
    }
    const QPersistentModelIndex first(store.index(0, 1));
    const QPersistentModelIndex last(store.index(2999, 2));
    store.reorder(order);
    for (qsizetype row = 0; row < store.count(); ++row) {
        ASSERT_EQ(store.at(row), cards[order[row]]) << row;
        ASSERT_EQ(store.indexOfKey(cards[order[row]].key), row);
    }
    EXPECT_EQ(order[first.row()], 0);
    EXPECT_EQ(first.column(), 1);
    EXPECT_EQ(order[last.row()], 2999);
    EXPECT_EQ(last.column(), 2);
}

TEST(CardStoreModel, ReorderRefusesWhatIsNoPermutation)
{
    // The cards move as bytes: a row named twice would leave two rows
    // owning one card's texts.
    const QList<Card> cards{card(QStringLiteral("a"), QStringLiteral("A")), card(QStringLiteral("b"), QStringLiteral("B")),
                            card(QStringLiteral("c"), QStringLiteral("C"))};
    CardStore store;
    store.reset(cards);
    QSignalSpy layout(&store, &QAbstractItemModel::layoutChanged);
    for (const QList<qsizetype> &order : {QList<qsizetype>{0, 0, 1}, QList<qsizetype>{2, 1, 3},
                                          QList<qsizetype>{-1, 1, 2}}) {
        store.reorder(order);
        EXPECT_EQ(store.cards(), cards) << order.size();
    }
    EXPECT_EQ(layout.count(), 0);
    store.reorder({2, 0, 1});
    EXPECT_EQ(store.cards(), (QList<Card>{cards[2], cards[0], cards[1]}));
    EXPECT_EQ(layout.count(), 1);
}
