// qltcard dump, convert and stat, run as the built program.
#include "qltcardprocess.h"

#include "core/common/win31j.h"

#include "support/sandbox.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

using Outcome = QltcardRun;

Outcome qltcard(const QStringList &arguments)
{
    return runQltcard(arguments);
}

QString fixture(const QString &name)
{
    return QStringLiteral(QLT_TEST_DATA "/cards/") + name;
}

QString path(const QString &name)
{
    static int n = 0;
    const QString dir = Sandbox::root() + QStringLiteral("/cli%1").arg(++n);
    QDir().mkpath(dir);
    return dir + QLatin1Char('/') + name;
}

QString file(const QString &name, const QByteArray &bytes)
{
    const QString p = path(name);
    EXPECT_TRUE(Sandbox::writeBytes(p, bytes));
    return p;
}

QByteArray sjis(const char *utf8)
{
    // The test texts are ASCII or in fixtures; this keeps the few Japanese
    // ones readable.
    QProcess iconv;
    iconv.start(QStringLiteral("iconv"), {"-f", "UTF-8", "-t", "CP932"});
    iconv.write(utf8);
    iconv.closeWriteChannel();
    iconv.waitForFinished();
    return iconv.readAllStandardOutput();
}

const QByteArray Sep = QByteArray(78, '-');
const QByteArray End = QByteArray(78, '=');

} // namespace

TEST(QltcardDump, PrintsOneJsonObjectPerCardWithTheReadersKeys)
{
    const Outcome r = qltcard({"dump", fixture("sample.qlw")});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(
        r.out,
        "{\"key\":\"Key00000000\",\"title\":\"2001/05/03：仕事＠会議\",\"remarks\":\"本社\",\"content\":\"議題：予算\\r\\n出席：5名\\r\\n\"}\n"
        "{\"key\":\"Key00000001\",\"title\":\"メモ\",\"remarks\":\"\",\"content\":\"x\"}\n"
        "{\"key\":\"Key00000002\",\"title\":\"空\",\"remarks\":\"\",\"content\":\"\"}\n"
        "{\"key\":\"Key00000003\",\"title\":\"He said \\\"hi\\\" ok\",\"remarks\":\"r\",\"content\":\"line1\\r\\n\\r\\n\"}\n");
    EXPECT_TRUE(r.err.isEmpty());

    const Outcome csv = qltcard({"dump", fixture("sample.csv")});
    EXPECT_EQ(csv.status, 0);
    EXPECT_TRUE(csv.out.startsWith("{\"key\":\"Key0\",\"title\":\"2001/05/03：仕事＠会議\""));
    EXPECT_TRUE(csv.out.contains("{\"key\":\"Key1\",\"title\":\"メモ\",\"remarks\":\"\",\"content\":\"x\\r\\n\"}\n"));
}

TEST(QltcardDump, ShowsTextFormatCardsAsReadWithTheirDatePrefixes)
{
    const Outcome r = qltcard({"dump", fixture("sample.stk")});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.contains("\"title\":\"2024/02/29(09:08:07)［題］：メモ\""));
    EXPECT_TRUE(r.out.contains(
        "{\"key\":\"Key2\",\"title\":\"2024/02/29(09:08:07)［題］：空\",\"remarks\":\"\",\"content\":\"\"}"));
    const Outcome help = qltcard({"dump", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.contains("not\nstripped")) << help.out.constData();
}

TEST(QltcardDump, EscapesEveryControlCharacter)
{
    const Outcome r = qltcard({"dump", file("e.qlw", "a\\b\tc\x02\x1f\x01\"\x01\x7f\x01")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(
        r.out,
        "{\"key\":\"Key00000000\",\"title\":\"a\\\\b\\tc\\u0002\\u001f\",\"remarks\":\"\\\"\",\"content\":\"\x7f\"}\n");
}

namespace {

// dump's escaping written the plain way, one character at a time: what the
// fast paths of the real one must give.
QByteArray jsonOf(const QString &text)
{
    QByteArray out = "\"";
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        switch (u) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        default:
            if (u < 0x20)
                out += QStringLiteral("\\u%1").arg(int(u), 4, 16, QLatin1Char('0')).toLatin1();
            else
                out += QString(c).toUtf8();
        }
    }
    return out + "\"";
}

} // namespace

