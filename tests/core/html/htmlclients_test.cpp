// The output as real clients read it: linkchecker follows every link and
// anchor, chmcmd compiles the help project, tidy parses every page. Each
// test says why when its tool is missing (the Makefile installs them).
#include "htmltestutil.h"

#include "core/cards/cardformats.h"
#include "core/html/htmlrun.h"
#include "core/html/htmltemplate.h"
#include "core/html/htmltext.h"

#include "support/fakedialogs.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

namespace {

const QString Bin = QStringLiteral(QLT_BIN_DIR);

QStringList deliveredTemplates()
{
    return {Bin + QStringLiteral("/HinaDefault.qlw"),
            Bin + QStringLiteral("/雛形/HinaText(ごく普通のテキスト・Preタグ).qlw"),
            Bin + QStringLiteral("/雛形/HinaTile(タイル表示・付箋風).qlw")};
}

// A template of the classic kind: Shift-JIS pages, the style sheet one level up.
QString classicTemplate(const QString &folder)
{
    const QString meta =
        QStringLiteral("<!DOCTYPE html><html lang=ja><head><meta charset=\"Shift_JIS\"><title>t</title>"
                       "<link rel=stylesheet href=\"[root]qlt_style.css\"></head><body>\r\n");
    const QString end = QStringLiteral("</body></html>");
    return writeTemplate(folder + QStringLiteral("/HinaClassic.qlw"),
                         {{QStringLiteral("0-1"), QStringLiteral("body { color: #000 }")},
                          {QStringLiteral("1-1"), meta + QStringLiteral("<h1>[item1]</h1>[item3]") + end},
                          {QStringLiteral("2-1"), meta + QStringLiteral("[index]") + end},
                          {QStringLiteral("2-2"), QStringLiteral("<h2>[groupname]</h2><ul>[index]</ul>")},
                          {QStringLiteral("3-1"), meta + QStringLiteral("<ul>[index]</ul>") + end},
                          {QStringLiteral("4-1"), meta + QStringLiteral("[index][contents]") + end},
                          {QStringLiteral("4-2"), QStringLiteral("<ul>[index]</ul>")},
                          {QStringLiteral("4-3"), QStringLiteral("[mark]</a>[item1] [item3]")},
                          {QStringLiteral("5-1"), meta + QStringLiteral("[index][contents]") + end},
                          {QStringLiteral("5-2"), QStringLiteral("<ul>[index]</ul>")},
                          {QStringLiteral("5-3"), QStringLiteral("[mark]</a>[item1] [item3]")},
                          {QStringLiteral("5-4"), meta + QStringLiteral("[index]") + end},
                          {QStringLiteral("5-5"), QStringLiteral("<h2>[groupname]</h2><ul>[index]</ul>")}});
}

// Cards whose names try every way of breaking a link.
QList<CardTexts> hostileCards()
{
    const QString longName = QStringLiteral("長い名前").repeated(50);
    return {
        {QStringLiteral("<b>&\"#%?＠<i>&\"#%? x"), QStringLiteral("<>&"), QStringLiteral("a < b & c")},
        {QStringLiteral("sp ace＠with space"), QString(), QStringLiteral("x")},
        {QStringLiteral("A\\B\\C＠nested\\name/slash"), QString(), QStringLiteral("y")},
        {QStringLiteral("絵文字\U0001F600＠\U0001F600 smile"), QString(), QStringLiteral("\U0001F600")},
        {longName + QStringLiteral("＠") + longName, QString(), QStringLiteral("long")},
        {longName + QStringLiteral("＠") + longName, QString(), QStringLiteral("long again")},
        {QStringLiteral("dup＠same"), QString(), QStringLiteral("1")},
        {QStringLiteral("dup＠same"), QString(), QStringLiteral("2")},
        {QStringLiteral("dup＠SAME"), QString(), QStringLiteral("3")},
        {QStringLiteral(".hidden＠.profile"), QString(), QStringLiteral(".")},
        {QStringLiteral("..＠.."), QString(), QStringLiteral("..")},
        {QStringLiteral("＠index"), QString(), QStringLiteral("empty group")},
        {QStringLiteral("2001/05/03：①髙＠2001/05/03"), QString(), QStringLiteral("①髙")},
        {QStringLiteral("no group at all"), QString(), QStringLiteral("総合")},
    };
}

std::unique_ptr<CardList> sampleList()
{
    auto list = std::make_unique<CardList>();
    const QString path = Bin + QStringLiteral("/sample.qlw");
    EXPECT_TRUE(ReadCardFile(path, CardFormat::Native, list->store()).ok);
    return list;
}

struct Output {
    QString start; // the page to start from
    QString templatePath;
    HtmlMode mode;
};

// Every mode of every template over both lists, below root; Renban as the
// template says for the sample, off for the hostile names.
QList<Output> writeAll(const QString &root, const QStringList &templates)
{
    QList<Output> outputs;
    auto sample = sampleList();
    auto hostile = listOf(hostileCards());
    int n = 0;
    for (const QString &tmplPath : templates) {
        HtmlTemplate tmpl;
        EXPECT_TRUE(tmpl.load(tmplPath));
        for (int mode = 0; mode <= 4; ++mode) {
            for (const bool hostileNames : {false, true}) {
                const QString dir = root + QStringLiteral("/out%1").arg(++n);
                HtmlJob job;
                job.mode = HtmlMode(mode);
                job.templatePath = tmplPath;
                job.documentPath = QStringLiteral("/data/sample.qlw");
                const OptionPresets p = WizardOptionPresets(tmpl);
                job.options.renban = hostileNames ? false : p.renban.value_or(true);
                job.options.noBR = p.noBR.value_or(false);
                job.options.escapeTag = true;
                job.target = mode == 0 ? dir + QStringLiteral("/single page #1.html") : dir;
                QDir().mkpath(dir);
                FakeDialogs dialogs;
                const HtmlRunResult r = RunHtmlOutput(hostileNames ? *hostile : *sample, job, tmpl, dialogs);
                EXPECT_TRUE(r.complete()) << tmplPath.toStdString() << " mode " << mode;
                EXPECT_TRUE(dialogs.records.isEmpty());
                outputs.append({mode == 0 ? job.target : dir + QStringLiteral("/index.html"), tmplPath, job.mode});
            }
        }
    }
    return outputs;
}

// A folder everyone can read (linkchecker run as root reads as nobody).
QString openFolder(const QString &name)
{
    const QString path = freshFolder(name);
    const auto all = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup
                     | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther;
    QFile::setPermissions(Sandbox::root(), all);
    QFile::setPermissions(path, all);
    return path;
}

bool have(const QString &program)
{
    return !QStandardPaths::findExecutable(program).isEmpty();
}

struct Ran {
    int status = -1;
    QString out;
};

Ran runTool(const QString &program, const QStringList &arguments, const QString &workingFolder = QString(),
            int timeoutMs = 600000)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    if (!workingFolder.isEmpty())
        p.setWorkingDirectory(workingFolder);
    p.start(program, arguments);
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return {};
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAll())};
}

