// The page phase and the driver: golden trees of every mode over a
// Shift-JIS template of the classic kind, and the rules every page keeps
// (write-if-changed by bytes, encodings, links, failures, cancel).
#include "htmltestutil.h"

#include "core/html/htmlpages.h"
#include "core/html/htmlrun.h"
#include "core/html/htmltemplate.h"
#include "core/html/htmltexts.h"
#include "core/html/outputgroups.h"

#include "support/fakedialogs.h"

#include <QDateTime>
#include <QFileInfo>
#include <QThread>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

const QString Meta = QStringLiteral("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">");

// A template written as the classic templates are: Shift-JIS pages, every
// placeholder of every section.
QList<Section> classicSections()
{
    return {
        {QStringLiteral("*"), QStringLiteral("Renban=1\r\nEscapeTAG=1")},
        {QStringLiteral("HELP"), QStringLiteral("試験用の雛形")},
        {QStringLiteral("0-1 標準"), QStringLiteral("body { color: black } /* ①髙 */")},
        {QStringLiteral("1-1"), QStringLiteral("<html><head>") + Meta
                                    + QStringLiteral("<link rel=stylesheet href=\"[root]qlt_style.css\"></head>\r\n"
                                                     "<body>[groupname] [filename] [banner]\r\n"
                                                     "<h1>[item1]</h1><p>[item2]</p>\r\n[item3]\r\n</body></html>")},
        {QStringLiteral("2-1"), QStringLiteral("<html><head>") + Meta
                                    + QStringLiteral("</head><body>[filename] [banner]\r\n[index]</body></html>")},
        {QStringLiteral("2-2"), QStringLiteral("<h2>[groupname]</h2>[filename] [banner]\r\n<ul>\r\n[index]</ul>\r\n")},
        {QStringLiteral("3-1"), QStringLiteral("<html><head>") + Meta
                                    + QStringLiteral("</head><body><h1>[groupname]</h1>[filename] [banner]\r\n"
                                                     "<ul>\r\n[index]</ul></body></html>")},
        {QStringLiteral("4-1"), QStringLiteral("<html><head>") + Meta
                                    + QStringLiteral("</head><body>[filename] [banner]\r\n[index]<hr>\r\n"
                                                     "[contents]</body></html>")},
        {QStringLiteral("4-2"), QStringLiteral("<h2>[groupname]</h2><ul>\r\n[index]</ul>\r\n")},
        {QStringLiteral("4-3"), QStringLiteral("[mark]</a>[groupname] [filename] [banner]<h3>[item1]</h3>"
                                               "<p>[item2]</p>\r\n[item3]\r\n")},
        {QStringLiteral("4-4"), QStringLiteral("<div>[groupname] [filename] [banner]\r\n[contents]</div>\r\n")},
        {QStringLiteral("5-1"), QStringLiteral("<html><head>") + Meta
                                    + QStringLiteral("</head><body>[index]<hr>\r\n[contents]</body></html>")},
        {QStringLiteral("5-2"), QStringLiteral("<h1>[groupname]</h1><ul>\r\n[index]</ul>\r\n")},
        {QStringLiteral("5-3"), QStringLiteral("[mark]</a>[groupname] [filename] [banner]<h3>[item1]</h3>"
                                               "<p>[item2]</p>\r\n[item3]\r\n")},
        {QStringLiteral("5-4"), QStringLiteral("<html><head>") + Meta
                                    + QStringLiteral("</head><body>[filename] [banner]\r\n[index]</body></html>")},
        {QStringLiteral("5-5"), QStringLiteral("<h2>[groupname]</h2>\r\n<ul>\r\n[index]</ul>\r\n")},
    };
}

QList<CardTexts> goldenCards()
{
    return {
        {QStringLiteral("2001/05/03：仕事＠定例会議"), QStringLiteral("毎週<月>"),
         QStringLiteral("出席：田中\r\n議題 ① & 髙橋")},
        {QStringLiteral("メモ"), QString(), QStringLiteral("絵文字 \U0001F600 も")},
        {QStringLiteral("仕事＠見積 #1 <b>&"), QStringLiteral("Q-1"), QStringLiteral("金額\t1,000")},
        {QStringLiteral("仕事＠見積 #1 <b>&"), QString(), QStringLiteral("二枚目")},
        {QStringLiteral("旅行\\京都＠紅葉"), QStringLiteral("11/22"), QStringLiteral("東福寺")},
    };
}

QString classicTemplate()
{
    static const QString path =
        writeTemplate(freshFolder(QStringLiteral("classic")) + QStringLiteral("/HinaClassic.qlw"), classicSections());
    return path;
}

struct GoldenCase {
    const char *name;
    HtmlMode mode;
    bool renban;
};

const GoldenCase GoldenCases[] = {
    {"mode0", HtmlMode::Single, true},    {"mode1-names", HtmlMode::Cards, false},
    {"mode1", HtmlMode::Cards, true},     {"mode2-names", HtmlMode::Simple, false},
    {"mode3", HtmlMode::CardsHelp, true}, {"mode4", HtmlMode::SimpleHelp, true},
};

HtmlRunResult run(const CardList &list, HtmlMode mode, const QString &target, HtmlOptions options, FakeDialogs &dialogs,
                  const QString &tmpl = classicTemplate(), const PageSink::Progress &p = {})
{
    HtmlJob job;
    job.mode = mode;
    job.templatePath = tmpl;
    job.target = target;
    job.documentPath = QStringLiteral("/data/メモ帳.qlw");
    job.options = options;
    return RunHtmlOutput(list, job, dialogs, p);
}

QString goldenFolder(const char *name)
{
    return QStringLiteral(QLT_TEST_DATA "/html/golden/") + QString::fromLatin1(name);
}

} // namespace