TEST(QltcardDump, EscapesMixedTextAsTheCharacterByCharacterRules)
{
    // Runs of every kind of character, of every length around the eight
    // units the fast paths take at a time: ASCII, quotes and backslashes,
    // control characters, line ends, two-byte UTF-8 (Greek, U+0080), kana
    // and kanji, half-width katakana, the private-use characters of the
    // bytes FD-FF.
    const QList<QString> kinds{
        QStringLiteral("abcXYZ 019~"), QStringLiteral("\"\\"), QStringLiteral("\x02\x1f\t\b\f"),
        QStringLiteral("\r\n"),        QStringLiteral("αβΩ"),  QStringLiteral("漢字かなカナ、。"),
        QStringLiteral("ｶﾀｶﾅﾞ"),       QString(QChar(0x80)),   QString(QChar(0xF8F1))};
    QByteArray bytes;
    QList<QByteArray> expected;
    quint32 seed = 12345;
    auto next = [&seed](quint32 below) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % below;
    };
    for (int card = 0; card < 300; ++card) {
        QString fields[3];
        for (QString &field : fields) {
            for (quint32 runs = next(6); runs > 0; --runs) {
                const QString &kind = kinds[next(quint32(kinds.size()))];
                for (quint32 length = next(20); length > 0; --length)
                    field += kind[next(quint32(kind.size()))];
            }
            bytes += Win31J::encode(field) + '\x01';
        }
        expected.append(",\"title\":" + jsonOf(fields[0]) + ",\"remarks\":" + jsonOf(fields[1])
                        + ",\"content\":" + jsonOf(fields[2]) + "}");
    }
    const Outcome r = qltcard({"dump", file("mixed.qlw", bytes)});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QList<QByteArray> lines = r.out.split('\n');
    ASSERT_EQ(lines.size(), expected.size() + 1);
    for (qsizetype i = 0; i < expected.size(); ++i)
        EXPECT_EQ(lines[i].mid(lines[i].indexOf(",\"title\":")), expected[i]) << "card " << i;
}

TEST(QltcardDump, ChoosesTheReaderByTheExtensionInLowerCase)
{
    const QString upper = path("SAMPLE.QLW");
    ASSERT_TRUE(QFile::copy(fixture("sample.qlw"), upper));
    EXPECT_EQ(qltcard({"dump", upper}).out, qltcard({"dump", fixture("sample.qlw")}).out);

    const Outcome doc = qltcard({"dump", file("notes.doc", "x")});
    EXPECT_EQ(doc.status, 1);
    EXPECT_TRUE(doc.err.contains("\"doc\"")) << doc.err.toStdString();
    EXPECT_TRUE(doc.out.isEmpty());
}

TEST(QltcardDump, WarnsOfInvalidBytesOnStandardError)
{
    const Outcome r = qltcard({"dump", fixture("broken_lead.qlw")});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.err.contains("2 invalid byte")) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("offset 5"));
    EXPECT_EQ(r.out.count('\n'), 2);
}

TEST(QltcardExit, SaysWhyForEveryFailure)
{
    const Outcome missing = qltcard({"dump", path("missing.qlw")});
    EXPECT_EQ(missing.status, 2);
    EXPECT_TRUE(missing.err.contains("cannot read"));
    EXPECT_EQ(qltcard({"dump"}).status, 64);
    EXPECT_EQ(qltcard({"dump", "a.qlw", "b.qlw"}).status, 64);
    EXPECT_EQ(qltcard({"stat"}).status, 64);
    EXPECT_EQ(qltcard({"convert", fixture("sample.qlw")}).status, 64);
    EXPECT_EQ(qltcard({"convert", fixture("sample.qlw"), path("x.qlw"), "--fast"}).status, 64);
    const Outcome badNow = qltcard({"convert", fixture("sample.qlw"), path("x.qlw"), "--now", "yesterday"});
    EXPECT_EQ(badNow.status, 64);
    EXPECT_FALSE(badNow.err.isEmpty());
    EXPECT_EQ(qltcard({"convert", fixture("sample.qlw"), path("x.qlw"), "--now"}).status, 64);
    const Outcome unwritable = qltcard({"convert", fixture("sample.qlw"), Sandbox::root() + "/none/x.qlw"});
    EXPECT_EQ(unwritable.status, 2);
    EXPECT_TRUE(unwritable.err.contains("cannot write"));
}

