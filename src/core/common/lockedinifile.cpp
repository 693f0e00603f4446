#include "core/common/lockedinifile.h"

#include "core/common/win31j.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRandomGenerator>
#include <QThread>

#include <algorithm>

namespace LockedIniFile {

namespace {

// QLockFile::tryLock(timeout) doubles its sleep between attempts up to five
// seconds, so under contention a waiter can oversleep many short cycles of
// the others and run out of time. Poll with short, jittered sleeps instead:
// a cycle holds the lock only for a read and a write.
//
// Only a lock held by another process is worth waiting for. When the lock
// file cannot be made at all (a program folder the user cannot write, a
// read-only file system) no wait helps, and every cycle of the start-up and
// the close would freeze the window for the whole time-out.
bool acquire(QLockFile &lock, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    int sleepMs = 1;
    while (true) {
        if (lock.tryLock(0))
            return true;
        if (lock.error() != QLockFile::LockFailedError || deadline.hasExpired())
            return false;
        QThread::msleep(sleepMs + QRandomGenerator::global()->bounded(sleepMs + 1));
        sleepMs = std::min(sleepMs * 2, 20);
    }
}

} // namespace

bool isStorableValue(const QString &text)
{
    for (const QChar c : text)
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c.unicode() == 0)
            return false;
    return Win31J::countUnmappable(text) == 0;
}

QString lockFilePath(const QString &path)
{
    return path + QStringLiteral(".lock");
}

Result update(iniMente &store, const QString &path, const std::function<bool(iniMente &)> &change,
              const Options &options)
{
    Result result;
    QLockFile lock(lockFilePath(path));
    lock.setStaleLockTime(options.staleLockMs);
    result.locked = acquire(lock, options.lockTimeoutMs);

    if (QFileInfo::exists(path)) {
        result.readOk = store.iniLoader(path);
    } else {
        if (options.whenMissing == WhenMissing::StartEmpty)
            store = iniMente(store.build());
        store.SetiniFilename(path);
    }
    if (!result.readOk)
        return result;

    if (change) {
        result.changed = change(store);
        if (result.changed)
            result.saved = store.iniSaver(path);
    }
    return result; // the lock is released here
}

Result reload(iniMente &store, const QString &path, const Options &options)
{
    return update(store, path, {}, options);
}

bool remove(const QString &path, const Options &options)
{
    QLockFile lock(lockFilePath(path));
    lock.setStaleLockTime(options.staleLockMs);
    acquire(lock, options.lockTimeoutMs);
    QFile::remove(path);
    return !QFileInfo::exists(path);
}

} // namespace LockedIniFile
