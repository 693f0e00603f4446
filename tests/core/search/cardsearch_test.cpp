// Search directions on a card list, and the search history.
#include "core/cards/cardlist.h"
#include "core/search/cardsearch.h"

#include "support/searchtestutil.h"

#include <gtest/gtest.h>

namespace {

class SearchTest : public ::testing::Test
{
protected:
    SearchTest()
    {
        // Rows 1, 3 and 4 hold the keyword.
        list.store().reset(cardsTitled({"none", "hit one", "none", "HIT two", "hit three"}));
    }
    qsizetype find(SearchDirection direction, const QString &keyword = QStringLiteral("hit"))
    {
        return SearchCardList(list, CardMatcher(keyword, MatchMode::PlainText), direction, &cache);
    }
    CardList list;
    CardTextCache cache{list.store()};
};

TEST_F(SearchTest, FromTheTopFindsTheFirstMatchWhereverTheCurrentCardIs)
{
    list.setCurrentRow(4);
    EXPECT_EQ(find(SearchDirection::FromTop), 1);
    EXPECT_EQ(list.currentRow(), 1);
    EXPECT_EQ(list.selectedRows(), rows({1}));
}

TEST_F(SearchTest, DownwardWithNoCurrentCardStartsAtTheFirstCard)
{
    list.clearCurrent();
    EXPECT_EQ(find(SearchDirection::Down), 1);
}

TEST_F(SearchTest, UpwardWithNoCurrentCardStartsAtTheLastCard)
{
    list.clearCurrent();
    EXPECT_EQ(find(SearchDirection::Up), 4);
}

TEST_F(SearchTest, RepeatedDownwardSearchWalksTheMatchesWithoutWrapping)
{
    EXPECT_EQ(find(SearchDirection::Down), 1);
    EXPECT_EQ(find(SearchDirection::Down), 3);
    EXPECT_EQ(find(SearchDirection::Down), 4);
    EXPECT_EQ(find(SearchDirection::Down), -1);
    // Nothing found: the current card stays, nothing is selected.
    EXPECT_EQ(list.currentRow(), 4);
    EXPECT_TRUE(list.selectedRows().isEmpty());
}

TEST_F(SearchTest, RepeatedUpwardSearchWalksBackAndStopsAtTheFirstCard)
{
    list.setCurrentRow(4);
    EXPECT_EQ(find(SearchDirection::Up), 3);
    EXPECT_EQ(find(SearchDirection::Up), 1);
    EXPECT_EQ(find(SearchDirection::Up), -1);
    EXPECT_EQ(list.currentRow(), 1);
}

TEST_F(SearchTest, TheCurrentCardItselfIsNotFoundAgainUpOrDown)
{
    list.setCurrentRow(3);
    EXPECT_EQ(find(SearchDirection::Down), 4);
    list.setCurrentRow(3);
    EXPECT_EQ(find(SearchDirection::Up), 1);
}

TEST_F(SearchTest, EveryCardIsDeselectedFirstEvenWhenNothingMatches)
{
    list.selectAll();
    list.setCurrentRow(2);
    EXPECT_EQ(find(SearchDirection::FromTop, QStringLiteral("absent")), -1);
    EXPECT_TRUE(list.selectedRows().isEmpty());
    EXPECT_EQ(list.currentRow(), 2);

    list.selectAll();
    EXPECT_EQ(find(SearchDirection::FromTop), 1);
    EXPECT_EQ(list.selectedRows(), rows({1}));
}

TEST_F(SearchTest, AnEmptyListIsLeftAlone)
{
    CardList empty;
    EXPECT_EQ(SearchCardList(empty, CardMatcher(QStringLiteral("x"), MatchMode::PlainText), SearchDirection::FromTop),
              -1);
}

TEST_F(SearchTest, RegularExpressionSearchUsesTheSameWalk)
{
    const CardMatcher m(QStringLiteral("^hit t"), MatchMode::RegularExpression);
    EXPECT_EQ(SearchCardList(list, m, SearchDirection::FromTop, &cache), 3);
    EXPECT_EQ(SearchCardList(list, m, SearchDirection::Down, &cache), 4);
}

// ---------------------------------------------------------------- history

TEST(SearchHistory, MostRecentFirstWithoutDuplicates)
{
    QStringList h;
    h = SearchHistory::recorded(h, "a");
    h = SearchHistory::recorded(h, "b");
    h = SearchHistory::recorded(h, "c");
    EXPECT_EQ(h, QStringList({"c", "b", "a"}));
    h = SearchHistory::recorded(h, "c");
    EXPECT_EQ(h, QStringList({"c", "b", "a"}));
    h = SearchHistory::recorded(h, "a");
    EXPECT_EQ(h, QStringList({"a", "c", "b"}));
}

TEST(SearchHistory, ComparesExactly)
{
    const QStringList h = SearchHistory::recorded({"abc"}, "ABC");
    EXPECT_EQ(h, QStringList({"ABC", "abc"}));
    EXPECT_EQ(SearchHistory::recorded({"ａ"}, "a"), QStringList({"a", "ａ"}));
}

TEST(SearchHistory, HasNoLengthLimitAndIgnoresAnEmptyKeyword)
{
    QStringList h;
    for (int i = 0; i < 500; ++i)
        h = SearchHistory::recorded(h, QString::number(i));
    EXPECT_EQ(h.size(), 500);
    EXPECT_EQ(h.first(), QStringLiteral("499"));
    EXPECT_EQ(SearchHistory::recorded(h, QString()), h);
}

} // namespace
