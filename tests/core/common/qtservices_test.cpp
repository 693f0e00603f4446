#include "core/common/qtservices.h"

#include "support/sandbox.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

const QString kShell = QStringLiteral("/bin/sh");

// Waits, pumping events, until path exists or ms pass.
bool waitForFile(const QString &path, int ms)
{
    QDeadlineTimer deadline(ms);
    while (!QFileInfo::exists(path)) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents();
        QThread::msleep(20);
    }
    return true;
}

} // namespace

TEST(QtProcessesWait, ReturnsTheExitCode)
{
    QtProcesses processes;
    const Processes::Outcome ok = processes.startAndWait(kShell, {"-c", "exit 0"});
    EXPECT_EQ(ok.result, Processes::WaitResult::Finished);
    EXPECT_EQ(ok.exitCode, 0);
    const Processes::Outcome three = processes.startAndWait(kShell, {"-c", "exit 3"}, 10000);
    EXPECT_EQ(three.result, Processes::WaitResult::Finished);
    EXPECT_EQ(three.exitCode, 3);
}

TEST(QtProcessesWait, PassesArgumentsUnsplit)
{
    QTemporaryDir dir;
    const QString out = dir.filePath("a b.txt");
    QtProcesses processes;
    const auto outcome = processes.startAndWait(kShell, {"-c", "printf '%s' \"$1\" > \"$2\"", "sh", "メモ 1", out});
    ASSERT_EQ(outcome.result, Processes::WaitResult::Finished);
    EXPECT_EQ(QString::fromUtf8(Sandbox::readBytes(out)), QStringLiteral("メモ 1"));
}

TEST(QtProcessesWait, MissingProgramFails)
{
    QtProcesses processes;
    const auto outcome = processes.startAndWait(Sandbox::root() + "/no-such-program", {});
    EXPECT_EQ(outcome.result, Processes::WaitResult::Failed);
    EXPECT_EQ(processes.startAndWait("", {}).result, Processes::WaitResult::Failed);
}

TEST(QtProcessesWait, CrashIsToldApartFromAFailedStart)
{
    QtProcesses processes;
    const auto outcome = processes.startAndWait(kShell, {"-c", "kill -KILL $$"});
    EXPECT_EQ(outcome.result, Processes::WaitResult::Crashed);
}

TEST(QtProcessesWait, EventsRunWhileWaiting)
{
    QtProcesses processes;
    bool fired = false;
    QTimer::singleShot(20, [&] { fired = true; });
    const auto outcome = processes.startAndWait(kShell, {"-c", "sleep 0.5"});
    EXPECT_EQ(outcome.result, Processes::WaitResult::Finished);
    EXPECT_TRUE(fired);
}

TEST(QtProcessesWait, TimeoutLeavesTheProgramRunning)
{
    QTemporaryDir dir;
    const QString done = dir.filePath("done");
    QtProcesses processes;
    const auto outcome = processes.startAndWait(kShell, {"-c", "sleep 1; echo > \"$1\"", "sh", done}, 100);
    EXPECT_EQ(outcome.result, Processes::WaitResult::TimedOut);
    EXPECT_FALSE(QFileInfo::exists(done));
    // The program was not killed: it finishes its work after the wait.
    EXPECT_TRUE(waitForFile(done, 10000));
}

TEST(QtProcessesDetached, StartsAndForgets)
{
    QTemporaryDir dir;
    const QString done = dir.filePath("done");
    QtProcesses processes;
    EXPECT_TRUE(processes.startDetached(kShell, {"-c", "echo > done"}, dir.path()));
    EXPECT_TRUE(waitForFile(done, 10000));
    EXPECT_FALSE(processes.startDetached(Sandbox::root() + "/no-such-program", {}));
}

TEST(QSettingsUserStore, RoundTripInTheSandbox)
{
    QSettingsUserStore store;
    EXPECT_FALSE(store.value("Path").has_value());
    store.setValue("Path", "/opt/QLT@WIN/メモ");
    store.setValue("MAXOFRECENTFILE", "10");
    store.setValue("MostFront", "");

    QSettingsUserStore other; // what another process would read
    EXPECT_EQ(other.value("Path"), QStringLiteral("/opt/QLT@WIN/メモ"));
    EXPECT_EQ(other.value("MAXOFRECENTFILE"), QStringLiteral("10"));
    EXPECT_EQ(other.value("MostFront"), QString()); // set but empty is not missing
    EXPECT_FALSE(other.value("EXEVer").has_value());

    // The values live in the per-user configuration, which the sandbox holds.
    const QString file = Sandbox::root() + "/config/Orvale SoftWares/QLT@WIN.conf";
    ASSERT_TRUE(QFileInfo::exists(file));
    QSettings raw(file, QSettings::IniFormat);
    EXPECT_EQ(raw.value("Path").toString(), QStringLiteral("/opt/QLT@WIN/メモ"));
}

TEST(QSettingsUserStore, OverwritesValues)
{
    QSettingsUserStore store;
    store.setValue("EXEVer", "1.0.0");
    store.setValue("EXEVer", "1.0.1");
    EXPECT_EQ(store.value("EXEVer"), QStringLiteral("1.0.1"));
}

TEST(QtProcessesWait, ProgramThatOutlivesTheWaitAndTheServiceKeepsNothingOfOurs)
{
    QTemporaryDir dir;
    const QString done = dir.filePath("done");
    {
        QtProcesses processes;
        const auto outcome = processes.startAndWait(kShell, {"-c", "sleep 0.5; echo > \"$1\"", "sh", done}, 50);
        EXPECT_EQ(outcome.result, Processes::WaitResult::TimedOut);
    }
    // Nothing of it is left to free at exit (LeakSanitizer checks that), and
    // it still ends its work.
    EXPECT_TRUE(waitForFile(done, 10000));
}

TEST(QtProcessesWait, ProgramIsFoundOnThePath)
{
    QtProcesses processes;
    const auto outcome = processes.startAndWait(QStringLiteral("sh"), {"-c", "exit 4"});
    EXPECT_EQ(outcome.result, Processes::WaitResult::Finished);
    EXPECT_EQ(outcome.exitCode, 4);
}
