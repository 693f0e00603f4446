#pragma once
// One reload-modify-save cycle on an INI file that several processes rewrite
// ("OpenCheck.ini", "Recent.ini"). Each cycle holds a lock file beside the
// INI file, so two windows that change the list at the same moment both keep
// their change: the second one reloads what the first one saved. A lock left
// behind by a crashed process is taken over (QLockFile's stale-lock rules).
//
// The lock is held only while the store is reloaded, changed in memory and
// saved; never call anything that waits for the person inside change.

#include "core/common/inimente.h"

#include <QString>

#include <functional>

namespace LockedIniFile {

enum class WhenMissing {
    StartEmpty,  // a missing file counts as an empty list
    KeepEntries, // a missing file keeps what the store already holds
};

struct Options {
    WhenMissing whenMissing = WhenMissing::StartEmpty;
    // A cycle takes milliseconds; a lock older than staleLockMs belongs to a
    // process that died or hangs and is taken over. The wait for the lock is
    // longer than that, so a stale lock is always recovered within it.
    int staleLockMs = 10000;
    int lockTimeoutMs = 12000;
};

struct [[nodiscard]] Result {
    bool locked = false;  // the cycle ran under the lock
    bool readOk = true;   // the file was missing or read to its end
    bool changed = false; // change asked for a save
    bool saved = false;   // and the file was written
};

// Reloads store from path (under the lock), runs change on it and saves it
// to path when change returns true. When the file exists but cannot be read
// whole, change does not run and nothing is saved, so a half-read list never
// overwrites the full one. When the lock cannot be had (unwritable folder,
// timeout), the cycle still runs, unlocked.
Result update(iniMente &store, const QString &path, const std::function<bool(iniMente &)> &change,
              const Options &options = {});

// Reloads store from path under the lock, changing nothing.
Result reload(iniMente &store, const QString &path, const Options &options = {});

// Deletes the file under the lock (a start-up that clears a stale list must
// not cut into another process's cycle). True when no file is left.
[[nodiscard]] bool remove(const QString &path, const Options &options = {});

// Whether text survives as one INI value: the files are Windows-31J lines,
// so a line break, a NUL or a character Windows-31J cannot hold would come
// back as another text (a path that names another file or none).
bool isStorableValue(const QString &text);

// The lock file used for path.
QString lockFilePath(const QString &path);

} // namespace LockedIniFile
