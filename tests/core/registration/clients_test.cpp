// The desktop files checked by the programs that read them:
// desktop-file-validate, appstreamcli, xmllint, update-mime-database and
// xdg-mime in a throw-away XDG home. Each check says so when its tool is
// missing.
#include "core/common/qtservices.h"
#include "core/registration/desktopfiles.h"
#include "core/registration/desktopregistration.h"

#include "support/sandbox.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString Source = QStringLiteral(QLT_SOURCE_DIR);

struct ToolRun {
    int exitCode = -1;
    QString output;
};

ToolRun run(const QString &program, const QStringList &args, const QProcessEnvironment &env = {})
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    if (!env.isEmpty())
        p.setProcessEnvironment(env);
    p.start(program, args);
    if (!p.waitForFinished(60000))
        return {-1, QStringLiteral("did not finish")};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAll()).trimmed()};
}

bool have(const char *tool)
{
    return !QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty();
}

#define REQUIRE_TOOL(tool, package)                                                                                    \
    if (!have(tool))                                                                                                   \
    GTEST_SKIP() << tool " is not installed (Debian package " package "; make deps installs it)"

TEST(ClientsTest, DesktopEntriesPassDesktopFileValidate)
{
    REQUIRE_TOOL("desktop-file-validate", "desktop-file-utils");
    QTemporaryDir dir;
    QStringList files;
    for (const char *name : {"QLTWIN.desktop", "QLTLaunch.desktop", "QLTReg.desktop"})
        files << Source + QStringLiteral("/data/desktop/") + QLatin1String(name);
    // Generated entries for awkward program paths.
    int n = 0;
    for (const char *program : {"/home/me/My Programs/QLTWIN", "/opt/a\"b$c`d/QLTWIN", "/opt/back\\slash/QLTWIN",
                                "/home/me/プログラム/100%/QLTWIN"}) {
        const QString path = dir.filePath(QStringLiteral("generated%1.desktop").arg(n++));
        ASSERT_TRUE(Sandbox::writeBytes(path, DesktopFiles::desktopEntry(QString::fromUtf8(program))));
        files << path;
    }
    for (const QString &file : files) {
        const ToolRun r = run(QStringLiteral("desktop-file-validate"), {file});
        EXPECT_EQ(r.exitCode, 0) << file.toStdString() << "\n" << r.output.toStdString();
        EXPECT_TRUE(r.output.isEmpty()) << file.toStdString() << "\n" << r.output.toStdString();
    }
}

TEST(ClientsTest, MetainfoPassesAppstreamcli)
{
    REQUIRE_TOOL("appstreamcli", "appstream");
    const ToolRun r = run(QStringLiteral("appstreamcli"),
                          {QStringLiteral("validate"), QStringLiteral("--no-net"),
                           Source + QStringLiteral("/packaging/example.orvale_softwares.QLTWIN.metainfo.xml")});
    EXPECT_EQ(r.exitCode, 0) << r.output.toStdString();
    EXPECT_FALSE(r.output.contains(QStringLiteral("W: "))) << r.output.toStdString();
    EXPECT_FALSE(r.output.contains(QStringLiteral("E: "))) << r.output.toStdString();
}

TEST(ClientsTest, MimePackageIsWellFormedXml)
{
    REQUIRE_TOOL("xmllint", "libxml2-utils");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("qltwin.xml"));
    ASSERT_TRUE(Sandbox::writeBytes(path, DesktopFiles::mimePackageXml()));
    const ToolRun r = run(QStringLiteral("xmllint"), {QStringLiteral("--noout"), path});
    EXPECT_EQ(r.exitCode, 0) << r.output.toStdString();
    EXPECT_TRUE(r.output.isEmpty()) << r.output.toStdString();
}

// Registration into a fresh XDG home with the real tools, then the
// desktop's own queries.
TEST(ClientsTest, XdgMimeFindsTheTypesAndTheTickedDefaultsOnly)
{
    REQUIRE_TOOL("update-mime-database", "shared-mime-info");
    REQUIRE_TOOL("update-desktop-database", "desktop-file-utils");
    REQUIRE_TOOL("xdg-mime", "xdg-utils");
    REQUIRE_TOOL("mimetype", "libfile-mimeinfo-perl");

    QTemporaryDir home;
    const XdgFolders folders{home.filePath(QStringLiteral("data")), home.filePath(QStringLiteral("config"))};
    QtProcesses processes;
    DesktopRegistration desktop(folders, processes);
    const QStringList ticked{QStringLiteral("qlw"), QStringLiteral("qlt")};
    ASSERT_TRUE(desktop.installTypes(QStringLiteral("/opt/qlt/QLTWIN"), ticked));
    ASSERT_TRUE(desktop.makeDefault(ticked));
    ASSERT_TRUE(QFileInfo::exists(folders.dataHome + QStringLiteral("/mime/mime.cache")))
        << "update-mime-database did not run";

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION", "GNOME_DESKTOP_SESSION_ID",
                             "XDG_DATA_DIRS", "XDG_CONFIG_DIRS"})
        env.remove(QLatin1String(name));
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("XDG_DATA_HOME"), folders.dataHome);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), folders.configHome);

    struct FileType {
        const char *name;
        const char *type;
    };
    const FileType files[] = {
        {"memo.qlw", "application/x-qltwin-card"},   {"MEMO.QLW", "application/x-qltwin-card"},
        {"メモ帳.qlw", "application/x-qltwin-card"}, {"cards.qlt", "text/x-qltwin-card"},
        {"Cards.QLT", "text/x-qltwin-card"},         {"日記 2001.stk", "text/x-mynote-card"},
        {"NOTE.STK", "text/x-mynote-card"},          {"list.csv", "text/csv"},
    };
    for (const FileType &f : files) {
        const QString path = home.filePath(QString::fromUtf8(f.name));
        ASSERT_TRUE(Sandbox::writeBytes(path, "\r\n"));
        const ToolRun r =
            run(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("filetype"), path}, env);
        EXPECT_EQ(r.output, QLatin1String(f.type)) << f.name;
    }

    struct Default {
        const char *type;
        const char *app;
    };
    const Default defaults[] = {{"application/x-qltwin-card", "QLTWIN.desktop"},
                                {"text/x-qltwin-card", "QLTWIN.desktop"},
                                {"text/x-mynote-card", ""},
                                {"text/csv", ""}};
    for (const Default &d : defaults) {
        const ToolRun r = run(QStringLiteral("xdg-mime"),
                              {QStringLiteral("query"), QStringLiteral("default"), QLatin1String(d.type)}, env);
        EXPECT_EQ(r.output, QLatin1String(d.app)) << d.type;
    }
}

} // namespace