// Every file of every mode, byte for byte. QLT_UPDATE_GOLDEN=1 rewrites the
// golden trees (look at the diff before committing it).
TEST(HtmlGolden, EveryModeGivesTheGoldenTree)
{
    const bool update = qEnvironmentVariableIntValue("QLT_UPDATE_GOLDEN") == 1;
    for (const GoldenCase &c : GoldenCases) {
        auto list = listOf(goldenCards());
        HtmlOptions options;
        options.renban = c.renban;
        options.cutDateInfo = false;
        const QString out = freshFolder(QString::fromLatin1(c.name));
        const QString target = c.mode == HtmlMode::Single ? out + QStringLiteral("/single.html") : out;
        FakeDialogs dialogs;
        const HtmlRunResult r = run(*list, c.mode, target, options, dialogs);
        EXPECT_TRUE(r.complete()) << c.name;
        EXPECT_TRUE(dialogs.records.isEmpty()) << c.name;
        EXPECT_EQ(r.written, r.total) << c.name;
        const QMap<QString, QByteArray> tree = treeOf(out);
        const QString golden = goldenFolder(c.name);
        if (update) {
            QDir(golden).removeRecursively();
            for (auto it = tree.cbegin(); it != tree.cend(); ++it) {
                QDir().mkpath(QFileInfo(golden + QLatin1Char('/') + it.key()).path());
                ASSERT_TRUE(Sandbox::writeBytes(golden + QLatin1Char('/') + it.key(), it.value()));
            }
            continue;
        }
        const QMap<QString, QByteArray> expected = treeOf(golden);
        EXPECT_EQ(tree.keys(), expected.keys()) << c.name;
        for (auto it = expected.cbegin(); it != expected.cend(); ++it)
            EXPECT_EQ(tree.value(it.key()), it.value()) << c.name << " " << it.key().toStdString();
    }
}

TEST(HtmlPages, NumberedTreeOfTheExample)
{
    auto list = listOf({{QStringLiteral("A＠x")}, {QStringLiteral("A＠y")}, {QStringLiteral("B＠z")}});
    const QString out = freshFolder(QStringLiteral("example"));
    FakeDialogs dialogs;
    run(*list, HtmlMode::Cards, out, HtmlOptions{}, dialogs);
    EXPECT_EQ(treeOf(out).keys(),
              (QStringList{"index.html", "qlt000000/index.html", "qlt000000/qlt000000.html", "qlt000000/qlt000001.html",
                           "qlt000001/index.html", "qlt000001/qlt000000.html", "qlt_style.css"}));
}

