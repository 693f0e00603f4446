#include "cardtestutil.h"

#include "core/cards/textformat.h"
#include "core/cards/titlefield.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

using namespace RecordLayout;

namespace {

QList<Texts> readText(const QByteArray &bytes)
{
    CardStore store;
    EXPECT_TRUE(ReadTextFile(writeFile(QStringLiteral("in.qlt"), bytes), store).ok);
    return textsOf(store);
}

QByteArray writeText(const QList<Texts> &cards, bool shortForm = true)
{
    CardStore store;
    fill(store, cards);
    FakeClock clock = fixtureClock();
    const QString path = sandboxPath(shortForm ? QStringLiteral("out.qlt") : QStringLiteral("out.stk"));
    EXPECT_TRUE(WriteTextFile(path, store, shortForm, {false, &clock, false}).ok());
    return Sandbox::readBytes(path);
}

QByteArray lines(const QStringList &lines)
{
    return sjis(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}

} // namespace

TEST(TextWrite, WritesTheFixtureBytes)
{
    EXPECT_EQ(writeText(sampleCards(), true), Sandbox::readBytes(fixture(QStringLiteral("sample.qlt"))));
    EXPECT_EQ(writeText(sampleCards(), false), Sandbox::readBytes(fixture(QStringLiteral("sample.stk"))));
}

TEST(TextWrite, DatesEveryUndatedTitleWhateverAddDateInfoSays)
{
    const QByteArray bytes = writeText({{"Memo", "r", "x\r\ny"}});
    EXPECT_EQ(bytes, lines({"@", "2024/02/29：Memo - r", SeparatorLine, "x", "y", EndLine}));
    EXPECT_EQ(readText(bytes), (QList<Texts>{{"2024/02/29：Memo", "r", "x\r\ny\r\n"}}));
    EXPECT_EQ(writeText({{"Memo", "r", "x\r\ny"}}, false),
              lines({"@", "2024/02/29(09:08:07)［題］：Memo - r", SeparatorLine, "x", "y", EndLine}));
    EXPECT_EQ(writeText({{"2001/05/03：Memo", "", ""}}, false),
              lines({"@", "2001/05/03：Memo", SeparatorLine, EndLine}));
}

TEST(TextWrite, EmptyContentHasNoContentLine)
{
    const QByteArray bytes = writeText({{"2001/05/03：e", "", ""}});
    EXPECT_EQ(bytes, lines({"@", "2001/05/03：e", SeparatorLine, EndLine}));
    EXPECT_EQ(readText(bytes), (QList<Texts>{{"2001/05/03：e", "", ""}}));
}

TEST(TextRead, SplitsTheTitleLineAtItsFirstColonAndDashes)
{
    EXPECT_EQ(readText(lines({"@", "2001/05/03：A - B", SeparatorLine, EndLine})),
              (QList<Texts>{{"2001/05/03：A", "B", ""}}));
    EXPECT_EQ(readText(lines({"@", "2001/05/03：A - B - C", SeparatorLine, EndLine})),
              (QList<Texts>{{"2001/05/03：A", "B", ""}}));
    EXPECT_EQ(readText(lines({"@", "2001/05/03：A：B", SeparatorLine, EndLine})),
              (QList<Texts>{{"2001/05/03：A：B", "", ""}}));
    EXPECT_EQ(readText(lines({"@", "x - y：A", SeparatorLine, EndLine})), (QList<Texts>{{"x - y：A", "", ""}}));
}

TEST(TextRead, SkipsLinesThatDoNotFit)
{
    const QByteArray bytes = lines({"junk", "@anything", "no colon here", "2001/05/03：T", "between", SeparatorLine,
                                    "c1", "@", "c3", EndLine, "after", "@", "2001/05/03：U", SeparatorLine, EndLine});
    EXPECT_EQ(readText(bytes), (QList<Texts>{{"2001/05/03：T", "", "c1\r\n@\r\nc3\r\n"}, {"2001/05/03：U", "", ""}}));
}

TEST(TextRead, AContentLineEqualToTheEndLineEndsTheCard)
{
    const QByteArray bytes = lines({"@", "2001/05/03：T", SeparatorLine, "a", EndLine, "b", EndLine, "@",
                                    "2001/05/03：U", SeparatorLine, "u", EndLine});
    EXPECT_EQ(readText(bytes), (QList<Texts>{{"2001/05/03：T", "", "a\r\n"}, {"2001/05/03：U", "", "u\r\n"}}));
}

TEST(TextRead, ARecordCutOffByTheEndKeepsTheLinesReadSoFar)
{
    CardStore store;
    ASSERT_TRUE(ReadTextFile(fixture(QStringLiteral("cut_record.qlt")), store).ok);
    EXPECT_EQ(textsOf(store),
              (QList<Texts>{{"2001/05/03：一", "", "本文\r\n"}, {"2001/05/04：二", "備考", "途中まで\r\nここも\r\n"}}));
    EXPECT_EQ(readText(lines({"@", "2001/05/03：T"})), (QList<Texts>{{"2001/05/03：T", "", ""}}));
}

TEST(TextRead, GivesKeysByRecordAndIconOne)
{
    CardStore store;
    ASSERT_TRUE(ReadTextFile(fixture(QStringLiteral("sample.stk")), store).ok);
    ASSERT_EQ(store.count(), 4);
    EXPECT_EQ(store.at(0).key, QStringLiteral("Key0"));
    EXPECT_EQ(store.at(3).key, QStringLiteral("Key3"));
    EXPECT_EQ(store.at(2).icon, 1);
    EXPECT_EQ(store.at(1).title, QStringLiteral("2024/02/29(09:08:07)［題］：メモ"));
    EXPECT_EQ(store.at(3).content, QStringLiteral("line1\r\n\r\n"));
}

TEST(TextWrite, RefusesUnstorableCharactersAndKeepsTheOldFile)
{
    const QString path = writeFile(QStringLiteral("old.qlt"), "old");
    CardStore store;
    fill(store, {{"a", "", "ok"}, {"b", "", QStringLiteral("\U0001F600")}});
    const WriteResult r = WriteTextFile(path, store, true, {});
    EXPECT_EQ(r.status, WriteStatus::Unmappable);
    EXPECT_EQ(r.firstUnmappableRow, 1);
    EXPECT_EQ(Sandbox::readBytes(path), QByteArray("old"));
    EXPECT_TRUE(WriteTextFile(path, store, true, {false, nullptr, true}).ok());
    EXPECT_TRUE(Sandbox::readBytes(path).contains("\r\n?\r\n"));
}

TEST(TextRoundTrip, CardsWithinWhatTheFormatCarriesComeBack)
{
    // Dated titles, no " - " in titles or remarks, no line ends in them;
    // non-empty content read back ends with CR LF.
    QRandomGenerator rng(1999);
    const QString alphabet = QStringLiteral("ab ：＠漢字かなｶﾅ表@=\t,\"");
    auto text = [&](bool lineEnds) {
        QString s;
        for (int n = rng.bounded(10); n > 0; --n)
            s += lineEnds && rng.bounded(4) == 0 ? QStringLiteral("\r\n")
                                                 : QString(alphabet[rng.bounded(int(alphabet.size()))]);
        return s;
    };
    const QStringList prefixes{"", "2001/05/03：", "2001/05/03(01:02:03)［題］："};
    for (bool shortForm : {true, false}) {
        for (int round = 0; round < 40; ++round) {
            QList<Texts> cards, expected;
            for (int c = rng.bounded(5); c > 0; --c) {
                Texts t{prefixes[rng.bounded(3)] + text(false), text(false), text(true)};
                cards.append(t);
                if (!DatePrefixLength(t.title))
                    t.title =
                        (shortForm ? QStringLiteral("2024/02/29：") : QStringLiteral("2024/02/29(09:08:07)［題］："))
                        + t.title;
                if (!t.content.isEmpty() && !t.content.endsWith(QStringLiteral("\r\n")))
                    t.content += QStringLiteral("\r\n");
                expected.append(t);
            }
            const QByteArray bytes = writeText(cards, shortForm);
            ASSERT_EQ(readText(bytes), expected) << bytes.constData();
            EXPECT_EQ(writeText(readText(bytes), shortForm), bytes);
        }
    }
}

TEST(TextRead, AnyLinesReadWithoutHarm)
{
    QRandomGenerator rng(3);
    const QStringList pool{"@", "2001/05/03：x - y", "：", SeparatorLine, EndLine, "", "@@", "z"};
    for (int round = 0; round < 300; ++round) {
        QStringList l;
        for (int n = rng.bounded(12); n > 0; --n)
            l.append(pool[rng.bounded(int(pool.size()))]);
        readText(sjis(l.join(QStringLiteral("\r\n"))));
    }
}
