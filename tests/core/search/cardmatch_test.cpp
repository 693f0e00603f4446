// The keyword test: card text, the two match modes, and the cache of folded
// texts following its store.
#include "core/search/cardmatch.h"
#include "core/search/grouplist.h"

#include "support/searchtestutil.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

bool plain(const QString &keyword, const Card &card)
{
    return CardMatcher(keyword, MatchMode::PlainText).matches(card);
}

bool regex(const QString &keyword, const Card &card)
{
    return CardMatcher(keyword, MatchMode::RegularExpression).matches(card);
}

TEST(CardText, JoinsTheThreeFieldsWithNothingBetween)
{
    EXPECT_EQ(CardText(makeCard("k", "ta", "br", "c\r\nd")), QStringLiteral("tabrc\r\nd"));
}

TEST(PlainMatch, AKeywordSpansTheEndOfOneFieldAndTheStartOfTheNext)
{
    const Card card = makeCard("k", "xa", "bx", "yc");
    EXPECT_TRUE(plain("ab", card));
    EXPECT_TRUE(plain("xy", card));
    EXPECT_TRUE(plain("abxyc", card));
    EXPECT_FALSE(plain("ac", card));
}

TEST(PlainMatch, FindsWhatTheJoinedCardTextHoldsWhereverTheFieldsEnd)
{
    // Every card of fields up to two characters long against every keyword
    // up to four long, of characters searched as they stand.
    const QStringList letters{"あ", "い", "う"};
    QStringList words{QString()};
    for (int length = 1; length <= 4; ++length) {
        const qsizetype from = words.size() - qsizetype(std::pow(3, length - 1));
        const qsizetype to = words.size();
        for (qsizetype i = from; i < to; ++i)
            for (const QString &l : letters)
                words.append(words[i] + l);
    }
    const QStringList fields = words.mid(0, 13); // "" and up to two letters
    std::vector<CardMatcher> matchers;
    for (qsizetype i = 1; i < words.size(); ++i)
        matchers.emplace_back(words[i], MatchMode::PlainText);
    for (const QString &title : fields)
        for (const QString &remarks : fields)
            for (const QString &content : fields) {
                const Card card = makeCard("k", title, remarks, content);
                const QString text = CardText(card);
                for (const CardMatcher &m : matchers)
                    ASSERT_EQ(m.matches(card), text.contains(m.keyword()))
                        << qPrintable(m.keyword()) << " in " << qPrintable(title) << "|" << qPrintable(remarks) << "|"
                        << qPrintable(content);
            }
}

TEST(PlainMatch, IgnoresCaseAndWidthButNotKanaType)
{
    const Card card = makeCard("k", "Report ２０２４", "ｶﾀｶﾅ", "ガイド ﾊﾟｿｺﾝ");
    EXPECT_TRUE(plain("report", card));
    EXPECT_TRUE(plain("ＲＥＰＯＲＴ", card));
    EXPECT_TRUE(plain("2024", card));
    EXPECT_TRUE(plain("カタカナ", card));
    EXPECT_TRUE(plain("ｶﾞｲﾄﾞ", card));
    EXPECT_TRUE(plain("パソコン", card));
    EXPECT_FALSE(plain("かたかな", card));
    EXPECT_FALSE(plain("ぱそこん", card));
}

TEST(PlainMatch, EmptyKeywordMatchesNothing)
{
    const CardMatcher m(QString(), MatchMode::PlainText);
    EXPECT_TRUE(m.matchesNothing());
    EXPECT_FALSE(m.matches(makeCard("k", "anything")));
}

TEST(PlainMatch, PatternCharactersAreLiteral)
{
    EXPECT_TRUE(plain("a.c", makeCard("k", "xa.cx")));
    EXPECT_FALSE(plain("a.c", makeCard("k", "abc")));
}

TEST(RegexMatch, AnchorsAtTheStartOfTheTitleField)
{
    EXPECT_TRUE(regex("^ab", makeCard("k", "abc", "x")));
    EXPECT_FALSE(regex("^ab", makeCard("k", "cab", "x")));
    // The card text starts with the title field; the remarks start it only
    // when the title field is empty.
    EXPECT_FALSE(regex("^ab", makeCard("k", "x", "ab")));
    EXPECT_TRUE(regex("^ab", makeCard("k", "", "ab")));
}

