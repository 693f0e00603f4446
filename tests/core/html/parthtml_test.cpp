// The partial hierarchical export: names on disk and the links to them,
// the page texts, write-if-changed, failures, and the menu command.
#include "htmltestutil.h"

#include "core/common/inimente.h"
#include "core/html/htmltext.h"
#include "core/html/parthtml.h"

#include "support/fakedialogs.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

using namespace PartHtml;

namespace {

Result exportTo(const CardList &list, const QString &root, Kind kind = Kind::All, TitleMode mode = TitleMode::Name,
                bool noHeader = false, bool noRemarks = false)
{
    Job job;
    job.root = root;
    job.kind = kind;
    job.titleMode = mode;
    job.noHeader = noHeader;
    job.noRemarks = noRemarks;
    return Export(list, job);
}

QString page(const QString &root, const QString &file)
{
    return text(Sandbox::readBytes(root + QLatin1Char('/') + file));
}

// The hrefs of a page, in order.
QStringList hrefsOf(const QString &html)
{
    QStringList hrefs;
    static const QRegularExpression href(QStringLiteral("<a href=\"([^\"]*)\""));
    for (auto it = href.globalMatch(html); it.hasNext();)
        hrefs << it.next().captured(1);
    return hrefs;
}

QList<CardTexts> goldenCards()
{
    return {
        {QStringLiteral("2001/05/03：仕事＠定例会議"), QStringLiteral("毎週<月>"),
         QStringLiteral("出席：田中\r\n議題 ① & 髙橋\r\n")},
        {QStringLiteral("メモ"), QString(), QStringLiteral("絵文字 \U0001F600 も")},
        {QStringLiteral(" 仕事 ＠見積 #1 <b>&"), QStringLiteral("Q-1"), QStringLiteral("金額\t1,000")},
        {QStringLiteral("仕事＠見積 #1 <b>&"), QString(), QStringLiteral("二枚目")},
        {QStringLiteral("旅行\\京都＠紅葉"), QStringLiteral("11/22"), QStringLiteral("東福寺")},
    };
}

} // namespace

TEST(PartHtml, CardsOfTheExampleGoWhereTheIndexesLink)
{
    auto list = listOf({{QStringLiteral("A＠x")}, {QStringLiteral("y")}, {QStringLiteral("A＠z")}});
    const QString root = freshFolder(QStringLiteral("part-example"));
    const Result r = exportTo(*list, root);
    EXPECT_TRUE(r.complete());
    EXPECT_EQ(treeOf(root).keys(),
              (QStringList{"A/index.html", "A/x.html", "A/z.html", "index.html", "qlt_style.css", "y.html"}));
    EXPECT_EQ(hrefsOf(page(root, QStringLiteral("A/index.html"))), (QStringList{"x.html", "z.html"}));
    const QString index = page(root, QStringLiteral("index.html"));
    EXPECT_EQ(hrefsOf(index), (QStringList{"y.html", "A/index.html", "A/x.html", "A/z.html"}));
    EXPECT_TRUE(index.contains(QStringLiteral("<ul class=AllMokuji>\r\n\t<ol class=Folder>\r\n\t\t<li class=Kobetsu>"
                                              "<a href=\"y.html\">y</a>\r\n\t</ol>\r\n\t<li class=\"mokuji\">"
                                              "<a href=\"A/index.html\">A</a>\r\n\t<ol class=Folder>\r\n")));
}

TEST(PartHtml, SerialAndTempNamesAreLinkedAndNeverShared)
{
    auto list = listOf({{QStringLiteral("A＠x")}, {QStringLiteral("y")}, {QStringLiteral("A＠z")}});
    const QString serial = freshFolder(QStringLiteral("part-serial"));
    ASSERT_TRUE(exportTo(*list, serial, Kind::All, TitleMode::Serial).complete());
    EXPECT_TRUE(QFileInfo::exists(serial + QStringLiteral("/A/QLTW0003.html")));
    EXPECT_EQ(hrefsOf(page(serial, QStringLiteral("index.html"))),
              (QStringList{"QLTW0002.html", "A/index.html", "A/QLTW0001.html", "A/QLTW0003.html"}));

    const QString temp = freshFolder(QStringLiteral("part-temp"));
    ASSERT_TRUE(exportTo(*list, temp, Kind::All, TitleMode::Temp).complete());
    EXPECT_EQ(hrefsOf(page(temp, QStringLiteral("A/index.html"))), (QStringList{"Temp.html", "Temp_2.html"}));
}