QStringList allPages(const QString &root)
{
    QStringList pages;
    QDirIterator it(root, {QStringLiteral("*.html")}, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        pages.append(it.next());
    pages.sort();
    return pages;
}

} // namespace

TEST(HtmlClients, LinkcheckerFindsNoBrokenLinkOrMissingAnchor)
{
    if (!have(QStringLiteral("linkchecker")) || !QFileInfo::exists(QStringLiteral("/usr/bin/python3")))
        GTEST_SKIP() << "linkchecker is not installed (Debian package linkchecker; make deps installs it)";
    const QString root = openFolder(QStringLiteral("links"));
    QStringList templates = deliveredTemplates();
    templates.append(classicTemplate(root));
    const QList<Output> outputs = writeAll(root, templates);
    // One start page linking every output, so one run checks them all.
    QString start =
        QStringLiteral("<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>all</title></head><body>\n");
    for (const Output &o : outputs)
        start += QStringLiteral("<a href=\"") + HtmlText::Href(QDir(root).relativeFilePath(o.start))
                 + QStringLiteral("\">x</a>\n");
    start += QStringLiteral("</body></html>\n");
    ASSERT_TRUE(Sandbox::writeBytes(root + QStringLiteral("/all.html"), start.toUtf8()));
    const QString config = root + QStringLiteral("/linkcheckerrc");
    ASSERT_TRUE(Sandbox::writeBytes(config, "[filtering]\ncheckextern=0\n[AnchorCheck]\n"));
    const Ran r = runTool(QStringLiteral("/usr/bin/python3"),
                          {QStringLiteral(QLT_SOURCE_DIR "/tests/core/html/linkchecker-cp932"), QStringLiteral("-f"),
                           config, QStringLiteral("--no-status"), QStringLiteral("-t"), QStringLiteral("1"),
                           root + QStringLiteral("/all.html")});
    const QRegularExpression summary(
        QStringLiteral(R"((\d+) links? in (\d+) URLs? checked\. (\d+) warnings? found\. (\d+) errors? found)"));
    const QRegularExpressionMatch m = summary.match(r.out);
    ASSERT_TRUE(m.hasMatch()) << r.out.toStdString();
    EXPECT_EQ(m.captured(3), QStringLiteral("0")) << r.out.toStdString();
    EXPECT_EQ(m.captured(4), QStringLiteral("0")) << r.out.toStdString();
    // Every page was reached.
    EXPECT_GE(m.captured(2).toInt(), allPages(root).size());
}

