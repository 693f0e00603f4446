#include "cardtestutil.h"

#include "core/cards/cardfile.h"
#include "core/cards/nativeformat.h"

#include <QFileInfo>

#include <gtest/gtest.h>

TEST(CardEncoder, GrowsPastItsEstimateAndKeepsEveryByte)
{
    // The room is sized for the store's texts and a few marks per card; a
    // writer may add more.
    CardStore store;
    fill(store, {{"a", "", ""}});
    CardFile::Encoder out(store);
    QByteArray want;
    out.beginCard(0);
    out.text(u"仕事＠");
    want += sjis(QStringLiteral(u"仕事＠"));
    const qsizetype mark = out.size();
    EXPECT_EQ(mark, want.size());
    for (int i = 0; i < 100; ++i) {
        out.ascii("\",\"");
        out.text(QString(40, QChar(0x6F22)));
        out.crlf();
        want += "\",\"" + sjis(QString(40, QChar(0x6F22))) + "\r\n";
    }
    out.beginCard(7);
    out.text(u"x\u00E9y");
    want += "x?y";
    out.ascii("");
    out.text(u"");
    EXPECT_EQ(out.bytesFrom(mark), QByteArrayView(want).sliced(mark));
    EXPECT_EQ(out.bytes(), want);
    const WriteResult r = out.result();
    EXPECT_EQ(r.unmappableCount, 1);
    EXPECT_EQ(r.firstUnmappableRow, 7);

    // More after the bytes were taken continues them.
    out.ascii("\x01");
    EXPECT_EQ(out.bytes(), want + "\x01");
}

TEST(CardEncoder, StartsEmptyForAnEmptyStore)
{
    CardStore store;
    CardFile::Encoder out(store);
    EXPECT_EQ(out.size(), 0);
    EXPECT_TRUE(out.bytes().isEmpty());
    out.text(u"あ");
    out.ascii("\x01");
    EXPECT_EQ(out.bytes(), QByteArray("\x82\xA0\x01"));
    EXPECT_EQ(out.result().unmappableCount, 0);
    EXPECT_EQ(out.result().firstUnmappableRow, -1);
}

namespace {

// Enough cards for several of the pieces a StreamWriter hands to the file,
// with a field mark or an unstorable character in the card at row `odd`.
void fillMany(CardStore &store, qsizetype odd = -1, const QString &oddText = QString())
{
    QList<Texts> texts;
    for (int i = 0; i < 3000; ++i) {
        const QString filler = QString(i % 400, QChar(0x3042 + i % 7));
        texts.append({QStringLiteral("仕事＠%1").arg(i), filler, filler + QStringLiteral("\r\nｶﾅ line\r\n")});
    }
    if (odd >= 0)
        texts[odd].content += oddText;
    fill(store, texts);
}

} // namespace

TEST(CardStreamWriter, WritesInPiecesTheBytesOfTheWholeStore)
{
    CardStore store;
    fillMany(store);
    const QString path = sandboxPath(QStringLiteral("pieces.qlw"));
    const WriteResult r = WriteNativeFile(path, store, {});
    ASSERT_TRUE(r.ok());
    const QByteArray whole = NativeFileBytes(store, {});
    EXPECT_GT(whole.size(), 2 << 20) << "several pieces";
    EXPECT_EQ(r.bytesWritten, whole.size());
    EXPECT_EQ(Sandbox::readBytes(path), whole);
}

TEST(CardStreamWriter, ARefusalFoundAfterPiecesWentOutKeepsTheOldFile)
{
    const QString path = writeFile(QStringLiteral("late.qlw"), "old\x01\x01\x01");
    for (const QString &odd : {QString(QChar(1)), QStringLiteral("\U0001F600")}) {
        CardStore store;
        fillMany(store, 2900, odd);
        const WriteResult r = WriteNativeFile(path, store, {});
        EXPECT_EQ(r.status, odd.size() == 1 ? WriteStatus::FieldMark : WriteStatus::Unmappable);
        EXPECT_EQ(odd.size() == 1 ? r.fieldMarkRow : r.firstUnmappableRow, 2900);
        EXPECT_EQ(Sandbox::readBytes(path), QByteArray("old\x01\x01\x01"));
        EXPECT_EQ(QDir(QFileInfo(path).absolutePath()).entryList({QStringLiteral("late.qlw*")}, QDir::Files),
                  QStringList{QStringLiteral("late.qlw")})
            << "nothing left beside it";
    }
}
