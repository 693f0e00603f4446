// Extraction: fresh, narrowing, the new-card marks, the write back by key and
// the end with the selection carried back.
#include "core/cards/cardlist.h"
#include "core/search/extraction.h"

#include "support/searchtestutil.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <numeric>
#include <random>

namespace {

CardMatcher plain(const char *keyword)
{
    return CardMatcher(QString::fromUtf8(keyword), MatchMode::PlainText);
}

class ExtractionTest : public ::testing::Test
{
protected:
    ExtractionTest()
    {
        main.store().reset({
            makeCard("K0", "仕事＠会議", "本社", "予算", 1),
            makeCard("K1", "旅行＠京都", "", "寺", 1),
            makeCard("K2", "仕事＠報告", "支社", "予算と日程", 2),
            makeCard("K3", "メモ", "", "", 1),
        });
    }
    CardList main;
    CardList list;
    Extraction ex{main, list};
};

TEST_F(ExtractionTest, FreshExtractionCopiesTheMatchingCardsInOrder)
{
    EXPECT_EQ(ex.start(plain("予算")), 2);
    EXPECT_EQ(keysOf(list.store()), QStringList({"K0", "K2"}));
    EXPECT_EQ(list.store().at(1), main.store().at(2));
    // The main card list is left as it was.
    EXPECT_EQ(main.store().count(), 4);
}

TEST_F(ExtractionTest, FreshExtractionReplacesAnEarlierList)
{
    ex.start(plain("予算"));
    EXPECT_EQ(ex.start(plain("京都")), 1);
    EXPECT_EQ(keysOf(list.store()), QStringList({"K1"}));
}

TEST_F(ExtractionTest, NothingMatchingGivesAnEmptyList)
{
    EXPECT_EQ(ex.start(plain("absent")), 0);
    EXPECT_TRUE(list.store().isEmpty());
    EXPECT_EQ(ex.start(CardMatcher(QStringLiteral("("), MatchMode::RegularExpression)), 0);
}

TEST_F(ExtractionTest, NarrowingKeepsOnlyCardsMatchingBothKeywords)
{
    ex.start(plain("仕事"));
    EXPECT_EQ(ex.narrow(plain("支社")), 1);
    EXPECT_EQ(keysOf(list.store()), QStringList({"K2"}));
}

TEST_F(ExtractionTest, NarrowingKeepsTheSelectionOfTheCardsThatStay)
{
    ex.start(plain("＠"));
    list.selectAll();
    list.setCurrentRow(2);
    ex.narrow(plain("仕事"));
    EXPECT_EQ(keysOf(list.store()), QStringList({"K0", "K2"}));
    EXPECT_EQ(list.selectedRows(), rows({0, 1}));
    EXPECT_EQ(list.currentRow(), 1);
}

TEST_F(ExtractionTest, ACardCreatedBetweenTwoExtractionsStaysInTheMainList)
{
    ex.start(plain("仕事"));
    list.store().insert(0, makeCard("N1", "新規データ", "", "", 2));
    ex.markNewCard("N1");
    ex.narrow(plain("支社"));
    EXPECT_EQ(keysOf(list.store()), QStringList({"K2"}));
    EXPECT_EQ(keysOf(main.store()), QStringList({"K0", "K1", "K2", "K3", "N1"}));
    EXPECT_FALSE(ex.isNewCard("N1"));
    EXPECT_EQ(main.store().at(4).title, QStringLiteral("新規データ"));
}

TEST_F(ExtractionTest, WriteBackCopiesEditsByKeyAndAddsMarkedCards)
{
    ex.start(plain("仕事"));
    Card edited = list.store().at(1);
    edited.title = QStringLiteral("仕事＠報告(改)");
    edited.remarks = QStringLiteral("本店");
    edited.content = QStringLiteral("新しい内容");
    edited.icon = 2;
    list.store().setFields(1, edited);
    list.store().append(makeCard("N1", "新規", "r", "c", 1));
    ex.markNewCard("N1");
    ex.writeBack(false);

    const Card &k2 = *main.store().cardWithKey("K2");
    EXPECT_EQ(k2.title, QStringLiteral("仕事＠報告(改)"));
    EXPECT_EQ(k2.remarks, QStringLiteral("本店"));
    EXPECT_EQ(k2.content, QStringLiteral("新しい内容"));
    EXPECT_EQ(k2.icon, 2);
    const Card &added = *main.store().cardWithKey("N1");
    EXPECT_EQ(added.title, QStringLiteral("新規"));
    EXPECT_EQ(added.remarks, QStringLiteral("r"));
    EXPECT_EQ(added.content, QStringLiteral("c"));
    EXPECT_EQ(added.icon, 2); // new or edited, whatever the copy showed
    EXPECT_EQ(main.store().indexOfKey("N1"), 4);
    // A second write back adds nothing twice.
    ex.writeBack(false);
    EXPECT_EQ(main.store().count(), 5);
}

TEST_F(ExtractionTest, WriteBackSkipsCardsTheMainListNoLongerHolds)
{
    ex.start(plain("仕事"));
    main.store().removeKey("K0");
    list.store().setTitle(1, QStringLiteral("changed"));
    ex.writeBack(false);
    EXPECT_EQ(main.store().count(), 3);
    EXPECT_EQ(main.store().cardWithKey("K2")->title, QStringLiteral("changed"));
}

TEST_F(ExtractionTest, WriteBackLeavesUnchangedCardsUntouched)
{
    ex.start(plain("仕事"));
    int changes = 0;
    QObject::connect(&main.store(), &QAbstractItemModel::dataChanged, [&] { ++changes; });
    ex.writeBack(false);
    EXPECT_EQ(changes, 0);
    list.store().setContent(0, QStringLiteral("x"));
    ex.writeBack(false);
    EXPECT_EQ(changes, 1);
}

TEST_F(ExtractionTest, EveryWayOfEditingTheListIsWrittenBack)
{
    // A write back with neither list changed since the extraction walks
    // nothing: each way a card of the list can change must be seen.
    const QList<std::pair<const char *, std::function<void(CardStore &)>>> ways{
        {"setTitle", [](CardStore &s) { s.setTitle(1, QStringLiteral("仕事＠新")); }},
        {"setRemarks", [](CardStore &s) { s.setRemarks(1, QStringLiteral("新")); }},
        {"setContent", [](CardStore &s) { s.setContent(1, QStringLiteral("新")); }},
        {"setIcon", [](CardStore &s) { s.setIcon(0, 2); }},
        {"setFields", [](CardStore &s) { s.setFields(1, makeCard("x", "仕事＠新", "新", "新", 2)); }},
        {"setData", [](CardStore &s) { s.setData(s.index(1, CardStore::TitleColumn), QStringLiteral("仕事＠新")); }},
        {"setData icon", [](CardStore &s) { s.setData(s.index(0, 0), 2, CardStore::IconRole); }},
        {"setAllIcons", [](CardStore &s) { s.setAllIcons(2); }},
        {"stripDatePrefixes", [](CardStore &s) { EXPECT_EQ(s.stripDatePrefixes(), 1); }},
    };
    for (const auto &[name, edit] : ways) {
        CardList freshMain, freshList;
        freshMain.store().reset(main.store().cards());
        freshMain.store().setTitle(2, QStringLiteral("2001/05/06(01:02:03)［題］：仕事＠報告"));
        Extraction fresh{freshMain, freshList};
        fresh.start(plain("仕事"));
        edit(freshList.store());
        const QList<Card> edited = freshList.store().cards();
        fresh.finish();
        EXPECT_EQ(freshMain.store().at(0), edited.at(0)) << name;
        EXPECT_EQ(freshMain.store().at(2), edited.at(1)) << name;
    }
}

TEST_F(ExtractionTest, SelectionGoesBackWhereverTheMainCardsAre)
{
    // Nothing edited: the rows noted at the extraction carry the selection.
    ex.start(plain("仕事"));
    list.setSelected(1);
    ex.finish();
    EXPECT_EQ(main.selectedRows(), rows({2}));

    // The main list lost a card meanwhile: the rows noted are stale, the
    // keys find the cards, through a narrowing too.
    ex.start(plain("＠"));
    main.ClearSelection();
    main.store().removeKey("K0");
    ex.narrow(plain("仕事"));
    ASSERT_EQ(keysOf(list.store()), QStringList({"K0", "K2"}));
    list.selectAll();
    ex.finish();
    EXPECT_EQ(main.selectedRows(), rows({1}));
    EXPECT_EQ(main.store().at(1).key, QStringLiteral("K2"));
}

TEST_F(ExtractionTest, AMarkedCardWhoseKeyTheMainListTookGetsAFreshKey)
{
    ex.start(plain("旅行"));
    list.store().append(makeCard("K3", "新規", "", "", 2)); // K3 is a main card outside the extraction
    ex.markNewCard("K3");
    list.setSelected(1);
    ex.writeBack(true);
    EXPECT_EQ(main.store().count(), 5);
    EXPECT_EQ(main.store().cardWithKey("K3")->title, QStringLiteral("メモ"));
    const QString fresh = list.store().at(1).key;
    EXPECT_NE(fresh, QStringLiteral("K3"));
    ASSERT_NE(main.store().cardWithKey(fresh), nullptr);
    EXPECT_EQ(main.store().cardWithKey(fresh)->title, QStringLiteral("新規"));
    EXPECT_TRUE(list.isSelected(1));
    EXPECT_TRUE(main.isSelected(main.store().indexOfKey(fresh)));
}

TEST_F(ExtractionTest, FinishCarriesTheSelectionAndTheCurrentCardBack)
{
    main.setSelected(3);
    ex.start(plain("＠"));
    list.setSelected(0);
    list.setSelected(2);
    list.setCurrentRow(2);
    list.store().setTitle(0, QStringLiteral("仕事＠会議2"));
    EXPECT_EQ(ex.finish(), 2);
    EXPECT_EQ(main.selectedRows(), rows({0, 2}));
    EXPECT_EQ(main.currentRow(), 2);
    EXPECT_EQ(main.store().at(0).title, QStringLiteral("仕事＠会議2"));
    EXPECT_TRUE(list.store().isEmpty());
}

TEST_F(ExtractionTest, FinishSelectsTheAddedCardsThatWereSelected)
{
    ex.start(plain("京都"));
    list.store().append(makeCard("N1", "新規"));
    ex.markNewCard("N1");
    list.setSelected(1);
    list.setCurrentRow(1);
    EXPECT_EQ(ex.finish(), 4);
    EXPECT_EQ(main.selectedRows(), rows({4}));
    EXPECT_EQ(ex.markCount(), 0);
}

TEST_F(ExtractionTest, FreshExtractionEmptiesTheMarks)
{
    ex.start(plain("京都"));
    ex.markNewCard("X");
    ex.start(plain("京都"));
    EXPECT_FALSE(ex.isNewCard("X"));
}

TEST_F(ExtractionTest, TheCachesFollowTheirLists)
{
    // "＠" folds (to "@"), so the texts are folded and kept.
    ex.start(plain("＠"));
    EXPECT_EQ(ex.mainCache().foldedCount(), 4);
    // The extraction list was replaced: nothing folded there yet.
    EXPECT_EQ(ex.listCache().foldedCount(), 0);
    ex.narrow(plain("＠"));
    // Every card stays: the list is kept, and so are its folded texts.
    EXPECT_EQ(ex.listCache().foldedCount(), 3);
}

TEST_F(ExtractionTest, KanjiAndHiraganaKeywordsNeedNoFolding)
{
    EXPECT_EQ(ex.start(plain("予算と")), 1);
    EXPECT_EQ(ex.mainCache().foldedCount(), 0);
    EXPECT_EQ(keysOf(list.store()), QStringList({"K2"}));
}

TEST(MatchingRows, ListsTheRowsInOrder)
{
    CardStore store;
    store.reset(cardsTitled({"ab", "b", "AB", "c"}));
    EXPECT_EQ(MatchingRows(store, CardMatcher(QStringLiteral("ab"), MatchMode::PlainText)), rows({0, 2}));
    EXPECT_TRUE(MatchingRows(store, CardMatcher(QString(), MatchMode::PlainText)).isEmpty());
}

TEST(MatchingRows, ListsTheRowsInOrderWhenASortScatteredTheTexts)
{
    // Enough cards that the test goes through them in the order their texts
    // lie in memory; a shuffle leaves that order far from the rows'.
    QList<Card> cards;
    QRandomGenerator rng(5);
    const QStringList words{"会議", "打ち合わせ", "Apple", "ａｐｐｌｅ", "メモ"};
    for (int i = 0; i < 9000; ++i)
        cards.append(makeCard(QStringLiteral("K%1").arg(i), words[rng.bounded(5)], words[rng.bounded(5)],
                              words[rng.bounded(5)] + QStringLiteral("\r\n") + words[rng.bounded(5)]));
    CardStore store;
    store.reset(cards);
    QList<qsizetype> order(cards.size());
    std::iota(order.begin(), order.end(), qsizetype(0));
    std::shuffle(order.begin(), order.end(), std::mt19937(9));
    store.reorder(order);
    CardTextCache cache(store);
    for (const QString &keyword : {QStringLiteral("打ち合わせ"), QStringLiteral("apple"), QStringLiteral("ぷる")}) {
        const CardMatcher matcher(keyword, MatchMode::PlainText);
        QList<qsizetype> expected;
        for (qsizetype row = 0; row < store.count(); ++row) {
            if (matcher.matches(store.at(row)))
                expected.append(row);
        }
        EXPECT_EQ(MatchingRows(store, matcher), expected) << qPrintable(keyword);
        EXPECT_EQ(MatchingRows(store, matcher, &cache), expected) << qPrintable(keyword);
    }
}

} // namespace