TEST(HtmlClients, ChmcmdCompilesTheHelpProjectAndTheChmHoldsEveryTopic)
{
    if (!have(QStringLiteral("chmcmd")))
        GTEST_SKIP() << "chmcmd is not installed (Debian package fp-utils; make deps installs it)";
    if (!have(QStringLiteral("enum_chmLib")))
        GTEST_SKIP() << "enum_chmLib is not installed (Debian package libchm-bin; make deps installs it)";
    auto sample = sampleList();
    for (const HtmlMode mode : {HtmlMode::CardsHelp, HtmlMode::SimpleHelp}) {
        const QString root = freshFolder(QStringLiteral("chm"));
        HtmlJob job;
        job.mode = mode;
        job.templatePath = deliveredTemplates().first();
        job.target = root;
        job.documentPath = QStringLiteral("/data/sample.qlw");
        FakeDialogs dialogs;
        ASSERT_TRUE(RunHtmlOutput(*sample, job, dialogs).complete());
        const Ran compiled = runTool(QStringLiteral("chmcmd"), {QStringLiteral("HTMLHELP.hhp")}, root);
        EXPECT_EQ(compiled.status, 0) << compiled.out.toStdString();
        EXPECT_FALSE(compiled.out.contains(QStringLiteral("couldn't find it on disk"), Qt::CaseInsensitive))
            << compiled.out.toStdString();
        const Ran listed = runTool(QStringLiteral("enum_chmLib"), {root + QStringLiteral("/HTMLHELP.chm")});
        ASSERT_EQ(listed.status, 0) << listed.out.toStdString();
        const QString hhc = text(Sandbox::readBytes(root + QStringLiteral("/HTMLHELP.hhc")));
        const QRegularExpression local(QStringLiteral("<param name=\"Local\" value=\"([^\"#]*)"));
        int topics = 0;
        for (auto it = local.globalMatch(hhc); it.hasNext(); ++topics) {
            QString topic = it.next().captured(1);
            topic.replace(QLatin1Char('\\'), QLatin1Char('/'));
            EXPECT_TRUE(listed.out.contains(QLatin1Char('/') + topic + QLatin1Char('\n'))) << topic.toStdString();
        }
        EXPECT_GE(topics, sample->store().count());
    }
}

TEST(HtmlClients, TidyFindsNoErrorInAnyPageOfTheDeliveredTemplates)
{
    if (!have(QStringLiteral("tidy")) || !have(QStringLiteral("iconv")))
        GTEST_SKIP() << "tidy is not installed (Debian package tidy; make deps installs it)";
    const QString root = freshFolder(QStringLiteral("tidy"));
    writeAll(root, deliveredTemplates());
    const QStringList pages = allPages(root);
    ASSERT_FALSE(pages.isEmpty());
    for (const QString &page : pages) {
        QByteArray bytes = Sandbox::readBytes(page);
        if (HtmlText::DeclaredEncoding(QString::fromLatin1(bytes)) == HtmlText::Encoding::Win31J)
            bytes = Win31J::decode(bytes).toUtf8();
        const QString copy = root + QStringLiteral("/tidy-input.html");
        ASSERT_TRUE(Sandbox::writeBytes(copy, bytes));
        const Ran r = runTool(QStringLiteral("tidy"), {QStringLiteral("-q"), QStringLiteral("-e"),
                                                       QStringLiteral("--fix-uri"), QStringLiteral("no"), copy});
        EXPECT_LT(r.status, 2) << page.toStdString() << "\n" << r.out.toStdString();
    }
}
