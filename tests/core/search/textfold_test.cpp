// The width and case folding of the plain-text keyword test.
#include "core/search/textfold.h"

#include "support/searchtestutil.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace {

struct FoldCase {
    const char *name;
    const char16_t *text;
    const char16_t *folded;
};

class TextFoldTable : public ::testing::TestWithParam<FoldCase>
{
};

TEST_P(TextFoldTable, FoldsAsTheTableSays)
{
    const FoldCase &c = GetParam();
    EXPECT_EQ(TextFold::folded(QString::fromUtf16(c.text)), QString::fromUtf16(c.folded)) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Table, TextFoldTable,
    ::testing::Values(
        FoldCase{"ascii upper", u"ABC xyz", u"abc xyz"}, FoldCase{"full-width letters", u"ＡＢＣｘｙｚ", u"abcxyz"},
        FoldCase{"full-width digits and signs", u"０９！～＠＃", u"09!~@#"},
        FoldCase{"full-width range ends", u"\uFF01\uFF5E", u"!~"},
        FoldCase{"outside the full-width range", u"\uFF00\uFF5F\u3000", u"\uFF00\uFF5F\u3000"},
        FoldCase{"half-width katakana", u"ｱｲｳｴｵﾝｦｰ", u"アイウエオンヲー"},
        FoldCase{"half-width small kana", u"ｧｨｩｪｫｬｭｮｯ", u"ァィゥェォャュョッ"},
        FoldCase{"half-width signs", u"｡｢｣､･", u"。「」、・"},
        FoldCase{"voiced marks join", u"ｶﾞｷﾞｸﾞｹﾞｺﾞｻﾞｼﾞｽﾞｾﾞｿﾞﾀﾞﾁﾞﾂﾞﾃﾞﾄﾞ", u"ガギグゲゴザジズゼゾダヂヅデド"},
        FoldCase{"ha row voiced and semi-voiced", u"ﾊﾞﾋﾞﾌﾞﾍﾞﾎﾞﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟ", u"バビブベボパピプペポ"},
        FoldCase{"u wa wo voiced", u"ｳﾞﾜﾞｦﾞ", u"ヴヷヺ"}, FoldCase{"a mark that joins nothing", u"ｱﾞﾟ", u"ア゛゜"},
        FoldCase{"a mark at the start", u"ﾞｶ", u"゛カ"}, FoldCase{"a mark after a voiced kana", u"ｶﾞﾞ", u"ガ゛"},
        FoldCase{"full-width kana before a half-width mark", u"カﾞ", u"ガ"},
        FoldCase{"hiragana stays hiragana", u"かがぱ", u"かがぱ"},
        FoldCase{"full-width katakana unchanged", u"カタカナ", u"カタカナ"},
        FoldCase{"greek and cyrillic case", u"ΩΣБ", u"ωσб"}, FoldCase{"kanji untouched", u"漢字仕事", u"漢字仕事"},
        FoldCase{"supplementary case fold", u"\U00010400", u"\U00010428"},
        FoldCase{"lone surrogate kept", u"a\xD800Z", u"a\xD800z"}, FoldCase{"empty", u"", u""}));

TEST(TextFold, APartStartingWithAMarkJoinsTheKanaBefore)
{
    QString out;
    TextFold::appendFolded(u"題名ｶ", out);
    TextFold::appendFolded(u"ﾞ備考", out);
    EXPECT_EQ(out, QString::fromUtf16(u"題名ガ備考"));
}

TEST(TextFold, WidthFoldOfSingleUnits)
{
    EXPECT_EQ(TextFold::widthFolded(u'Ａ'), u'A');
    EXPECT_EQ(TextFold::widthFolded(u'ｶ'), u'カ');
    EXPECT_EQ(TextFold::widthFolded(u'ﾞ'), u'゛');
    EXPECT_EQ(TextFold::widthFolded(u'a'), u'a');
    EXPECT_EQ(TextFold::widthFolded(u'あ'), u'あ');
}

