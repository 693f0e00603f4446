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
    ReadNotes notes;
    ReadResult result = read([&](Card &&card) {
        notes.append(card); // while the card just read is in the cache
        cards.append(std::move(card));
    });
    if (result.ok)
        store.reset(std::move(cards), CardStore::Keys::Unique, std::move(notes)); // readers make their keys distinct
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

Encoder::Encoder(qsizetype room)
{
    m_bytes.resize(room);
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
    r.fieldMarkRow = m_fieldMarkRow;
    return r;
}

namespace {
// Bytes handed to the file at a time.
constexpr qsizetype Piece = qsizetype(1) << 18;
} // namespace

StreamWriter::StreamWriter(const QString &path, CardEncoding encoding, const WriteOptions &options)
    : m_path(path), m_encoding(std::move(encoding)), m_options(options), m_out(Piece + Piece / 4)
{
    CanWrite(path, &m_notWritable);
}

bool StreamWriter::refused() const
{
    return m_notWritable.status == WriteStatus::NotWritable || m_out.fieldMarkRow() >= 0
           || (m_out.unmappableCount() > 0 && !m_options.lossyAllowed);
}

void StreamWriter::add(const Card &card)
{
    if (m_notWritable.status == WriteStatus::NotWritable)
        return;
    m_out.beginCard(m_row++);
    m_encoding(m_out, card);
    // Pieces go out between cards only: a writer may look back over the
    // bytes of the card it lays down.
    if (m_out.size() >= Piece)
        flush();
}

void StreamWriter::flush()
{
    // Once the write is refused the bytes only count; they go nowhere.
    if (!refused() && !m_failed) {
        if (!m_opened) {
            m_opened = true;
            m_failed = !m_file.open(m_path);
        }
        if (!m_failed)
            m_failed = !m_file.append(m_out.bytesFrom(0));
    }
    m_out.clearBytes();
}

WriteResult StreamWriter::finish()
{
    if (m_notWritable.status == WriteStatus::NotWritable)
        return m_notWritable;
    WriteResult result = m_out.result();
    if (result.fieldMarkRow >= 0) {
        m_file.abandon();
        result.status = WriteStatus::FieldMark;
        return result;
    }
    if (result.unmappableCount > 0 && !m_options.lossyAllowed) {
        m_file.abandon();
        result.status = WriteStatus::Unmappable;
        return result;
    }
    flush();
    if (!m_opened) {
        m_opened = true;
        m_failed = !m_file.open(m_path);
    }
    if (m_failed || !m_file.commit()) {
        m_file.abandon();
        result.status = WriteStatus::WriteFailed;
        result.failure = m_file.failure();
        result.error = result.failure.detail;
        return result;
    }
    result.status = WriteStatus::Ok;
    result.bytesWritten = m_file.size();
    return result;
}

namespace {

// After a sort the texts of neighbouring cards lie far apart in memory and
// the encoder waits on each card's in turn (a million sorted cards take more
// than twice as long to save as in file order): the texts of the card some
// way ahead are asked for before they are needed, the content's first 512
// bytes at most. One card's requests at a time, evenly: requests for sixteen
// cards at once, which let their page walks run side by side, measured
// faster on one host (0.37 to 0.44 s against 0.47 to 0.60 for a million
// sorted cards) but slower on an AMD EPYC one, where they fill the queue of
// misses and the encoder waits behind them (0.46 to 0.51 s against 0.37 to
// 0.40 for the save after a sort, cut and extraction, in turns).
constexpr qsizetype PrefetchAhead = 32;

// Inlined, always: GCC takes a function that only prefetches for one without
// effect and drops the calls.
[[gnu::always_inline]] inline void prefetchTexts(const Card &card)
{
    __builtin_prefetch(card.title.constData());
    __builtin_prefetch(card.remarks.constData());
    const auto *content = reinterpret_cast<const char *>(card.content.constData());
    const qsizetype bytes = std::min<qsizetype>(card.content.size() * qsizetype(sizeof(QChar)), 512);
    for (qsizetype at = 0; at < bytes; at += 64)
        __builtin_prefetch(content + at);
}

} // namespace

WriteResult WriteCards(const QString &path, const CardStore &store, const CardEncoding &encoding,
                       const WriteOptions &options)
{
    // A path that cannot be written is refused before any card is encoded.
    StreamWriter writer(path, encoding, options);
    const QList<Card> &cards = store.cards();
    const qsizetype n = cards.size();
    for (qsizetype row = 0; row < n; ++row) {
        if (row + PrefetchAhead < n)
            prefetchTexts(cards[row + PrefetchAhead]);
        writer.add(cards[row]);
    }
    return writer.finish();
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
