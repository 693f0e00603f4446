#include "core/common/programfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace ProgramFolder {

QString path()
{
    const QString home = qEnvironmentVariable("QLT_HOME");
    if (!home.isEmpty())
        return QDir::cleanPath(QDir(home).absolutePath());
    const QString exeDir = QCoreApplication::applicationDirPath();
    if (!exeDir.isEmpty() && QFileInfo(exeDir).isWritable())
        return exeDir;
    // The program is installed read-only: keep the files per user.
    QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (data.isEmpty())
        data = QDir::homePath() + QStringLiteral("/.local/share");
    const QString folder = data + QStringLiteral("/QLTWIN");
    QDir().mkpath(folder);
    return folder;
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
