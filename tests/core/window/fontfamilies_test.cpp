// Windows font names in the settings and the fonts installed here.

#include "core/window/fontfamilies.h"

#include <gtest/gtest.h>

namespace {

QString q(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

} // namespace

TEST(FontFamilies, AnInstalledFamilyIsKept)
{
    const QStringList installed{q("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic")};
    EXPECT_EQ(FontFamilies::resolve(q("ＭＳ Ｐゴシック"), installed), q("ＭＳ Ｐゴシック"));
    EXPECT_EQ(FontFamilies::resolve(QStringLiteral("ipapgothic"), installed), QStringLiteral("ipapgothic"));
}

TEST(FontFamilies, WindowsJapaneseFontsFindTheirFreeCounterparts)
{
    const QStringList installed{QStringLiteral("DejaVu Sans"), QStringLiteral("IPAGothic"),
                                QStringLiteral("IPAPGothic"), QStringLiteral("IPAMincho"),
                                QStringLiteral("IPAPMincho")};
    EXPECT_EQ(FontFamilies::resolve(q("ＭＳ Ｐゴシック"), installed), QStringLiteral("IPAPGothic"));
    EXPECT_EQ(FontFamilies::resolve(QStringLiteral("MS PGothic"), installed), QStringLiteral("IPAPGothic"));
    EXPECT_EQ(FontFamilies::resolve(q("ＭＳ ゴシック"), installed), QStringLiteral("IPAGothic"));
    EXPECT_EQ(FontFamilies::resolve(q("ＭＳ 明朝"), installed), QStringLiteral("IPAMincho"));
    EXPECT_EQ(FontFamilies::resolve(q("ＭＳ Ｐ明朝"), installed), QStringLiteral("IPAPMincho"));
    EXPECT_EQ(FontFamilies::resolve(QStringLiteral("MS UI Gothic"), installed), QStringLiteral("IPAPGothic"));
}

TEST(FontFamilies, WithoutACounterpartTheNameIsPassedOn)
{
    EXPECT_EQ(FontFamilies::resolve(q("ＭＳ Ｐゴシック"), {QStringLiteral("DejaVu Sans")}), q("ＭＳ Ｐゴシック"));
    EXPECT_EQ(FontFamilies::resolve(QStringLiteral("Comic Sans MS"), {QStringLiteral("IPAPGothic")}),
              QStringLiteral("Comic Sans MS"));
    EXPECT_EQ(FontFamilies::resolve(QString(), {QStringLiteral("IPAPGothic")}), QString());
}

TEST(FontFamilies, TheNextSubstituteIsTakenWhenTheFirstIsMissing)
{
    EXPECT_EQ(FontFamilies::resolve(q("ＭＳ Ｐゴシック"), {QStringLiteral("IPAGothic")}), QStringLiteral("IPAGothic"));
}
