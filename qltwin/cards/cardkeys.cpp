#include "cardkeys.h"

QString FormatCounterKey(std::int64_t value)
{
    QString key = QStringLiteral("Key");
    if (value < 0) {
        key += QLatin1Char('-');
        value = -value;
    }
    key += QStringLiteral("%1").arg(value, 8, 10, QLatin1Char('0'));
    return key;
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