TEST(HtmlPages, UnchangedPagesAreLeftAloneWithTheirTimes)
{
    auto list = listOf(goldenCards());
    const QString out = freshFolder(QStringLiteral("again"));
    FakeDialogs dialogs;
    const HtmlRunResult first = run(*list, HtmlMode::Cards, out, HtmlOptions{}, dialogs);
    const QString card = out + QStringLiteral("/qlt000000/qlt000002.html"); // the fourth card
    const QString other = out + QStringLiteral("/qlt000000/qlt000001.html");
    const QDateTime old = QDateTime::fromSecsSinceEpoch(1000000000);
    for (const QString &f : {card, other, out + QStringLiteral("/index.html")}) {
        QFile file(f);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(old, QFileDevice::FileModificationTime));
    }
    const HtmlRunResult second = run(*list, HtmlMode::Cards, out, HtmlOptions{}, dialogs);
    EXPECT_EQ(second.written, 0);
    EXPECT_EQ(second.unchanged, first.written);
    EXPECT_EQ(QFileInfo(card).lastModified(), old);

    list->store().setContent(3, QStringLiteral("三枚目"));
    const HtmlRunResult third = run(*list, HtmlMode::Cards, out, HtmlOptions{}, dialogs);
    EXPECT_EQ(third.written, 1);
    EXPECT_NE(QFileInfo(card).lastModified(), old);
    EXPECT_EQ(QFileInfo(other).lastModified(), old);
    EXPECT_EQ(QFileInfo(out + QStringLiteral("/index.html")).lastModified(), old);

    // The simple modes write every page on every run.
    const HtmlRunResult simple1 = run(*list, HtmlMode::Simple, out, HtmlOptions{}, dialogs);
    const HtmlRunResult simple2 = run(*list, HtmlMode::Simple, out, HtmlOptions{}, dialogs);
    EXPECT_EQ(simple2.written, simple1.written);
    EXPECT_EQ(simple2.unchanged, 1); // the style sheet
}

// Records of output folders that are gone are removed when another record
// is written; those of folders still there stay.
TEST(HtmlPages, RecordsOfRemovedOutputFoldersAreRemoved)
{
    auto list = listOf(goldenCards());
    const QString records = freshFolder(QStringLiteral("records-pruned"));
    HtmlJob job;
    job.mode = HtmlMode::Cards;
    job.templatePath = classicTemplate();
    job.documentPath = QStringLiteral("/data/メモ帳.qlw");
    job.recordFolder = records;
    FakeDialogs dialogs;
    const QString kept = freshFolder(QStringLiteral("kept"));
    const QString gone = freshFolder(QStringLiteral("gone"));
    for (const QString &target : {kept, gone}) {
        job.target = target;
        ASSERT_TRUE(RunHtmlOutput(*list, job, dialogs).complete());
    }
    ASSERT_EQ(QDir(records).entryList(QDir::Files).size(), 2);
    ASSERT_TRUE(QDir(gone).removeRecursively());
    job.target = freshFolder(QStringLiteral("third"));
    ASSERT_TRUE(RunHtmlOutput(*list, job, dialogs).complete());
    EXPECT_EQ(QDir(records).entryList(QDir::Files).size(), 2);
    // The kept folder's record still vouches for its pages.
    job.target = kept;
    EXPECT_EQ(RunHtmlOutput(*list, job, dialogs).written, 0);
}

