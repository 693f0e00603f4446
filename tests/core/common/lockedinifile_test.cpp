#include "core/common/lockedinifile.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

// A program folder where the lock file cannot even be made: the cycle runs
// unlocked at once instead of polling until its deadline (the window froze
// for the whole time-out at every start-up and close).
TEST(LockedIniFile, LockThatCannotBeMadeIsNotWaitedFor)
{
    const QString path = QStringLiteral("/proc/qlt-no-such-folder/OpenCheck.ini");
    LockedIniFile::Options options;
    options.lockTimeoutMs = 60000;
    iniMente store;
    bool ran = false;
    QElapsedTimer clock;
    clock.start();
    const LockedIniFile::Result result = LockedIniFile::update(
        store, path,
        [&](iniMente &s) {
            ran = true;
            s.SetiniValue(QStringLiteral("File0"), QStringLiteral("/tmp/a.qlw"));
            return true;
        },
        options);
    // Far below the time-out: only a lock held by another process is waited for.
    EXPECT_LT(clock.elapsed(), 20000);
    EXPECT_FALSE(result.locked);
    EXPECT_TRUE(ran);
    EXPECT_TRUE(result.changed);
    EXPECT_FALSE(result.saved);

    clock.restart();
    EXPECT_TRUE(LockedIniFile::remove(QStringLiteral("/proc/qlt-no-such-folder/Recent.ini"), options));
    EXPECT_LT(clock.elapsed(), 20000);
}
