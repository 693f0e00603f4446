#pragma once
// The native card file (.qlw): per card three fields (title field, remarks,
// content with its CR LF as they are), each ended by the byte 0x01; no
// header, no count, no line ends between records. No cards, no bytes.

#include "core/cards/cardfile.h"

class CardStore;

// Replaces the cards of store with those of the file; keys from the card
// counter, icon 1. A piece count that is not a multiple of three ends with a
// card whose missing fields are empty. The store is untouched when the file
// cannot be read.
ReadResult ReadNativeFile(const QString &path, CardStore &store);
// The same cards handed to sink one by one, without a list of them.
ReadResult StreamNativeFile(const QString &path, const CardSink &sink);

// Writes every card of store, atomically. With addDateInfo an undated title
// field gets today's short prefix in the file only. Refused, writing
// nothing, when a field holds 0x01 (it would shift every later card on
// reading) or when characters cannot be stored and lossyAllowed is off.
WriteResult WriteNativeFile(const QString &path, const CardStore &store, const WriteOptions &options);

// How WriteNativeFile lays one card down.
CardFile::CardEncoding NativeCardEncoding(const WriteOptions &options);

// The bytes WriteNativeFile writes for store; *counts (when given) gets what
// it checks before writing them (unstorable characters, a field holding
// 0x01). Nothing is written.
QByteArray NativeFileBytes(const CardStore &store, const WriteOptions &options, WriteResult *counts = nullptr);
