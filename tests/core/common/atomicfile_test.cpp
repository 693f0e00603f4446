#include "core/common/atomicfile.h"

#include "support/sandbox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
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

TEST(AtomicFileWriter, PiecesMakeTheFileOnlyAtCommit)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("cards.qlw");
    ASSERT_TRUE(Sandbox::writeBytes(path, "old"));
    AtomicFile::Writer writer;
    ASSERT_TRUE(writer.open(path));
    QByteArray expected;
    for (int i = 0; i < 300; ++i) {
        const QByteArray piece(i * 37 % 5000, char('a' + i % 26));
        ASSERT_TRUE(writer.append(piece));
        expected += piece;
    }
    EXPECT_EQ(writer.size(), expected.size());
    EXPECT_EQ(Sandbox::readBytes(path), QByteArray("old")) << "nothing replaced before the commit";
    ASSERT_TRUE(writer.commit());
    EXPECT_EQ(Sandbox::readBytes(path), expected);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"cards.qlw"});
}

TEST(AtomicFileWriter, AbandonedOrDroppedContentLeavesTheOldFileAndNothingBeside)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("cards.qlw");
    ASSERT_TRUE(Sandbox::writeBytes(path, "old"));
    for (const bool explicitly : {true, false}) {
        AtomicFile::Writer writer;
        ASSERT_TRUE(writer.open(path));
        ASSERT_TRUE(writer.append("new bytes"));
        if (explicitly) {
            writer.abandon();
            EXPECT_FALSE(writer.commit());
        }
    }
    EXPECT_EQ(Sandbox::readBytes(path), QByteArray("old"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"cards.qlw"});
}

TEST(AtomicFileWriter, RefusesWhatWriteRefuses)
{
    QTemporaryDir dir;
    AtomicFile::Writer writer;
    EXPECT_FALSE(writer.open(QString()));
    EXPECT_EQ(writer.failure().code, ENOENT);
    EXPECT_FALSE(writer.open(dir.filePath("no/such/folder/x.qlw")));
    EXPECT_EQ(writer.failure().code, ENOENT);
    EXPECT_FALSE(writer.append("x"));
    EXPECT_FALSE(writer.commit());
    EXPECT_FALSE(writer.open(dir.path()));
    EXPECT_EQ(writer.failure().code, AtomicFile::NotRegularFile);
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

// ------------------------------------------------------- reasons and leftovers

TEST(AtomicFile, FailureCarriesTheSystemsReason)
{
    AtomicFile::Failure failure;
    EXPECT_FALSE(AtomicFile::write("/proc/no-such-folder/x.qlw", "abc", &failure));
    EXPECT_EQ(failure.code, ENOENT);
    EXPECT_FALSE(failure.detail.isEmpty());
    EXPECT_FALSE(failure.inPlace);

    QTemporaryDir dir;
    EXPECT_FALSE(AtomicFile::write(dir.filePath(QString(300, QLatin1Char('n')) + ".qlw"), "abc", &failure));
    EXPECT_EQ(failure.code, ENAMETOOLONG);
}

TEST(AtomicFile, NonRegularTargetIsRefusedWithoutBlocking)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath("pipe.qlw");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    AtomicFile::Failure failure;
    EXPECT_FALSE(AtomicFile::write(fifo, "abc", &failure));
    EXPECT_EQ(failure.code, AtomicFile::NotRegularFile);
    EXPECT_FALSE(AtomicFile::write(dir.path(), "abc", &failure));
    EXPECT_EQ(failure.code, AtomicFile::NotRegularFile);
}

namespace {

// A name of the form a save gives the file beside target.
QString leftoverNameFor(const QString &target)
{
    for (const QChar last : QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789")) {
        const QString name = target + QStringLiteral(".Qx7pZ") + last;
        if (AtomicFile::isTemporaryNameFor(target, name))
            return name;
    }
    return QString();
}

} // namespace