TEST(QltcardStat, CountsCardsDistinctGroupsAndInvalidBytes)
{
    const Outcome r = qltcard({"stat", fixture("sample.qlw")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "cards: 4\ngroups: 1\ninvalid-bytes: 0\n");

    const QByteArray bytes = sjis("2001/05/03：A＠1\x01\x01\x01"
                                  "A＠2\x01\x01\x01"
                                  "a＠3\x01\x01\x01"
                                  "Ａ＠4\x01\x01\x01"
                                  "＠5\x01\x01\x01"
                                  "none\x01\x01\x01"
                                  "2001/05/03(01:02:03)［題］：A＠6\x01\x01\x01");
    EXPECT_EQ(qltcard({"stat", file("g.qlw", bytes)}).out, "cards: 7\ngroups: 4\ninvalid-bytes: 0\n");
    EXPECT_EQ(qltcard({"stat", fixture("broken_bytes.csv")}).out, "cards: 2\ngroups: 0\ninvalid-bytes: 2\n");
}

TEST(QltcardStat, HasNo32767CardCeiling)
{
    QByteArray bytes;
    for (int i = 0; i < 40000; ++i)
        bytes += "G" + QByteArray::number(i % 3) + "\x81\x97x\x01r\x01\x01"; // Gn＠x
    const Outcome r = qltcard({"stat", file("big.qlw", bytes)});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "cards: 40000\ngroups: 3\ninvalid-bytes: 0\n");
}

TEST(QltcardConvert, WritesTheFixtureBytesOfEveryWriter)
{
    const QString now = QStringLiteral("2024/02/29 09:08:07");
    struct Case {
        const char *out;
        const char *expected;
        bool addDate;
    } cases[] = {
        {"o.qlw", "sample.qlw", false},      {"o.qlw", "sample_dated.qlw", true}, {"o.csv", "sample.csv", false},
        {"o.csv", "sample_dated.csv", true}, {"o.qlt", "sample.qlt", false},      {"o.txt", "sample.qlt", true},
        {"o.stk", "sample.stk", false},
    };
    for (const Case &c : cases) {
        const QString out = path(c.out);
        QStringList args{"convert", fixture("sample.qlw"), out, "--now", now};
        if (c.addDate)
            args << "--add-date";
        const Outcome r = qltcard(args);
        EXPECT_EQ(r.status, 0) << c.expected << r.err.toStdString();
        EXPECT_EQ(Sandbox::readBytes(out), Sandbox::readBytes(fixture(c.expected))) << c.expected;
    }
}

TEST(QltcardConvert, ReadingAndWritingANativeFileKeepsItByteForByte)
{
    const QString out = path("same.qlw");
    EXPECT_EQ(qltcard({"convert", fixture("sample_dated.qlw"), out}).status, 0);
    EXPECT_EQ(Sandbox::readBytes(out), Sandbox::readBytes(fixture("sample_dated.qlw")));
    const QString back = path("back.qlw");
    EXPECT_EQ(qltcard({"convert", fixture("sample.csv"), path("x.qlw")}).status, 0);
    EXPECT_EQ(qltcard({"convert", fixture("sample.qlt"), back}).status, 0);
    EXPECT_TRUE(Sandbox::readBytes(back).startsWith(sjis("2001/05/03：仕事＠会議\x01本社\x01")));
}

