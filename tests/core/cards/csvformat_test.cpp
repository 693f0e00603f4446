#include "cardtestutil.h"

#include "core/cards/csvformat.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace {

QList<Texts> readCsv(const QByteArray &bytes, ReadResult *result = nullptr)
{
    CardStore store;
    const ReadResult r = ReadCsvFile(writeFile(QStringLiteral("in.csv"), bytes), store);
    EXPECT_TRUE(r.ok);
    if (result)
        *result = r;
    return textsOf(store);
}

QByteArray writeCsv(const QList<Texts> &cards, bool addDateInfo = false)
{
    CardStore store;
    fill(store, cards);
    FakeClock clock = fixtureClock();
    const QString path = sandboxPath(QStringLiteral("out.csv"));
    EXPECT_TRUE(WriteCsvFile(path, store, {addDateInfo, &clock, false}).ok());
    return Sandbox::readBytes(path);
}

struct SplitCase {
    const char *name;
    const char *line;
    QStringList fields;
};

void PrintTo(const SplitCase &c, std::ostream *os)
{
    *os << c.name;
}

class SplitQuotedTest : public ::testing::TestWithParam<SplitCase>
{
};

} // namespace

TEST_P(SplitQuotedTest, SplitsOutsideQuotesAndRemovesEnclosingPairs)
{
    EXPECT_EQ(SplitQuoted(QString::fromUtf8(GetParam().line), u","), GetParam().fields);
}

INSTANTIATE_TEST_SUITE_P(
    Csv, SplitQuotedTest,
    ::testing::Values(SplitCase{"empty", "", {""}}, SplitCase{"plain", "A,B,C", {"A", "B", "C"}},
                      SplitCase{"quoted", "\"A\",\"B\"", {"A", "B"}},
                      SplitCase{"commaInQuotes", "\"a,b\",\"c\"", {"a,b", "c"}},
                      SplitCase{"innerQuotesStay", "\"say \"hi\" now\",x", {"say \"hi\" now", "x"}},
                      SplitCase{"quoteBeforeCommaEndsTheField", "\"a\"b\",c\"", {"a\"b", "c\""}},
                      SplitCase{"quoteBeforeCrEnds", "\"a\"\r,b", {"\"a\"\r", "b"}},
                      SplitCase{"trailingComma", "\"A\",\"r\",", {"A", "r", ""}},
                      SplitCase{"emptyQuoted", "\"\",\"\"", {"", ""}}, SplitCase{"loneQuote", "\",x", {"\"", "x"}},
                      SplitCase{"doubledQuotesKept", "\"\"\"\"", {"\"\""}},
                      SplitCase{"unclosedQuote", "\"abc,def", {"\"abc,def"}}),
    [](const auto &test) { return std::string(test.param.name); });

TEST(SplitQuotedTest, TakesSeparatorsLongerThanOneCharacter)
{
    EXPECT_EQ(SplitQuoted(u"a::\"b::c\"::d", u"::"), (QStringList{"a", "b::c", "d"}));
}

TEST(CsvRead, EveryLineIsACardWithCrLfAfterEachContentField)
{
    EXPECT_EQ(readCsv("\"A\"\r\n"), (QList<Texts>{{"A", "", "\r\n"}}));
    EXPECT_EQ(readCsv("A,B,C\r\n"), (QList<Texts>{{"A", "B", "C\r\n"}}));
    EXPECT_EQ(readCsv("\"a,b\",\"c\"\r\n"), (QList<Texts>{{"a,b", "c", "\r\n"}}));
    EXPECT_EQ(readCsv("\"A\",\"r\",\"x\",\"y\""), (QList<Texts>{{"A", "r", "x\r\ny\r\n"}}));
    EXPECT_EQ(readCsv("\"A\",\"r\",\"x\",\r\n"), (QList<Texts>{{"A", "r", "x\r\n\r\n"}}));
    EXPECT_EQ(readCsv("\r\n\r\nx\r\n"), (QList<Texts>{{"", "", "\r\n"}, {"", "", "\r\n"}, {"x", "", "\r\n"}}));
    EXPECT_EQ(readCsv(""), QList<Texts>());
    // Read twice unquoted: a value that is itself quoted loses that pair.
    EXPECT_EQ(readCsv("\"\"q\"\",b\r\n"), (QList<Texts>{{"q", "b", "\r\n"}}));
}

