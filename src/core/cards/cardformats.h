#pragma once
// Which reader and writer serve which extension (compared in lower case):
//   qlw       native
//   csv       CSV
//   qlt, txt  text format, short date prefix
//   stk       text format (MyNote), long date prefix
//   html, htm no reader; writing is the HTML output wizard's business

#include "core/cards/cardfile.h"

#include <QString>

class CardStore;

enum class CardFormat { Unknown, Native, Csv, Text, MyNote, Html };

// The format of a path by its extension.
CardFormat CardFormatOfPath(const QString &path);
CardFormat CardFormatOfExtension(const QString &extension);
bool CanReadFormat(CardFormat format);
bool CanWriteFormat(CardFormat format);

// The reader of the format; a format without reader gives ok = false.
ReadResult ReadCardFile(const QString &path, CardFormat format, CardStore &store);
// The reader of the format handing each card to sink as soon as it is
// complete, without a list of them (a big file printed card by card). On a
// read error some cards may have been handed over already.
ReadResult StreamCardFile(const QString &path, CardFormat format, const CardSink &sink);
// The writer of the format; a format without writer gives Unsupported.
WriteResult WriteCardFile(const QString &path, CardFormat format, const CardStore &store, const WriteOptions &options);
// How the writer of the format lays one card down, for a StreamWriter; null
// for a format without writer.
CardFile::CardEncoding CardEncodingOf(CardFormat format, const WriteOptions &options);
// What writing store in the format would lose (see SaveCheck), for the save
// command to ask before it writes.
SaveCheck CheckCardsForSave(const CardStore &store, CardFormat format);
