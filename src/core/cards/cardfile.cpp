#include "core/cards/cardfile.h"

#include "core/cards/cardstore.h"
#include "core/cards/textfastread.h"
#include "core/common/atomicfile.h"
#include "core/common/qtservices.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace CardFile {

ReadResult Streamed(const LineSplit::Outcome &split, qsizetype cardCount)
{
    ReadResult result;
    result.ok = split.ok;
    result.error = split.error;
    result.code = split.code;
    if (split.ok) {
        result.cardCount = cardCount;
        result.decode = split.stats;
    }
    return result;
}

ReadResult Collect(CardStore &store, const std::function<ReadResult(const CardSink &)> &read)
{
    QList<Card> cards;
    ReadResult result = read([&](Card &&card) { cards.append(std::move(card)); });
    if (result.ok)
        store.reset(std::move(cards), CardStore::Keys::Unique); // readers make their keys distinct
    return result;
}

Clock &ClockOf(const WriteOptions &options)
{
    static SystemClock system;
    return options.clock ? *options.clock : system;
}

namespace {

bool refuse(WriteResult *refused, int code, const char *step)
{
    refused->status = WriteStatus::NotWritable;
    refused->failure.code = code;
    refused->failure.detail = QString::fromLatin1(step) + QStringLiteral(": ")
                              + (code == AtomicFile::NotRegularFile ? QStringLiteral("not a regular file")
                                                                    : QString::fromLocal8Bit(std::strerror(code)));
    refused->error = refused->failure.detail;
    return false;
}

} // namespace

bool CanWrite(const QString &path, WriteResult *refused)
{
    if (path.isEmpty())
        return refuse(refused, ENOENT, "open");
    const QByteArray encoded = QFile::encodeName(path);
    struct stat st;
    if (::stat(encoded.constData(), &st) == 0) {
        if (!S_ISREG(st.st_mode))
            return refuse(refused, AtomicFile::NotRegularFile, "open");
        const int fd = ::open(encoded.constData(), O_WRONLY | O_APPEND | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            return refuse(refused, errno, "open");
        ::close(fd);
        return true;
    }
    if (errno != ENOENT)
        return refuse(refused, errno, "open");
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    if (::stat(folder.constData(), &st) != 0)
        return refuse(refused, errno, "folder");
    if (!S_ISDIR(st.st_mode))
        return refuse(refused, ENOTDIR, "folder");
    if (::access(folder.constData(), W_OK) != 0)
        return refuse(refused, errno, "folder");
    return true;
}

Encoder::Encoder(const CardStore &store)
{
    // Two bytes per UTF-16 unit at most, plus the writers' marks; pages of
    // the room that are never written cost nothing.
    qsizetype units = 0;
    for (const Card &card : store.cards())
        units += card.title.size() + card.remarks.size() + card.content.size() + 32;
    m_bytes.resize(units * 2);
    m_data = m_bytes.data();
}

void Encoder::makeRoom(qsizetype more)
{
    if (m_size + more <= m_bytes.size())
        return;
    m_bytes.resize(std::max(m_size + more, 2 * m_bytes.size()));
    m_data = m_bytes.data();
}

void Encoder::text(QStringView text)
{
    if (text.isEmpty())
        return;
    makeRoom(2 * text.size());
    const qsizetype before = m_stats.unmappableCount;
    m_size += Win31J::encodeInto(text, m_data + m_size, &m_stats);
    if (m_stats.unmappableCount > before && m_firstUnmappableRow < 0)
        m_firstUnmappableRow = m_row;
}

void Encoder::ascii(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return;
    makeRoom(bytes.size());
    std::memcpy(m_data + m_size, bytes.data(), size_t(bytes.size()));
    m_size += bytes.size();
}

QByteArray &Encoder::bytes()
{
    m_bytes.resize(m_size);
    m_data = m_bytes.data();
    return m_bytes;
}

WriteResult Encoder::result() const
{
    WriteResult r;
    r.unmappableCount = m_stats.unmappableCount;
    r.firstUnmappableRow = m_firstUnmappableRow;
    return r;
}

WriteResult Finish(const QString &path, const QByteArray &bytes, WriteResult result, const WriteOptions &options)
{
    if (result.fieldMarkRow >= 0) {
        result.status = WriteStatus::FieldMark;
        return result;
    }
    if (result.unmappableCount > 0 && !options.lossyAllowed) {
        result.status = WriteStatus::Unmappable;
        return result;
    }
    if (!AtomicFile::write(path, bytes, &result.failure)) {
        result.status = WriteStatus::WriteFailed;
        result.error = result.failure.detail;
        return result;
    }
    result.status = WriteStatus::Ok;
    result.bytesWritten = bytes.size();
    return result;
}

SaveCheck Check(const CardStore &store, bool checkFieldMark)
{
    SaveCheck check;
    const QList<Card> &cards = store.cards();
    for (qsizetype row = 0; row < cards.size(); ++row) {
        const Card &card = cards[row];
        for (const QString *field : {&card.title, &card.remarks, &card.content}) {
            if (const qsizetype n = Win31J::countUnmappable(*field)) {
                check.unmappableCount += n;
                if (check.firstUnmappableRow < 0)
                    check.firstUnmappableRow = row;
            }
            if (checkFieldMark && check.fieldMarkRow < 0 && field->contains(QChar(0x01)))
                check.fieldMarkRow = row;
        }
    }
    return check;
}

} // namespace CardFile
