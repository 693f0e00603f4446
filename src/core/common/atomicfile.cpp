#include "core/common/atomicfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace AtomicFile {

namespace {

constexpr char Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr int AlphabetSize = 62;

int indexIn(QChar c)
{
    const char *at = c.unicode() < 128 ? std::strchr(Alphabet, char(c.unicode())) : nullptr;
    return at && *at ? int(at - Alphabet) : -1;
}

// The six characters after NAME.ext.: five random ones holding at least one
// capital and one digit, then a check character over them. A person's file
// beside the card file ("memo.qlw.backup", "memo.qlw.old123") never has
// this form by chance, so the clean-up can tell our leftovers from theirs.
int checkIndex(const int (&index)[5])
{
    int sum = 23;
    static constexpr int weights[5] = {7, 11, 13, 17, 19};
    for (int i = 0; i < 5; ++i)
        sum += weights[i] * index[i];
    return sum % AlphabetSize;
}

QString randomSuffix()
{
    QRandomGenerator *random = QRandomGenerator::global();
    int index[5];
    for (int &i : index)
        i = int(random->bounded(AlphabetSize));
    const int capitalAt = int(random->bounded(5));
    const int digitAt = (capitalAt + 1 + int(random->bounded(4))) % 5;
    index[capitalAt] = int(random->bounded(26));
    index[digitAt] = 52 + int(random->bounded(10));
    QString suffix;
    for (int i : index)
        suffix += QLatin1Char(Alphabet[i]);
    suffix += QLatin1Char(Alphabet[checkIndex(index)]);
    return suffix;
}

QString systemText(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

bool fail(Failure *failure, int code, const char *step)
{
    failure->code = code;
    failure->detail = QString::fromLatin1(step) + QStringLiteral(": ")
                      + (code == NotRegularFile ? QStringLiteral("not a regular file") : systemText(code));
    return false;
}

bool writeAll(int fd, QByteArrayView data, off_t offset)
{
    qsizetype done = 0;
    while (done < data.size()) {
        const ssize_t n = ::pwrite(fd, data.data() + done, size_t(data.size() - done), offset + off_t(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        done += n;
    }
    return true;
}

bool readAll(int fd, QByteArray &bytes)
{
    struct stat st;
    if (::fstat(fd, &st) != 0)
        return false;
    bytes.resize(qsizetype(st.st_size));
    qsizetype done = 0;
    for (;;) {
        if (done == bytes.size())
            bytes.resize(done + 65536);
        const ssize_t n = ::pread(fd, bytes.data() + done, size_t(bytes.size() - done), off_t(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            break;
        done += n;
    }
    bytes.resize(done);
    return true;
}

// A new file NAME.ext.XXXXXX in folder, open for writing and locked (a lock
// tells the clean-up that a save is still writing it). -1 and errno set when
// the folder takes no new file.
int createBeside(const QString &folder, const QString &name, QString *created)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString path = folder + QLatin1Char('/') + name + QLatin1Char('.') + randomSuffix();
        const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return -1;
        }
        ::flock(fd, LOCK_EX);
        *created = path;
        return fd;
    }
    errno = EEXIST;
    return -1;
}

void syncFolder(const QString &folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    // Some file systems cannot sync a folder (EINVAL); the rename stands.
    ::fsync(fd);
    ::close(fd);
}

// Files beside the target left by saves that were killed before their
// rename. One still locked belongs to a save that is writing right now.
void removeLeftovers(const QString &folder, const QString &name)
{
    const QByteArray encodedFolder = QFile::encodeName(folder);
    DIR *dir = ::opendir(encodedFolder.constData());
    if (!dir)
        return;
    QList<QByteArray> stale;
    while (const dirent *entry = ::readdir(dir)) {
        const QString entryName = QFile::decodeName(entry->d_name);
        if (isTemporaryNameFor(name, entryName))
            stale.append(encodedFolder + '/' + entry->d_name);
    }
    ::closedir(dir);
    for (const QByteArray &path : std::as_const(stale)) {
        const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat st;
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlink(path.constData());
        ::close(fd);
    }
}

// The folder takes no new file, but the file itself is writable: rewrite it
// where it lies, with a copy of the old bytes in the temporary folder until
// the new ones are synced.
bool writeInPlace(const QString &target, QByteArrayView data, Failure *failure)
{
    failure->inPlace = true;
    const int fd = ::open(QFile::encodeName(target).constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return fail(failure, errno, "open");
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const int code = S_ISREG(st.st_mode) ? errno : NotRegularFile;
        ::close(fd);
        return fail(failure, code, "open");
    }
    QByteArray old;
    if (!readAll(fd, old)) {
        const int code = errno;
        ::close(fd);
        return fail(failure, code, "read the old content");
    }

    QString copy;
    const int copyFd = createBeside(QDir::tempPath(), QFileInfo(target).fileName(), &copy);
    if (copyFd < 0 || !writeAll(copyFd, old, 0) || ::fsync(copyFd) != 0) {
        const int code = errno;
        if (copyFd >= 0) {
            ::close(copyFd);
            ::unlink(QFile::encodeName(copy).constData());
        }
        ::close(fd);
        return fail(failure, code, "copy the old content");
    }
    ::close(copyFd);

    if (writeAll(fd, data, 0) && ::ftruncate(fd, off_t(data.size())) == 0 && ::fsync(fd) == 0) {
        ::close(fd);
        ::unlink(QFile::encodeName(copy).constData());
        return true;
    }
    const int code = errno;
    const bool restored = writeAll(fd, old, 0) && ::ftruncate(fd, off_t(old.size())) == 0 && ::fsync(fd) == 0;
    ::close(fd);
    if (restored)
        ::unlink(QFile::encodeName(copy).constData());
    else
        failure->keptCopy = copy;
    return fail(failure, code, "write in place");
}

bool folderRefused(int code)
{
    return code == EACCES || code == EPERM;
}

} // namespace

bool isTemporaryNameFor(const QString &targetName, const QString &name)
{
    if (name.size() != targetName.size() + 7 || !name.startsWith(targetName)
        || name.at(targetName.size()) != QLatin1Char('.'))
        return false;
    int index[5];
    bool capital = false;
    bool digit = false;
    for (int i = 0; i < 5; ++i) {
        index[i] = indexIn(name.at(targetName.size() + 1 + i));
        if (index[i] < 0)
            return false;
        capital |= index[i] < 26;
        digit |= index[i] >= 52;
    }
    return capital && digit && indexIn(name.back()) == checkIndex(index);
}

Writer::~Writer()
{
    abandon();
}

bool Writer::failWith(int code, const char *step)
{
    m_failed = true;
    return fail(&m_failure, code, step);
}

bool Writer::open(const QString &path)
{
    abandon();
    m_failure = Failure{};
    m_failed = false;
    m_size = 0;
    if (path.isEmpty())
        return failWith(ENOENT, "open");

    // A link is written through to the file it names, and stays a link.
    const QFileInfo info(path);
    m_target = info.isSymLink() ? info.symLinkTarget() : info.absoluteFilePath();
    const QString folder = QFileInfo(m_target).absolutePath();
    const QString name = QFileInfo(m_target).fileName();
    const QByteArray encoded = QFile::encodeName(m_target);

    struct stat st;
    const bool exists = ::stat(encoded.constData(), &st) == 0;
    if (exists && !S_ISREG(st.st_mode))
        return failWith(NotRegularFile, "open");
    if (exists && ::access(encoded.constData(), W_OK) != 0)
        return failWith(errno, "open");

    m_existed = exists;
    m_fd = createBeside(folder, name, &m_temporary);
    if (m_fd < 0) {
        const int code = errno;
        m_temporary.clear();
        if (exists && folderRefused(code)) {
            m_inPlace = true;
            return true;
        }
        return failWith(code, "create a file beside it");
    }
    if (exists) {
        // The new file takes the old one's permissions, and its owner where
        // that is allowed (only root may give a file away; ours otherwise).
        const int owned = ::fchown(m_fd, st.st_uid, st.st_gid);
        (void)owned;
        ::fchmod(m_fd, st.st_mode & 07777);
    }
    return true;
}

bool Writer::append(QByteArrayView data)
{
    if (m_failed || (m_fd < 0 && !m_inPlace))
        return false;
    if (m_inPlace) {
        m_gathered.append(data.data(), data.size());
    } else if (!writeAll(m_fd, data, off_t(m_size))) {
        const int code = errno;
        abandon();
        return failWith(code, "write");
    }
    m_size += data.size();
    return true;
}

bool Writer::commit()
{
    if (m_failed || (m_fd < 0 && !m_inPlace))
        return false;
    if (m_inPlace) {
        const QByteArray data = std::exchange(m_gathered, QByteArray());
        m_inPlace = false;
        if (!writeInPlace(m_target, data, &m_failure)) {
            m_failed = true;
            return false;
        }
        return true;
    }
    const QByteArray encodedTemporary = QFile::encodeName(m_temporary);
    const QByteArray encoded = QFile::encodeName(m_target);
    if (::fsync(m_fd) != 0) {
        const int code = errno;
        abandon();
        return failWith(code, "write");
    }
    if (::rename(encodedTemporary.constData(), encoded.constData()) != 0) {
        const int code = errno;
        // A sticky folder lets us write the file but not replace it: the
        // new bytes go into it in place, read back from the file beside it.
        QByteArray data;
        bool readBack = false;
        if (folderRefused(code) && m_existed) {
            const int in = ::open(encodedTemporary.constData(), O_RDONLY | O_CLOEXEC);
            readBack = in >= 0 && readAll(in, data);
            if (in >= 0)
                ::close(in);
        }
        abandon();
        if (readBack) {
            if (!writeInPlace(m_target, data, &m_failure)) {
                m_failed = true;
                return false;
            }
            return true;
        }
        return failWith(code, "rename");
    }
    ::close(m_fd);
    m_fd = -1;
    m_temporary.clear();
    const QString folder = QFileInfo(m_target).absolutePath();
    syncFolder(folder);
    removeLeftovers(folder, QFileInfo(m_target).fileName());
    return true;
}

void Writer::abandon()
{
    if (m_fd >= 0) {
        ::unlink(QFile::encodeName(m_temporary).constData());
        ::close(m_fd);
        m_fd = -1;
    }
    m_temporary.clear();
    m_inPlace = false;
    m_gathered = QByteArray();
}

bool write(const QString &path, QByteArrayView data, Failure *failure)
{
    Writer writer;
    const bool written = writer.open(path) && writer.append(data) && writer.commit();
    if (failure)
        *failure = writer.failure();
    return written;
}

bool write(const QString &path, QByteArrayView data, QString *error)
{
    Failure failure;
    if (write(path, data, &failure))
        return true;
    if (error)
        *error = failure.detail;
    return false;
}

QuickFile::~QuickFile()
{
    discard();
}

namespace {

// Whether an unnamed file can be given its name through /proc, which is
// where linkat finds it without privileges.
bool canLinkUnnamedFiles()
{
    static const bool can = ::access("/proc/self/fd", X_OK) == 0;
    return can;
}

// Calls make(temp) with temp a random name of this module's short form in
// folder until make succeeds (true) or fails otherwise than on a name taken
// (false, errno set).
template<typename Make>
bool underFreshName(const QByteArray &folder, QByteArray &temp, Make &&make)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        char name[32];
        std::snprintf(name, sizeof name, "/.qlt%08x.tmp", unsigned(QRandomGenerator::global()->generate()));
        temp = folder + name;
        if (make(temp))
            return true;
        if (errno != EEXIST)
            return false;
    }
    errno = EEXIST;
    return false;
}

// Opens a new file of a fresh name in folder; temp gets its path. -1 with
// errno set when no such file can be made.
int openTemporary(const QByteArray &folder, QByteArray &temp)
{
    int fd = -1;
    underFreshName(folder, temp, [&](const QByteArray &path) {
        fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        return fd >= 0;
    });
    return fd;
}

// Where linkat finds the file open as fd.
struct ProcPath {
    explicit ProcPath(int fd) { std::snprintf(path, sizeof path, "/proc/self/fd/%d", fd); }
    char path[32];
};

// Gives the unnamed file open as fd a fresh name in folder; temp gets it.
bool linkTemporary(int fd, const QByteArray &folder, QByteArray &temp)
{
    const ProcPath proc(fd);
    return underFreshName(folder, temp, [&](const QByteArray &path) {
        return ::linkat(AT_FDCWD, proc.path, AT_FDCWD, path.constData(), AT_SYMLINK_FOLLOW) == 0;
    });
}

} // namespace

