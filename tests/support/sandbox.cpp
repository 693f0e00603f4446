#include "sandbox.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <cstdlib>

namespace {
QString g_root;
}

namespace Sandbox {

void install()
{
    char pattern[] = "/tmp/qlt-test-XXXXXX";
    const char *made = mkdtemp(pattern);
    if (!made)
        std::abort();
    g_root = QString::fromLocal8Bit(made);
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
