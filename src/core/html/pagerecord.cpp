#include "core/html/pagerecord.h"

#include "core/common/atomicfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>

namespace {

const QByteArray Header = QByteArrayLiteral("QLTWIN pages 1\n");

quint64 nanoseconds(const struct timespec &t)
{
    return quint64(t.tv_sec) * 1000000000u + quint64(t.tv_nsec);
}

constexpr quint64 P1 = 0x9E3779B185EBCA87u;
constexpr quint64 P2 = 0xC2B2AE3D27D4EB4Fu;

quint64 rotl(quint64 x, int r)
{
    return (x << r) | (x >> (64 - r));
}

} // namespace

PageRecord::PageRecord(const QString &folder, const QString &root)
    : m_root(QFileInfo(root).absoluteFilePath()), m_rootGiven(root)
{
    const QByteArray name = m_root.toUtf8();
    m_file = folder + QStringLiteral("/%1.pages").arg(Hash(name), 16, 16, QLatin1Char('0'));
}

QString PageRecord::DefaultFolder()
{
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    return cache.isEmpty() ? QString() : cache + QStringLiteral("/QLTWIN/html");
}

// One round a word: each round is one-to-one in the state for a given word,
// so two texts of one length that differ in a single word never share a
// hash.
quint64 PageRecord::Hash(QByteArrayView bytes)
{
    const char *p = bytes.data();
    const qsizetype n = bytes.size();
    quint64 h = P2 ^ quint64(n);
    qsizetype i = 0;
    for (; i + 8 <= n; i += 8) {
        quint64 w;
        std::memcpy(&w, p + i, 8);
        h = rotl(h ^ (w * P1), 31) * P2;
    }
    quint64 last = 0;
    std::memcpy(&last, p + i, size_t(n - i));
    h = rotl(h ^ (last * P1), 31) * P2;
    h ^= h >> 33;
    h *= P1;
    h ^= h >> 29;
    h *= P2;
    h ^= h >> 32;
    return h;
}

QString PageRecord::keyOf(const QString &path) const
{
    auto below = [](const QString &file, const QString &root) {
        return !root.isEmpty() && file.size() > root.size() && file.startsWith(root) && file.at(root.size()) == u'/';
    };
    if (below(path, m_rootGiven))
        return path.mid(m_rootGiven.size() + 1);
    const QString absolute = QFileInfo(path).absoluteFilePath();
    return below(absolute, m_root) ? absolute.mid(m_root.size() + 1) : absolute;
}

void PageRecord::load()
{
    m_entries.clear();
    m_changed = true;
    m_vouched = 0;
    QFile f(m_file);
    if (!f.open(QIODevice::ReadOnly))
        return;
    struct stat st {
    };
    if (::fstat(f.handle(), &st) != 0)
        return;
    m_written = nanoseconds(st.st_mtim);
    const QByteArray all = f.readAll();
    const QByteArray rootLine = m_root.toUtf8() + '\n';
    if (!all.startsWith(Header) || !QByteArrayView(all).sliced(Header.size()).startsWith(rootLine))
        return;
    const char *p = all.constData() + Header.size() + rootLine.size();
    const char *const end = all.constData() + all.size();
    m_entries.reserve(all.count('\n'));
    while (p < end) {
        const char *const eol = static_cast<const char *>(std::memchr(p, '\n', size_t(end - p)));
        if (!eol)
            break;
        Entry e;
        quint64 *fields[] = {&e.hash, &e.size, &e.device, &e.inode, &e.modified, &e.changed};
        bool ok = true;
        for (quint64 *field : fields) {
            char *after = nullptr;
            *field = std::strtoull(p, &after, 16);
            ok = ok && after != p && after < eol && *after == ' ';
            if (!ok)
                break;
            p = after + 1;
        }
        if (ok && p < eol)
            m_entries.insert(QString::fromUtf8(p, eol - p), e);
        p = eol + 1;
    }
    m_changed = p != end;
}

bool PageRecord::save() const
{
    // Every page as the record on disk has it, and no other: it stays.
    if (!m_changed && m_vouched == m_entries.size())
        return true;
    if (m_file.isEmpty() || !QDir().mkpath(QFileInfo(m_file).path()))
        return false;
    QByteArray out = Header + m_root.toUtf8() + '\n';
    out.reserve(out.size() + m_entries.size() * 110);
    char line[128];
    for (auto it = m_entries.cbegin(); it != m_entries.cend(); ++it) {
        const Entry &e = it.value();
        if (!e.now)
            continue;
        const int n =
            std::snprintf(line, sizeof line, "%llx %llx %llx %llx %llx %llx ", (unsigned long long)e.hash,
                          (unsigned long long)e.size, (unsigned long long)e.device, (unsigned long long)e.inode,
                          (unsigned long long)e.modified, (unsigned long long)e.changed);
        out.append(line, n);
        out += it.key().toUtf8();
        out += '\n';
    }
    const bool saved = AtomicFile::writeQuick(m_file, out);
    pruneGone();
    return saved;
}

void PageRecord::pruneGone() const
{
    // Every output folder ever written leaves a record; those of folders no
    // longer there (a temporary tree, one removed by hand) go when another
    // record is written, so the cache does not grow with every run.
    const QFileInfo self(m_file);
    const QFileInfoList records =
        QDir(self.path()).entryInfoList(QStringList{QStringLiteral("*.pages")}, QDir::Files | QDir::Hidden);
    for (const QFileInfo &record : records) {
        if (record.fileName() == self.fileName())
            continue;
        QFile f(record.filePath());
        if (!f.open(QIODevice::ReadOnly))
            continue;
        const QByteArray head = f.read(Header.size() + 4096);
        const qsizetype eol = head.indexOf('\n', Header.size());
        if (!head.startsWith(Header) || eol < 0)
            continue;
        const QString root = QString::fromUtf8(head.mid(Header.size(), eol - Header.size()));
        if (!root.isEmpty() && !QFileInfo(root).isDir())
            QFile::remove(record.filePath());
    }
}

bool PageRecord::vouchesFor(const QString &path, qsizetype size, quint64 hash, bool *missing)
{
    const QString key = keyOf(path);
    const auto it = m_entries.find(key);
    if (it == m_entries.end() || it->size != quint64(size) || it->hash != hash || it->changed >= m_written)
        return false;
    struct stat st {
    };
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) {
        if (missing)
            *missing = errno == ENOENT;
        return false;
    }
    if (!S_ISREG(st.st_mode))
        return false;
    if (quint64(st.st_size) != it->size || quint64(st.st_dev) != it->device || quint64(st.st_ino) != it->inode
        || nanoseconds(st.st_mtim) != it->modified || nanoseconds(st.st_ctim) != it->changed)
        return false;
    if (!it->now)
        ++m_vouched;
    it->now = true;
    return true;
}

void PageRecord::note(const QString &path, qsizetype size, quint64 hash, const struct stat *given)
{
    struct stat read {
    };
    if (!given) {
        if (::stat(QFile::encodeName(path).constData(), &read) != 0)
            return;
        given = &read;
    }
    const QString key = keyOf(path);
    if (!S_ISREG(given->st_mode) || quint64(given->st_size) != quint64(size) || key.contains(u'\n'))
        return;
    m_changed = true;
    m_entries.insert(key, Entry{hash, quint64(size), quint64(given->st_dev), quint64(given->st_ino),
                                nanoseconds(given->st_mtim), nanoseconds(given->st_ctim), true});
}
