#pragma once
// Key counters. A counter is a 16-bit signed value that starts at 0 when the
// process starts, is never reset and wraps from 32767 to -32768; a key is
// "Key" followed by the value with at least eight digits ("Key00000007",
// "Key-00032768"). Whether a key is free is the list's business
// (NewCardKey in cardstore.h skips keys a list already holds).

#include <QString>

#include <cstdint>
#include <functional>

// "Key" + value formatted "###00000000".
QString FormatCounterKey(std::int64_t value);
// The same into out (room for 24 units); returns the number of units.
qsizetype FormatCounterKeyInto(std::int64_t value, char16_t *out);

class KeyCounter
{
public:
    // The key for the current value, then the value moves on (wrapping).
    QString next();

    // Keys past the 16-bit range (Key00032768, Key00032769, ...), for a list
    // that already holds every one of the 65536 counter keys. They have the
    // same shape and can never equal a key the 16-bit counter makes.
    QString nextWide();

    // The first key from next() that is not taken; after a whole turn of the
    // counter without a free key, the first free wide key. exhausted
    // (optional, in and out): when true the fruitless turn is skipped; set
    // when a turn found nothing free.
    QString nextFree(const std::function<bool(const QString &)> &taken, bool *exhausted = nullptr);

    // The key for row `row` of a list being built from nothing, where every
    // key so far came from this counter in a row: the first 65536 keys of a
    // turn are all distinct, so only a list longer than that needs wide keys.
    QString nextForNewList(qsizetype row) { return FormatCounterKey(nextValueForNewList(row)); }
    // The counter value nextForNewList would format, taken.
    std::int64_t nextValueForNewList(qsizetype row)
    {
        if (row >= 65536)
            return m_wide++;
        const std::int64_t value = m_value;
        m_value = static_cast<std::int16_t>(static_cast<std::uint16_t>(m_value) + 1u);
        return value;
    }

    std::int16_t value() const { return m_value; }
    void setValue(std::int16_t value) { m_value = value; } // tests and a fresh start

private:
    std::int16_t m_value = 0;
    std::int64_t m_wide = 32768;
};

// The process-wide counters: cards (native reader, new cards, inserted
// transfer text) and the group list.
KeyCounter &CardKeyCounter();
KeyCounter &GroupKeyCounter();

// The next group-list key; taken (optional) names keys already in use.
QString NewGroupKey(const std::function<bool(const QString &)> &taken = {});
