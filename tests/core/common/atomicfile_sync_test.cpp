// The order of the system calls of a save, seen by standing in for fsync and
// rename in this test program: the new name must reach the disk too, so the
// folder is synced after the rename.
#include "core/common/atomicfile.h"

#include "support/sandbox.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <climits>
#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

bool g_recording = false;
QStringList g_calls;

QString pathOfDescriptor(int fd)
{
    char target[PATH_MAX];
    const QByteArray link = "/proc/self/fd/" + QByteArray::number(fd);
    const ssize_t n = readlink(link.constData(), target, sizeof target - 1);
    return n < 0 ? QString() : QFile::decodeName(QByteArray(target, int(n)));
}

} // namespace

extern "C" int fsync(int fd)
{
    if (g_recording)
        g_calls.append(QStringLiteral("fsync ") + pathOfDescriptor(fd));
    return int(syscall(SYS_fsync, fd));
}

extern "C" int rename(const char *from, const char *to)
{
    if (g_recording)
        g_calls.append(QStringLiteral("rename ") + QFile::decodeName(to));
    return int(syscall(SYS_renameat, AT_FDCWD, from, AT_FDCWD, to));
}

TEST(AtomicFileSync, FolderIsSyncedAfterTheRename)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("cards.qlw");
    ASSERT_TRUE(Sandbox::writeBytes(path, "old"));
    g_calls.clear();
    g_recording = true;
    const bool written = AtomicFile::write(path, "new");
    g_recording = false;
    ASSERT_TRUE(written);
    const qsizetype renamed = g_calls.indexOf(QStringLiteral("rename ") + path);
    ASSERT_GE(renamed, 0) << g_calls.join(" | ").toStdString();
    // The new bytes before the rename, the folder after it.
    EXPECT_GE(renamed, 1);
    EXPECT_TRUE(g_calls.first().startsWith(QStringLiteral("fsync ") + path + QLatin1Char('.')))
        << g_calls.join(" | ").toStdString();
    EXPECT_TRUE(g_calls.mid(renamed + 1).contains(QStringLiteral("fsync ") + dir.path()))
        << g_calls.join(" | ").toStdString();
    EXPECT_EQ(Sandbox::readBytes(path), QByteArray("new"));
}
