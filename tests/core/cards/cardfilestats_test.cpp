#include "cardtestutil.h"

#include "core/cards/cardfilestats.h"

#include <QDir>
#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace {

// What opening the file gives: the reader of the format, GroupsOf and the
// reader's decode counts.
CardFileStats throughStore(const QString &path, CardFormat format)
{
    CardStore store;
    const ReadResult read = ReadCardFile(path, format, store);
    CardFileStats stats;
    stats.ok = read.ok;
    stats.error = read.error;
    if (read.ok) {
        stats.cardCount = store.count();
        stats.groupCount = GroupsOf(store).size();
        stats.decode = read.decode;
    }
    return stats;
}

void expectSame(const QString &path, CardFormat format, const QByteArray &bytes)
{
    const CardFileStats want = throughStore(path, format);
    const CardFileStats got = StatCardFile(path, format);
    const std::string where = QByteArray(bytes.left(200).toHex(' ')).toStdString();
    EXPECT_EQ(got.ok, want.ok) << where;
    EXPECT_EQ(got.error, want.error) << where;
    EXPECT_EQ(got.cardCount, want.cardCount) << where;
    EXPECT_EQ(got.groupCount, want.groupCount) << where;
    EXPECT_EQ(got.decode.invalidCount, want.decode.invalidCount) << where;
    EXPECT_EQ(got.decode.firstInvalidOffset, want.decode.firstInvalidOffset) << where;
}

void expectSameForBytes(const QByteArray &bytes, const QString &name = QStringLiteral("s.qlw"))
{
    const QString path = writeFile(name, bytes);
    expectSame(path, CardFormatOfPath(path), bytes);
}

// Pieces of card files that make the scan take every way it has: field
// marks, date prefixes, group marks (also as the halves of two characters),
// one character in several byte forms, invalid pairs, lone lead bytes and
// arbitrary bytes.
QByteArray randomCardBytes(QRandomGenerator &rng, int atoms)
{
    static const QByteArray pieces[] = {
        "\x01",
        "\x01",
        "\x01",
        "\x01",
        "2024/02/05",
        "\x81\x46", // date prefix and its "："
        "\x81\x97",
        "\x81\x97",         // "＠"
        "\x8E\x64\x8E\x96", // 仕事
        "\x81\xE6",
        "\x87\x9A",
        "\xFA\x5B", // ∵ in its three forms
        "\x81\xCA",
        "\xEE\xF9",
        "\xFA\x54", // ￢ in its three forms
        "\x82\xA0",
        "\xB1",
        "abc",
        "\r\n",
        " ",
        "\x89\x81\x97", // 8981, then 97 leads whatever follows
        "\x81",         // a lead byte before whatever follows
        "\x85\x40",     // a pair with no character
        "\xFC\xFC",
        "\x80",
        "\xA0",
        "\xFD",
        "\xFF",
        "@",
    };
    QByteArray bytes;
    for (int i = 0; i < atoms; ++i) {
        if (rng.bounded(8) == 0)
            bytes += char(rng.bounded(256));
        else
            bytes += pieces[rng.bounded(int(std::size(pieces)))];
    }
    return bytes;
}

} // namespace

TEST(CardFileStats, NativeScanCountsAsReadingOnEdgeCases)
{
    const QByteArray cases[] = {
        "",
        "\x01",
        "\x01\x01",
        "\x01\x01\x01",
        "\x01\x01\x01\x01",
        "A\x01"
        "B\x01"
        "C", // no final mark
        "A\x01"
        "B\x01"
        "C\x01"
        "D",                             // a last card of one field
        "\x8E\x64\x81\x97x\x01\x01\x01", // 仕事＠x
        "\x81\x97\x01\x01\x01",          // ＠ alone: the group ""
        "2024/02/05\x81\x46\x8E\x64\x81\x97x\x01\x01\x01"
        "\x8E\x64\x81\x97y\x01\x01\x01",                                             // dated and not: one group
        "2024/02/05\x81\x46\x81\x97x\x01\x01\x01",                                   // group "" after a prefix
        "2024/02/05\x81\x97x\x01\x01\x01",                                           // no prefix: the group is the date
        "2001/05/03(14:05:09)\x81\x6D\x91\xE8\x81\x6E\x81\x46\x81\x97x\x01\x01\x01", // long prefix
        "\x81\xE6\x81\x97\x01\x01\x01\x87\x9A\x81\x97\x01\x01\x01\xFA\x5B\x81\x97\x01\x01\x01", // one group
        "\x89\x81\x97\x40\x81\x97x\x01\x01\x01",            // the first 81 97 is halves of 8981 and 9740
        "\x88\x81\x97\x01\x01\x01",                         // 88 81 has no character, 97 before a mark is alone
        "\x85\x40\x81\x97\x01\x85\x41\x01\x01",             // invalid pairs in a group and in the remarks
        "\xFF\x81\x97\x01\x01\x01\xFE\x81\x97\x01\x01\x01", // U+F8F3 and U+F8F2 groups
        "x\x82\x01\x82\x01\x82",                            // lead bytes before marks and at the end
        "\x82",
        "a\x01\x01\x01\x81",
        "\x01\x01\x01\x81\x97", // second card: ＠ and nothing else
    };
    for (const QByteArray &bytes : cases)
        expectSameForBytes(bytes);
}

