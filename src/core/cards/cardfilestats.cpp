#include "core/cards/cardfilestats.h"

#include "core/cards/cardstore.h"
#include "core/cards/textfastread.h"
#include "core/cards/titlefield.h"

#include <QSet>
#include <QVarLengthArray>

#include <cstring>
#include <new>

namespace {

// The group of a title field from its bytes. Only the bytes up to the first
// "＠" are decoded: the text before a character is the same whether the
// bytes after it are decoded or not (decoding looks at most one byte
// ahead). "＠" has the one form 81 97 (no other sequence reads as it), so a
// title without those two bytes has no group, and the first of them that
// starts a character is its first "＠"; an earlier 81 97 may be the second
// half of one character and the first half of the next.
class GroupReader
{
public:
    std::optional<QStringView> groupOf(QByteArrayView title)
    {
        for (qsizetype from = 0;;) {
            const qsizetype at = markAt(title, from);
            if (at < 0)
                return std::nullopt;
            const QByteArrayView head = title.first(at + 2);
            m_text.resize(head.size());
            const qsizetype length = Win31J::decodeInto(head, m_text.data());
            if (const std::optional<QStringView> group = GroupViewOf(QStringView(m_text.data(), length)))
                return group;
            from = at + 1;
        }
    }

private:
    static qsizetype markAt(QByteArrayView bytes, qsizetype from)
    {
        const char *const begin = bytes.data();
        const char *const end = begin + bytes.size();
        for (const char *p = begin + from; p < end; ++p) {
            p = static_cast<const char *>(std::memchr(p, '\x81', size_t(end - p)));
            if (!p)
                break;
            if (p + 1 < end && p[1] == '\x97')
                return p - begin;
        }
        return -1;
    }

    QVarLengthArray<char16_t, 512> m_text;
};

// Pieces of a native file come as title field, remarks, content, in turn;
// a final piece count that is not a multiple of three still makes a card.
CardFileStats ScanNativeFile(const QString &path)
{
    CardFileStats stats;
    qsizetype pieces = 0;
    QSet<QString> groups;
    GroupReader reader;
    const LineSplit::Outcome split =
        LineSplit::SplitFileBytes(path, LineSplit::Separator::FieldMark, [&](QByteArrayView bytes, qsizetype offset) {
            Win31J::validate(bytes, &stats.decode, offset);
            if (pieces++ % 3 != 0)
                return;
            const std::optional<QStringView> group = reader.groupOf(bytes);
            if (!group)
                return;
            // A lookup through a string over the buffer, without a copy; only
            // a new group is stored.
            const QString probe = QString::fromRawData(reinterpret_cast<const QChar *>(group->data()), group->size());
            if (!groups.contains(probe))
                groups.insert(group->toString());
        });
    if (!split.ok) {
        stats.error = split.error;
        stats.decode = {};
        return stats;
    }
    stats.ok = true;
    stats.cardCount = (pieces + 2) / 3;
    stats.groupCount = groups.size();
    return stats;
}

CardFileStats ReadAndCount(const QString &path, CardFormat format)
{
    CardStore store;
    const ReadResult read = ReadCardFile(path, format, store);
    CardFileStats stats;
    stats.ok = read.ok;
    stats.error = read.error;
    if (!read.ok)
        return stats;
    stats.cardCount = store.count();
    stats.groupCount = GroupsOf(store).size();
    stats.decode = read.decode;
    return stats;
}

} // namespace

CardFileStats StatCardFile(const QString &path, CardFormat format)
{
    try {
        return format == CardFormat::Native ? ScanNativeFile(path) : ReadAndCount(path, format);
    } catch (const std::bad_alloc &) {
        CardFileStats refused;
        refused.error = QStringLiteral("the file is too large for the memory available");
        return refused;
    }
}
