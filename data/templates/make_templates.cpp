// Builds a delivered template (a native card file) from its readable source
// with the program's own writer, so the committed .qlw is exactly what the
// program reads and writes.
//
// Source: UTF-8 text. Lines before the first card are notes. A line
// "=== TITLE" begins a card, an optional next line "--- REMARKS" gives its
// remarks; the lines up to the next "=== " are its body, joined with CR LF,
// empty lines at its end dropped.
//
// Usage: make_templates SOURCE OUT.qlw        writes OUT.qlw
//        make_templates --check SOURCE OUT.qlw  exit 1 when OUT.qlw differs
#include "core/cards/cardstore.h"
#include "core/cards/nativeformat.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

#include <cstdio>

namespace {

bool readSource(const QString &path, QList<Card> &cards)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    QStringList body;
    auto finish = [&] {
        if (cards.isEmpty())
            return;
        while (!body.isEmpty() && body.last().trimmed().isEmpty())
            body.removeLast();
        cards.last().content = body.join(QStringLiteral("\r\n"));
        body.clear();
    };
    bool remarksAllowed = false;
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.startsWith(QLatin1String("=== "))) {
            finish();
            Card card;
            card.key = QStringLiteral("Key%1").arg(cards.size());
            card.title = line.mid(4);
            cards.append(card);
            remarksAllowed = true;
            continue;
        }
        if (remarksAllowed && line.startsWith(QLatin1String("--- "))) {
            cards.last().remarks = line.mid(4);
            remarksAllowed = false;
            continue;
        }
        remarksAllowed = false;
        if (!cards.isEmpty())
            body.append(line);
    }
    finish();
    return !cards.isEmpty();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool check = !args.isEmpty() && args.first() == QLatin1String("--check");
    if (check)
        args.removeFirst();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: make_templates [--check] SOURCE OUT.qlw\n");
        return 64;
    }
    QList<Card> cards;
    if (!readSource(args[0], cards)) {
        std::fprintf(stderr, "make_templates: cannot read %s\n", qPrintable(args[0]));
        return 2;
    }
    CardStore store;
    store.reset(cards);
    WriteResult counts;
    const QByteArray bytes = NativeFileBytes(store, WriteOptions{}, &counts);
    if (counts.unmappableCount > 0) {
        std::fprintf(stderr, "make_templates: %s holds characters Windows-31J cannot store\n", qPrintable(args[0]));
        return 1;
    }
    if (check) {
        QFile out(args[1]);
        if (!out.open(QIODevice::ReadOnly) || out.readAll() != bytes) {
            std::fprintf(stderr, "make_templates: %s is not what %s gives; run make templates\n", qPrintable(args[1]),
                         qPrintable(args[0]));
            return 1;
        }
        return 0;
    }
    const WriteResult written = WriteNativeFile(args[1], store, WriteOptions{});
    return written.status == WriteStatus::Ok ? 0 : 2;
}