// A rerun trusts the record of the last run only for files as that run
// left them: a page changed by hand (same size, its old time put back),
// replaced or removed is written again; a damaged record is no record.
TEST(HtmlPages, TheRecordOfTheLastRunVouchesOnlyForUntouchedFiles)
{
    auto list = listOf(goldenCards());
    const QString out = freshFolder(QStringLiteral("record"));
    const QString records = freshFolder(QStringLiteral("records"));
    HtmlJob job;
    job.mode = HtmlMode::Cards;
    job.templatePath = classicTemplate();
    job.target = out;
    job.documentPath = QStringLiteral("/data/メモ帳.qlw");
    job.recordFolder = records;
    FakeDialogs dialogs;
    const HtmlRunResult first = RunHtmlOutput(*list, job, dialogs);
    ASSERT_TRUE(first.complete());
    EXPECT_EQ(QDir(records).entryList(QDir::Files).size(), 1);
    EXPECT_FALSE(treeOf(out).keys().join(u' ').contains(QLatin1String(".pages")));
    const QMap<QString, QByteArray> tree = treeOf(out);
    EXPECT_EQ(RunHtmlOutput(*list, job, dialogs).unchanged, first.written);

    QThread::msleep(30); // past the clock tick of the record
    const QString edited = out + QStringLiteral("/qlt000000/qlt000001.html");
    const QString removed = out + QStringLiteral("/qlt000001/qlt000000.html");
    const QString replaced = out + QStringLiteral("/index.html");
    struct stat before {
    };
    ASSERT_EQ(::stat(QFile::encodeName(edited).constData(), &before), 0);
    QByteArray bytes = tree.value(QStringLiteral("qlt000000/qlt000001.html"));
    bytes[bytes.size() - 3] = 'X';
    {
        QFile f(edited);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }
    const struct timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(edited).constData(), times, 0), 0);
    ASSERT_TRUE(QFile::remove(removed));
    ASSERT_TRUE(QFile::remove(replaced));
    ASSERT_TRUE(Sandbox::writeBytes(replaced, tree.value(QStringLiteral("index.html")))); // the same bytes anew

    const HtmlRunResult again = RunHtmlOutput(*list, job, dialogs);
    EXPECT_EQ(again.written, 2);
    EXPECT_EQ(again.unchanged, first.written - 2);
    EXPECT_EQ(treeOf(out), tree);

    for (const QString &name : QDir(records).entryList(QDir::Files))
        ASSERT_TRUE(Sandbox::writeBytes(records + u'/' + name, "QLTWIN pages 1\nnonsense\n1 2 3\n"));
    ASSERT_TRUE(QFile::remove(removed));
    const HtmlRunResult damaged = RunHtmlOutput(*list, job, dialogs);
    EXPECT_EQ(damaged.written, 1);
    EXPECT_EQ(treeOf(out), tree);
}

TEST(HtmlPages, AMissingSectionGivesAnEmptyPage)
{
    const QString tmpl = writeTemplate(freshFolder(QStringLiteral("t")) + QStringLiteral("/Hina.qlw"),
                                       {{QStringLiteral("4-3"), QStringLiteral("<p>[item1]</p>")},
                                        {QStringLiteral("4-1"), QStringLiteral("[contents]")}});
    auto list = listOf({{QStringLiteral("A＠x")}, {QStringLiteral("B＠y")}});
    const QString out = freshFolder(QStringLiteral("empty"));
    FakeDialogs dialogs;
    const HtmlRunResult r = run(*list, HtmlMode::Cards, out, HtmlOptions{}, dialogs, tmpl);
    EXPECT_EQ(Sandbox::readBytes(out + QStringLiteral("/index.html")), QByteArray("\r\n"));
    EXPECT_FALSE(QFileInfo::exists(out + QStringLiteral("/qlt_style.css")));
    EXPECT_EQ(r.total, r.written);
    // Without "4-4" a group's contents are its bare card blocks.
    run(*list, HtmlMode::Single, out + QStringLiteral("/s.html"), HtmlOptions{}, dialogs, tmpl);
    EXPECT_EQ(Sandbox::readBytes(out + QStringLiteral("/s.html")), QByteArray("<p>x</p><p>y</p>\r\n"));
}

