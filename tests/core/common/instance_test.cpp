// One test case only: ctest runs each case of an executable as a process of
// its own, and two of them at once would be "another instance". The check
// itself runs in a private copy of the executable, so another run of this
// test binary (a second ctest in the same build, say) cannot disturb it.
#include "core/common/qtservices.h"

#include "support/sandbox.h"

#include <QFile>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

TEST(QtProcessesInstance, SeesASecondProcessOfThisExecutable)
{
    const char *const inCopy = "QLT_INSTANCE_TEST_COPY";
    if (!qEnvironmentVariableIsEmpty("QLT_INSTANCE_TEST_WAIT")) {
        for (;;)
            pause(); // a second process, ended by the test
    }
    if (qEnvironmentVariableIsEmpty(inCopy)) {
        const QString copy = Sandbox::root() + QStringLiteral("/instance_test_copy");
        ASSERT_TRUE(QFile::copy(QStringLiteral("/proc/self/exe"), copy));
        ASSERT_TRUE(QFile::setPermissions(copy, QFile::ReadOwner | QFile::ExeOwner));
        QProcess run;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QLatin1String(inCopy), QStringLiteral("1"));
        run.setProcessEnvironment(env);
        run.setProcessChannelMode(QProcess::MergedChannels);
        run.start(copy, {QStringLiteral("--gtest_filter=QtProcessesInstance.*")});
        ASSERT_TRUE(run.waitForFinished(60000));
        EXPECT_EQ(run.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(run.exitCode(), 0) << run.readAll().toStdString();
        return;
    }

    QtProcesses processes;
    EXPECT_FALSE(processes.anotherInstanceRunning());

    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Runs this very executable; stays until the parent ends it.
        close(ready[0]);
        (void)!write(ready[1], "x", 1);
        for (;;)
            pause();
    }
    close(ready[1]);
    char c;
    ASSERT_EQ(read(ready[0], &c, 1), 1);
    close(ready[0]);

    EXPECT_TRUE(processes.anotherInstanceRunning());

    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_FALSE(processes.anotherInstanceRunning());

    // A process of this program given another program folder keeps its lists
    // there: it does not count. One given the same folder does.
    QByteArray ownHome;
    {
        QFile environment(QStringLiteral("/proc/self/environ"));
        ASSERT_TRUE(environment.open(QIODevice::ReadOnly));
        for (const QByteArray &entry : environment.readAll().split('\0')) {
            if (entry.startsWith("QLT_HOME="))
                ownHome = entry.mid(9);
        }
    }
    for (const bool sameHome : {false, true}) {
        QProcess second;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QLT_INSTANCE_TEST_WAIT"), QStringLiteral("1"));
        env.insert(QStringLiteral("QLT_HOME"), sameHome ? QString::fromLocal8Bit(ownHome)
                                                        : QString::fromLocal8Bit(ownHome) + QStringLiteral("-other"));
        second.setProcessEnvironment(env);
        second.start(QStringLiteral("/proc/self/exe"), {QStringLiteral("--gtest_filter=QtProcessesInstance.*")});
        ASSERT_TRUE(second.waitForStarted(10000));
        QThread::msleep(200); // past its exec
        EXPECT_EQ(processes.anotherInstanceRunning(), sameHome) << "same home: " << sameHome;
        second.kill();
        second.waitForFinished(10000);
    }
}
