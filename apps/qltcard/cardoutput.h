#pragma once
// What the card verbs share: reading a card file as the main program opens
// it, the JSON line of a card as dump prints it, and the usage helpers.

#include "verb.h"

#include "core/cards/cardformats.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

struct Card;
class CardStore;

namespace CardOutput {

bool wantsHelp(const QStringList &arguments);
// "qltcard VERB: PROBLEM; see qltcard VERB --help", exit status Usage.
int usage(VerbIo &io, const QString &verb, const QString &problem);

// Reads path into store with the reader its extension selects; on failure
// says why on standard error and returns the exit status (Ok otherwise).
// Invalid bytes are reported as a warning.
int readCards(VerbIo &io, const QString &verb, const QString &path, CardStore &store, ReadResult *read);
// The same, handing each card to sink as soon as it is read instead of
// keeping them: memory for one card, however many the file holds. Some
// cards may have been handed over before a read error.
int streamCards(VerbIo &io, const QString &verb, const QString &path, const CardSink &sink);

// text as a JSON string in UTF-8, quotes included, built in slices of a
// bounded size (never six bytes per character of a whole big text at
// once): the escapes of dump
// (\" \\ \n \r \t \b \f, \u00XX for the other control characters and
// \uXXXX for a lone surrogate), every other character as it is.
void appendJsonString(QByteArray &out, QStringView text);
// {"key":...,"title":...,"remarks":...,"content":...} and a line end.
void appendCardLine(QByteArray &out, const Card &card);
// UTF-8 bytes to standard output, after what the stream holds.
void write(VerbIo &io, const QByteArray &utf8);

// Writes card lines to standard output in pieces through one buffer, so
// that the lines of a big file are never held twice; the rest goes out when
// it is destroyed (or flushed).
class CardLineWriter
{
public:
    explicit CardLineWriter(VerbIo &io);
    ~CardLineWriter();
    CardLineWriter(const CardLineWriter &) = delete;
    CardLineWriter &operator=(const CardLineWriter &) = delete;

    void add(const Card &card);
    void flush();

private:
    // A JSON string written in slices, the buffer going out between them,
    // so that one huge field is never held in its escaped form.
    void addString(QStringView text);

    VerbIo &m_io;
    QByteArray m_buffer;
};

} // namespace CardOutput