// "[contents]" may stand more than once in the page and in a group block:
// each stands for the whole text, also when the page is written in
// Windows-31J with characters it cannot hold.
TEST(HtmlPages, SinglePageRepeatsEveryContentsMark)
{
    const QString tmpl = writeTemplate(freshFolder(QStringLiteral("t2")) + QStringLiteral("/Hina.qlw"),
                                       {{QStringLiteral("4-3"), QStringLiteral("<p>[item1]</p>")},
                                        {QStringLiteral("4-4"), QStringLiteral("{[groupname]:[contents]|[contents]}")},
                                        {QStringLiteral("4-1"), QStringLiteral("A[contents]B[contents]C")}});
    auto list = listOf({{QStringLiteral("G＠x😀")}, {QStringLiteral("H＠y")}});
    const QString out = freshFolder(QStringLiteral("twice"));
    FakeDialogs dialogs;
    run(*list, HtmlMode::Single, out + QStringLiteral("/s.html"), HtmlOptions{}, dialogs, tmpl);
    const QByteArray all = "{G:<p>x&#x1F600;</p>|<p>x&#x1F600;</p>}{H:<p>y</p>|<p>y</p>}";
    EXPECT_EQ(Sandbox::readBytes(out + QStringLiteral("/s.html")), "A" + all + "B" + all + "C\r\n");
}

// Placeholders are filled in turn: one that a value spells, or that a value
// completes next to template text, is filled too, on every kind of page.
TEST(HtmlPages, PlaceholdersAreFilledInTurn)
{
    const QString block = QStringLiteral("<[item1]|[item2]|[[item1]]|[item3]>");
    const QString tmpl = writeTemplate(freshFolder(QStringLiteral("t3")) + QStringLiteral("/Hina.qlw"),
                                       {{QStringLiteral("4-3"), block},
                                        {QStringLiteral("4-1"), QStringLiteral("[contents]")},
                                        {QStringLiteral("1-1"), block + QStringLiteral("[mark]")}});
    auto list = listOf({{QStringLiteral("item2"), QStringLiteral("R[item3]"), QStringLiteral("C")},
                        {QStringLiteral("plain"), QStringLiteral("r"), QStringLiteral("c")}});
    const QString out = freshFolder(QStringLiteral("turn"));
    FakeDialogs dialogs;
    run(*list, HtmlMode::Single, out + QStringLiteral("/s.html"), HtmlOptions{}, dialogs, tmpl);
    EXPECT_EQ(Sandbox::readBytes(out + QStringLiteral("/s.html")),
              QByteArray("<item2|RC|RC|C><plain|r|[plain]|c>\r\n"));
    HtmlOptions numbered;
    numbered.renban = true;
    run(*list, HtmlMode::Cards, out + QStringLiteral("/tree"), numbered, dialogs, tmpl);
    EXPECT_EQ(Sandbox::readBytes(out + QStringLiteral("/tree/qlt000000/qlt000000.html")),
              QByteArray("<item2|RC|RC|C>[mark]\r\n"));
}

TEST(HtmlPages, HelpContentsPointAtThePagesThatHoldTheCards)
{
    auto list = listOf({{QStringLiteral("メモ")}, {QStringLiteral("A＠x")}, {QStringLiteral("A＠y")}});
    const QString out = freshFolder(QStringLiteral("help"));
    FakeDialogs dialogs;
    run(*list, HtmlMode::SimpleHelp, out, HtmlOptions{}, dialogs);
    const QString hhc = text(Sandbox::readBytes(out + QStringLiteral("/HTMLHELP.hhc")));
    EXPECT_TRUE(hhc.contains(QStringLiteral("value=\"qlt000001\\index.html#Card000001-000001\"")));
    EXPECT_TRUE(
        hhc.contains(QStringLiteral("\t\t<param name=\"Local\" value=\"qlt000000\\index.html#Card000000-000000\">")));
    run(*list, HtmlMode::CardsHelp, out, HtmlOptions{}, dialogs);
    const QString cards = text(Sandbox::readBytes(out + QStringLiteral("/HTMLHELP.hhc")));
    EXPECT_TRUE(cards.contains(QStringLiteral("\t\t<param name=\"Local\" value=\"qlt000000\\qlt000000.html\">")));
    // "総合" has no entry of its own: its cards follow 目次 at the top level.
    EXPECT_TRUE(cards.contains(QStringLiteral("<param name=\"Local\" value=\"index.html\">\r\n</OBJECT>\r\n\t\t<LI>")));
    const QString hhp = text(Sandbox::readBytes(out + QStringLiteral("/HTMLHELP.hhp")));
    EXPECT_TRUE(hhp.contains(QStringLiteral("Contents file=HTMLHELP.hhc\r\n")));
    EXPECT_TRUE(hhp.contains(QStringLiteral("Language=0x411")));
    EXPECT_TRUE(hhp.contains(
        QStringLiteral("[FILES]\r\nindex.html\r\nqlt000000\\index.html\r\nqlt000000\\qlt000000.html\r\n")));
}

