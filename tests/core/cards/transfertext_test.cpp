#include "cardtestutil.h"

#include "core/cards/cardkeys.h"
#include "core/cards/cardlist.h"
#include "core/cards/textformat.h"
#include "core/cards/transfertext.h"

#include "support/fakedialogs.h"

#include <gtest/gtest.h>

using namespace RecordLayout;

namespace {

QString record(const QString &titleLine, const QStringList &content)
{
    QString text =
        QStringLiteral("@\r\n") + titleLine + QStringLiteral("\r\n") + SeparatorLine + QStringLiteral("\r\n");
    for (const QString &line : content)
        text += line + QStringLiteral("\r\n");
    return text + EndLine + QStringLiteral("\r\n");
}

struct Fixture {
    FakeClock clock = fixtureClock();
    FakeDialogs dialogs;
    CardList list;
    int modified = 0;

    PasteOptions options(bool addDateInfo = false, bool nextCard = false)
    {
        PasteOptions o;
        o.insertCardAtNextCard = nextCard;
        o.stamp = DateStamp{addDateInfo, &clock, QStringLiteral("qlw")};
        o.setModified = [this](bool on) { modified += on ? 1 : 0; };
        return o;
    }
};

} // namespace

TEST(CardToTextTest, WritesOneRecordWithCrLfLines)
{
    const QDate today(2024, 2, 29);
    EXPECT_EQ(CardToText(Card{"k", "2001/05/03：Work＠Memo", "r", "x", 1}, today),
              record(QStringLiteral("2001/05/03：Work＠Memo - r"), {"x"}));
    EXPECT_EQ(CardToText(Card{"k", "Memo", "", "x\r\n", 1}, today), record(QStringLiteral("2024/02/29：Memo"), {"x"}));
    EXPECT_EQ(CardToText(Card{"k", "2001/05/03(01:02:03)［題］：M", "", "", 1}, today),
              record(QStringLiteral("2001/05/03(01:02:03)［題］：M"), {""}));
}

TEST(CardToTextTest, SelectedCardsInListOrder)
{
    CardList list;
    fill(list.store(), {{"2001/05/03：a", "", ""}, {"2001/05/03：b", "", ""}, {"2001/05/03：c", "", ""}});
    list.setSelected(2);
    list.setSelected(0);
    const QDate today(2024, 2, 29);
    EXPECT_EQ(SelectedCardsToText(list, today),
              CardToText(list.store().at(0), today) + CardToText(list.store().at(2), today));
}

TEST(HasNoFieldMarkTest, LooksForCodeOne)
{
    EXPECT_TRUE(HasNoFieldMark(u"plain\r\ntext"));
    EXPECT_FALSE(HasNoFieldMark(QStringLiteral("a\x01z")));
}

TEST(InsertCardsFromTextTest, PlainTextIsOneCard)
{
    Fixture f;
    InsertOptions o;
    o.stamp = {true, &f.clock, QStringLiteral("qlw")};
    o.select = true;
    o.remarks = QStringLiteral("from drop");
    EXPECT_EQ(InsertCardsFromText(QStringLiteral("hello\r\nworld"), f.list, o), 1);
    ASSERT_EQ(f.list.store().count(), 1);
    const Card &c = f.list.store().at(0);
    EXPECT_EQ(c.title, QStringLiteral("2024/02/29：(無題のカード)"));
    EXPECT_EQ(c.remarks, QStringLiteral("from drop"));
    EXPECT_EQ(c.content, QStringLiteral("hello\r\nworld"));
    EXPECT_EQ(c.icon, 2);
    EXPECT_TRUE(f.list.isSelected(0));
    EXPECT_EQ(InsertCardsFromText(QString(), f.list, o), 0);
}

