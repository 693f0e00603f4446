#include "core/cards/cardkeys.h"

qsizetype FormatCounterKeyInto(std::int64_t value, char16_t *text)
{
    // By hand: QString::arg costs more than the rest of making a card.
    text[0] = u'K';
    text[1] = u'e';
    text[2] = u'y';
    qsizetype n = 3;
    std::uint64_t magnitude = value < 0 ? std::uint64_t(0) - std::uint64_t(value) : std::uint64_t(value);
    if (value < 0)
        text[n++] = u'-';
    char16_t digits[20];
    int d = 0;
    do {
        digits[d++] = char16_t(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude);
    for (int pad = d; pad < 8; ++pad)
        text[n++] = u'0';
    while (d)
        text[n++] = digits[--d];
    return n;
}

QString FormatCounterKey(std::int64_t value)
{
    char16_t text[32];
    const qsizetype n = FormatCounterKeyInto(value, text);
    return QString(reinterpret_cast<const QChar *>(text), n);
}

QString KeyCounter::next()
{
    const QString key = FormatCounterKey(m_value);
    m_value = static_cast<std::int16_t>(static_cast<std::uint16_t>(m_value) + 1u);
    return key;
}

QString KeyCounter::nextWide()
{
    return FormatCounterKey(m_wide++);
}

QString KeyCounter::nextFree(const std::function<bool(const QString &)> &taken, bool *exhausted)
{
    if (!taken)
        return next();
    if (!exhausted || !*exhausted) {
        for (int turn = 0; turn < 65536; ++turn) {
            QString key = next();
            if (!taken(key))
                return key;
        }
        if (exhausted)
            *exhausted = true;
    }
    for (;;) {
        QString key = nextWide();
        if (!taken(key))
            return key;
    }
}

KeyCounter &CardKeyCounter()
{
    static KeyCounter counter;
    return counter;
}

KeyCounter &GroupKeyCounter()
{
    static KeyCounter counter;
    return counter;
}

QString NewGroupKey(const std::function<bool(const QString &)> &taken)
{
    return GroupKeyCounter().nextFree(taken);
}
