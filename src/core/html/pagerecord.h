#pragma once
// What a run left in the page files below a root, kept between runs in a
// small file of the user's cache folder (never in the output tree): per
// page its size, a hash of its bytes, and the identity and times of the file
// as the run left it. When a rerun makes a page of the same size and hash
// and finds the file with the same identity, size and times, the file holds
// those bytes and is left alone without being read. A file changed, replaced
// or removed since, by hand or by another program, no longer matches and is
// compared byte for byte as without a record; so is a file changed in the
// same tick of the clock as the record was written (its times could not
// tell).

#include <QByteArrayView>
#include <QHash>
#include <QString>

struct stat;

class PageRecord
{
public:
    // The record of the pages below root, kept in folder.
    PageRecord(const QString &folder, const QString &root);

    // Reads the record the last run over root left; a missing or damaged
    // record is an empty one.
    void load();
    // Writes the pages noted in this run as the record.
    [[nodiscard]] bool save() const;

    // Whether the file at path holds size bytes of this hash as the last run
    // left them; then the page is noted again. *missing (when given) is set
    // when the file was looked for and is not there.
    bool vouchesFor(const QString &path, qsizetype size, quint64 hash, bool *missing = nullptr);
    // Notes the page file at path as holding size bytes of this hash; st is
    // the file's state, read from the file when not given.
    void note(const QString &path, qsizetype size, quint64 hash, const struct stat *st = nullptr);

    static quint64 Hash(QByteArrayView bytes);
    // "QLTWIN/html" in the user's cache folder.
    static QString DefaultFolder();

private:
    struct Entry {
        quint64 hash = 0;
        quint64 size = 0;
        quint64 device = 0;
        quint64 inode = 0;
        quint64 modified = 0; // ns
        quint64 changed = 0;  // ns
        bool now = false;     // noted in this run
    };
    QString keyOf(const QString &path) const;
    void pruneGone() const;

    QString m_file;
    QString m_root;                  // absolute
    QString m_rootGiven;             // as the pages' paths begin
    QHash<QString, Entry> m_entries; // the last run's, and this run's with now set
    quint64 m_written = 0;           // when the record read was written (ns)
    qsizetype m_vouched = 0;
    bool m_changed = true; // the record on disk is not this run's
};
