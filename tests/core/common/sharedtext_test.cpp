// Texts cut from shared blocks behave as strings of their own.
#include "core/common/sharedtext.h"

#include <QList>
#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

TEST(SharedTextBlocks, DecodesAsTheCodecDoesAcrossManyBlocks)
{
    QRandomGenerator rng(5);
    SharedTextBlocks blocks;
    QList<QString> texts;
    QList<QByteArray> sources;
    const QByteArray pieces[] = {"abc", "\x93\xfa\x96\x7b", "\xb1\xb2", "\x82\xa0", "\r\n", "\x81", "\xff", ""};
    // Enough to fill several blocks, with a few texts too long to share one.
    for (int i = 0; i < 40000; ++i) {
        QByteArray bytes;
        const int parts = rng.bounded(i % 997 == 0 ? 20000 : 12);
        for (int p = 0; p < parts; ++p)
            bytes += pieces[rng.bounded(int(std::size(pieces)))];
        Win31J::DecodeStats mine, codec;
        texts.append(blocks.decode(bytes, &mine, 100));
        const QString expected = Win31J::decode(bytes, &codec, 100);
        ASSERT_EQ(texts.last(), expected) << i;
        ASSERT_EQ(mine.invalidCount, codec.invalidCount);
        ASSERT_EQ(mine.firstInvalidOffset, codec.firstInvalidOffset);
        ASSERT_EQ(texts.last().isNull(), expected.isNull());
        sources.append(bytes);
    }
    // Still intact once every block is full and texts were cut after them,
    // and each ends in a 0 as utf16() promises.
    for (qsizetype i = 0; i < texts.size(); ++i) {
        ASSERT_EQ(texts[i], Win31J::decode(sources[i])) << i;
        if (!texts[i].isNull()) {
            ASSERT_EQ(texts[i].utf16()[texts[i].size()], 0) << i;
        }
    }
}

TEST(SharedTextBlocks, AChangedTextLeavesItsNeighboursAlone)
{
    SharedTextBlocks blocks;
    QString a = blocks.copy(u"一つ目");
    QString b = blocks.copy(u"二つ目");
    const QString c = blocks.copy(u"三つ目");
    a += QStringLiteral("を長くした");
    b[0] = u'2';
    b.resize(1);
    b.append(QStringLiteral("番目"));
    EXPECT_EQ(a, QStringLiteral("一つ目を長くした"));
    EXPECT_EQ(b, QStringLiteral("2番目"));
    EXPECT_EQ(c, QStringLiteral("三つ目"));
    EXPECT_EQ(blocks.copy(u""), QString());
}

TEST(SharedTextBlocks, TextsOutliveTheBlocksObject)
{
    QString kept, copied;
    {
        auto blocks = std::make_unique<SharedTextBlocks>();
        kept = blocks->copy(u"残る");
        copied = kept;
    }
    // The last text to go may grow in place; the other is unaffected.
    kept.append(QStringLiteral("テキスト"));
    copied = QString();
    kept.append(QString(100000, QLatin1Char('x')));
    EXPECT_EQ(kept.left(6), QStringLiteral("残るテキスト"));
    EXPECT_EQ(kept.size(), 100006);
}

// A block counts its texts exactly once the blocks are done with it, texts
// gone before included: it is freed with the last one, and not before.
TEST(SharedTextBlocks, ABlockCountsTheTextsAliveOnceTheBlocksAreDone)
{
    auto count = [](const QString &text) { return text.data_ptr().d->ref_.loadRelaxed(); };
    QString kept, other;
    {
        SharedTextBlocks blocks;
        QString gone = blocks.copy(u"消える");
        kept = blocks.copy(u"残る");
        other = blocks.copy(u"もう一つ");
        EXPECT_FALSE(kept.isDetached()) << "shared while more can be cut";
        gone = QString();
    }
    EXPECT_EQ(count(kept), 2);
    other = QString();
    EXPECT_EQ(count(kept), 1);
    EXPECT_TRUE(kept.isDetached());
    EXPECT_EQ(kept, QStringLiteral("残る"));

    // The same across a change of block: the full one settles at once.
    SharedTextBlocks blocks;
    const QString first = blocks.copy(u"最初");
    const QString filler(4000, QChar(u'x'));
    QList<QString> more;
    while (more.size() < 20)
        more.append(blocks.copy(filler)); // past one block
    EXPECT_EQ(count(first), 1 + int(std::count_if(more.cbegin(), more.cend(), [&](const QString &t) {
                                return t.data_ptr().d == first.data_ptr().d;
                            })));
}

} // namespace