TEST(InsertCardsFromTextTest, KeepDateKeepsThePrefixOfTheTitleLine)
{
    Fixture f;
    InsertOptions o;
    o.keepDate = true;
    EXPECT_EQ(InsertCardsFromText(record(QStringLiteral("2001/05/03：Work＠M - r"), {"a", "", "b"}), f.list, o), 1);
    EXPECT_EQ(textsOf(f.list.store()), (QList<Texts>{{"2001/05/03：Work＠M", "r", "a\r\n\r\nb\r\n"}}));
}

TEST(InsertCardsFromTextTest, RecordsWithoutTitleLineGiveNothing)
{
    Fixture f;
    EXPECT_EQ(InsertCardsFromText(QStringLiteral("@\r\nno colon\r\n"), f.list, {}), 0);
    EXPECT_TRUE(f.list.store().isEmpty());
}

TEST(InsertCardsFromTextTest, ARecordCutOffKeepsTheLinesReadSoFar)
{
    Fixture f;
    const QString text = record(QStringLiteral("2001/05/03：A"), {"a"}) + QStringLiteral("@\r\n2001/05/03：B\r\n")
                         + SeparatorLine + QStringLiteral("\r\nb1\r\nb2\r\n");
    EXPECT_EQ(InsertCardsFromText(text, f.list, {}), 2);
    EXPECT_EQ(textsOf(f.list.store()), (QList<Texts>{{"A", "", "a\r\n"}, {"B", "", "b1\r\nb2\r\n"}}));
}

TEST(InsertCardsFromTextTest, EachCardGetsItsOwnFreshKey)
{
    Fixture f;
    CardKeyCounter().setValue(10);
    fill(f.list.store(), {{"x", "", ""}});
    f.list.store().insert(0, Card{"Key00000011", "taken", "", "", 1});
    CardStore other;
    other.append(Card{"Key00000012", "elsewhere", "", "", 1});
    InsertOptions o;
    o.alsoAvoidKeys = &other;
    EXPECT_EQ(InsertCardsFromText(record("2001/05/03：a", {}) + record("2001/05/03：b", {}), f.list, o), 2);
    EXPECT_TRUE(f.list.store().containsKey(QStringLiteral("Key00000010")));
    EXPECT_TRUE(f.list.store().containsKey(QStringLiteral("Key00000013")));
}

TEST(PasteCardTextTest, CopiedCardPastesBackWithoutItsDate)
{
    Fixture f;
    const QString text = CardToText(Card{"k", "Memo", "r", "", 1}, f.clock.today());
    const PasteResult r = PasteCardText(text, f.list, f.dialogs, f.options());
    EXPECT_EQ(r.count, 1);
    EXPECT_EQ(textsOf(f.list.store()), (QList<Texts>{{"Memo", "r", "\r\n"}}));
    EXPECT_EQ(f.list.store().at(0).icon, 2);
    EXPECT_EQ(f.modified, 1);
}

TEST(PasteCardTextTest, TwoRecordsGoBeforeTheCurrentCardInOrderAndSelected)
{
    Fixture f;
    fill(f.list.store(), {{"1", "", ""}, {"2", "", ""}, {"3", "", ""}});
    f.list.setCurrentRow(1);
    f.list.setSelected(2);
    const QString text = record("2001/05/03：a", {"x"}) + record("2001/05/03：b", {"y"});
    EXPECT_EQ(PasteCardText(text, f.list, f.dialogs, f.options(true)).count, 2);
    QStringList titles;
    for (const Card &c : f.list.store().cards())
        titles.append(c.title);
    EXPECT_EQ(titles, (QStringList{"1", "2024/02/29：a", "2024/02/29：b", "2", "3"}));
    EXPECT_EQ(f.list.selectedRows(), (QList<qsizetype>{1, 2}));
    EXPECT_NE(f.list.store().at(1).key, f.list.store().at(2).key);
}