TEST(CardFileStats, NativeScanCountsAsReadingOnRandomFiles)
{
    QRandomGenerator rng(31);
    for (int round = 0; round < 400; ++round)
        expectSameForBytes(randomCardBytes(rng, int(rng.bounded(1, 120))));
}

TEST(CardFileStats, NativeScanCountsAsReadingOnLongPiecesAndBlockBorders)
{
    // Titles longer than the scan's buffer on the stack, and a file of
    // several read blocks with pieces across their borders.
    QRandomGenerator rng(932);
    QByteArray longTitles;
    for (int i = 0; i < 20; ++i) {
        longTitles += QByteArray(int(rng.bounded(400, 3000)), '\x82').append("\xA0") + randomCardBytes(rng, 30);
        longTitles += "\x81\x97x\x01r\x01"
                      "c\x01";
    }
    expectSameForBytes(longTitles);

    QByteArray big;
    while (big.size() < 3 * 1024 * 1024 + 17)
        big += randomCardBytes(rng, 200);
    big += "\x82";
    expectSameForBytes(big);
    big.insert(1024 * 1024 - 1, QByteArray(1, '\x88')); // a lead byte just before the first border
    expectSameForBytes(big);
}

TEST(CardFileStats, OtherFormatsCountAsReading)
{
    QRandomGenerator rng(7);
    const QString names[] = {QStringLiteral("s.csv"), QStringLiteral("s.qlt"), QStringLiteral("s.txt"),
                             QStringLiteral("s.stk")};
    for (const QString &name : names) {
        for (int round = 0; round < 30; ++round) {
            QByteArray bytes = randomCardBytes(rng, int(rng.bounded(1, 80)));
            bytes.replace('\x01', round % 2 ? "\r\n@\r\n" : "\",\"");
            expectSameForBytes(bytes, name);
        }
    }
    for (const char *name : {"sample.qlw", "sample_dated.qlw", "broken_lead.qlw", "sample.csv", "sample_dated.csv",
                             "broken_bytes.csv", "sample.qlt", "cut_record.qlt", "sample.stk"}) {
        const QString path = fixture(QString::fromLatin1(name));
        expectSame(path, CardFormatOfPath(path), name);
    }
}

TEST(CardFileStats, UnreadableFilesFailAsReading)
{
    const QString missing = sandboxPath(QStringLiteral("missing.qlw"));
    expectSame(missing, CardFormat::Native, {});
    EXPECT_FALSE(StatCardFile(missing, CardFormat::Native).ok);
    const QString folder = sandboxPath(QStringLiteral("folder.qlw"));
    QDir().mkpath(folder);
    expectSame(folder, CardFormat::Native, {});
    expectSame(QString(), CardFormat::Native, {});
    expectSame(writeFile(QStringLiteral("x.html"), "<p>"), CardFormat::Html, {});
}

TEST(CardFileStats, GroupMarkHasOneByteForm)
{
    // The scan decodes a title only up to the bytes 81 97: no other sequence
    // may read as "＠".
    const QString mark(QChar(0xFF20));
    for (unsigned b = 0; b <= 0xFF; ++b) {
        EXPECT_NE(Win31J::decode(QByteArray(1, char(b))), mark) << b;
        for (unsigned t = 0; t <= 0xFF; ++t) {
            const QByteArray pair = QByteArray(1, char(b)).append(char(t));
            if (pair != "\x81\x97") {
                EXPECT_FALSE(Win31J::decode(pair).startsWith(mark)) << pair.toHex().constData();
            }
        }
    }
    EXPECT_EQ(Win31J::decode("\x81\x97"), mark);
}
