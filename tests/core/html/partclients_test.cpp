// The partial hierarchical export and the published manual as a real client
// reads them: linkchecker follows every link of every page, and every entry
// of "index.hhc" names a file of the tree. Each test says why when its tool
// is missing (the Makefile installs them).
#include "htmltestutil.h"

#include "core/cards/cardformats.h"
#include "core/html/htmltext.h"
#include "core/html/parthtml.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

namespace {

const QString Bin = QStringLiteral(QLT_BIN_DIR);

// Names that try every way of breaking a link or a folder.
QList<CardTexts> hostileCards()
{
    const QString longName = QStringLiteral("長い名前").repeated(50);
    return {
        {QStringLiteral("<b>&\"#%?＠<i>&\"#%? x"), QStringLiteral("<>&"), QStringLiteral("a < b & c")},
        {QStringLiteral("sp ace＠with space"), QString(), QStringLiteral("x")},
        {QStringLiteral("  sp ace  ＠spaces around"), QString(), QStringLiteral("x")},
        {QStringLiteral("A\\B\\C＠nested\\name/slash"), QString(), QStringLiteral("y")},
        {QStringLiteral("絵文字\U0001F600＠\U0001F600 smile"), QString(), QStringLiteral("\U0001F600")},
        {longName + QStringLiteral("＠") + longName, QString(), QStringLiteral("long")},
        {longName + QStringLiteral("＠") + longName, QString(), QStringLiteral("long again")},
        {QStringLiteral("dup＠same"), QString(), QStringLiteral("1")},
        {QStringLiteral("dup＠same"), QString(), QStringLiteral("2")},
        {QStringLiteral("DUP＠SAME"), QString(), QStringLiteral("3")},
        {QStringLiteral(".hidden＠.profile"), QString(), QStringLiteral(".")},
        {QStringLiteral("..＠.."), QString(), QStringLiteral("..")},
        {QStringLiteral("＠index"), QString(), QStringLiteral("empty group")},
        {QStringLiteral("index.html＠qlt_style"), QString(), QStringLiteral("root names")},
        {QStringLiteral("2001/05/03：①髙＠2001/05/03"), QString(), QStringLiteral("①髙")},
        {QStringLiteral("2001/05/03：①髙＠x＠y"), QString(), QStringLiteral("second mark")},
        {QStringLiteral("2001/05/03：no group at all"), QString(), QStringLiteral("総合")},
    };
}

std::unique_ptr<CardList> sampleList()
{
    auto list = std::make_unique<CardList>();
    EXPECT_TRUE(ReadCardFile(Bin + QStringLiteral("/sample.qlw"), CardFormat::Native, list->store()).ok);
    return list;
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

bool haveLinkchecker()
{
    return !QStandardPaths::findExecutable(QStringLiteral("linkchecker")).isEmpty()
           && QFileInfo::exists(QStringLiteral("/usr/bin/python3"));
}

// linkchecker over start, internal links only; its complaints, empty when none.
QString linkcheck(const QString &folder, const QString &start, int minimumPages)
{
    const QString config = folder + QStringLiteral("/linkcheckerrc");
    if (!Sandbox::writeBytes(config, "[filtering]\ncheckextern=0\n[AnchorCheck]\n"))
        return QStringLiteral("cannot write the configuration");
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral("/usr/bin/python3"),
            {QStringLiteral(QLT_SOURCE_DIR "/tests/core/html/linkchecker-cp932"), QStringLiteral("-f"), config,
             QStringLiteral("--no-status"), QStringLiteral("-t"), QStringLiteral("1"), start});
    if (!p.waitForFinished(600000))
        return QStringLiteral("linkchecker did not finish");
    const QString out = QString::fromUtf8(p.readAll());
    static const QRegularExpression summary(
        QStringLiteral(R"((\d+) links? in (\d+) URLs? checked\. (\d+) warnings? found\. (\d+) errors? found)"));
    const QRegularExpressionMatch m = summary.match(out);
    if (!m.hasMatch() || m.captured(3) != QLatin1String("0") || m.captured(4) != QLatin1String("0")
        || m.captured(2).toInt() < minimumPages)
        return out;
    return {};
}

// An attribute value as an HTML parser reads it.
QString unreferenced(QString value)
{
    static const QRegularExpression reference(QStringLiteral("&#x([0-9A-Fa-f]+);"));
    for (QRegularExpressionMatch m = reference.match(value); m.hasMatch(); m = reference.match(value)) {
        const char32_t code = m.captured(1).toUInt(nullptr, 16);
        value.replace(m.capturedStart(), m.capturedLength(), QString::fromUcs4(&code, 1));
    }
    value.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
    return value.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
}

int pagesBelow(const QString &root)
{
    int n = 0;
    for (const QString &file : treeOf(root).keys())
        n += file.endsWith(QLatin1String(".html")) ? 1 : 0;
    return n;
}

} // namespace

