#pragma once
// CSV card files (.csv): one line per card, no header; the fields are the
// title field, the remarks and then one field per content line, each
// written in double quotes (inner quotes are not doubled, so a quote
// followed by a comma cannot be carried).

#include "core/cards/cardfile.h"

#include <QStringList>

class CardStore;

// Splits a line at separator outside quotes. A field keeps its quotes until
// an enclosing pair is removed (Tool::Unquote); a quote ends a quoted field
// only when the separator or a CR follows it. Never empty.
QStringList SplitQuoted(QStringView line, QStringView separator);

// Replaces the cards of store; keys "Key0", "Key1", ... by line, icon 1.
// Every line is a card (fields missing at its end are empty); content gets
// CR LF after each of its fields.
ReadResult ReadCsvFile(const QString &path, CardStore &store);
// The same cards handed to sink one by one, without a list of them.
ReadResult StreamCsvFile(const QString &path, const CardSink &sink);

// How WriteCsvFile lays one card down.
CardFile::CardEncoding CsvCardEncoding(const WriteOptions &options);

// Writes every card of store, atomically; addDateInfo stamps undated titles
// in the file only.
WriteResult WriteCsvFile(const QString &path, const CardStore &store, const WriteOptions &options);