TEST(AtomicFile, LeftoversOfKilledSavesGoAtTheNextSave)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("cards.qlw");
    ASSERT_TRUE(Sandbox::writeBytes(path, "old"));
    const QString leftover = leftoverNameFor("cards.qlw");
    ASSERT_FALSE(leftover.isEmpty());
    ASSERT_TRUE(Sandbox::writeBytes(dir.filePath(leftover), "half a save"));
    // A person's files beside the card file are no leftovers.
    const QStringList theirs{"cards.qlw.backup", "cards.qlw.Old123", "cards.qlw.bak", "other.qlw" + leftover.mid(9)};
    for (const QString &name : theirs)
        ASSERT_TRUE(Sandbox::writeBytes(dir.filePath(name), "keep"));

    ASSERT_TRUE(AtomicFile::write(path, "new"));
    QStringList expected = theirs;
    expected << "cards.qlw";
    expected.sort();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name), expected);
}

TEST(AtomicFile, SaveKilledWhileWritingLeavesOldFileAndNothingAfterTheNextSave)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("cards.qlw");
    ASSERT_TRUE(Sandbox::writeBytes(path, "old"));
    const pid_t pid = fork();
    if (pid == 0) {
        // SIGXFSZ kills the save in the middle of its write.
        rlimit rl{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &rl);
        (void)AtomicFile::write(path, QByteArray(64 * 1024, 'x'));
        _exit(0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(Sandbox::readBytes(path), QByteArray("old"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2) << "the killed save's file is left";

    ASSERT_TRUE(AtomicFile::write(path, "new"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"cards.qlw"});
}

TEST(AtomicFile, FileBeingWrittenByAnotherSaveIsNotTakenAway)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("cards.qlw");
    const QString busy = dir.filePath(leftoverNameFor("cards.qlw"));
    ASSERT_TRUE(Sandbox::writeBytes(busy, "being written"));
    const int fd = ::open(QFile::encodeName(busy).constData(), O_RDONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(flock(fd, LOCK_EX), 0);
    ASSERT_TRUE(AtomicFile::write(path, "new"));
    EXPECT_TRUE(QFileInfo::exists(busy));
    ::close(fd);
}

// ------------------------------------------------------------------ in place

namespace {

// Runs write in a child that may write the file but may not make files in
// its folder (as another user when the tests run as root). The exit status:
// 0 written, 1 failed, 2 failed while writing in place, 3 failed in place
// with the old bytes kept elsewhere.
int writeAsGuest(const QString &path, const QByteArray &data, const QString &copies, rlim_t sizeLimit = RLIM_INFINITY)
{
    const pid_t pid = fork();
    if (pid == 0) {
        qputenv("TMPDIR", QFile::encodeName(copies));
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(99);
        signal(SIGXFSZ, SIG_IGN);
        rlimit rl{sizeLimit, sizeLimit};
        setrlimit(RLIMIT_FSIZE, &rl);
        AtomicFile::Failure failure;
        if (AtomicFile::write(path, data, &failure))
            _exit(0);
        _exit(!failure.inPlace ? 1 : failure.keptCopy.isEmpty() ? 2 : 3);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct ClosedFolder {
    QTemporaryDir dir;
    QString folder;
    QString copies;
    QString file;

    ClosedFolder()
    {
        // Every folder of the sandbox on the way must be passable for the
        // other user (the folders above it are the system's).
        const QString root = Sandbox::root();
        for (QString at = dir.path(); at.startsWith(root); at = QFileInfo(at).absolutePath())
            chmod(QFile::encodeName(at).constData(), 0755);
        folder = dir.filePath("closed");
        copies = dir.filePath("copies");
        QDir().mkpath(folder);
        QDir().mkpath(copies);
        chmod(QFile::encodeName(copies).constData(), 0777);
        file = folder + "/cards.qlw";
        Sandbox::writeBytes(file, "the old card file");
        chmod(QFile::encodeName(file).constData(), 0666);
        chmod(QFile::encodeName(folder).constData(), 0555);
    }
    ~ClosedFolder() { chmod(QFile::encodeName(folder).constData(), 0755); }
};

} // namespace

TEST(AtomicFile, WritableFileInAFolderThatTakesNoNewFileIsWrittenInPlace)
{
    ClosedFolder closed;
    EXPECT_EQ(writeAsGuest(closed.file, "new bytes", closed.copies), 0);
    EXPECT_EQ(Sandbox::readBytes(closed.file), QByteArray("new bytes"));
    EXPECT_EQ(QDir(closed.folder).entryList(QDir::Files | QDir::Hidden), QStringList{"cards.qlw"});
    EXPECT_TRUE(QDir(closed.copies).entryList(QDir::Files | QDir::Hidden).isEmpty()) << "the copy of the old bytes";
}

TEST(AtomicFile, InPlaceWriteThatBreaksOffPutsTheOldBytesBack)
{
    ClosedFolder closed;
    EXPECT_EQ(writeAsGuest(closed.file, QByteArray(256 * 1024, 'x'), closed.copies, 64 * 1024), 2);
    EXPECT_EQ(Sandbox::readBytes(closed.file), QByteArray("the old card file"));
    EXPECT_TRUE(QDir(closed.copies).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

namespace {

mode_t umaskNow()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

QStringList namesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

TEST(QuickFile, NewAndReplacedFilesAreWholeWithTheirStateAndNothingBeside)
{
    QTemporaryDir dir;
    const QString page = dir.filePath("page.html");
    const QString old = dir.filePath("old.html");
    ASSERT_TRUE(Sandbox::writeBytes(old, "the page of the last run, longer"));
    for (const QString &path : {page, old}) {
        SCOPED_TRACE(path.toStdString());
        struct stat given {};
        QString error;
        ASSERT_TRUE(AtomicFile::writeQuick(path, "<p>new</p>", &error, &given)) << error.toStdString();
        EXPECT_EQ(Sandbox::readBytes(path), QByteArray("<p>new</p>"));
        // The state handed back is the file's as it was left, times included,
        // so a record of it recognises the file on the next run.
        struct stat real {};
        ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &real), 0);
        EXPECT_EQ(given.st_ino, real.st_ino);
        EXPECT_EQ(given.st_size, 10);
        EXPECT_EQ(given.st_mtim.tv_nsec, real.st_mtim.tv_nsec);
        EXPECT_EQ(given.st_ctim.tv_sec, real.st_ctim.tv_sec);
        EXPECT_EQ(given.st_ctim.tv_nsec, real.st_ctim.tv_nsec);
        EXPECT_EQ(given.st_mode & 0777, 0666 & ~umaskNow());
    }
    EXPECT_EQ(namesIn(dir.path()), (QStringList{"old.html", "page.html"}));
}

TEST(QuickFile, PiecesShowOnlyAtCommitAndAWriterThatDiesLeavesNothing)
{
    QTemporaryDir dir;
    const int probe = ::open(QFile::encodeName(dir.path()).constData(), O_TMPFILE | O_WRONLY, 0600);
    if (probe < 0)
        GTEST_SKIP() << "the file system of " << dir.path().toStdString() << " makes no unnamed files";
    ::close(probe);
    const QString fresh = dir.filePath("fresh.html");
    const QString old = dir.filePath("old.html");
    ASSERT_TRUE(Sandbox::writeBytes(old, "old"));
    for (const QString &path : {fresh, old}) {
        SCOPED_TRACE(path.toStdString());
        AtomicFile::QuickFile file;
        ASSERT_TRUE(file.open(path));
        ASSERT_TRUE(file.append("one ") && file.append("two"));
        EXPECT_EQ(namesIn(dir.path()), QStringList{"old.html"}) << "nothing shows before the commit";
        EXPECT_EQ(Sandbox::readBytes(old), QByteArray("old"));
        ASSERT_TRUE(file.commit());
        EXPECT_EQ(Sandbox::readBytes(path), QByteArray("one two"));
        ASSERT_TRUE(QFile::remove(fresh) || path == old);
    }

    // SIGXFSZ kills the writer in the middle of its bytes.
    const pid_t pid = fork();
    if (pid == 0) {
        rlimit rl{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &rl);
        AtomicFile::QuickFile file;
        (void)(file.open(fresh) && file.append(QByteArray(64 * 1024, 'x')) && file.commit());
        _exit(0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(namesIn(dir.path()), QStringList{"old.html"});
}

TEST(QuickFile, AFolderAtTheTargetIsLeftAndTheFailureSaysWhy)
{
    QTemporaryDir dir;
    const QString target = dir.filePath("index.html");
    ASSERT_TRUE(QDir().mkdir(target));
    ASSERT_TRUE(Sandbox::writeBytes(target + "/inside", "x"));
    QString error;
    EXPECT_FALSE(AtomicFile::writeQuick(target, "<p>page</p>", &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(QFileInfo(target).isDir());
    EXPECT_EQ(namesIn(dir.path()), QStringList{"index.html"}) << "no temporary file is left beside";
}
