#pragma once
// The counts `qltcard stat` prints for a card file: its cards, its distinct
// groups and its invalid byte sequences, exactly as opening the file gives
// them (the reader of the format, then GroupsOf, then the reader's decode
// counts). A native file is scanned without building its cards: every byte
// is checked for invalid sequences (Win31J::validate), and only the part of a
// title field up to its first "＠" is decoded. The other formats are read
// into a store.

#include "core/cards/cardformats.h"
#include "core/common/win31j.h"

#include <QString>

struct CardFileStats {
    bool ok = false; // false: not readable (error says why)
    QString error;
    qsizetype cardCount = 0;
    qsizetype groupCount = 0;
    Win31J::DecodeStats decode;
};

CardFileStats StatCardFile(const QString &path, CardFormat format);
