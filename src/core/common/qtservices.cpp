#include "core/common/qtservices.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QThread>

#include <cerrno>
#include <optional>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

bool QtProcesses::startDetached(const QString &program, const QStringList &arguments, const QString &workingFolder)
{
    if (program.isEmpty())
        return false;
    return QProcess::startDetached(program, arguments, workingFolder);
}

namespace {

// The program file for a name without "/" is looked up on PATH, as a shell
// (and QProcess) would.
QByteArray programPath(const QString &program)
{
    if (program.contains(QLatin1Char('/')))
        return QFile::encodeName(program);
    const QString found = QStandardPaths::findExecutable(program);
    return QFile::encodeName(found.isEmpty() ? program : found);
}

} // namespace

QtProcesses::~QtProcesses()
{
    reapLeftRunning();
}

void QtProcesses::reapLeftRunning()
{
    // Programs that outlived their wait: collected once they have ended, so
    // none stays a zombie. Those still running are left alone; when this
    // process ends they carry on without it.
    for (auto it = m_leftRunning.begin(); it != m_leftRunning.end();) {
        if (::waitpid(pid_t(*it), nullptr, WNOHANG) != 0)
            it = m_leftRunning.erase(it);
        else
            ++it;
    }
}

Processes::Outcome QtProcesses::startAndWait(const QString &program, const QStringList &arguments, int timeoutMs)
{
    reapLeftRunning();
    if (program.isEmpty())
        return {WaitResult::Failed, -1};
    // A child of our own (standard input and output shared), not a
    // QProcess: a QProcess kills its program when it is destroyed, so one
    // whose program outlives the wait (an editor still open) would have to
    // be kept, and would be lost, until the end of this process.
    const QByteArray path = programPath(program);
    QList<QByteArray> encoded{QFile::encodeName(program)};
    for (const QString &argument : arguments)
        encoded.append(QFile::encodeName(argument));
    std::vector<char *> argv;
    for (QByteArray &a : encoded)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (::posix_spawn(&pid, path.constData(), nullptr, nullptr, argv.data(), environ) != 0)
        return {WaitResult::Failed, -1};

    const QDeadlineTimer deadline = timeoutMs < 0 ? QDeadlineTimer(QDeadlineTimer::Forever) : QDeadlineTimer(timeoutMs);
    int status = 0;
    for (;;) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid)
            break;
        if (done < 0 && errno != EINTR)
            return {WaitResult::Failed, -1};
        if (deadline.hasExpired()) {
            m_leftRunning.append(pid);
            return {WaitResult::TimedOut, -1};
        }
        QThread::msleep(20);
    }
    if (WIFEXITED(status))
        return {WaitResult::Finished, WEXITSTATUS(status)};
    return {WaitResult::Crashed, -1};
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

// The value of QLT_HOME in the environment process pid started with, nullopt
// when it has none; readable tells whether the environment could be read.
std::optional<QByteArray> programHomeOf(const QString &pid, bool *readable)
{
    QFile environment(QStringLiteral("/proc/") + pid + QStringLiteral("/environ"));
    *readable = environment.open(QIODevice::ReadOnly);
    if (!*readable)
        return std::nullopt;
    for (const QByteArray &entry : environment.readAll().split('\0')) {
        if (entry.startsWith("QLT_HOME="))
            return entry.mid(9);
    }
    return std::nullopt;
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
    // Both as the processes were started: a value set later is not in there.
    bool selfReadable = false;
    const std::optional<QByteArray> selfHome = programHomeOf(QStringLiteral("self"), &selfReadable);
    // A process of this program that was given another program folder keeps
    // its own lists there: it is not one of ours. One whose environment
    // cannot be read is counted, to be safe.
    auto sameFolder = [&](const QString &pid) {
        bool readable = false;
        const std::optional<QByteArray> home = programHomeOf(pid, &readable);
        return !readable || !selfReadable || home == selfHome;
    };

    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        bool numeric = false;
        entry.toLongLong(&numeric);
        if (!numeric || entry == selfPid)
            continue;
        const QString link = QStringLiteral("/proc/") + entry + QStringLiteral("/exe");
        // Links of other users' processes cannot be read; those are not ours.
        FileId id;
        const bool same = (haveSelfId && idOf(QFile::encodeName(link), &id) && id == selfId)
                          || (!selfPath.isEmpty() && executableLink(link) == selfPath);
        if (same && sameFolder(entry))
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
