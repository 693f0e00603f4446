#include "cardtestutil.h"

#include "core/cards/cardfile.h"

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
