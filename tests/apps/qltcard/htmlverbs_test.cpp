// qltcard html, run as the built program.
#include "qltcardprocess.h"

#include "support/sandbox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

const QString Sample = QStringLiteral(QLT_BIN_DIR "/sample.qlw");

QString folder(const QString &name)
{
    static int n = 0;
    const QString dir = Sandbox::root() + QStringLiteral("/htmlcli%1-").arg(++n) + name;
    QDir().mkpath(dir);
    return dir;
}

} // namespace

TEST(QltcardHtml, WritesEveryModeAndCountsThePages)
{
    const QString out = folder(QStringLiteral("modes"));
    QltcardRun r = runQltcard({"html", Sample, out + QStringLiteral("/page.html")});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QByteArray("pages: 2 written, 0 unchanged\n"));
    EXPECT_TRUE(QFileInfo::exists(out + QStringLiteral("/qlt_style.css")));
    for (const char *mode : {"1", "2", "3", "4"}) {
        const QString root = out + QStringLiteral("/mode") + QLatin1String(mode);
        r = runQltcard({"html", "--mode", mode, Sample, root});
        EXPECT_EQ(r.status, 0) << mode << r.err.toStdString();
        EXPECT_TRUE(QFileInfo::exists(root + QStringLiteral("/index.html"))) << mode;
    }
    EXPECT_TRUE(QFileInfo::exists(out + QStringLiteral("/mode3/HTMLHELP.hhp")));
    // Unchanged cards leave the card pages alone.
    r = runQltcard({"html", "--mode", "1", Sample, out + QStringLiteral("/mode1")});
    EXPECT_EQ(r.out, QByteArray("pages: 0 written, 20 unchanged\n"));
}

TEST(QltcardHtml, OptionsStartFromTheTemplateAndSetOverridesThem)
{
    const QString out = folder(QStringLiteral("set"));
    const QltcardRun r = runQltcard({"html", "--mode", "1", "--set", "renban=0", "--set", "CUTDATEINFO=0", "--reverse",
                                     "--style", "0-2", Sample, out});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    // --reverse always gives numbered names; the last group is qlt000000.
    EXPECT_TRUE(QFileInfo::exists(out + QStringLiteral("/qlt000000/index.html")));
    EXPECT_TRUE(QFile(out + QStringLiteral("/qlt_style.css")).open(QIODevice::ReadOnly));
    EXPECT_TRUE(Sandbox::readBytes(out + QStringLiteral("/qlt_style.css")).contains("QLT@WIN"));
    const QltcardRun names = runQltcard({"html", "--mode", "1", "--set", "Renban=0", Sample, out + "/names"});
    EXPECT_EQ(names.status, 0);
    EXPECT_TRUE(QFileInfo::exists(out + QStringLiteral("/names/仕事/定例会議の議事録.html")));
}

TEST(QltcardHtml, ExitStatuses)
{
    const QString out = folder(QStringLiteral("status"));
    EXPECT_EQ(runQltcard({"html", Sample}).status, 64);
    EXPECT_EQ(runQltcard({"html", "--mode", "5", Sample, out}).status, 64);
    EXPECT_EQ(runQltcard({"html", "--set", "OnlySelected=1", Sample, out}).status, 64);
    EXPECT_EQ(runQltcard({"html", "--set", "NoBR=2", Sample, out}).status, 64);
    EXPECT_EQ(runQltcard({"html", "--bogus", Sample, out}).status, 64);

    const QString notCards = out + QStringLiteral("/Hina.qlw");
    Sandbox::writeBytes(notCards, "<html>no cards</html>");
    QltcardRun r = runQltcard({"html", "--template", notCards, Sample, out + QStringLiteral("/x.html")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("not a card file")));

    // A template without the single page's section: nothing to write in mode 0.
    const QString noPage = out + QStringLiteral("/HinaNoPage.qlw");
    Sandbox::writeBytes(noPage, "1-1\x01\x01<p>[item1]</p>\x01");
    r = runQltcard({"html", "--template", noPage, Sample, out + QStringLiteral("/nopage.html")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("\"4-1\""))) << r.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(out + QStringLiteral("/nopage.html")));
    r = runQltcard({"html", "--mode", "1", "--template", noPage, Sample, out + QStringLiteral("/nopage")});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();

    const QString empty = out + QStringLiteral("/empty.qlw");
    Sandbox::writeBytes(empty, QByteArray());
    r = runQltcard({"html", empty, out + QStringLiteral("/x.html")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("処理にあたり何らかの障害が発生しました。")));

    r = runQltcard({"html", "--template", out + QStringLiteral("/missing.qlw"), Sample, out + "/x.html"});
    EXPECT_EQ(r.status, 2);
    r = runQltcard({"html", out + QStringLiteral("/missing.qlw"), out + "/x.html"});
    EXPECT_EQ(r.status, 2);
    r = runQltcard({"html", Sample, out + QStringLiteral("/no/such/folder/x.html")});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains(out + QStringLiteral("/no/such/folder/x.html"))) << r.err.toStdString();
}

TEST(QltcardPartHtml, WritesTheTreeOnceAndThenOnlyWhatChanged)
{
    const QString out = folder(QStringLiteral("part"));
    QltcardRun r = runQltcard({"parthtml", Sample, out});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith("pages: ")) << r.out.constData();
    EXPECT_TRUE(QFileInfo::exists(out + QStringLiteral("/index.html")));
    EXPECT_FALSE(QFileInfo::exists(out + QStringLiteral("/index.hhc")));
    r = runQltcard({"parthtml", Sample, out});
    EXPECT_TRUE(r.out.startsWith("pages: 0 written, ")) << r.out.constData();

    const QString help = out + QStringLiteral("-help");
    r = runQltcard({"parthtml", "--contents", "--title-mode", "1", "--no-header", "--no-remarks", Sample, help});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(help + QStringLiteral("/index.hhc")));
}

TEST(QltcardPartHtml, ExitStatuses)
{
    const QString out = folder(QStringLiteral("part-status"));
    EXPECT_EQ(runQltcard({"parthtml", Sample}).status, 64);
    EXPECT_EQ(runQltcard({"parthtml", "--title-mode", "2", Sample, out}).status, 64);
    EXPECT_EQ(runQltcard({"parthtml", "--bogus", Sample, out}).status, 64);
    EXPECT_EQ(runQltcard({"parthtml", out + QStringLiteral("/missing.qlw"), out}).status, 2);
    const QString empty = out + QStringLiteral("/empty.qlw");
    Sandbox::writeBytes(empty, QByteArray());
    EXPECT_EQ(runQltcard({"parthtml", empty, out}).status, 1);

    const QString blocked = out + QStringLiteral("/file");
    Sandbox::writeBytes(blocked, "x");
    const QltcardRun r = runQltcard({"parthtml", Sample, blocked + QStringLiteral("/root")});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("cannot write ") + blocked + QStringLiteral("/root")))
        << r.err.toStdString();
}
