// The width and case folding of the plain-text keyword test.
#include "textfold.h"

#include "searchtestutil.h"

#include <gtest/gtest.h>

namespace {

struct FoldCase {
    const char *name;
    const char16_t *text;
    const char16_t *folded;
};

class TextFoldTable : public ::testing::TestWithParam<FoldCase> {};

TEST_P(TextFoldTable, FoldsAsTheTableSays)
{
    const FoldCase &c = GetParam();
    EXPECT_EQ(TextFold::folded(QString::fromUtf16(c.text)), QString::fromUtf16(c.folded)) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Table, TextFoldTable,
    ::testing::Values(
        FoldCase{"ascii upper", u"ABC xyz", u"abc xyz"},
        FoldCase{"full-width letters", u"ＡＢＣｘｙｚ", u"abcxyz"},
        FoldCase{"full-width digits and signs", u"０９！～＠＃", u"09!~@#"},
        FoldCase{"full-width range ends", u"\uFF01\uFF5E", u"!~"},
        FoldCase{"outside the full-width range", u"\uFF00\uFF5F\u3000", u"\uFF00\uFF5F\u3000"},
        FoldCase{"half-width katakana", u"ｱｲｳｴｵﾝｦｰ", u"アイウエオンヲー"},
        FoldCase{"half-width small kana", u"ｧｨｩｪｫｬｭｮｯ", u"ァィゥェォャュョッ"},
        FoldCase{"half-width signs", u"｡｢｣､･", u"。「」、・"},
        FoldCase{"voiced marks join", u"ｶﾞｷﾞｸﾞｹﾞｺﾞｻﾞｼﾞｽﾞｾﾞｿﾞﾀﾞﾁﾞﾂﾞﾃﾞﾄﾞ", u"ガギグゲゴザジズゼゾダヂヅデド"},
        FoldCase{"ha row voiced and semi-voiced", u"ﾊﾞﾋﾞﾌﾞﾍﾞﾎﾞﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟ", u"バビブベボパピプペポ"},
        FoldCase{"u wa wo voiced", u"ｳﾞﾜﾞｦﾞ", u"ヴヷヺ"},
        FoldCase{"a mark that joins nothing", u"ｱﾞﾟ", u"ア゛゜"},
        FoldCase{"a mark at the start", u"ﾞｶ", u"゛カ"},
        FoldCase{"a mark after a voiced kana", u"ｶﾞﾞ", u"ガ゛"},
        FoldCase{"full-width kana before a half-width mark", u"カﾞ", u"ガ"},
        FoldCase{"hiragana stays hiragana", u"かがぱ", u"かがぱ"},
        FoldCase{"full-width katakana unchanged", u"カタカナ", u"カタカナ"},
        FoldCase{"greek and cyrillic case", u"ΩΣБ", u"ωσб"},
        FoldCase{"kanji untouched", u"漢字仕事", u"漢字仕事"},
        FoldCase{"supplementary case fold", u"\U00010400", u"\U00010428"},
        FoldCase{"lone surrogate kept", u"a\xD800Z", u"a\xD800z"},
        FoldCase{"empty", u"", u""}));

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

} // namespace