TEST(RegexMatch, IsCaseInsensitiveAndSpansFields)
{
    EXPECT_TRUE(regex("A.B", makeCard("k", "xa", "-b")));
    EXPECT_TRUE(regex("[0-9]{4}", makeCard("k", "no", "year 2024")));
    EXPECT_FALSE(regex("[0-9]{4}", makeCard("k", "no", "year 24")));
    EXPECT_TRUE(regex("cat|dog", makeCard("k", "hot DOG")));
}

TEST(RegexMatch, TextWithSurrogatesIsCheckedAsBefore)
{
    // Text without surrogates skips the engine's validity check; a pair is
    // matched as one character, and text with a lone surrogate (pasted, never
    // decoded from a file) is refused by the engine and matches nothing, as
    // it always did. Long texts run through the vector scan, short ones not.
    const QString pair = QString::fromUtf16(u"\U00020BB7");
    const QString lone(QChar(0xD842));
    for (const QString &filler : {QString(), QString(40, QLatin1Char('x'))}) {
        EXPECT_TRUE(regex("予算.*調整", makeCard("k", filler + "予算の調整")));
        EXPECT_TRUE(regex("^a.b", makeCard("k", "a" + pair + "b" + filler)));
        EXPECT_TRUE(CardMatcher(QStringLiteral("x.y"), MatchMode::RegularExpression)
                        .matchesText(QString(QStringLiteral("x") + pair + QStringLiteral("y") + filler)));
        EXPECT_FALSE(regex("ab", makeCard("k", filler + "ab" + lone)));
        EXPECT_FALSE(regex("ab", makeCard("k", lone + "ab" + filler)));
    }
}

TEST(RegexMatch, ARejectedPatternMatchesNoCard)
{
    for (const char *pattern : {"(", "[a-", "a{2,1}", "*x", "(?<", "\\"}) {
        const CardMatcher m(QString::fromLatin1(pattern), MatchMode::RegularExpression);
        EXPECT_TRUE(m.matchesNothing()) << pattern;
        EXPECT_FALSE(m.matches(makeCard("k", pattern, pattern, pattern))) << pattern;
    }
}

TEST(RegexMatch, GroupPatternFindsTheGroupWithEitherDatePrefixOrNone)
{
    const CardMatcher m(GroupList::Pattern(QStringLiteral("旅行")), MatchMode::RegularExpression);
    EXPECT_FALSE(m.matchesNothing());
    EXPECT_TRUE(m.matches(makeCard("k", "旅行＠京都")));
    EXPECT_TRUE(m.matches(makeCard("k", "2001/05/06：旅行＠京都")));
    EXPECT_TRUE(m.matches(makeCard("k", "2001/05/06(14:05:09)［題］：旅行＠京都")));
    EXPECT_FALSE(m.matches(makeCard("k", "旅行記＠京都")));
    EXPECT_FALSE(m.matches(makeCard("k", "国内旅行＠京都")));
    EXPECT_FALSE(m.matches(makeCard("k", "2001/05/06：国内旅行＠京都")));
    EXPECT_FALSE(m.matches(makeCard("k", "京都", "旅行＠")));
    EXPECT_FALSE(m.matches(makeCard("k", "旅行")));
}

TEST(RegexMatch, GroupPatternTakesNamesWithPatternCharactersLiterally)
{
    for (const char16_t *name : {u"メモ(仮)", u"C++", u"仕事\\会議", u"a.b", u"[x]", u"$1^", u"a|b"}) {
        const QString group = QString::fromUtf16(name);
        const CardMatcher m(GroupList::Pattern(group), MatchMode::RegularExpression);
        EXPECT_FALSE(m.matchesNothing()) << group.toStdString();
        EXPECT_TRUE(m.matches(makeCard("k", "2001/05/06：" + group + "＠x"))) << group.toStdString();
        EXPECT_TRUE(m.matches(makeCard("k", group + "＠x"))) << group.toStdString();
    }
    const CardMatcher dot(GroupList::Pattern(QStringLiteral("a.b")), MatchMode::RegularExpression);
    EXPECT_FALSE(dot.matches(makeCard("k", "axb＠x")));
    const CardMatcher alt(GroupList::Pattern(QStringLiteral("a|b")), MatchMode::RegularExpression);
    EXPECT_FALSE(alt.matches(makeCard("k", "b＠x")));
}

