#pragma once
// Texts cut from shared blocks, for the many short strings that live as long
// as a file's cards: a million titles, remarks, contents and keys without an
// allocation and a string header each (about a hundred bytes a card, and the
// page faults of touching them).
//
// Each text is an ordinary QString whose characters lie in a block it shares
// with the texts cut before and after it; the block is freed with its last
// text. Every text is followed by a 0 in its block, as any QString is. A text
// that is changed copies itself out of the block first, as a shared QString
// does; a block therefore lives as long as any text cut from it, unchanged.

#include "core/common/win31j.h"

#include <QString>
#include <QStringView>

class SharedTextBlocks
{
public:
    SharedTextBlocks() = default;
    ~SharedTextBlocks() { settle(); }
    SharedTextBlocks(const SharedTextBlocks &) = delete;
    SharedTextBlocks &operator=(const SharedTextBlocks &) = delete;

    // Windows-31J bytes decoded as Win31J::decode does.
    QString decode(QByteArrayView bytes, Win31J::DecodeStats *stats = nullptr, qsizetype baseOffset = 0);
    // A copy of text.
    QString copy(QStringView text);

private:
    // Room for units and the 0 after them in the current block, or nullptr
    // when a text that long takes a string of its own.
    char16_t *room(qsizetype units);
    QString cut(char16_t *at, qsizetype length);
    // Gives back the references the block holds for texts not cut.
    void settle();

    QString::DataPointer m_block; // the block being filled, one reference
    qsizetype m_used = 0;
    // A block takes a reference for every text that could be cut from it
    // when it is made, and gives back the unused ones when it is full: a
    // million texts cost no atomic operation each. Until then the count is
    // higher than the texts alive, never lower, so no text frees its block.
    int m_spare = 0;
};