TEST(HtmlPages, EncodingFollowsTheTemplateAndNothingBecomesAQuestionMark)
{
    const QString tmpl =
        writeTemplate(freshFolder(QStringLiteral("t")) + QStringLiteral("/Hina.qlw"),
                      {{QStringLiteral("0-1"), QStringLiteral("@CHARSET \"UTF-8\"; a::after { content: \"①\" }")},
                       {QStringLiteral("1-1"), QStringLiteral("<meta charset=Utf-8>[item1] [item3]")},
                       {QStringLiteral("3-1"), QStringLiteral("<meta charset=\"shift_jis\">[index]")}});
    auto list = listOf({{QStringLiteral("A＠髙\U0001F600"), QString(), QStringLiteral("①\U0001F600")}});
    const QString out = freshFolder(QStringLiteral("enc"));
    FakeDialogs dialogs;
    HtmlOptions options;
    run(*list, HtmlMode::Cards, out, options, dialogs, tmpl);
    EXPECT_EQ(Sandbox::readBytes(out + QStringLiteral("/qlt000000/qlt000000.html")),
              QStringLiteral("<meta charset=Utf-8>髙\U0001F600 ①\U0001F600\r\n").toUtf8());
    EXPECT_EQ(text(Sandbox::readBytes(out + QStringLiteral("/qlt000000/index.html"))),
              QStringLiteral("<meta charset=\"shift_jis\"><Li class=\"mokuji0\"><a href=\"qlt000000.html\">"
                             "髙&#x1F600;</a>\r\n\r\n"));
    EXPECT_EQ(Sandbox::readBytes(out + QStringLiteral("/qlt_style.css")),
              QStringLiteral("@CHARSET \"UTF-8\"; a::after { content: \"①\" }\r\n").toUtf8());
    // A style sheet without a charset is Windows-31J, its missing characters CSS escapes.
    HtmlTemplate inMemory;
    inMemory.setPieces({QStringLiteral("0-2"), QString(), QStringLiteral("a::after { content: \"\U0001F600\" }")});
    PageSink sink;
    EXPECT_TRUE(WriteStyleSheet(out, QStringLiteral("0-2"), PageContext{inMemory, QString(), true, &dialogs}, sink));
    EXPECT_EQ(Sandbox::readBytes(out + QStringLiteral("/qlt_style.css")),
              QByteArray("a::after { content: \"\\1F600 \" }\r\n"));
}

TEST(HtmlPages, LinksUseTheNamesOnDiskAndPagesFindTheRoot)
{
    const QString tmpl =
        writeTemplate(freshFolder(QStringLiteral("t")) + QStringLiteral("/Hina.qlw"),
                      {{QStringLiteral("1-1"), QStringLiteral("<link href=\"[root]qlt_style.css\">[item1]|[item3]")},
                       {QStringLiteral("2-1"), QStringLiteral("[index]")},
                       {QStringLiteral("2-2"), QStringLiteral("[groupname]\r\n[index]")}});
    auto list = listOf({{QStringLiteral("A\\B #1＠50% off?"), QString(), QStringLiteral("[root]")},
                        {QStringLiteral("A\\B #1＠50% off?")}});
    const QString out = freshFolder(QStringLiteral("links"));
    FakeDialogs dialogs;
    HtmlOptions options;
    options.renban = false;
    run(*list, HtmlMode::Cards, out, options, dialogs, tmpl);
    EXPECT_EQ(text(Sandbox::readBytes(out + QStringLiteral("/index.html"))),
              QStringLiteral("<a href=\"A/B%20%231/index.html\">A\\B #1</a>\r\n"
                             "<Li class=\"mokuji1\"><a href=\"A/B%20%231/50%25%20off？.html\">50% off?</a>\r\n"
                             "<Li class=\"mokuji1\"><a href=\"A/B%20%231/50%25%20off？_2.html\">50% off?</a>\r\n\r\n"));
    EXPECT_EQ(text(Sandbox::readBytes(out + QStringLiteral("/A/B #1/50% off？.html"))),
              QStringLiteral("<link href=\"../../qlt_style.css\">50% off?|[root]\r\n"));
    EXPECT_TRUE(QFileInfo::exists(out + QStringLiteral("/A/B #1/50% off？_2.html")));
}