TEST(CsvRead, GivesKeysByLineAndIconOne)
{
    CardStore store;
    ASSERT_TRUE(ReadCsvFile(fixture(QStringLiteral("sample.csv")), store).ok);
    ASSERT_EQ(store.count(), 4);
    EXPECT_EQ(store.at(0).key, QStringLiteral("Key0"));
    EXPECT_EQ(store.at(3).key, QStringLiteral("Key3"));
    EXPECT_EQ(store.at(1).icon, 1);
}

TEST(CsvRead, ReportsInvalidBytes)
{
    ReadResult r;
    const QList<Texts> cards = readCsv(Sandbox::readBytes(fixture(QStringLiteral("broken_bytes.csv"))), &r);
    EXPECT_EQ(r.decode.invalidCount, 2);
    EXPECT_EQ(r.decode.firstInvalidOffset, 2);
    const QString bad(QChar(0xFFFD));
    EXPECT_EQ(cards, (QList<Texts>{{"a" + bad, "b", "\r\n"}, {bad, "c", "\r\n"}}));
}

TEST(CsvRead, UnreadableFileFails)
{
    CardStore store;
    EXPECT_FALSE(ReadCsvFile(sandboxPath(QStringLiteral("none.csv")), store).ok);
}

TEST(CsvWrite, WritesTheFixtureBytes)
{
    EXPECT_EQ(writeCsv(sampleCards()), Sandbox::readBytes(fixture(QStringLiteral("sample.csv"))));
    EXPECT_EQ(writeCsv(sampleCards(), true), Sandbox::readBytes(fixture(QStringLiteral("sample_dated.csv"))));
}

TEST(CsvWrite, SpreadsContentLinesOverFields)
{
    EXPECT_EQ(writeCsv({{"A", "r", "x\r\ny\r\n"}}), QByteArray("\"A\",\"r\",\"x\",\"y\"\r\n"));
    EXPECT_EQ(writeCsv({{"A", "r", "x\r\n\r\n"}}), QByteArray("\"A\",\"r\",\"x\",\r\n"));
    EXPECT_EQ(writeCsv({{"A", "r", ""}}), QByteArray("\"A\",\"r\",\r\n"));
    EXPECT_EQ(writeCsv({{"A", "r", "x"}}), QByteArray("\"A\",\"r\",\"x\"\r\n"));
    EXPECT_EQ(readCsv(writeCsv({{"A", "r", ""}})), (QList<Texts>{{"A", "r", "\r\n"}}));
    EXPECT_EQ(readCsv(writeCsv({{"A", "r", "x"}})), (QList<Texts>{{"A", "r", "x\r\n"}}));
    EXPECT_EQ(readCsv(writeCsv({{"a \"word\" b", "", ""}})), (QList<Texts>{{"a \"word\" b", "", "\r\n"}}));
}

TEST(CsvRoundTrip, CardsWithinWhatTheFormatCarriesComeBack)
{
    // Titles and remarks without line ends, no double quotes anywhere, no
    // title opening with a comma (its opening quote would end the field);
    // content read back always ends with CR LF.
    QRandomGenerator rng(2004);
    const QString alphabet = QStringLiteral("ab ,;：＠漢字かなｶﾅ表\\~\t@-=");
    auto text = [&](bool lineEnds) {
        QString s;
        for (int n = rng.bounded(10); n > 0; --n) {
            if (lineEnds && rng.bounded(5) == 0)
                s += QStringLiteral("\r\n");
            else
                s += alphabet[rng.bounded(int(alphabet.size()))];
        }
        return s;
    };
    for (int round = 0; round < 50; ++round) {
        QList<Texts> cards, expected;
        for (int c = 1 + rng.bounded(5); c > 0; --c) {
            Texts t{text(false), text(false), text(true)};
            if (t.title.startsWith(QLatin1Char(',')))
                t.title.prepend(QLatin1Char('a'));
            cards.append(t);
            if (!t.content.endsWith(QStringLiteral("\r\n")))
                t.content += QStringLiteral("\r\n");
            expected.append(t);
        }
        const QByteArray bytes = writeCsv(cards);
        ASSERT_EQ(readCsv(bytes), expected) << bytes.constData();
        EXPECT_EQ(writeCsv(readCsv(bytes)), bytes);
    }
}

TEST(CsvRead, AnyBytesReadWithoutHarm)
{
    QRandomGenerator rng(7);
    const char alphabet[] = {'"', ',', '\r', '\n', 'a', '\x82', '\xa0', '\x01'};
    for (int round = 0; round < 200; ++round) {
        QByteArray bytes;
        for (int n = rng.bounded(60); n > 0; --n)
            bytes += alphabet[rng.bounded(int(sizeof alphabet))];
        readCsv(bytes);
    }
}
