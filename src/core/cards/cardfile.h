#pragma once
// What the card-file readers and writers take and return. They hold no
// window state: a reader fills the store it is given, a writer walks it;
// document path, hiding the list and the messages are the caller's.

#include "core/common/atomicfile.h"
#include "core/common/win31j.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>

#include <functional>

struct Card;
class CardStore;
class Clock;
namespace LineSplit {
struct Outcome;
}

struct [[nodiscard]] ReadResult {
    bool ok = false;       // false: not readable (the store is untouched)
    QString error;         // why not, for logs
    int code = 0;          // errno of the failure, or AtomicFile::NotRegularFile
    bool tooLarge = false; // the cards would not fit into memory
    qsizetype cardCount = 0;
    Win31J::DecodeStats decode; // byte sequences that are no Windows-31J character
    // Lines with text that became part of no card (text formats): the file
    // may not be a card file at all, and a save would drop them.
    qsizetype strayLines = 0;
};

struct WriteOptions {
    bool addDateInfo = false;  // AddDateInfo = 1: undated titles get today's prefix (native, CSV)
    Clock *clock = nullptr;    // today and now; the system clock when null
    bool lossyAllowed = false; // the user agreed that unstorable characters become "?"
};

enum class WriteStatus {
    Ok,
    NotWritable, // the file cannot be opened for writing; nothing written
    Unmappable,  // characters Windows-31J cannot hold and no consent; nothing written
    FieldMark,   // a field holds the character 0x01 (native format); nothing written
    WriteFailed, // writing failed half-way; the old file is as it was
    Unsupported, // no writer for this format
};

struct [[nodiscard]] WriteResult {
    WriteStatus status = WriteStatus::Ok;
    QString error;                 // the system's reason for NotWritable and WriteFailed, for logs
    AtomicFile::Failure failure;   // the same with its error number, for the person
    qsizetype unmappableCount = 0; // characters written (or that would be written) as "?"
    qsizetype firstUnmappableRow = -1;
    qsizetype fieldMarkRow = -1; // first card with 0x01 in a field
    qsizetype bytesWritten = 0;
    bool ok() const { return status == WriteStatus::Ok; }
};

// What a save would lose, found before writing so that the save command can
// ask first.
struct SaveCheck {
    qsizetype unmappableCount = 0; // characters Windows-31J cannot hold
    qsizetype firstUnmappableRow = -1;
    qsizetype fieldMarkRow = -1; // native format only: first card with 0x01 in a field
    bool lossless() const { return unmappableCount == 0 && fieldMarkRow < 0; }
};

// Takes each card of a file as soon as it is complete, in file order.
using CardSink = std::function<void(Card &&card)>;

namespace CardFile {

// The common end of every reader: the result of one that handed its cards
// to a sink.
ReadResult Streamed(const LineSplit::Outcome &split, qsizetype cardCount);
// A reader over a sink made into one that fills store (all or nothing).
ReadResult Collect(CardStore &store, const std::function<ReadResult(const CardSink &)> &read);

// The clock of the options, or the system clock.
Clock &ClockOf(const WriteOptions &options);

// Builds a writer's bytes, counting on the way what Windows-31J cannot hold
// and in which card it first occurs, and the first card with a field mark
// in a field (native format). The bytes go into one buffer: sized for a
// whole store, or a piece a StreamWriter hands to the file and clears; it
// grows only when a writer adds more than its room.
class Encoder
{
public:
    explicit Encoder(const CardStore &store);
    explicit Encoder(qsizetype room = 0);
    void beginCard(qsizetype row) { m_row = row; }
    void text(QStringView text);
    void ascii(QByteArrayView bytes);
    void crlf() { ascii(QByteArrayView("\r\n", 2)); }
    // A field of the card begun last holds the field mark (the first such
    // card is kept).
    void noteFieldMark()
    {
        if (m_fieldMarkRow < 0)
            m_fieldMarkRow = m_row;
    }
    qsizetype fieldMarkRow() const { return m_fieldMarkRow; }
    qsizetype firstUnmappableRow() const { return m_firstUnmappableRow; }
    qsizetype unmappableCount() const { return m_stats.unmappableCount; }
    // Bytes built so far.
    qsizetype size() const { return m_size; }
    // The bytes built from offset on.
    QByteArrayView bytesFrom(qsizetype offset) const { return QByteArrayView(m_data + offset, m_size - offset); }
    // The bytes built.
    QByteArray &bytes();
    // Forgets the bytes built, keeping the counts and the room.
    void clearBytes() { m_size = 0; }
    // The counts so far (status Ok).
    WriteResult result() const;

private:
    void makeRoom(qsizetype more);

    QByteArray m_bytes; // as large as its room; the first m_size bytes are built
    char *m_data = nullptr;
    qsizetype m_size = 0;
    Win31J::EncodeStats m_stats;
    qsizetype m_row = -1;
    qsizetype m_firstUnmappableRow = -1;
    qsizetype m_fieldMarkRow = -1;
};

// How a format lays one card down (after Encoder::beginCard).
using CardEncoding = std::function<void(Encoder &out, const Card &card)>;

// Writes cards one at a time into path, replaced atomically: the bytes go
// to a new file beside it in pieces as the cards come, so neither the cards
// nor their bytes need to be held all at once. Refuses as the writers do
// (see WriteResult): a path that cannot be written (checked first, before
// any card), a field mark in a field, characters Windows-31J cannot hold
// without consent; a refused or failed write leaves the old file as it
// was. Destroyed unfinished, it writes nothing.
class StreamWriter
{
public:
    StreamWriter(const QString &path, CardEncoding encoding, const WriteOptions &options);
    StreamWriter(const StreamWriter &) = delete;
    StreamWriter &operator=(const StreamWriter &) = delete;

    // The next card; its row is the number of cards added before it.
    void add(const Card &card);
    // What was found so far: the rows of the first card with an unmappable
    // character and with a field mark in a field, -1 when none.
    qsizetype firstUnmappableRow() const { return m_out.firstUnmappableRow(); }
    qsizetype fieldMarkRow() const { return m_out.fieldMarkRow(); }
    // Writes the rest and replaces the file, or refuses; once.
    WriteResult finish();

private:
    bool refused() const;
    void flush();

    QString m_path;
    CardEncoding m_encoding;
    WriteOptions m_options;
    WriteResult m_notWritable; // status NotWritable when the path was refused
    Encoder m_out;
    qsizetype m_row = 0;
    AtomicFile::Writer m_file;
    bool m_opened = false;
    bool m_failed = false; // the file could not be made or written
};

// Every card of store through a StreamWriter.
WriteResult WriteCards(const QString &path, const CardStore &store, const CardEncoding &encoding,
                       const WriteOptions &options);

// Whether path can be written: an existing regular file opens for
// appending (and is left as it was), a new one lies in a writable folder.
// Nothing is created, and nothing that is no regular file (a FIFO would
// block the open) is opened. False: *refused says why, status NotWritable.
bool CanWrite(const QString &path, WriteResult *refused);

// Counts what the encoding of all cards would lose; checkFieldMark for the
// native format.
SaveCheck Check(const CardStore &store, bool checkFieldMark);

} // namespace CardFile
