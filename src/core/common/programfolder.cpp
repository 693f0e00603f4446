#include "core/common/programfolder.h"

#include "core/common/atomicfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <mutex>

namespace ProgramFolder {

namespace {

QString perUserFolder()
{
    QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (data.isEmpty())
        data = QDir::homePath() + QStringLiteral("/.local/share");
    const QString folder = data + QStringLiteral("/QLTWIN");
    QDir().mkpath(folder);
    return folder;
}

} // namespace

QString path()
{
    const QString home = qEnvironmentVariable("QLT_HOME");
    if (!home.isEmpty())
        return QDir::cleanPath(QDir(home).absolutePath());
    // An installed program keeps its files per user even when its folder is
    // writable (root may write to /usr/bin), and finds there copies of the
    // delivered templates and help that the person may edit.
    const QString delivered = installedDataFolder();
    const QString exeDir = QCoreApplication::applicationDirPath();
    if (delivered.isEmpty() && !exeDir.isEmpty() && QFileInfo(exeDir).isWritable())
        return exeDir;
    const QString folder = perUserFolder();
    static std::once_flag seeded;
    if (!delivered.isEmpty())
        std::call_once(seeded, [&] { seed(delivered, folder); });
    return folder;
}

QString installedDataFolder()
{
    const QString exeDir = QCoreApplication::applicationDirPath();
    if (exeDir.isEmpty() || QFileInfo(exeDir).fileName() != QStringLiteral("bin"))
        return QString();
    const QString data = QDir::cleanPath(exeDir + QStringLiteral("/../share/qltwin"));
    return QFileInfo(data).isDir() ? data : QString();
}

int seed(const QString &from, const QString &folder)
{
    const QDir source(from);
    if (!source.exists())
        return 0;
    int copied = 0;
    bool failed = false;
    QDirIterator it(from, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString relative = source.relativeFilePath(file);
        if (relative == QStringLiteral("RegInfo.txt"))
            continue;
        const QString target = folder + QLatin1Char('/') + relative;
        if (QFileInfo::exists(target))
            continue;
        QFile in(file);
        if (!in.open(QIODevice::ReadOnly) || !QDir().mkpath(QFileInfo(target).absolutePath())
            || !AtomicFile::write(target, in.readAll())) {
            failed = true;
            continue;
        }
        ++copied;
    }
    return failed ? -1 : copied;
}

QString file(const QString &name)
{
    return path() + QLatin1Char('/') + name;
}

QString executablePath()
{
    return QCoreApplication::applicationFilePath();
}

QString executableBaseName()
{
    return QFileInfo(executablePath()).completeBaseName();
}

} // namespace ProgramFolder