TEST(PartHtml, SelectedKindWritesOnlyTheSelectedPagesButIndexesListAll)
{
    auto list = listOf({{QStringLiteral("A＠x")}, {QStringLiteral("y")}, {QStringLiteral("A＠z")}});
    list->setSelected(2);
    const QString root = freshFolder(QStringLiteral("part-selected"));
    ASSERT_TRUE(exportTo(*list, root, Kind::Selected).complete());
    EXPECT_EQ(treeOf(root).keys(), (QStringList{"A/index.html", "A/z.html", "index.html", "qlt_style.css"}));
    EXPECT_EQ(hrefsOf(page(root, QStringLiteral("A/index.html"))), (QStringList{"x.html", "z.html"}));
}

TEST(PartHtml, CardPageHeadingAndRawContent)
{
    struct Case {
        const char *what;
        QString remarks;
        bool noHeader, noRemarks;
        QString expected;
    };
    const QString header = PageHeader(QStringLiteral("x"));
    const QString withRemarks = header
                                + QStringLiteral("\r\n<a name=Title><h1 class=Title>x - R</h1>\r\n"
                                                 "<p class=MainContent>\r\na<BR>\r\nb\r\n</p>\r\n</BODY>\r\n"
                                                 "</HTML>\r\n");
    const QString without = header
                            + QStringLiteral("\r\n<a name=Title><h1 class=Title>x</h1>\r\n"
                                             "<p class=MainContent>\r\na<BR>\r\nb\r\n</p>\r\n</BODY>\r\n"
                                             "</HTML>\r\n");
    const Case cases[] = {
        {"remarks", QStringLiteral("R"), false, false, withRemarks},
        {"NoWriteColumn2", QStringLiteral("R"), false, true, without},
        {"empty remarks", QString(), false, false, without},
        {"NoHTMLHeader", QStringLiteral("R"), true, false, QStringLiteral("a\r\nb\r\n")},
    };
    for (const Case &c : cases) {
        auto list = listOf({{QStringLiteral("G＠x"), c.remarks, QStringLiteral("a\r\nb\r\n")}});
        const QString root = freshFolder(QStringLiteral("part-page"));
        ASSERT_TRUE(exportTo(*list, root, Kind::All, TitleMode::Name, c.noHeader, c.noRemarks).complete());
        QString expected = c.expected;
        expected.replace(QStringLiteral("href=\"qlt_style.css\""), QStringLiteral("href=\"../qlt_style.css\""));
        EXPECT_EQ(page(root, QStringLiteral("G/x.html")), expected) << c.what;
        // Index pages keep their header and footer.
        EXPECT_TRUE(page(root, QStringLiteral("G/index.html")).startsWith(QStringLiteral("<!doctype html"))) << c.what;
    }
}

TEST(PartHtml, DatePrefixAndSpacesAroundTheGroupNameOneFolderAndTheLinksAgree)
{
    auto list = listOf({{QStringLiteral("2001/05/03：A＠x")},
                        {QStringLiteral(" A ＠y")},
                        {QStringLiteral("A＠x")},
                        {QStringLiteral("A＠X")},
                        {QStringLiteral("2001/05/03：plain")},
                        {QStringLiteral("index")},
                        {QStringLiteral("..＠..")}});
    const QString root = freshFolder(QStringLiteral("part-faults"));
    ASSERT_TRUE(exportTo(*list, root).complete());
    const QStringList files = treeOf(root).keys();
    EXPECT_EQ(files, (QStringList{"2001／05／03：plain.html", "A/X_3.html", "A/index.html", "A/x.html", "A/x_2.html",
                                  "A/y.html", "index.html", "index_2.html", "qlt_style.css", "．．/index.html",
                                  "．．/．．.html"}));
    // The page keeps the date in its title; the index links the file it is in.
    EXPECT_TRUE(page(root, QStringLiteral("A/x.html")).contains(QStringLiteral("<h1 class=Title>2001/05/03：x</h1>")));
    EXPECT_EQ(hrefsOf(page(root, QStringLiteral("A/index.html"))),
              (QStringList{"x.html", "y.html", "x_2.html", "X_3.html"}));
    for (const QString &href : hrefsOf(page(root, QStringLiteral("index.html"))))
        EXPECT_TRUE(files.contains(QUrl::fromPercentEncoding(href.toUtf8()))) << href.toStdString();
}

TEST(PartHtml, PagesAreWindows31JAsDeclaredWithReferencesForTheRest)
{
    auto list = listOf({{QStringLiteral("G＠①髙 \U0001F600"), QString(), QStringLiteral("&#x2603; \U0001F600")}});
    const QString root = freshFolder(QStringLiteral("part-encoding"));
    ASSERT_TRUE(exportTo(*list, root).complete());
    const QByteArray bytes = Sandbox::readBytes(root + QStringLiteral("/G/①髙 \U0001F600.html"));
    EXPECT_TRUE(bytes.contains("charset=SHIFT_JIS"));
    EXPECT_TRUE(bytes.contains(Win31J::encode(QStringLiteral("<TITLE>①髙 &#x1F600;</TITLE>"))));
    EXPECT_TRUE(bytes.contains("&#x2603; &#x1F600;"));
    EXPECT_EQ(Win31J::encode(text(bytes)), bytes); // nothing but Windows-31J
}

