#include "core/html/pagesink.h"

#include "core/common/atomicfile.h"
#include "core/html/pagerecord.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

PageSink::PageSink(qsizetype total, Progress progress) : m_total(total), m_progress(std::move(progress)) {}

namespace {

// True when path is a file holding exactly bytes: open, size, one read and
// close. st gets the file's state. A FIFO is opened without waiting for a
// writer, and is no page.
bool holds(const QString &path, const QByteArray &bytes, struct stat &st)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    bool same = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size == off_t(bytes.size());
    if (same) {
        thread_local QByteArray buffer;
        if (buffer.size() < bytes.size())
            buffer.resize(bytes.size());
        qsizetype got = 0;
        while (got < bytes.size()) {
            const ssize_t n = ::read(fd, buffer.data() + got, size_t(bytes.size() - got));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            got += n;
        }
        same = got == bytes.size() && std::memcmp(buffer.constData(), bytes.constData(), size_t(got)) == 0;
    }
    ::close(fd);
    return same;
}

} // namespace

PageSink::Result PageSink::put(const QString &path, const QString &text, HtmlText::Encoding encoding, Rule rule,
                               HtmlText::Fallback fallback)
{
    return put(path, QList<QStringView>{text}, encoding, rule, fallback);
}

PageSink::Result PageSink::put(const QString &path, const QList<QStringView> &pieces, HtmlText::Encoding encoding,
                               Rule rule, HtmlText::Fallback fallback)
{
    if (m_cancelled)
        return Result::Cancelled;
    m_bytes.truncate(0);
    qsizetype units = 2;
    for (const QStringView piece : pieces)
        units += piece.size();
    if (m_bytes.capacity() < units * 3)
        m_bytes.reserve(units * 3);
    for (const QStringView piece : pieces)
        HtmlText::AppendEncoded(piece, encoding, fallback, m_bytes);
    return putEncoded(path, m_bytes, rule);
}

PageSink::Result PageSink::putEncoded(const QString &path, QByteArray &bytes, Rule rule)
{
    if (m_cancelled)
        return Result::Cancelled;
    bytes += "\r\n";
    Result result = Result::Written;
    const bool ifChanged = rule == Rule::IfChanged;
    const quint64 hash = ifChanged && m_record ? PageRecord::Hash(bytes) : 0;
    struct stat st {
    };
    bool missing = false; // no file to compare with
    if (ifChanged && m_record && m_record->vouchesFor(path, bytes.size(), hash, &missing)) {
        ++m_unchanged;
        result = Result::Unchanged;
    } else if (ifChanged && !missing && holds(path, bytes, st)) {
        ++m_unchanged;
        result = Result::Unchanged;
        if (m_record)
            m_record->note(path, bytes.size(), hash, &st);
    } else {
        QString error;
        const bool noting = ifChanged && m_record;
        if (!AtomicFile::writeQuick(path, bytes, &error, noting ? &st : nullptr)) {
            m_failures.append({path, error});
            return Result::Failed;
        }
        ++m_written;
        if (noting)
            m_record->note(path, bytes.size(), hash, &st);
    }
    reportProgress();
    return result;
}

PageSink::Result PageSink::open(const QString &path, AtomicFile::QuickFile &file)
{
    if (m_cancelled)
        return Result::Cancelled;
    if (file.open(path))
        return Result::Written;
    m_failures.append({path, file.error()});
    return Result::Failed;
}

PageSink::Result PageSink::finish(const QString &path, AtomicFile::QuickFile &file)
{
    if (!file.append("\r\n") || !file.commit()) {
        m_failures.append({path, file.error()});
        return Result::Failed;
    }
    ++m_written;
    reportProgress();
    return Result::Written;
}

void PageSink::reportProgress()
{
    if (m_progress && !m_progress(done(), m_total))
        m_cancelled = true;
}