TEST(PasteCardTextTest, InsertCardAtNextCardPutsThemAfterTheCurrentCard)
{
    Fixture f;
    fill(f.list.store(), {{"1", "", ""}, {"2", "", ""}, {"3", "", ""}});
    f.list.setCurrentRow(1);
    PasteCardText(QStringLiteral("new"), f.list, f.dialogs, f.options(false, true), QStringLiteral("new"));
    EXPECT_EQ(f.list.store().at(2).title, QStringLiteral("new"));

    f.list.clearCurrent();
    PasteCardText(QStringLiteral("last"), f.list, f.dialogs, f.options(), QStringLiteral("last"));
    EXPECT_EQ(f.list.store().at(4).title, QStringLiteral("last"));
}

TEST(PasteCardTextTest, PlainTextTakesTheGivenTitle)
{
    Fixture f;
    const QString text = QStringLiteral("hello\r\nworld");
    const DateStamp stamp{true, &f.clock, QStringLiteral("qlw")};
    PasteCardText(text, f.list, f.dialogs, f.options(true), DefaultPasteTitle(text, stamp));
    EXPECT_EQ(textsOf(f.list.store()), (QList<Texts>{{"2024/02/29：hello", "", "hello\r\nworld"}}));
}

TEST(PasteCardTextTest, RefusesTextHoldingCodeOne)
{
    Fixture f;
    fill(f.list.store(), {{"1", "", ""}});
    f.list.setSelected(0);
    const PasteResult r = PasteCardText(QStringLiteral("bin\x01"
                                                       "ary"),
                                        f.list, f.dialogs, f.options());
    EXPECT_TRUE(r.refused);
    EXPECT_EQ(f.list.store().count(), 1);
    EXPECT_TRUE(f.list.isSelected(0));
    EXPECT_EQ(f.modified, 0);
    ASSERT_EQ(f.dialogs.messages().size(), 1);
    EXPECT_EQ(f.dialogs.messages()[0].text,
              QStringLiteral("0x01コードの含まれた不正なデータです。\r\n\r\nバイナリデータは扱えません。"));
    EXPECT_EQ(f.dialogs.messages()[0].icon, MsgIcon::Error);
}

TEST(PasteCardTextTest, NothingHappensWhilePasteIsDisabled)
{
    Fixture f;
    fill(f.list.store(), {{"1", "", ""}});
    f.list.setSelected(0);
    PasteOptions o = f.options();
    o.pasteEnabled = false;
    EXPECT_EQ(PasteCardText(QStringLiteral("text\x01"), f.list, f.dialogs, o).count, 0);
    EXPECT_TRUE(f.list.isSelected(0));
    EXPECT_TRUE(f.dialogs.messages().isEmpty());
    EXPECT_EQ(f.list.store().count(), 1);
}

TEST(PasteCardTextTest, EmptyTextClearsTheSelectionAndLeavesTheFlag)
{
    Fixture f;
    fill(f.list.store(), {{"1", "", ""}});
    f.list.setSelected(0);
    EXPECT_EQ(PasteCardText(QString(), f.list, f.dialogs, f.options()).count, 0);
    EXPECT_FALSE(f.list.hasSelection());
    EXPECT_EQ(f.modified, 0);
}

TEST(TransferRoundTrip, CardsThroughTextComeBackWithKeptDates)
{
    Fixture f;
    const QList<Texts> cards{{"2001/05/03：仕事＠会議", "本社", "議題\r\n"},
                             {"2001/05/03(01:02:03)［題］：長", "", "a\r\n\r\n"},
                             {"2001/05/03：空", "", ""}};
    CardStore source;
    fill(source, cards);
    QString text;
    for (const Card &c : source.cards())
        text += CardToText(c, f.clock.today());
    InsertOptions o;
    o.keepDate = true;
    EXPECT_EQ(InsertCardsFromText(text, f.list, o), 3);
    QList<Texts> expected = cards;
    expected[2].content = QStringLiteral("\r\n"); // empty content travels as one empty line
    EXPECT_EQ(textsOf(f.list.store()), expected);
}
