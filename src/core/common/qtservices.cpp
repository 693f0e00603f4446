#include "core/common/qtservices.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>

#include <sys/stat.h>
#include <unistd.h>

bool QtProcesses::startDetached(const QString &program, const QStringList &arguments, const QString &workingFolder)
{
    if (program.isEmpty())
        return false;
    return QProcess::startDetached(program, arguments, workingFolder);
}

Processes::Outcome QtProcesses::startAndWait(const QString &program, const QStringList &arguments, int timeoutMs)
{
    if (program.isEmpty())
        return {WaitResult::Failed, -1};
    // On the heap: a QProcess kills its program when destroyed, and a program
    // that outlives the wait (an editor still open) must be left running.
    auto *process = new QProcess;
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->setInputChannelMode(QProcess::ForwardedInputChannel);
    process->start(program, arguments);
    if (!process->waitForStarted()) {
        delete process;
        return {WaitResult::Failed, -1};
    }

    const QDeadlineTimer deadline = timeoutMs < 0 ? QDeadlineTimer(QDeadlineTimer::Forever) : QDeadlineTimer(timeoutMs);
    for (;;) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (process->state() == QProcess::NotRunning)
            break;
        if (deadline.hasExpired()) {
            QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
            return {WaitResult::TimedOut, -1};
        }
        const qint64 left = deadline.remainingTime();
        process->waitForFinished(int(left < 0 ? 50 : qMin<qint64>(left, 50)));
    }

    Outcome outcome;
    if (process->exitStatus() == QProcess::NormalExit)
        outcome = {WaitResult::Finished, process->exitCode()};
    else
        outcome = {WaitResult::Crashed, -1};
    delete process;
    return outcome;
}

namespace {

struct FileId {
    dev_t device = 0;
    ino_t inode = 0;
    bool operator==(const FileId &) const = default;
};

bool idOf(const QByteArray &path, FileId *id)
{
    struct stat st;
    if (::stat(path.constData(), &st) != 0)
        return false;
    *id = {st.st_dev, st.st_ino};
    return true;
}

// The executable's path without the mark Linux adds once the file has been
// replaced (a rebuilt or updated program whose old copy still runs).
QString executableLink(const QString &exeLink)
{
    QString target = QFile::symLinkTarget(exeLink);
    const QLatin1StringView deleted(" (deleted)");
    if (target.endsWith(deleted))
        target.chop(deleted.size());
    return target;
}

} // namespace

bool QtProcesses::anotherInstanceRunning()
{
    const QString selfLink = QStringLiteral("/proc/self/exe");
    FileId selfId;
    const bool haveSelfId = idOf(QFile::encodeName(selfLink), &selfId);
    const QString selfPath = executableLink(selfLink);
    if (!haveSelfId && selfPath.isEmpty())
        return false;
    const QString selfPid = QString::number(::getpid());

    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        bool numeric = false;
        entry.toLongLong(&numeric);
        if (!numeric || entry == selfPid)
            continue;
        const QString link = QStringLiteral("/proc/") + entry + QStringLiteral("/exe");
        // Links of other users' processes cannot be read; those are not ours.
        FileId id;
        if (haveSelfId && idOf(QFile::encodeName(link), &id) && id == selfId)
            return true;
        if (!selfPath.isEmpty() && executableLink(link) == selfPath)
            return true;
    }
    return false;
}

std::optional<QString> QSettingsUserStore::value(const QString &key)
{
    if (key.isEmpty())
        return std::nullopt;
    const QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Orvale SoftWares"),
                             QStringLiteral("QLT@WIN"));
    if (!settings.contains(key))
        return std::nullopt;
    return settings.value(key).toString();
}

void QSettingsUserStore::setValue(const QString &key, const QString &value)
{
    if (key.isEmpty())
        return;
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Orvale SoftWares"),
                       QStringLiteral("QLT@WIN"));
    settings.setValue(key, value);
    // Other processes of the program read the value right away.
    settings.sync();
}