TEST(PartHtmlClients, LinkcheckerFindsNoBrokenLinkAndTheContentsNamesExistingFiles)
{
    if (!haveLinkchecker())
        GTEST_SKIP() << "linkchecker is not installed (Debian package linkchecker; make deps installs it)";
    const QString root = openFolder(QStringLiteral("part-links"));
    auto sample = sampleList();
    auto hostile = listOf(hostileCards());
    QString start =
        QStringLiteral("<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>all</title></head><body>\n");
    int pages = 0;
    int n = 0;
    for (const CardList *list : {sample.get(), hostile.get()}) {
        for (const PartHtml::Kind kind : {PartHtml::Kind::All, PartHtml::Kind::Help}) {
            for (const PartHtml::TitleMode mode : {PartHtml::TitleMode::Name, PartHtml::TitleMode::Serial}) {
                PartHtml::Job job;
                job.root = root + QStringLiteral("/out%1").arg(++n);
                job.kind = kind;
                job.titleMode = mode;
                const PartHtml::Result r = PartHtml::Export(*list, job);
                EXPECT_TRUE(r.complete()) << n;
                pages += pagesBelow(job.root);
                start += QStringLiteral("<a href=\"out%1/index.html\">x</a>\n").arg(n);
                if (kind != PartHtml::Kind::Help)
                    continue;
                const QString hhc = text(Sandbox::readBytes(job.root + QStringLiteral("/index.hhc")));
                static const QRegularExpression local(QStringLiteral("<param name=\"Local\" value=\"([^\"]*)\">"));
                int entries = 0;
                for (auto it = local.globalMatch(hhc); it.hasNext(); ++entries) {
                    QString file = it.next().captured(1);
                    file.replace(QLatin1Char('\\'), QLatin1Char('/'));
                    file = unreferenced(file);
                    EXPECT_TRUE(QFileInfo(job.root + QLatin1Char('/') + file).isFile()) << file.toStdString();
                }
                EXPECT_GT(entries, list->store().count());
            }
        }
    }
    start += QStringLiteral("</body></html>\n");
    ASSERT_TRUE(Sandbox::writeBytes(root + QStringLiteral("/all.html"), start.toUtf8()));
    const QString complaints = linkcheck(root, root + QStringLiteral("/all.html"), pages);
    EXPECT_TRUE(complaints.isEmpty()) << complaints.toStdString();
}

TEST(PublishedHelp, TheBuildPublishedAManualWhoseLinksAllResolve)
{
    const QString published = Bin + QStringLiteral("/help");
    ASSERT_TRUE(QFileInfo::exists(published + QStringLiteral("/index.html")))
        << "the build publishes data/help.qlw into " << published.toStdString();
    ASSERT_TRUE(QFileInfo::exists(published + QStringLiteral("/qlt_style.css")));
    const QMap<QString, QByteArray> tree = treeOf(published);
    EXPECT_GT(pagesBelow(published), 30);
    if (!haveLinkchecker())
        GTEST_SKIP() << "linkchecker is not installed (Debian package linkchecker; make deps installs it)";
    // A copy nobody-readable for linkchecker.
    const QString copy = openFolder(QStringLiteral("help-copy"));
    for (auto it = tree.cbegin(); it != tree.cend(); ++it) {
        QDir().mkpath(QFileInfo(copy + QLatin1Char('/') + it.key()).path());
        ASSERT_TRUE(Sandbox::writeBytes(copy + QLatin1Char('/') + it.key(), it.value()));
    }
    const QString complaints = linkcheck(copy, copy + QStringLiteral("/index.html"), pagesBelow(published));
    EXPECT_TRUE(complaints.isEmpty()) << complaints.toStdString();
}