TEST(PartHtml, SecondRunWritesOnlyWhatChanged)
{
    auto list = listOf(goldenCards());
    const QString root = freshFolder(QStringLiteral("part-again"));
    const Result first = exportTo(*list, root);
    ASSERT_TRUE(first.complete());
    const Result second = exportTo(*list, root);
    EXPECT_EQ(second.written, 0);
    EXPECT_EQ(second.unchanged, first.written - 1); // the style sheet is kept, not compared
    list->store().setContent(1, QStringLiteral("変えた"));
    const Result third = exportTo(*list, root);
    EXPECT_EQ(third.written, 1);
}

TEST(PartHtml, FailureSaysWhereAndWhyAndTheRestIsWritten)
{
    auto list = listOf({{QStringLiteral("A＠x")}, {QStringLiteral("y")}});
    const QString root = freshFolder(QStringLiteral("part-fail"));
    ASSERT_TRUE(Sandbox::writeBytes(root + QStringLiteral("/A"), "a file where the folder should be"));
    const Result r = exportTo(*list, root);
    ASSERT_EQ(r.failures.size(), 1);
    EXPECT_EQ(r.failures[0].path, root + QStringLiteral("/A"));
    EXPECT_EQ(r.failures[0].error, QStringLiteral("同じ名前のファイルがあります"));
    EXPECT_TRUE(QFileInfo::exists(root + QStringLiteral("/y.html")));
    EXPECT_TRUE(QFileInfo::exists(root + QStringLiteral("/index.html")));
    EXPECT_EQ(FailureMessage(r, root),
              QStringLiteral("階層HTMLの出力中にエラーが発生しました。\r\n\r\n保存先: ") + root
                  + QStringLiteral("\r\n・") + root
                  + QStringLiteral("/A (同じ名前のファイルがあります)\r\n\r\n書き込んだファイル: 3 件、"
                                   "変更がなく書き込まなかったファイル: 0 件、書き込めなかったもの: 1 件"));

    // A root that cannot be made writes nothing and says so.
    const Result none = exportTo(*list, root + QStringLiteral("/A/under a file"));
    EXPECT_EQ(none.written, 0);
    EXPECT_FALSE(none.complete());
}

TEST(PartHtml, HelpKindKeepsEveryPageInTheRootAndTheContentsPointsAtThem)
{
    auto list = listOf({{QStringLiteral("A＠x")}, {QStringLiteral("y")}, {QStringLiteral("B＠x")}});
    const QString root = freshFolder(QStringLiteral("part-help"));
    ASSERT_TRUE(exportTo(*list, root, Kind::Help, TitleMode::Serial).complete());
    EXPECT_EQ(treeOf(root).keys(), (QStringList{"A/index.html", "B/index.html", "index.hhc", "index.html",
                                                "qlt_style.css", "x.html", "x_2.html", "y.html"}));
    EXPECT_EQ(hrefsOf(page(root, QStringLiteral("B/index.html"))), QStringList{"../x_2.html"});
    const QString hhc = page(root, QStringLiteral("index.hhc"));
    static const QRegularExpression local(QStringLiteral("<param name=\"Local\" value=\"([^\"]*)\">"));
    QStringList locals;
    for (auto it = local.globalMatch(hhc); it.hasNext();)
        locals << it.next().captured(1);
    EXPECT_EQ(locals, (QStringList{"index.html", "y.html", "A\\index.html", "x.html", "B\\index.html", "x_2.html"}));
}