TEST(QltcardConvert, ReproducesTheFormatExamples)
{
    const QString card = file("card.qlw", "A\x01r\x01x\r\ny\r\n\x01"
                                          "B\x01r\x01x\r\n\r\n\x01"
                                          "C\x01r\x01\x01");
    const QString csv = path("c.csv");
    ASSERT_EQ(qltcard({"convert", card, csv}).status, 0);
    EXPECT_EQ(Sandbox::readBytes(csv), "\"A\",\"r\",\"x\",\"y\"\r\n\"B\",\"r\",\"x\",\r\n\"C\",\"r\",\r\n");

    const QString memo = file("memo.qlw", "Memo\x01r\x01x\r\ny\x01");
    const QString qlt = path("m.qlt");
    ASSERT_EQ(qltcard({"convert", memo, qlt, "--now", "2001/05/03 14:05:09"}).status, 0);
    EXPECT_EQ(Sandbox::readBytes(qlt),
              "@\r\n" + sjis("2001/05/03：Memo - r") + "\r\n" + Sep + "\r\nx\r\ny\r\n" + End + "\r\n");
    const QString stk = path("m.stk");
    ASSERT_EQ(qltcard({"convert", memo, stk, "--now", "2001/05/03 14:05:09"}).status, 0);
    EXPECT_TRUE(Sandbox::readBytes(stk).startsWith("@\r\n" + sjis("2001/05/03(14:05:09)［題］：Memo - r\r\n")));

    const QString dated = path("d.qlw");
    ASSERT_EQ(qltcard({"convert",
                       file("u.qlw", sjis("Memo\x01\x01\x01"
                                          "2001/05/03：Memo\x01\x01\x01")),
                       dated, "--add-date", "--now", "2001/05/04 00:00:00"})
                  .status,
              0);
    EXPECT_EQ(Sandbox::readBytes(dated), sjis("2001/05/04：Memo\x01\x01\x01"
                                              "2001/05/03：Memo\x01\x01\x01"));
}

TEST(QltcardConvert, RefusesHtmlAndUnknownExtensionsWritingNothing)
{
    const QString html = path("page.html");
    const Outcome r = qltcard({"convert", fixture("sample.qlw"), html});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("「HTML出力ウイザード」を使用してください。")));
    EXPECT_FALSE(QFile::exists(html));
    const QString htm = path("page.HTM");
    EXPECT_EQ(qltcard({"convert", fixture("sample.qlw"), htm}).status, 1);
    const QString abc = path("abc");
    EXPECT_EQ(qltcard({"convert", fixture("sample.qlw"), abc}).status, 1);
    EXPECT_FALSE(QFile::exists(abc));
}

TEST(QltcardConvert, RefusesCharactersWindows31JCannotHoldUnlessLossy)
{
    // Invalid bytes read as U+FFFD, which Windows-31J cannot hold.
    const QString out = file("out.qlw", "old");
    const Outcome refused = qltcard({"convert", fixture("broken_lead.qlw"), out});
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(refused.err.contains("2 character(s)")) << refused.err.toStdString();
    EXPECT_TRUE(refused.err.contains(QStringLiteral("card 1 \"題名\"")));
    EXPECT_EQ(Sandbox::readBytes(out), "old");

    const Outcome lossy = qltcard({"convert", fixture("broken_lead.qlw"), out, "--lossy"});
    EXPECT_EQ(lossy.status, 0);
    EXPECT_EQ(Sandbox::readBytes(out), sjis("題名") + "\x01?\x01" + sjis("内容") + "\x01?\x01\x01\x01");
}

TEST(QltcardConvert, RefusesANativeFileWithTheFieldMarkInsideAField)
{
    const QString in = file("in.csv", "\"ok\",\"r\"\r\n\"bad\",\"x\x01y\"\r\n");
    const QString out = file("out.qlw", "old");
    const Outcome r = qltcard({"convert", in, out});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("card 2 \"bad\"")) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("0x01"));
    EXPECT_EQ(Sandbox::readBytes(out), "old");
    // The other formats carry it.
    EXPECT_EQ(qltcard({"convert", in, path("out.csv")}).status, 0);
}

// ------------------------------------------------------------ hostile files

