// Templates: finding sections, the two option readers, the style-sheet list.
#include "htmltestutil.h"

#include "core/html/htmltemplate.h"
#include "core/html/htmltext.h"

#include <iterator>
#include <random>

namespace {

QString tmplPath(const QList<Section> &sections)
{
    return writeTemplate(freshFolder(QStringLiteral("t")) + QStringLiteral("/Hina.qlw"), sections);
}

} // namespace

TEST(ReadTemplateSection, FindsTheFirstCardWhoseTitleWithoutDateBeginsWithTheKey)
{
    const QString path = tmplPath({
        {QStringLiteral("2001/05/03：1-1 カード"), QStringLiteral("card page"), QStringLiteral("備考1")},
        {QStringLiteral("2-10 旧版"), QStringLiteral("old index")},
        {QStringLiteral("2-1"), QStringLiteral("index")},
        {QStringLiteral("help"), QStringLiteral("説明")},
    });
    EXPECT_EQ(ReadTemplateSection(path, QStringLiteral("1-1"), 3), QStringLiteral("card page"));
    EXPECT_EQ(ReadTemplateSection(path, QStringLiteral("1-1"), 2), QStringLiteral("備考1"));
    EXPECT_EQ(ReadTemplateSection(path, QStringLiteral("1-1"), 1), QStringLiteral("1-1 カード"));
    EXPECT_EQ(ReadTemplateSection(path, QStringLiteral("1-1"), 0), QStringLiteral("1-1 カード"));
    EXPECT_EQ(ReadTemplateSection(path, QStringLiteral("2-1"), 3), QStringLiteral("old index"));
    EXPECT_EQ(ReadTemplateSection(path, QStringLiteral("HELP"), 3), QStringLiteral("説明"));
    EXPECT_EQ(ReadTemplateSection(path, QStringLiteral("4-1"), 3), QString());
    EXPECT_EQ(ReadTemplateSection(path + QStringLiteral(".missing"), QStringLiteral("1-1"), 3), QString());
}

TEST(HtmlTemplate, ReadsItsFileOnce)
{
    const QString path = tmplPath({{QStringLiteral("1-1"), QStringLiteral("before")}});
    HtmlTemplate tmpl;
    ASSERT_TRUE(tmpl.load(path));
    ASSERT_TRUE(QFile::remove(path));
    EXPECT_EQ(tmpl.section(QStringLiteral("1-1")), QStringLiteral("before"));
    EXPECT_FALSE(HtmlTemplate().load(path));
}

TEST(TemplateOptions, WizardReaderPresetsOnlyFromNumbers)
{
    const QString body = QStringLiteral("renban = 1\r\n"
                                        "#NoBR=1\r\n"
                                        ";FakeTAB=1\r\n"
                                        "\r\n"
                                        "UseItem2=\r\n"
                                        "EscapeTAG\r\n"
                                        "CutDateInfo=0=1\r\n"
                                        "OnlySelected=yes\r\n"
                                        "Other=a=b");
    HtmlTemplate tmpl;
    ASSERT_TRUE(tmpl.load(tmplPath({{QStringLiteral("*"), body}})));
    const OptionPresets p = WizardOptionPresets(tmpl);
    EXPECT_EQ(p.renban, std::optional<bool>(true));
    EXPECT_EQ(p.noBR, std::nullopt);
    EXPECT_EQ(p.fakeTab, std::nullopt);
    EXPECT_EQ(p.useItem2, std::nullopt);
    EXPECT_EQ(p.escapeTag, std::nullopt);
    EXPECT_EQ(p.cutDateInfo, std::optional<bool>(false));
    EXPECT_EQ(p.onlySelected, std::nullopt);
    iniMente store = ReadTemplateOptions(tmpl);
    EXPECT_EQ(store.GetiniValue(QStringLiteral("other")).toString(), QStringLiteral("a"));
    EXPECT_EQ(store.GetiniValue(QStringLiteral("Renban")).toString(), QStringLiteral("1"));
}

TEST(TemplateOptions, BrowserReaderStoresNumbersAsTruthValues)
{
    HtmlTemplate tmpl;
    ASSERT_TRUE(tmpl.load(tmplPath({{QStringLiteral("*"), QStringLiteral("NoBR=1\r\nEscapeTag=0\r\nRenban=x")}})));
    iniMente store = ReadBrowserTemplateOptions(tmpl);
    EXPECT_EQ(store.GetiniValue(QStringLiteral("nobr")).toDouble(), -1.0);
    EXPECT_EQ(store.GetiniValue(QStringLiteral("EscapeTAG")).toDouble(), 0.0);
    EXPECT_EQ(store.GetiniValue(QStringLiteral("Renban")).toString(), QStringLiteral("x"));
}

TEST(TemplateStyleSheets, EveryPieceBeginningWithZeroInFileOrder)
{
    HtmlTemplate tmpl;
    ASSERT_TRUE(tmpl.load(tmplPath({
        {QStringLiteral("0-1 標準"), QStringLiteral("body{}")},
        {QStringLiteral("1-1"), QStringLiteral("x"), QStringLiteral("0 注意")},
        {QStringLiteral("0-2 ダーク"), QStringLiteral("0 is the body")},
    })));
    EXPECT_EQ(tmpl.styleSheetEntries(), (QStringList{QStringLiteral("0-1 標準"), QStringLiteral("0 注意"),
                                                     QStringLiteral("0-2 ダーク"), QStringLiteral("0 is the body")}));
    EXPECT_EQ(tmpl.section(QStringLiteral("0-2 ダーク")), QStringLiteral("0 is the body"));
}

// UTF-8 pages are encoded by our own loop: every character as UTF-8 writes
// it, a surrogate without its partner as U+FFFD, nothing dropped at the end.
TEST(HtmlTextEncoded, Utf8AsTheStandardWritesIt)
{
    const char16_t alphabet[] = {u'a', u'\r', 0x7F, 0x80, 0x7FF, 0x800, 0x3042, 0xFFFD, 0xFFFF, 0xD83D, 0xDE00};
    std::mt19937 random(7);
    for (int round = 0; round < 2000; ++round) {
        QString text;
        const int length = int(random() % 12);
        for (int i = 0; i < length; ++i)
            text += QChar(alphabet[random() % std::size(alphabet)]);
        QString sound = text; // lone surrogates made U+FFFD, pairs kept
        for (qsizetype i = 0; i < sound.size(); ++i) {
            if (sound[i].isHighSurrogate() && i + 1 < sound.size() && sound[i + 1].isLowSurrogate())
                ++i;
            else if (sound[i].isSurrogate())
                sound[i] = QChar(0xFFFD);
        }
        QByteArray out("x");
        HtmlText::AppendEncoded(text, HtmlText::Encoding::Utf8, HtmlText::Fallback::CharacterReference, out);
        ASSERT_EQ(out, "x" + sound.toUtf8()) << round;
    }
}
