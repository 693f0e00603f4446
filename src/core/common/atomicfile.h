#pragma once
// The one way the system writes a file: the bytes go to a new file beside
// the target, which replaces it by a rename only when every byte was written
// and synced; the folder is synced after the rename, so the new name
// survives a power loss. A failed write leaves the old file exactly as it
// was.
//
// A writable file in a folder that takes no new file (a folder of someone
// else's, a sticky folder) is rewritten in place instead: a copy of the old
// bytes goes to the temporary folder first and is removed only once the new
// bytes are written and synced; a write that breaks off puts the old bytes
// back.
//
// The file beside the target is named NAME.ext.XXXXXX. A save killed before
// its rename leaves it behind; the next successful save of the same target
// removes such files (only names of this program's form, and none another
// save is still writing).

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

struct stat;

namespace AtomicFile {

// Failure::code for a target that is there but no regular file (a FIFO, a
// device, a folder): writing it would block or replace it.
inline constexpr int NotRegularFile = -1;

struct Failure {
    int code = 0;         // errno of the step that failed, or NotRegularFile
    QString detail;       // the step and the system's words, for logs ("rename: Permission denied")
    bool inPlace = false; // the folder took no new file; the target was being rewritten in place
    QString keptCopy;     // an in-place write broke off and the old bytes could not be put back: they are here
};

// Replaces (or creates) path with data. False, and what went wrong in
// *failure, when anything failed; the old file is then untouched.
[[nodiscard]] bool write(const QString &path, QByteArrayView data, Failure *failure);
// The same; *error gets Failure::detail.
[[nodiscard]] bool write(const QString &path, QByteArrayView data, QString *error = nullptr);

// The same replacement for bytes made piece by piece: open, append as often
// as needed, commit. The pieces go straight into the file beside the target,
// so the whole content is never held at once; nothing replaces the target
// before commit, and abandoning (or destroying the writer uncommitted)
// removes the new file and leaves the old one as it was. Where the folder
// takes no new file the pieces are gathered and written in place at commit,
// as write() does.
class Writer
{
public:
    Writer() = default;
    ~Writer();
    Writer(const Writer &) = delete;
    Writer &operator=(const Writer &) = delete;

    // Starts the new content of path. False when no new file can be made.
    [[nodiscard]] bool open(const QString &path);
    // Adds data after what was appended before. False once anything failed.
    [[nodiscard]] bool append(QByteArrayView data);
    // Syncs the new content and puts it in the target's place. False when
    // anything failed since open; the old file is then untouched.
    [[nodiscard]] bool commit();
    // Drops the new content; the old file stays as it was.
    void abandon();
    // What went wrong, after a false from open, append or commit.
    const Failure &failure() const { return m_failure; }
    // Bytes appended so far.
    qint64 size() const { return m_size; }

private:
    bool failWith(int code, const char *step);

    Failure m_failure;
    QString m_target;    // the file a link names, or path itself
    QString m_temporary; // the file beside it, while one is open
    int m_fd = -1;
    bool m_inPlace = false; // the folder takes no new file: pieces gathered in m_gathered
    bool m_existed = false; // the target was there when opened
    QByteArray m_gathered;
    bool m_failed = false;
    qint64 m_size = 0;
};

// Whether name is one this module gives the file beside target (tests).
bool isTemporaryNameFor(const QString &targetName, const QString &name);

// A lighter atomic write for output written by the thousand and easy to make
// again (HTML pages). The bytes go to an unnamed file in the target's folder,
// which is given the target's name only once they are all written: a
// reader never sees a partial file, and a process that dies first leaves
// nothing behind. A file already at the target is replaced by a rename from
// a short name of this module (".qlt" + 8 hex digits + ".tmp", so a target
// name of 255 bytes still fits); so is every file on a file system without
// unnamed files. Nothing is flushed to the disk. The new file gets the
// permissions the umask allows (0666 & ~umask); state (when given) gets its
// state as written.
bool writeQuick(const QString &path, QByteArrayView data, QString *error = nullptr, struct stat *state = nullptr);

// The same for output too large to hold at once: the bytes are appended in
// pieces to the temporary file, which replaces path on commit(). A file
// neither committed nor kept is removed when the object goes.
class QuickFile
{
public:
    QuickFile() = default;
    ~QuickFile();
    QuickFile(const QuickFile &) = delete;
    QuickFile &operator=(const QuickFile &) = delete;

    [[nodiscard]] bool open(const QString &path);
    [[nodiscard]] bool append(QByteArrayView data);
    // Puts the file in place as path; false when any step failed. state
    // (when given) gets the file's state as it is left.
    [[nodiscard]] bool commit(struct stat *state = nullptr);
    // Removes the temporary file; path is left as it was.
    void discard();
    // What went wrong, in the system's words.
    const QString &error() const { return m_error; }

private:
    bool fail(int code);

    QByteArray m_target;
    QByteArray m_folder;
    QByteArray m_temp; // the named temporary file, or the name a replacement takes
    int m_fd = -1;
    bool m_unnamed = false; // m_fd is a file without a name
    qint64 m_size = 0; // bytes appended so far
    QString m_error;
};

} // namespace AtomicFile
