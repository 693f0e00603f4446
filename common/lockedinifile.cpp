#include "lockedinifile.h"

#include "win31j.h"

#include <QFile>
#include <QFileInfo>
#include <QLockFile>

namespace LockedIniFile {

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

Result update(iniMente &store, const QString &path,
              const std::function<bool(iniMente &)> &change, const Options &options)
{
    Result result;
    QLockFile lock(lockFilePath(path));
    lock.setStaleLockTime(options.staleLockMs);
    result.locked = lock.tryLock(options.lockTimeoutMs);

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
    lock.tryLock(options.lockTimeoutMs);
    QFile::remove(path);
    return !QFileInfo::exists(path);
}

} // namespace LockedIniFile
