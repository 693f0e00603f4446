#pragma once
// What the reader harnesses share: the input as a file of its own and a
// check that stops the run with the property that failed.

#include "core/cards/cardstore.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QList>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#define FUZZ_CHECK(condition)                                                                                          \
    do {                                                                                                               \
        if (!(condition)) {                                                                                            \
            std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition);                      \
            std::abort();                                                                                              \
        }                                                                                                              \
    } while (false)

namespace Fuzz {

// A path of this process for a file with extension ext.
inline QString scratchPath(const char *name, const char *ext)
{
    return QStringLiteral("/tmp/qlt-fuzz-%1-%2.%3")
        .arg(::getpid())
        .arg(QString::fromLatin1(name), QString::fromLatin1(ext));
}

inline QString writeInput(const uint8_t *data, size_t size, const char *ext)
{
    const QString path = scratchPath("in", ext);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(reinterpret_cast<const char *>(data), qint64(size)) != qint64(size))
        std::abort();
    return path;
}

struct Texts {
    QString title, remarks, content;
    friend bool operator==(const Texts &, const Texts &) = default;
};

inline QList<Texts> textsOf(const CardStore &store)
{
    QList<Texts> out;
    for (const Card &card : store.cards())
        out.append({card.title, card.remarks, card.content});
    return out;
}

} // namespace Fuzz