TEST(QltcardHostileFiles, NoRegularFileIsReadOrWrittenAndNothingBlocks)
{
    const QString fifo = path(QStringLiteral("pipe.qlw"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString cards = file(QStringLiteral("in.qlw"), QByteArray("a\x01r\x01"
                                                                    "c\x01"));
    for (const QStringList &arguments :
         {QStringList{"dump", fifo}, QStringList{"stat", fifo}, QStringList{"convert", fifo, path("out.csv")},
          QStringList{"convert", cards, fifo}, QStringList{"dump", "/dev/zero"}, QStringList{"stat", "/dev/zero"}}) {
        const Outcome r = qltcard(arguments);
        EXPECT_EQ(r.status, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("not a regular file"))) << r.err.toStdString();
    }
}

namespace {

// Runs qltcard with its address space capped, as `ulimit -v` does.
Outcome qltcardCapped(const QStringList &arguments, int capKiB)
{
    QStringList shell{QStringLiteral("-c"), QStringLiteral("ulimit -v %1 && exec \"$0\" \"$@\"").arg(capKiB),
                      QStringLiteral(QLT_BIN_DIR "/qltcard")};
    shell += arguments;
    QProcess p;
    p.start(QStringLiteral("/bin/sh"), shell);
    EXPECT_TRUE(p.waitForFinished(120000));
    Outcome r;
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

} // namespace

TEST(QltcardHostileFiles, FileTooLargeForTheMemoryIsToldNotAborted)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer reserves more address space than the cap allows";
#endif
    // One card of 200 MB: its text takes 400 MB, more than the cap.
    const QString big = file(QStringLiteral("big.qlw"), QByteArray(200 * 1000 * 1000, 'a'));
    for (const QString &verb : {QStringLiteral("dump"), QStringLiteral("convert")}) {
        QStringList arguments{verb, big};
        if (verb == QLatin1String("convert"))
            arguments << path(QStringLiteral("out.csv"));
        const Outcome r = qltcardCapped(arguments, 400 * 1024);
        EXPECT_EQ(r.status, 2) << verb.toStdString() << ": " << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("too large for the memory"))) << r.err.toStdString();
    }
    QFile::remove(big);
}

TEST(QltcardHostileFiles, DumpOfMillionsOfEmptyCardsStreams)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer reserves more address space than the cap allows";
#endif
    // 3.3 million empty cards took 150 bytes each (500 MB) when dump kept
    // them; printed as they are read they need none.
    const QString many = file(QStringLiteral("many.qlw"), QByteArray(10 * 1000 * 1000, '\x01'));
    const Outcome r = qltcardCapped({QStringLiteral("dump"), many}, 200 * 1024);
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.count('\n'), 3333334);
    EXPECT_TRUE(r.out.endsWith("{\"key\":\"Key03300565\",\"title\":\"\",\"remarks\":\"\",\"content\":\"\"}\n"));
    QFile::remove(many);
}

// The executable is a launcher that loads the program module from its own
// folder, whatever folder it is started from and through whatever link.
TEST(QltcardLauncher, FindsItsProgramThroughALinkAndSaysSoWhenItIsMissing)
{
    const QString dir = Sandbox::root() + QStringLiteral("/launcher");
    QDir().mkpath(dir);
    const QString link = dir + QStringLiteral("/qltcard-link");
    QFile::remove(link);
    ASSERT_TRUE(QFile::link(QStringLiteral(QLT_BIN_DIR "/qltcard"), link));
    QProcess viaLink;
    viaLink.setWorkingDirectory(dir);
    viaLink.start(link, {QStringLiteral("--version")});
    ASSERT_TRUE(viaLink.waitForFinished(60000));
    EXPECT_EQ(viaLink.exitCode(), 0);
    EXPECT_TRUE(viaLink.readAllStandardOutput().startsWith("qltcard QLT@WIN"));

    const QString alone = dir + QStringLiteral("/qltcard");
    QFile::remove(alone);
    ASSERT_TRUE(QFile::copy(QStringLiteral(QLT_BIN_DIR "/qltcard"), alone));
    QProcess lone;
    lone.start(alone, {QStringLiteral("--version")});
    ASSERT_TRUE(lone.waitForFinished(60000));
    EXPECT_EQ(lone.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(lone.exitCode(), 2);
    EXPECT_TRUE(lone.readAllStandardOutput().isEmpty());
    const QString err = QString::fromUtf8(lone.readAllStandardError());
    EXPECT_TRUE(err.contains(QStringLiteral("the program is missing"))) << err.toStdString();
    EXPECT_TRUE(err.contains(dir + QStringLiteral("/qltcard.so"))) << err.toStdString();

    // A module that is no qltcard program is named, not run.
    QFile::remove(dir + QStringLiteral("/qltcard.so"));
    ASSERT_TRUE(Sandbox::writeBytes(dir + QStringLiteral("/qltcard.so"), "not a module"));
    lone.start(alone, {QStringLiteral("--version")});
    ASSERT_TRUE(lone.waitForFinished(60000));
    EXPECT_EQ(lone.exitCode(), 2);
    EXPECT_TRUE(QString::fromUtf8(lone.readAllStandardError()).contains(QStringLiteral("cannot load")));
}
