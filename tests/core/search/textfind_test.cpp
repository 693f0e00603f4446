// The plain-text finder against QStringView::indexOf, over texts made to
// hold near misses: the pattern's first and last units at its distance
// with something else between, matches that overlap, matches at either
// end and in the last places the wide steps leave to the loop after them.
#include "core/search/textfind.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace {

TEST(TextFinder, FindsWhatIndexOfFinds)
{
    QRandomGenerator rng(7);
    // Few different units, so that pairs of them meet often.
    const char16_t units[] = {u'打',           u'ち', u'合', u'わ', u'せ', u'a', u'\r', u'\n', char16_t(0xD83D),
                              char16_t(0xDE00)};
    auto randomText = [&](qsizetype size) {
        QString text;
        for (qsizetype i = 0; i < size; ++i)
            text += QChar(units[rng.bounded(int(std::size(units)))]);
        return text;
    };
    int found = 0;
    for (int round = 0; round < 20000; ++round) {
        const QString pattern = randomText(1 + rng.bounded(round % 3 == 0 ? 3 : 12));
        QString text = randomText(rng.bounded(80));
        if (rng.bounded(2)) {
            const qsizetype at = rng.bounded(int(text.size()) + 1);
            text.insert(at, pattern);
        }
        const qsizetype expected = QStringView(text).indexOf(pattern);
        found += expected >= 0;
        ASSERT_EQ(TextFinder(pattern).indexIn(text), expected)
            << "pattern " << pattern.size() << " units in " << text.size() << ", round " << round;
    }
    EXPECT_GT(found, 5000) << "the texts hold their pattern often enough to test the finding";
}

TEST(TextFinder, EmptyAndLongerPatterns)
{
    EXPECT_EQ(TextFinder(u"").indexIn(u"abc"), 0);
    EXPECT_EQ(TextFinder(u"").indexIn(QStringView()), 0);
    EXPECT_EQ(TextFinder(u"abcd").indexIn(u"abc"), -1);
    EXPECT_EQ(TextFinder(u"a").indexIn(QStringView()), -1);
    // A match as the very last units of a text a wide step reads to its end.
    const QString text = QString(31, QChar(u'x')) + QStringLiteral("打ち");
    EXPECT_EQ(TextFinder(u"打ち").indexIn(text), 31);
    EXPECT_EQ(TextFinder(u"x打ち").indexIn(text), 30);
}

} // namespace
