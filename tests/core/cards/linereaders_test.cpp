#include "cardtestutil.h"

#include "core/cards/textfastread.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace {

template<typename Reader>
QStringList readAll(Reader &reader)
{
    QStringList pieces;
    while (!reader.EOFText())
        pieces.append(reader.InputLine());
    return pieces;
}

QStringList linesOf(const QByteArray &bytes)
{
    TextFastRead reader;
    EXPECT_TRUE(reader.LoadTextFile(writeFile(QStringLiteral("t.txt"), bytes)));
    return readAll(reader);
}

QStringList piecesOf(const QByteArray &bytes)
{
    TextFastReadBinary reader;
    EXPECT_TRUE(reader.LoadTextFile(writeFile(QStringLiteral("t.qlw"), bytes)));
    return readAll(reader);
}

// What the readers must give: the whole text converted at once, then split.
QStringList convertThenSplit(const QByteArray &bytes, const QString &separator)
{
    if (bytes.isEmpty())
        return {};
    QStringList pieces = Win31J::decode(bytes).split(separator);
    if (pieces.last().isEmpty())
        pieces.removeLast();
    return pieces;
}

} // namespace

TEST(TextFastReadTest, SplitsAtCrLfOnly)
{
    EXPECT_EQ(linesOf(""), QStringList());
    EXPECT_EQ(linesOf("\r\n"), QStringList{QString()});
    EXPECT_EQ(linesOf("a\r\nb"), (QStringList{"a", "b"}));
    EXPECT_EQ(linesOf("a\r\n\r\n"), (QStringList{"a", ""}));
    EXPECT_EQ(linesOf("a\r\n\r\n\r\n"), (QStringList{"a", "", ""}));
    EXPECT_EQ(linesOf("a\rb\nc\r\n"), (QStringList{"a\rb\nc"}));
    EXPECT_EQ(linesOf("\n\r\r\n\n"), (QStringList{"\n\r", "\n"}));
    EXPECT_EQ(linesOf(sjis(QStringLiteral("予定\r\n表示"))), (QStringList{"予定", "表示"}));
}

TEST(TextFastReadBinaryTest, SplitsAtTheFieldMarkAndKeepsLineEndsInPieces)
{
    EXPECT_EQ(piecesOf(""), QStringList());
    EXPECT_EQ(piecesOf("t\x01r\x01"
                       "c\x01"),
              (QStringList{"t", "r", "c"}));
    EXPECT_EQ(piecesOf("A\x01\x01x\r\ny\x01"), (QStringList{"A", "", "x\r\ny"}));
    EXPECT_EQ(piecesOf("A\x01"
                       "B\x01"
                       "C"),
              (QStringList{"A", "B", "C"}));
    EXPECT_EQ(piecesOf("A\x01\x01"), (QStringList{"A", ""}));
    EXPECT_EQ(piecesOf("\x01"), QStringList{QString()});
}

TEST(LineReaderTest, EmptyFileIsAtItsEndButAFreshReaderIsNot)
{
    TextFastRead fresh;
    EXPECT_FALSE(fresh.EOFText());
    EXPECT_EQ(fresh.InputLine(), QString());
    EXPECT_TRUE(fresh.EOFText());
    EXPECT_EQ(fresh.InputLine(), QString()); // past the end: empty strings, no error

    TextFastReadBinary binary;
    EXPECT_FALSE(binary.EOFText());
    ASSERT_TRUE(binary.LoadTextFile(writeFile(QStringLiteral("e.qlw"), QByteArray())));
    EXPECT_TRUE(binary.EOFText());
    EXPECT_EQ(binary.InputLine(), QString());
    EXPECT_TRUE(binary.GetOneLine().isEmpty());
}

TEST(LineReaderTest, FailedLoadKeepsThePreviousPieces)
{
    TextFastRead reader;
    const QString path = writeFile(QStringLiteral("a.txt"), "one\r\ntwo\r\n");
    ASSERT_TRUE(reader.LoadTextFile(path));
    EXPECT_EQ(reader.InputLine(), QStringLiteral("one"));
    EXPECT_FALSE(reader.LoadTextFile(path + QStringLiteral(".missing")));
    EXPECT_FALSE(reader.LoadTextFile(Sandbox::root()));
    EXPECT_FALSE(reader.errorString().isEmpty());
    EXPECT_EQ(reader.fileName(), path);
    EXPECT_EQ(reader.InputLine(), QStringLiteral("two"));
    EXPECT_TRUE(reader.EOFText());
}

TEST(LineReaderTest, ReloadStartsAfresh)
{
    TextFastReadBinary reader;
    ASSERT_TRUE(reader.LoadTextFile(writeFile(QStringLiteral("a.qlw"), "a\x01"
                                                                       "b\x01")));
    reader.InputLine();
    ASSERT_TRUE(reader.LoadTextFile(writeFile(QStringLiteral("b.qlw"), "c\x01")));
    EXPECT_EQ(readAll(reader), QStringList{"c"});
}

TEST(TextFastReadTest, LoadsAStringLikeAFile)
{
    TextFastRead reader;
    ASSERT_TRUE(reader.LoadTextVariable(QStringLiteral("a\r\n\r\n")));
    EXPECT_EQ(reader.fileName(), QStringLiteral("##Variable##"));
    EXPECT_EQ(readAll(reader), (QStringList{"a", ""}));
    EXPECT_EQ(reader.text(), QStringLiteral("a\r\n\r\n"));
    ASSERT_TRUE(reader.LoadTextVariable(QString()));
    EXPECT_TRUE(reader.EOFText());
}

