#include "core/common/atomicfile.h"

#include "support/sandbox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Runs AtomicFile::write in a child process whose files may not grow past
// limit bytes, as on a full disk. Returns the child's exit status: 0 when the
// write reported success, 1 when it reported failure.
int writeUnderSizeLimit(const QString &path, const QByteArray &data, rlim_t limit)
{
    const pid_t pid = fork();
    if (pid == 0) {
        signal(SIGXFSZ, SIG_IGN); // make the kernel fail the write with EFBIG instead
        rlimit rl{limit, limit};
        setrlimit(RLIMIT_FSIZE, &rl);
        _exit(AtomicFile::write(path, data) ? 0 : 1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

TEST(AtomicFile, WritesNewFileWithExactBytes)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("new.qlw");
    const QByteArray data("A\x01\x01x\r\ny\x01", 8);
    ASSERT_TRUE(AtomicFile::write(path, data));
    EXPECT_EQ(Sandbox::readBytes(path), data);
}

TEST(AtomicFile, ReplacesExistingFileAndLeavesNoTemporaryBehind)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("f.ini");
    ASSERT_TRUE(Sandbox::writeBytes(path, "old contents that are longer"));
    ASSERT_TRUE(AtomicFile::write(path, "new"));
    EXPECT_EQ(Sandbox::readBytes(path), QByteArray("new"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"f.ini"});
}

TEST(AtomicFile, EmptyDataGivesEmptyFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("empty.qlw");
    ASSERT_TRUE(Sandbox::writeBytes(path, "xyz"));
    ASSERT_TRUE(AtomicFile::write(path, QByteArray()));
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(QFile(path).size(), 0);
}

TEST(AtomicFile, DiskFullHalfWayKeepsOldFileIntact)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("cards.qlw");
    const QByteArray old("the old card file\x01\x01\x01");
    ASSERT_TRUE(Sandbox::writeBytes(path, old));

    const QByteArray big(256 * 1024, 'x');
    EXPECT_EQ(writeUnderSizeLimit(path, big, 64 * 1024), 1) << "a short write must be reported";
    EXPECT_EQ(Sandbox::readBytes(path), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"cards.qlw"});
}

TEST(AtomicFile, WriteWithinLimitSucceedsInChildToo)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("small.qlw");
    EXPECT_EQ(writeUnderSizeLimit(path, QByteArray(1000, 'y'), 64 * 1024), 0);
    EXPECT_EQ(Sandbox::readBytes(path).size(), 1000);
}

TEST(AtomicFile, UnwritableFolderFailsWithReason)
{
    QString error;
    EXPECT_FALSE(AtomicFile::write("/proc/no-such-folder/x.qlw", "abc", &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(AtomicFile, WritesThroughSymlinkToItsTarget)
{
    QTemporaryDir dir;
    const QString target = dir.filePath("real.qlw");
    const QString link = dir.filePath("link.qlw");
    ASSERT_TRUE(Sandbox::writeBytes(target, "old"));
    ASSERT_TRUE(QFile::link(target, link));
    ASSERT_TRUE(AtomicFile::write(link, "new"));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(Sandbox::readBytes(target), QByteArray("new"));
}