// Every file of each kind, byte for byte. QLT_UPDATE_GOLDEN=1 rewrites the
// golden trees (look at the diff before committing it).
TEST(PartHtml, GoldenTrees)
{
    struct Case {
        const char *name;
        Kind kind;
        TitleMode mode;
    };
    const Case cases[] = {{"part-all", Kind::All, TitleMode::Name},
                          {"part-serial", Kind::All, TitleMode::Serial},
                          {"part-help", Kind::Help, TitleMode::Name}};
    const bool update = qEnvironmentVariableIntValue("QLT_UPDATE_GOLDEN") == 1;
    for (const Case &c : cases) {
        auto list = listOf(goldenCards());
        const QString out = freshFolder(QString::fromLatin1(c.name));
        ASSERT_TRUE(exportTo(*list, out, c.kind, c.mode).complete());
        const QMap<QString, QByteArray> tree = treeOf(out);
        const QString golden = QStringLiteral(QLT_TEST_DATA "/html/golden/") + QString::fromLatin1(c.name);
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

// ---------------------------------------------------------------- the menu command

namespace {

struct CommandRun {
    FakeDialogs dialogs;
    iniMente settings;
    int leftExtraction = 0;
    void run(CardList &list, Kind kind, const QString &documentPath = QStringLiteral("/data/メモ.qlw"))
    {
        RunCommand(kind, CommandContext{list, settings, dialogs, documentPath, [this] { ++leftExtraction; }});
    }
};

} // namespace

TEST(PartHtmlCommand, AsksForTheFolderThenConfirmsThenExports)
{
    auto list = listOf({{QStringLiteral("A＠x")}, {QStringLiteral("y")}});
    const QString root = freshFolder(QStringLiteral("part-command"));
    CommandRun c;
    c.settings.SetiniValue(QStringLiteral("PartHTMLTitleMode"), 1);
    c.dialogs.folders.enqueue(root);
    c.dialogs.answers.enqueue(MsgAnswer::Yes);
    c.run(*list, Kind::All);
    ASSERT_EQ(c.dialogs.records.size(), 2);
    EXPECT_EQ(c.dialogs.records[0].kind, QStringLiteral("chooseFolder"));
    EXPECT_EQ(c.dialogs.records[0].prompt, QStringLiteral("階層HTMLを保存するフォルダを指定してください。"));
    EXPECT_EQ(c.dialogs.records[0].defaultText, QStringLiteral("/data"));
    const MessageRequest &question = c.dialogs.messages().at(0);
    EXPECT_EQ(question.text,
              QStringLiteral("同名のファイルが存在すると、無条件で上書きされます。\r\nよろしいですか？"));
    EXPECT_EQ(question.icon, MsgIcon::Information);
    EXPECT_EQ(question.buttons, MsgButtons::YesNo);
    EXPECT_EQ(c.leftExtraction, 1);
    EXPECT_TRUE(QFileInfo::exists(root + QStringLiteral("/A/QLTW0001.html")));
}

TEST(PartHtmlCommand, HelpKindNamesByCardAndWritesTheContents)
{
    auto list = listOf({{QStringLiteral("A＠x")}});
    const QString root = freshFolder(QStringLiteral("part-command-help"));
    CommandRun c;
    c.settings.SetiniValue(QStringLiteral("PartHTMLTitleMode"), 1);
    c.dialogs.folders.enqueue(root);
    c.dialogs.answers.enqueue(MsgAnswer::Yes);
    c.run(*list, Kind::Help);
    EXPECT_EQ(c.leftExtraction, 0);
    EXPECT_TRUE(QFileInfo::exists(root + QStringLiteral("/x.html")));
    EXPECT_TRUE(QFileInfo::exists(root + QStringLiteral("/index.hhc")));
}

TEST(PartHtmlCommand, NothingHappensOnAnEmptyListACancelOrANo)
{
    const QString root = freshFolder(QStringLiteral("part-command-no"));
    auto empty = listOf({});
    CommandRun c;
    c.run(*empty, Kind::All);
    EXPECT_TRUE(c.dialogs.records.isEmpty());
    EXPECT_EQ(c.leftExtraction, 0);

    auto list = listOf({{QStringLiteral("x")}});
    c.dialogs.folders.enqueue(std::nullopt);
    c.run(*list, Kind::Selected);
    EXPECT_EQ(c.dialogs.records.size(), 1);

    c.dialogs.folders.enqueue(root);
    c.dialogs.answers.enqueue(MsgAnswer::No);
    c.run(*list, Kind::Selected);
    EXPECT_TRUE(treeOf(root).isEmpty());
}

TEST(PartHtmlCommand, AFailedRunShowsTheErrorWithWhereAndWhy)
{
    auto list = listOf({{QStringLiteral("A＠x")}});
    const QString root = freshFolder(QStringLiteral("part-command-fail"));
    ASSERT_TRUE(Sandbox::writeBytes(root + QStringLiteral("/A"), "x"));
    CommandRun c;
    c.dialogs.folders.enqueue(root);
    c.dialogs.answers.enqueue(MsgAnswer::Yes);
    c.run(*list, Kind::All);
    ASSERT_EQ(c.dialogs.messages().size(), 2);
    EXPECT_EQ(c.dialogs.messages().at(1).icon, MsgIcon::Error);
    EXPECT_TRUE(c.dialogs.messages().at(1).text.startsWith(QStringLiteral("階層HTMLの出力中にエラーが発生しました。")));
    EXPECT_TRUE(c.dialogs.messages().at(1).text.contains(root + QStringLiteral("/A (同じ名前のファイルがあります)")));
}
