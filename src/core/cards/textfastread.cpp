#include "core/cards/textfastread.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Bytes are read in blocks of this size; a piece longer than a block grows
// the buffer as needed.
constexpr qsizetype BlockSize = 1 << 20;

// Decoders may size their result for the worst case; a million cards would
// then carry twice their text in slack.
QString decodePiece(const char *data, qsizetype size, Win31J::DecodeStats &stats, qsizetype offset)
{
    QString text = Win31J::decode(QByteArrayView(data, size), &stats, offset);
    if (text.capacity() - text.size() > 8)
        text.squeeze();
    return text;
}

} // namespace

namespace LineSplit {

namespace {

// The file open for reading, when it is a regular file. A FIFO would block
// the open (and every read after it) until something writes to it, and a
// device such as /dev/zero never ends: neither is a card file. The open
// does not wait (O_NONBLOCK), and the type is taken from the opened file, so
// nothing can be swapped in between.
int openRegularFile(const QString &path, Outcome &outcome)
{
    auto refuse = [&](int code) {
        outcome.code = code;
        outcome.error =
            code == NotRegularFile ? QStringLiteral("not a regular file") : QString::fromLocal8Bit(std::strerror(code));
        return -1;
    };
    if (path.isEmpty())
        return refuse(ENOENT);
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return refuse(errno);
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const int code = S_ISREG(st.st_mode) ? errno : NotRegularFile;
        ::close(fd);
        return refuse(code);
    }
    return fd;
}

qint64 readSome(int fd, char *into, qsizetype size)
{
    for (;;) {
        const ssize_t n = ::read(fd, into, size_t(size));
        if (n >= 0 || errno != EINTR)
            return n;
    }
}

} // namespace

Outcome SplitFileBytes(const QString &path, Separator separator,
                       const std::function<void(QByteArrayView, qsizetype)> &sink)
{
    Outcome outcome;
    const int fd = openRegularFile(path, outcome);
    if (fd < 0)
        return outcome;
    // Closed on every way out, a thrown std::bad_alloc included.
    struct Closer {
        int handle;
        ~Closer() { ::close(handle); }
    } closer{fd};
    QByteArray buffer;
    qsizetype filled = 0;   // bytes of buffer in use
    qsizetype scanFrom = 0; // bytes before it hold no separator
    qsizetype base = 0;     // file offset of buffer[0]
    const char mark = separator == Separator::FieldMark ? '\x01' : '\n';
    for (;;) {
        if (buffer.size() - filled < BlockSize)
            buffer.resize(filled + BlockSize);
        const qint64 got = readSome(fd, buffer.data() + filled, BlockSize);
        if (got < 0) {
            outcome.code = errno;
            outcome.error = QString::fromLocal8Bit(std::strerror(errno));
            return outcome;
        }
        if (got == 0)
            break;
        filled += got;

        const char *data = buffer.constData();
        qsizetype start = 0;
        qsizetype at = scanFrom;
        while (at < filled) {
            const void *hit = std::memchr(data + at, mark, size_t(filled - at));
            if (!hit)
                break;
            const qsizetype pos = static_cast<const char *>(hit) - data;
            at = pos + 1;
            qsizetype end = pos;
            if (separator == Separator::CrLf) {
                if (pos == start || data[pos - 1] != '\r')
                    continue; // a lone LF stays in its line
                end = pos - 1;
            }
            sink(QByteArrayView(data + start, end - start), base + start);
            start = pos + 1;
        }
        // Keep the unfinished piece at the front of the buffer.
        if (start > 0) {
            std::memmove(buffer.data(), data + start, size_t(filled - start));
            filled -= start;
            base += start;
        }
        scanFrom = filled;
    }
    outcome.ok = true;
    outcome.empty = base == 0 && filled == 0;
    if (filled > 0)
        sink(QByteArrayView(buffer.constData(), filled), base);
    else
        outcome.droppedLast = !outcome.empty;
    return outcome;
}

Outcome SplitFile(const QString &path, Separator separator, const std::function<void(QString &&)> &sink)
{
    Win31J::DecodeStats stats;
    Outcome outcome = SplitFileBytes(path, separator, [&](QByteArrayView bytes, qsizetype offset) {
        sink(decodePiece(bytes.data(), bytes.size(), stats, offset));
    });
    outcome.stats = stats;
    return outcome;
}

} // namespace LineSplit

void LineReaderBase::Class_Initialize()
{
    m_lines = QStringList{QString()};
    m_position = -1;
    m_droppedLast = false;
}

QString LineReaderBase::nextPiece()
{
    if (EOFText())
        return QString();
    return m_lines.at(++m_position);
}

bool LineReaderBase::load(const QString &path, Separator separator)
{
    // Into a local list first: a load that fails half-way leaves the
    // previous pieces as they were.
    QStringList pieces;
    const LineSplit::Outcome split =
        LineSplit::SplitFile(path, separator, [&](QString &&piece) { pieces.append(std::move(piece)); });
    if (!split.ok) {
        m_error = split.error;
        return false;
    }
    Class_Initialize();
    m_fileName = path;
    m_stats = split.stats;
    m_error.clear();
    if (split.empty) {
        // Pieces stay the single empty string, and the position lies past it:
        // an empty file yields nothing, not one empty piece.
        m_position = 10;
        return true;
    }
    // A file with bytes gives at least one piece.
    m_droppedLast = split.droppedLast;
    m_lines = std::move(pieces);
    return true;
}

bool TextFastRead::LoadTextFile(const QString &path)
{
    if (!load(path, Separator::CrLf))
        return false;
    m_fromVariable = false;
    m_variable.clear();
    return true;
}

bool TextFastRead::LoadTextVariable(const QString &text)
{
    Class_Initialize();
    m_fileName = VariableName;
    m_stats = {};
    m_fromVariable = true;
    m_variable = text;
    if (text.isEmpty()) {
        m_position = 10;
        return true;
    }
    QStringList pieces = text.split(QStringLiteral("\r\n"));
    if (pieces.last().isEmpty()) {
        pieces.removeLast();
        m_droppedLast = true;
    }
    m_lines = std::move(pieces);
    return true;
}

QString TextFastRead::text() const
{
    if (m_fromVariable)
        return m_variable;
    if (m_position == 10 && m_lines.size() == 1 && m_lines.first().isEmpty())
        return QString();
    QString whole = m_lines.join(QStringLiteral("\r\n"));
    if (m_droppedLast)
        whole += QStringLiteral("\r\n");
    return whole;
}

bool TextFastReadBinary::LoadTextFile(const QString &path)
{
    return load(path, Separator::FieldMark);
}

QStringList TextFastReadBinary::GetOneLine()
{
    if (EOFText())
        return {};
    return nextPiece().split(QStringLiteral("\r\n"));
}