TEST(TextFold, KeywordsSearchableWithoutFolding)
{
    EXPECT_TRUE(TextFold::searchableUnfolded(u"打ち合わせ"));
    EXPECT_TRUE(TextFold::searchableUnfolded(u"【重要】　会議"));
    EXPECT_FALSE(TextFold::searchableUnfolded(u""));       // matches nothing anyway
    EXPECT_FALSE(TextFold::searchableUnfolded(u"会議a"));  // A and Ａ fold to a
    EXPECT_FALSE(TextFold::searchableUnfolded(u"カード")); // ｶｰﾄﾞ folds to it
    EXPECT_FALSE(TextFold::searchableUnfolded(u"会議。")); // ｡ folds to 。
    EXPECT_FALSE(TextFold::searchableUnfolded(u"「会」"));
    EXPECT_FALSE(TextFold::searchableUnfolded(u"゛"));
}

// The shortcut must give what folding gives: random texts over an alphabet of
// characters that fold, join, or stand for themselves, against keywords that
// qualify for it.
TEST(TextFold, SearchingUnfoldedAgreesWithFolding)
{
    const QString alphabet = QString::fromUtf16(u"会議予算ちあかがカガｶﾞﾞﾟﾊ゛。｡「｢aAＡ　、､");
    const QString keyAlphabet = QString::fromUtf16(u"会議予算ちあかが　");
    QRandomGenerator rng(7);
    // Keywords found in the text, so the agreement is not only on misses.
    int found = 0;
    for (int round = 0; round < 20000; ++round) {
        QString text, keyword;
        const int textLength = int(rng.bounded(12));
        for (int i = 0; i < textLength; ++i)
            text += alphabet[int(rng.bounded(int(alphabet.size())))];
        const int keyLength = 1 + int(rng.bounded(3));
        for (int i = 0; i < keyLength; ++i)
            keyword += keyAlphabet[int(rng.bounded(int(keyAlphabet.size())))];
        const QString foldedKeyword = TextFold::folded(keyword);
        ASSERT_TRUE(TextFold::searchableUnfolded(foldedKeyword));
        ASSERT_EQ(TextFold::folded(text).contains(foldedKeyword), text.contains(foldedKeyword))
            << text.toStdString() << " / " << keyword.toStdString();
        found += text.contains(foldedKeyword) ? 1 : 0;
    }
    EXPECT_GT(found, 1000);
}

} // namespace

TEST(TextFold, LongTextsFoldAsTheirUnitsOneByOne)
{
    // Folding a long text takes blocks of units at a time; the same units
    // folded one call each (never a block) must give the same text.
    const QString kinds[] = {QStringLiteral("abcxyz 019~@[`{"),      QStringLiteral("ABCXYZ"),
                             QStringLiteral("漢字かなカナ、。「」"), QStringLiteral("ｶﾀｶﾅﾞﾟﾊﾟｳﾞ"),
                             QStringLiteral("ＡＢｃ１！"),           QStringLiteral("ΩΣαÀé"),
                             QStringLiteral("\U00010400\U0001F600"), QStringLiteral("\r\n\t")};
    quint32 seed = 99;
    auto next = [&seed](quint32 below) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % below;
    };
    for (int round = 0; round < 200; ++round) {
        QString text;
        for (quint32 runs = next(8); runs > 0; --runs) {
            const QString &kind = kinds[next(std::size(kinds))];
            for (quint32 length = next(24); length > 0; --length) {
                qsizetype at = next(quint32(kind.size()));
                if (kind[at].isLowSurrogate())
                    --at;
                text += kind.mid(at, kind[at].isHighSurrogate() ? 2 : 1);
            }
        }
        QString oneByOne;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const qsizetype n = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
            TextFold::appendFolded(QStringView(text).sliced(i, n), oneByOne);
            i += n - 1;
        }
        EXPECT_EQ(TextFold::folded(text), oneByOne) << text.toStdString();
    }
}
