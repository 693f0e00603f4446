// Placeholder until the table-driven codec lands: ICU's converter, good
// enough for plain Japanese text while the rest of the tree is built.
#include "win31j.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace Win31J {

QString decode(QByteArrayView bytes, DecodeStats *, qsizetype)
{
    QStringDecoder d("windows-31j", QStringConverter::Flag::Stateless);
    return d(bytes);
}

void encodeAppend(QStringView text, QByteArray &out, EncodeStats *, qsizetype)
{
    QStringEncoder e("windows-31j", QStringConverter::Flag::Stateless);
    out += QByteArray(e(text));
}

QByteArray encode(QStringView text, EncodeStats *stats)
{
    QByteArray out;
    encodeAppend(text, out, stats);
    return out;
}

qsizetype countUnmappable(QStringView, qsizetype *firstIndex)
{
    if (firstIndex)
        *firstIndex = -1;
    return 0;
}

} // namespace Win31J
