#include "core/cards/titlefield.h"

#include "support/fakeservices.h"

#include <gtest/gtest.h>

namespace {

struct PrefixCase {
    const char *name;
    const char *title;
    bool has;
    const char *rest;
    const char *prefix;
};

void PrintTo(const PrefixCase &c, std::ostream *os)
{
    *os << c.name;
}

class SplitDatePrefixTest : public ::testing::TestWithParam<PrefixCase>
{
};

} // namespace

TEST_P(SplitDatePrefixTest, FindsThePrefixByItsSeparatorsOnly)
{
    const PrefixCase &c = GetParam();
    QString rest = QStringLiteral("unchanged");
    EXPECT_EQ(SplitDatePrefix(QString::fromUtf8(c.title), &rest), c.has);
    EXPECT_EQ(rest, QString::fromUtf8(c.rest));
    EXPECT_EQ(DatePrefixOf(QString::fromUtf8(c.title)), QString::fromUtf8(c.prefix));
}

INSTANTIATE_TEST_SUITE_P(
    TitleField, SplitDatePrefixTest,
    ::testing::Values(PrefixCase{"short", "2001/05/03：Work＠Meeting", true, "Work＠Meeting", "2001/05/03"},
                      PrefixCase{"long", "2001/05/03(14:05:09)［題］：Meeting", true, "Meeting",
                                 "2001/05/03(14:05:09)［題］"},
                      PrefixCase{"dashes", "2001-05-03：Meeting", false, "2001-05-03：Meeting", ""},
                      PrefixCase{"letters", "abcd/ef/gh：x", true, "x", "abcd/ef/gh"},
                      PrefixCase{"exactlyShort", "2001/05/03：", true, "", "2001/05/03"},
                      PrefixCase{"tenCharacters", "2001/05/03", false, "2001/05/03", ""},
                      PrefixCase{"halfWidthColon", "2001/05/03:x", false, "2001/05/03:x", ""},
                      PrefixCase{"longTooShort", "2001/05/03(14:05:09)［題］", false, "2001/05/03(14:05:09)［題］", ""},
                      PrefixCase{"longExactly", "2001/05/03(14:05:09)［題］：", true, "", "2001/05/03(14:05:09)［題］"},
                      PrefixCase{"empty", "", false, "", ""}),
    [](const auto &test) { return std::string(test.param.name); });

TEST(GroupOfTest, TakesTheTextBeforeTheFirstMarkWithoutDatePrefix)
{
    EXPECT_EQ(GroupOf(u"2001/05/03：Work＠Meeting"), QStringLiteral("Work"));
    EXPECT_EQ(NameOf(u"2001/05/03：Work＠Meeting"), QStringLiteral("Meeting"));
    EXPECT_EQ(GroupOf(u"A＠B＠C"), QStringLiteral("A"));
    EXPECT_EQ(NameOf(u"A＠B＠C"), QStringLiteral("B＠C"));
    EXPECT_EQ(GroupOf(u"2001/05/03(14:05:09)［題］：旅行＠京都"), QStringLiteral("旅行"));
    EXPECT_EQ(GroupOf(u"＠x"), QString());
    EXPECT_TRUE(GroupOf(u"＠x").has_value());
    EXPECT_FALSE(GroupOf(u"2001/05/03：Meeting").has_value());
    EXPECT_FALSE(GroupOf(u"a@b").has_value()); // the half-width @ is no group mark
    EXPECT_EQ(NameOf(u"2001/05/03：Meeting"), QStringLiteral("Meeting"));
}

TEST(AutoOpenTitleTest, IsTheWordInAnyCaseAfterAnyDatePrefixAndNothingElse)
{
    for (const char16_t *title :
         {u"AUTOOPEN", u"autoopen", u"aUtOoPeN", u"2001/05/03：AutoOpen", u"2001/05/03(14:05:09)［題］：AUTOOPEN"})
        EXPECT_TRUE(IsAutoOpenTitle(title)) << QString::fromUtf16(title).toStdString();
    for (const char16_t *title : {u"", u"AUTOOPE", u"AUTOOPEN ", u" AUTOOPEN", u"Work＠AUTOOPEN", u"ＡＵＴＯＯＰＥＮ",
                                  u"2001/05/03：AUTOOPEN later", u"2001/05/03:AUTOOPEN", u"xxxxxxxxxxxAUTOOPEN",
                                  u"2001/05/03(14:05:09)［題］：2001/05/03：AUTOOPEN"})
        EXPECT_FALSE(IsAutoOpenTitle(title)) << QString::fromUtf16(title).toStdString();
}

TEST(StampDateTest, ReplacesThePrefixOnlyWhenAddDateInfoIsOn)
{
    FakeClock clock; // 2001/05/03 14:05:09
    clock.current = QDateTime(QDate(2024, 2, 29), QTime(9, 8, 7));
    EXPECT_EQ(StampDate(QStringLiteral("2001/01/01：Old"), false, clock, u"qlw"), QStringLiteral("2001/01/01：Old"));
    EXPECT_EQ(StampDate(QStringLiteral("2001/01/01：Old"), true, clock, u"qlw"), QStringLiteral("2024/02/29：Old"));
    EXPECT_EQ(StampDate(QStringLiteral("Old"), true, clock, u"csv"), QStringLiteral("2024/02/29：Old"));
    EXPECT_EQ(StampDate(QStringLiteral("2001/01/01：Old"), true, clock, u"stk"),
              QStringLiteral("2024/02/29(09:08:07)［題］：Old"));
    EXPECT_EQ(StampDate(QStringLiteral("2001/01/01(01:02:03)［題］：Old"), true, clock, u"STK"),
              QStringLiteral("2024/02/29(09:08:07)［題］：Old"));
    EXPECT_EQ(StampDate(QStringLiteral("2001/01/01(01:02:03)［題］：Old"), true, clock, u"qlt"),
              QStringLiteral("2024/02/29：Old"));
    const DateStamp off{false, &clock, QStringLiteral("qlw")};
    const DateStamp on{true, &clock, QStringLiteral("qlw")};
    EXPECT_EQ(StampDate(QStringLiteral("x"), off), QStringLiteral("x"));
    EXPECT_EQ(StampDate(QStringLiteral("x"), on), QStringLiteral("2024/02/29：x"));
}

TEST(RebuildTitleFieldTest, KeepsTheOldPrefixAndTrimsTheGroup)
{
    EXPECT_EQ(RebuildTitleField(u"2001/05/06：旅行＠京都", u"  仕事 ", u"京都"),
              QStringLiteral("2001/05/06：仕事＠京都"));
    EXPECT_EQ(RebuildTitleField(u"2001/05/06(01:02:03)［題］：x", u"", u"y"),
              QStringLiteral("2001/05/06(01:02:03)［題］：y"));
    EXPECT_EQ(RebuildTitleField(u"plain", u"   ", u"name"), QStringLiteral("name"));
    EXPECT_EQ(ShortDatePrefix(QDate(987, 1, 2)), QStringLiteral("0987/01/02："));
}