TEST(TextFastReadTest, KeepsTheWholeText)
{
    const QString text = QStringLiteral("一\r\n\r\n二\r\n");
    TextFastRead reader;
    ASSERT_TRUE(reader.LoadTextFile(writeFile(QStringLiteral("w.txt"), sjis(text))));
    EXPECT_EQ(reader.text(), text);
    ASSERT_TRUE(reader.LoadTextFile(writeFile(QStringLiteral("w2.txt"), sjis(QStringLiteral("x\r\ny")))));
    EXPECT_EQ(reader.text(), QStringLiteral("x\r\ny"));
}

TEST(TextFastReadBinaryTest, GetOneLineSplitsThePieceIntoLines)
{
    TextFastReadBinary reader;
    ASSERT_TRUE(reader.LoadTextFile(writeFile(QStringLiteral("g.qlw"), "a\r\nb\r\n\x01"
                                                                       "c\x01")));
    EXPECT_EQ(reader.GetOneLine(), (QStringList{"a", "b", ""}));
    EXPECT_EQ(reader.GetOneLine(), QStringList{"c"});
    EXPECT_TRUE(reader.GetOneLine().isEmpty());
}

TEST(LineReaderTest, SeparatorsAtBlockBoundariesAndPiecesLongerThanABlock)
{
    const qsizetype block = 1 << 20;
    QByteArray bytes(block - 1, 'a');
    bytes += "\r\n"; // CR ends the first block, LF starts the second
    bytes += QByteArray(3 * block, 'b');
    bytes += "\r\n";
    bytes += QByteArray(block - 3, 'c');
    bytes += "\n\r\n"; // a lone LF right before a CR LF at the boundary
    const QStringList lines = linesOf(bytes);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0].size(), block - 1);
    EXPECT_EQ(lines[1].size(), 3 * block);
    EXPECT_EQ(lines[2], QString(block - 3, QLatin1Char('c')) + QLatin1Char('\n'));

    QByteArray marks(block, 'x');
    marks[block - 1] = '\x01';
    marks += '\x01';
    marks += QByteArray(2 * block, 'y');
    EXPECT_EQ(piecesOf(marks), convertThenSplit(marks, QString(QChar(1))));
}

TEST(LineReaderTest, CountsInvalidBytesWithTheirFileOffsets)
{
    // 0x82 before a field mark, before CR LF and at the very end; the second
    // block holds an unassigned pair.
    const qsizetype block = 1 << 20;
    QByteArray bytes = "ok\x01\x82\x01";
    bytes += QByteArray(block, 'p');
    const qsizetype pair = bytes.size();
    bytes += "\x85\x40\x01\x88";
    TextFastReadBinary reader;
    ASSERT_TRUE(reader.LoadTextFile(writeFile(QStringLiteral("i.qlw"), bytes)));
    EXPECT_EQ(reader.decodeStats().invalidCount, 3);
    EXPECT_EQ(reader.decodeStats().firstInvalidOffset, 3);
    QStringList pieces = readAll(reader);
    ASSERT_EQ(pieces.size(), 4);
    EXPECT_EQ(pieces[1], QString(QChar(0xFFFD)));
    EXPECT_EQ(pieces[3], QString(QChar(0xFFFD)));

    TextFastRead lines;
    QByteArray text = QByteArray(pair, 'q') + "\x82\r\nz";
    ASSERT_TRUE(lines.LoadTextFile(writeFile(QStringLiteral("i.txt"), text)));
    EXPECT_EQ(lines.decodeStats().invalidCount, 1);
    EXPECT_EQ(lines.decodeStats().firstInvalidOffset, pair);
    EXPECT_EQ(lines.lineCount(), 2);
}

TEST(LineReaderTest, AnyBytesGiveTheTextOfConvertingTheWholeFileFirst)
{
    // Random bytes rich in lead bytes, trail bytes and separators: splitting
    // before converting never differs from converting first.
    QRandomGenerator rng(5032001);
    const char alphabet[] = {'\x01', '\r',   '\n',   'a',    '"',    ',',    '\x81', '\x82', '\x88', '\x9f', '\xe0',
                             '\xfc', '\x40', '\x7e', '\x80', '\xa0', '\xa1', '\xdf', '\xfd', '\xff', '\x5c', '\x00'};
    for (int round = 0; round < 300; ++round) {
        QByteArray bytes;
        const int n = rng.bounded(60);
        for (int i = 0; i < n; ++i)
            bytes += alphabet[rng.bounded(int(sizeof alphabet))];
        EXPECT_EQ(linesOf(bytes), convertThenSplit(bytes, QStringLiteral("\r\n"))) << bytes.toHex().constData();
        EXPECT_EQ(piecesOf(bytes), convertThenSplit(bytes, QString(QChar(1)))) << bytes.toHex().constData();
        Win31J::DecodeStats whole;
        Win31J::decode(bytes, &whole);
        TextFastReadBinary reader;
        ASSERT_TRUE(reader.LoadTextFile(writeFile(QStringLiteral("r.qlw"), bytes)));
        EXPECT_EQ(reader.decodeStats().invalidCount, whole.invalidCount);
        EXPECT_EQ(reader.decodeStats().firstInvalidOffset, whole.firstInvalidOffset);
    }
}