bool QuickFile::fail(int code)
{
    m_error = systemText(code);
    discard();
    return false;
}

void QuickFile::discard()
{
    if (m_fd < 0)
        return;
    ::close(m_fd);
    if (!m_unnamed)
        ::unlink(m_temp.constData());
    m_fd = -1;
}

bool QuickFile::open(const QString &path)
{
    discard();
    m_error.clear();
    m_size = 0;
    m_target = QFile::encodeName(path);
    const qsizetype slash = m_target.lastIndexOf('/');
    m_folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : m_target.left(slash);
    // An unnamed file needs no name of its own in the folder, takes one
    // entry there instead of two, and goes with the process if it never gets
    // its name. A file system without them takes a named temporary file.
    m_unnamed = canLinkUnnamedFiles();
    if (m_unnamed) {
        m_fd = ::open(m_folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
        m_unnamed = m_fd >= 0;
    }
    if (!m_unnamed)
        m_fd = openTemporary(m_folder, m_temp);
    if (m_fd < 0) {
        m_error = systemText(errno);
        return false;
    }
    return true;
}

bool QuickFile::append(QByteArrayView data)
{
    if (m_fd < 0)
        return false;
    if (!writeAll(m_fd, data, off_t(m_size)))
        return fail(errno);
    m_size += data.size();
    return true;
}

bool QuickFile::commit(struct stat *state)
{
    if (m_fd < 0)
        return false;
    const int fd = m_fd;
    m_fd = -1;
    auto failWith = [&](int code) {
        ::close(fd);
        m_error = systemText(code);
        return false;
    };
    // The failure of the last call, with the file at path taken away.
    auto failRemoving = [&](const QByteArray &path) {
        const int code = errno;
        ::unlink(path.constData());
        m_error = systemText(code);
        return false;
    };
    if (m_unnamed) {
        if (::linkat(AT_FDCWD, ProcPath(fd).path, AT_FDCWD, m_target.constData(), AT_SYMLINK_FOLLOW) == 0) {
            // The state once the file has its name (the link changes it).
            if (state && ::fstat(fd, state) != 0)
                return failWith(errno);
            // A write that failed late shows at the close: the page is not
            // whole, and nothing stood at its name before.
            return ::close(fd) == 0 || failRemoving(m_target);
        }
        // A file already there is replaced by a rename, which needs a name.
        if (errno != EEXIST || !linkTemporary(fd, m_folder, m_temp))
            return failWith(errno);
    }
    // The old file stays until every byte is known written.
    if (::close(fd) != 0 || ::rename(m_temp.constData(), m_target.constData()) != 0)
        return failRemoving(m_temp);
    if (state && ::stat(m_target.constData(), state) != 0) {
        m_error = systemText(errno);
        return false;
    }
    return true;
}

bool writeQuick(const QString &path, QByteArrayView data, QString *error, struct stat *state)
{
    QuickFile file;
    if (file.open(path) && file.append(data) && file.commit(state))
        return true;
    if (error)
        *error = file.error();
    return false;
}

} // namespace AtomicFile