TEST(WithoutGroupMatch, KeepsCardsWhoseTitleHasNoGroupMark)
{
    const CardMatcher m = CardMatcher::withoutGroup();
    EXPECT_TRUE(m.matches(makeCard("k", "2001/05/06：メモ", "a＠b")));
    EXPECT_FALSE(m.matches(makeCard("k", "仕事＠メモ")));
    EXPECT_FALSE(m.matches(makeCard("k", "＠メモ")));
}

// ---------------------------------------------------------------- cache

class CacheTest : public ::testing::Test
{
protected:
    CacheTest() { store.reset(cardsTitled({"alpha", "beta", "gamma"})); }
    bool found(const QString &keyword, qsizetype row)
    {
        return CardMatcher(keyword, MatchMode::PlainText).matches(store, row, &cache);
    }
    CardStore store;
    CardTextCache cache{store};
};

TEST_F(CacheTest, FoldsACardOnceAndKeepsIt)
{
    EXPECT_EQ(cache.foldedCount(), 0);
    EXPECT_TRUE(found("ALPHA", 0));
    EXPECT_TRUE(found("BETA", 1));
    EXPECT_EQ(cache.foldedCount(), 2);
    EXPECT_EQ(cache.folded(0), QStringLiteral("alpha"));
}

TEST_F(CacheTest, AChangedTextIsFoldedAgain)
{
    EXPECT_TRUE(found("alpha", 0));
    store.setTitle(0, QStringLiteral("ALEPH"));
    EXPECT_FALSE(found("alpha", 0));
    EXPECT_TRUE(found("aleph", 0));
    store.setRemarks(1, QStringLiteral("Ｘ"));
    EXPECT_TRUE(found("betax", 1));
    store.setContent(2, QStringLiteral("z"));
    EXPECT_TRUE(found("gammaz", 2));
    Card from = makeCard("", "new", "r", "c");
    store.setFields(2, from);
    EXPECT_TRUE(found("newrc", 2));
}

TEST_F(CacheTest, AnIconChangeKeepsTheFoldedText)
{
    EXPECT_TRUE(found("alpha", 0));
    store.setIcon(0, 2);
    EXPECT_EQ(cache.foldedCount(), 1);
}

TEST_F(CacheTest, InsertedAndRemovedRowsShiftTheCache)
{
    for (qsizetype r = 0; r < 3; ++r)
        cache.folded(r);
    store.insert(1, makeCard("N", "inserted"));
    EXPECT_EQ(cache.foldedCount(), 3);
    EXPECT_TRUE(found("alpha", 0));
    EXPECT_TRUE(found("inserted", 1));
    EXPECT_TRUE(found("beta", 2));
    EXPECT_TRUE(found("gamma", 3));
    store.remove(0, 2);
    EXPECT_TRUE(found("beta", 0));
    EXPECT_TRUE(found("gamma", 1));
    store.append(makeCard("E", "end"));
    EXPECT_TRUE(found("end", 2));
}

TEST_F(CacheTest, AReorderingKeepsEveryFoldedTextWithItsCard)
{
    for (qsizetype r = 0; r < 3; ++r)
        cache.folded(r);
    store.reorder({2, 0, 1});
    EXPECT_EQ(cache.foldedCount(), 3);
    EXPECT_EQ(cache.folded(0), QStringLiteral("gamma"));
    EXPECT_EQ(cache.folded(1), QStringLiteral("alpha"));
    EXPECT_EQ(cache.folded(2), QStringLiteral("beta"));
}

TEST_F(CacheTest, AResetEmptiesIt)
{
    cache.folded(0);
    store.reset(cardsTitled({"one", "two"}));
    EXPECT_EQ(cache.foldedCount(), 0);
    EXPECT_TRUE(found("two", 1));
    store.clear();
    EXPECT_EQ(cache.foldedCount(), 0);
    EXPECT_FALSE(found("two", 0));
}

TEST_F(CacheTest, ARegexTestReadsTheCardsThemselves)
{
    cache.folded(0);
    const CardMatcher m(QStringLiteral("^AL"), MatchMode::RegularExpression);
    EXPECT_TRUE(m.matches(store, 0, &cache));
    EXPECT_FALSE(m.matches(store, 1, &cache));
    EXPECT_FALSE(m.matches(store, 7, &cache));
}

} // namespace