TEST(HtmlPages, NamesAreEscapedWithEscapeTag)
{
    auto list = listOf({{QStringLiteral("<G>＠a&b \"c\"")}});
    OutputGroups groups;
    HtmlOptions options;
    ASSERT_TRUE(CollectOutputGroups(*list, options, groups));
    EXPECT_EQ(BuildIndexItems(groups[0], 2, true),
              QStringLiteral("<Li class=\"mokuji2\"><a href=#Card000000-000000>a&amp;b &quot;c&quot;</a>\r\n"));
    EXPECT_EQ(BuildIndexItems(groups[0], 3, false),
              QStringLiteral("<Li class=\"mokuji3\"><a href=#Card000000-000000>a&b \"c\"</a>\r\n"));
    options.renban = false;
    ASSERT_TRUE(CollectOutputGroups(*list, options, groups));
    EXPECT_EQ(BuildIndexItems(groups[0], 0, true),
              QStringLiteral("<Li class=\"mokuji0\"><a href=\"a%26b%20%22c%22.html\">a&amp;b &quot;c&quot;</a>\r\n"));
    EXPECT_EQ(groups[0].FolderName, QStringLiteral("＜G＞"));
}

TEST(HtmlRun, NothingToOutputSaysSoAndWritesNothing)
{
    auto list = listOf({{QStringLiteral("A＠x")}});
    HtmlOptions options;
    options.onlySelected = true;
    const QString out = freshFolder(QStringLiteral("nothing"));
    FakeDialogs dialogs;
    const HtmlRunResult r = run(*list, HtmlMode::Cards, out, options, dialogs);
    EXPECT_EQ(r.status, HtmlRunResult::Status::NothingCollected);
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_EQ(dialogs.messages()[0].text, HtmlTexts::NothingCollected);
    EXPECT_EQ(dialogs.messages()[0].icon, MsgIcon::Warning);
    EXPECT_TRUE(treeOf(out).isEmpty());
}

TEST(HtmlRun, AFailingWriterSaysSoAndTheNextWritersRun)
{
    auto list = listOf({{QStringLiteral("A＠x")}, {QStringLiteral("A＠y")}, {QStringLiteral("B＠z")}});
    const QString out = freshFolder(QStringLiteral("fail"));
    // A folder where the first card page should go.
    QDir().mkpath(out + QStringLiteral("/qlt000000/qlt000000.html"));
    FakeDialogs dialogs;
    const HtmlRunResult r = run(*list, HtmlMode::Cards, out, HtmlOptions{}, dialogs);
    ASSERT_EQ(r.failures.size(), 1);
    EXPECT_EQ(r.failures[0].path, out + QStringLiteral("/qlt000000/qlt000000.html"));
    EXPECT_EQ(dialogs.messageTexts(), QStringList{QStringLiteral("カード(html)生成中にエラーが発生しました。\r\n\r\n"
                                                                 "ディスクの容量・プロテクトなどを確認してください")});
    EXPECT_FALSE(QFileInfo::exists(out + QStringLiteral("/qlt000000/qlt000001.html"))); // the writer stopped
    EXPECT_TRUE(QFileInfo::exists(out + QStringLiteral("/qlt_style.css")));             // the next one ran

    // Mode 0 does not make the folder of its file.
    FakeDialogs single;
    const HtmlRunResult s =
        run(*list, HtmlMode::Single, out + QStringLiteral("/no/such/page.html"), HtmlOptions{}, single);
    EXPECT_EQ(s.failures.size(), 2);
    EXPECT_EQ(
        single.messageTexts().value(0),
        QStringLiteral("HTML生成中にエラーが発生しました。\r\n\r\nディスクの容量・プロテクトなどを確認してください"));
    EXPECT_TRUE(single.messageTexts().value(1).startsWith(QStringLiteral("エラーが発生しました。\r\n\r\n")));
}

