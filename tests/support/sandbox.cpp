#include "sandbox.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <cstdlib>
#include <ftw.h>
#include <sys/stat.h>

namespace {
QString g_root;

// The sandbox goes with the process that made it, unless QLT_KEEP_SANDBOX
// asks to keep it for a look: a suite run would otherwise leave a folder in
// /tmp for every test. Folders a test took the rights from get them back.
void removeRoot()
{
    if (g_root.isEmpty() || qEnvironmentVariableIsSet("QLT_KEEP_SANDBOX"))
        return;
    const QByteArray root = QFile::encodeName(g_root);
    ::nftw(
        root.constData(),
        [](const char *path, const struct stat *st, int type, struct FTW *) {
            if (type == FTW_D || type == FTW_DNR)
                ::chmod(path, (st->st_mode & 07777) | S_IRWXU);
            return 0;
        },
        16, FTW_PHYS);
    QDir(g_root).removeRecursively();
}
} // namespace

namespace Sandbox {

void install()
{
    // A test process started by a test (a death test's child, a second
    // instance) makes its sandbox inside its parent's: such a child is often
    // killed or aborts, and never removes its own.
    const QByteArray parent = qgetenv("QLT_TEST_SANDBOX");
    QByteArray pattern = (parent.isEmpty() ? QByteArray("/tmp") : parent) + "/qlt-test-XXXXXX";
    const char *made = mkdtemp(pattern.data());
    if (!made && !parent.isEmpty()) {
        pattern = "/tmp/qlt-test-XXXXXX";
        made = mkdtemp(pattern.data());
    }
    if (!made)
        std::abort();
    g_root = QString::fromLocal8Bit(made);
    qputenv("QLT_TEST_SANDBOX", made);
    std::atexit(removeRoot);
    for (const char *sub : {"home", "config", "data", "cache", "tmp", "program"})
        QDir().mkpath(g_root + QLatin1Char('/') + QLatin1String(sub));
    auto set = [](const char *name, const char *sub) {
        qputenv(name, (g_root + QLatin1Char('/') + QLatin1String(sub)).toLocal8Bit());
    };
    set("HOME", "home");
    set("XDG_CONFIG_HOME", "config");
    set("XDG_DATA_HOME", "data");
    set("XDG_CACHE_HOME", "cache");
    set("TMPDIR", "tmp");
    set("QLT_HOME", "program");
    QStandardPaths::setTestModeEnabled(false);
}

QString root()
{
    return g_root;
}

QByteArray readBytes(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

} // namespace Sandbox

ScopedProgramFolder::ScopedProgramFolder() : m_previous(qgetenv("QLT_HOME"))
{
    qputenv("QLT_HOME", m_dir.path().toLocal8Bit());
}

ScopedProgramFolder::~ScopedProgramFolder()
{
    qputenv("QLT_HOME", m_previous);
}
