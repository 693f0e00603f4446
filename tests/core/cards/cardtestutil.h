#pragma once
// Helpers of the card tests: cards by their texts, Windows-31J bytes, files
// in the sandbox, and the fixed moment the writer fixtures were made for.

#include "core/cards/cardstore.h"
#include "core/common/win31j.h"

#include "support/fakeservices.h"
#include "support/sandbox.h"

#include <QDir>
#include <QList>
#include <QString>

#include <gtest/gtest.h>

#include <ostream>
#include <tuple>

// Cards as the tests compare them: texts and icon, no key.
struct Texts {
    QString title, remarks, content;
    friend bool operator==(const Texts &, const Texts &) = default;
};

inline void PrintTo(const Texts &t, std::ostream *os)
{
    auto show = [](const QString &s) {
        QString out;
        for (QChar c : s) {
            if (c.unicode() < 0x20 || c.unicode() >= 0x7F)
                out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                out += c;
        }
        return out.toStdString();
    };
    *os << "{" << show(t.title) << " | " << show(t.remarks) << " | " << show(t.content) << "}";
}

inline QList<Texts> textsOf(const CardStore &store)
{
    QList<Texts> all;
    for (const Card &c : store.cards())
        all.append({c.title, c.remarks, c.content});
    return all;
}

inline void fill(CardStore &store, const QList<Texts> &texts, int icon = 1)
{
    QList<Card> cards;
    int n = 0;
    for (const Texts &t : texts)
        cards.append(Card{QStringLiteral("T%1").arg(n++), t.title, t.remarks, t.content, icon});
    store.reset(cards);
}

inline QByteArray sjis(const QString &text)
{
    return Win31J::encode(text);
}

// A fresh file path in the sandbox.
inline QString sandboxPath(const QString &name)
{
    static int n = 0;
    const QString dir = Sandbox::root() + QStringLiteral("/cards%1").arg(++n);
    QDir().mkpath(dir);
    return dir + QLatin1Char('/') + name;
}

inline QString writeFile(const QString &name, const QByteArray &bytes)
{
    const QString path = sandboxPath(name);
    EXPECT_TRUE(Sandbox::writeBytes(path, bytes));
    return path;
}

inline QString fixture(const QString &name)
{
    return QStringLiteral(QLT_TEST_DATA "/cards/") + name;
}

// The moment the writer fixtures were made for: 2024/02/29 09:08:07.
inline FakeClock fixtureClock()
{
    FakeClock clock;
    clock.current = QDateTime(QDate(2024, 2, 29), QTime(9, 8, 7));
    return clock;
}

// The cards of the writer fixtures (tests/data/cards/make_fixtures.py).
inline QList<Texts> sampleCards()
{
    return {
        {QStringLiteral("2001/05/03：仕事＠会議"), QStringLiteral("本社"),
         QStringLiteral("議題：予算\r\n出席：5名\r\n")},
        {QStringLiteral("メモ"), QString(), QStringLiteral("x")},
        {QStringLiteral("空"), QString(), QString()},
        {QStringLiteral("He said \"hi\" ok"), QStringLiteral("r"), QStringLiteral("line1\r\n\r\n")},
    };
}