TEST(HtmlRun, ProgressCountsEveryPageAndCancelStopsBetweenPages)
{
    auto list = listOf(goldenCards());
    const QString out = freshFolder(QStringLiteral("cancel"));
    FakeDialogs dialogs;
    QList<std::pair<qsizetype, qsizetype>> seen;
    const HtmlRunResult all = run(*list, HtmlMode::CardsHelp, out, HtmlOptions{}, dialogs, classicTemplate(),
                                  [&](qsizetype done, qsizetype total) {
                                      seen.append({done, total});
                                      return true;
                                  });
    ASSERT_EQ(seen.size(), all.total);
    EXPECT_EQ(seen.last(), std::make_pair(all.total, all.total));
    EXPECT_EQ(all.total, 1 + 3 + 5 + 2 + 1);

    const QString out2 = freshFolder(QStringLiteral("cancel2"));
    const HtmlRunResult cut = run(*list, HtmlMode::Cards, out2, HtmlOptions{}, dialogs, classicTemplate(),
                                  [](qsizetype done, qsizetype) { return done < 3; });
    EXPECT_EQ(cut.status, HtmlRunResult::Status::Cancelled);
    EXPECT_EQ(cut.written, 3);
    const QMap<QString, QByteArray> tree = treeOf(out2);
    EXPECT_EQ(tree.size(), 3); // whole pages only, no temporary file left
    for (const QByteArray &page : tree)
        EXPECT_TRUE(page.endsWith("</html>\r\n"));
}

// A long list keeps the progress alive while its cards are collected, before
// any page is counted, and can be cancelled there: nothing is written.
TEST(HtmlRun, CollectingALongListReportsAndCanBeCancelled)
{
    QList<CardTexts> cards;
    for (int i = 0; i < 5000; ++i)
        cards.append({QStringLiteral("G%1＠c%2").arg(i % 7).arg(i)});
    auto list = listOf(cards);
    FakeDialogs dialogs;
    QList<std::pair<qsizetype, qsizetype>> seen;
    const HtmlRunResult all =
        run(*list, HtmlMode::Single, freshFolder(QStringLiteral("long")) + QStringLiteral("/s.html"), HtmlOptions{},
            dialogs, classicTemplate(), [&](qsizetype done, qsizetype total) {
                seen.append({done, total});
                return true;
            });
    EXPECT_EQ(all.status, HtmlRunResult::Status::Done);
    ASSERT_EQ(seen.size(), 2 + all.total);
    EXPECT_EQ(seen.first(), std::make_pair(qsizetype(0), qsizetype(0)));
    EXPECT_EQ(seen.at(1), std::make_pair(qsizetype(0), qsizetype(0)));

    const QString out = freshFolder(QStringLiteral("long-cancel"));
    const HtmlRunResult cut = run(*list, HtmlMode::Cards, out, HtmlOptions{}, dialogs, classicTemplate(),
                                  [](qsizetype, qsizetype total) { return total > 0; });
    EXPECT_EQ(cut.status, HtmlRunResult::Status::Cancelled);
    EXPECT_EQ(cut.written, 0);
    EXPECT_TRUE(treeOf(out).isEmpty());
    EXPECT_TRUE(dialogs.messages().isEmpty());
}

TEST(HtmlRun, PagesAreReadableByEveryone)
{
    auto list = listOf({{QStringLiteral("A＠x")}});
    const QString out = freshFolder(QStringLiteral("mode"));
    FakeDialogs dialogs;
    const mode_t old = ::umask(022);
    run(*list, HtmlMode::Cards, out, HtmlOptions{}, dialogs);
    ::umask(old);
    EXPECT_TRUE(QFileInfo(out + QStringLiteral("/qlt000000/qlt000000.html")).permissions() & QFileDevice::ReadOther);
}
