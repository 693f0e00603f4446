// qltcard groups and grep, run as the built program.
#include "qltcardprocess.h"

#include "core/common/win31j.h"

#include "support/sandbox.h"

#include <QDir>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

struct Outcome {
    int status = -1;
    QString out;
    QString err;
};

Outcome qltcard(const QStringList &arguments)
{
    const QltcardRun r = runQltcard(arguments);
    return Outcome{r.status, QString::fromUtf8(r.out), r.err};
}

// A native card file: title, remarks and content of each card, each field
// ended by 0x01.
QString nativeFile(const QString &name, const QList<QStringList> &cards)
{
    static int n = 0;
    const QString dir = Sandbox::root() + QStringLiteral("/grep%1").arg(++n);
    QDir().mkpath(dir);
    QString text;
    for (const QStringList &c : cards)
        text += c.value(0) + QChar(1) + c.value(1) + QChar(1) + c.value(2) + QChar(1);
    const QString path = dir + QLatin1Char('/') + name;
    EXPECT_TRUE(Sandbox::writeBytes(path, Win31J::encode(text)));
    return path;
}

QString sample()
{
    return nativeFile(QStringLiteral("sample.qlw"), {
                                                        {"2001/05/06：旅行＠京都", "寺", "金閣\r\n銀閣"},
                                                        {"仕事＠会議", "本社", "予算の見直し"},
                                                        {"メモ", "", "ｶﾞｲﾄﾞ"},
                                                        {"2001/05/06(14:05:09)［題］：旅行＠奈良", "", "鹿"},
                                                        {"仕事＠報告", "Report", "予算"},
                                                        {"＠名前なし", "", ""},
                                                        {"work＠a", "", ""},
                                                        {"esc\\a\tb\x02\x1f\"q\"\x7f", "/", "ﾊﾝｶｸ"},
                                                    });
}

TEST(QltcardGroups, ListsEachGroupOnceInOrderOfFirstAppearance)
{
    const Outcome r = qltcard({"groups", sample()});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("旅行\n仕事\n\nwork\n"));
    EXPECT_TRUE(r.err.isEmpty());
}

TEST(QltcardGroups, AFileWithoutGroupsPrintsNothing)
{
    const Outcome r = qltcard({"groups", nativeFile(QStringLiteral("none.qlw"), {{"メモ", "", ""}})});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.isEmpty());
}

TEST(QltcardGrep, PrintsTheMatchingCardsExactlyAsDumpDoes)
{
    const QString path = sample();
    const Outcome dump = qltcard({"dump", path});
    const QStringList lines = dump.out.split(QLatin1Char('\n'));
    const Outcome r = qltcard({"grep", QStringLiteral("予算"), path});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, lines[1] + "\n" + lines[4] + "\n");
    // Escapes and half-width characters come out byte for byte as dump writes them.
    const Outcome esc = qltcard({"grep", QStringLiteral("ESC"), path});
    EXPECT_EQ(esc.out, lines[7] + "\n");
    EXPECT_TRUE(esc.out.contains(QStringLiteral("\\\\a\\tb\\u0002\\u001f\\\"q\\\"")));
}

TEST(QltcardGrep, PlainTextIgnoresCaseAndWidthAndSpansFields)
{
    const QString path = sample();
    EXPECT_EQ(qltcard({"grep", QStringLiteral("ｒｅｐｏｒｔ"), path}).out.count(QLatin1Char('\n')), 1);
    EXPECT_EQ(qltcard({"grep", QStringLiteral("ガイド"), path}).out.count(QLatin1Char('\n')), 1);
    EXPECT_EQ(qltcard({"grep", QStringLiteral("がいど"), path}).out.count(QLatin1Char('\n')), 0);
    // The end of the remarks and the start of the content.
    EXPECT_EQ(qltcard({"grep", QStringLiteral("社予"), path}).out.count(QLatin1Char('\n')), 1);
    // A pattern character is literal text.
    EXPECT_EQ(qltcard({"grep", QStringLiteral("^仕事"), path}).out.count(QLatin1Char('\n')), 0);
}

TEST(QltcardGrep, RegularExpressionsAnchorAtTheTitleField)
{
    const QString path = sample();
    const Outcome r = qltcard({"grep", "--regex", QStringLiteral("^仕事"), path});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.count(QLatin1Char('\n')), 2);
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("{\"key\":\"Key")));
    EXPECT_EQ(qltcard({"grep", QStringLiteral("REPORT"), "--regex", path}).out.count(QLatin1Char('\n')), 1);
}

TEST(QltcardGrep, TheGroupListsPatternFindsBothDatePrefixForms)
{
    const QString pattern = QStringLiteral(
        "^(([0-9]{4}/[0-9]{2}/[0-9]{2}：)|(^[0-9]{4}/[0-9]{2}/[0-9]{2}\\([0-9]{2}:[0-9]{2}:[0-9]{2}\\)［題］：)|^)旅行＠");
    const Outcome r = qltcard({"grep", "--regex", pattern, sample()});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.count(QLatin1Char('\n')), 2);
    EXPECT_TRUE(r.out.contains(QStringLiteral("京都")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("奈良")));
}

TEST(QltcardGrep, NoMatchIsASuccessWithNoOutput)
{
    const Outcome r = qltcard({"grep", QStringLiteral("absent"), sample()});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.isEmpty());
}

TEST(QltcardGrep, ARejectedPatternMatchesNothingAndSaysWhy)
{
    const Outcome r = qltcard({"grep", "--regex", QStringLiteral("予算("), sample()});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.contains(QStringLiteral("rejected"))) << r.err.toStdString();
}

TEST(QltcardGrep, UsageErrors)
{
    const QString path = sample();
    EXPECT_EQ(qltcard({"grep", path}).status, 64);
    EXPECT_EQ(qltcard({"grep", QString(), path}).status, 64);
    EXPECT_EQ(qltcard({"grep", "--regexp", "x", path}).status, 64);
    EXPECT_EQ(qltcard({"groups"}).status, 64);
    EXPECT_EQ(qltcard({"groups", path, path}).status, 64);
    // A keyword that looks like an option follows "--".
    const Outcome dash = qltcard({"grep", "--", "-x", path});
    EXPECT_EQ(dash.status, 0) << dash.err.toStdString();
    EXPECT_EQ(qltcard({"grep", "--help"}).status, 0);
    EXPECT_EQ(qltcard({"groups", "--help"}).status, 0);
}

TEST(QltcardGrep, FileErrorsAsTheOtherVerbs)
{
    EXPECT_EQ(qltcard({"grep", "x", Sandbox::root() + "/missing.qlw"}).status, 2);
    EXPECT_EQ(qltcard({"groups", Sandbox::root() + "/missing.qlw"}).status, 2);
    EXPECT_EQ(qltcard({"grep", "x", Sandbox::root() + "/notes.doc"}).status, 1);
}

} // namespace
