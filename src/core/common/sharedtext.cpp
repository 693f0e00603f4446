#include "core/common/sharedtext.h"

#include <cstring>

namespace {

// 64 KiB a block: small enough that a few surviving texts hold little, big
// enough that a block's header and allocation disappear among its texts, and
// below the size from which malloc maps every block on its own (128 KiB),
// which would fault each of its pages in separately.
constexpr qsizetype kBlockUnits = 32 * 1024 - 32;
// Longer texts are strings of their own, so that one long text never leaves
// most of a block unused behind it.
constexpr qsizetype kLongest = kBlockUnits / 8;
// Every text takes at least two units of a block, itself and its 0.
constexpr int kMostTexts = int(kBlockUnits / 2);

} // namespace

char16_t *SharedTextBlocks::room(qsizetype units)
{
    if (units > kLongest)
        return nullptr;
    if (!m_block.d || m_used + units + 1 > m_block.size) {
        settle();
        QString block(kBlockUnits, Qt::Uninitialized);
        m_block = block.data_ptr();
        m_block.d->ref_.fetchAndAddRelaxed(kMostTexts);
        m_spare = kMostTexts;
        m_used = 0;
    }
    return m_block.data() + m_used;
}

QString SharedTextBlocks::cut(char16_t *at, qsizetype length)
{
    at[length] = u'\0';
    m_used += length + 1;
    // One of the block's spare references, without touching its count.
    Q_ASSERT(m_spare > 0);
    --m_spare;
    return QString(QString::DataPointer(m_block.d, at, length));
}

void SharedTextBlocks::settle()
{
    if (m_block.d && m_spare > 0)
        m_block.d->ref_.fetchAndSubOrdered(m_spare);
    m_spare = 0;
}

QString SharedTextBlocks::decode(QByteArrayView bytes, Win31J::DecodeStats *stats, qsizetype baseOffset)
{
    if (bytes.isEmpty())
        return QString();
    // No byte gives more than one unit.
    char16_t *at = room(bytes.size());
    if (!at)
        return Win31J::decode(bytes, stats, baseOffset);
    return cut(at, Win31J::decodeInto(bytes, at, stats, baseOffset));
}

QString SharedTextBlocks::copy(QStringView text)
{
    if (text.isEmpty())
        return QString();
    char16_t *at = room(text.size());
    if (!at)
        return text.toString();
    std::memcpy(at, text.utf16(), size_t(text.size()) * sizeof(char16_t));
    return cut(at, text.size());
}
