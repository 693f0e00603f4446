// qltcard: the core of QLTWIN without a window, for scripts and tests. This
// is the program module the launcher loads.
#include "verb.h"

#include "core/common/version.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>
#include <new>

namespace {

QList<Verb> allVerbs()
{
    QList<Verb> verbs;
    verbs += cardVerbs();
    verbs += searchVerbs();
    verbs += htmlVerbs();
    verbs += partHtmlVerbs();
    return verbs;
}

void printHelp(QTextStream &out, const QList<Verb> &verbs)
{
    out << "Usage: qltcard VERB [ARGUMENTS...]\n"
           "       qltcard --help | --version\n\n"
           "Card files of "
        << Version::ProductName
        << " without a window.\n\n"
           "Verbs:\n";
    for (const Verb &v : verbs)
        out << "  " << v.synopsis.leftJustified(44) << ' ' << v.description << '\n';
    out << "\nExit status: 0 success, 1 refused, 2 file not readable or writable, 64 wrong usage.\n";
}

} // namespace

// Called by the launcher (launcher.cpp), which has set up the heap.
extern "C" __attribute__((visibility("default"))) int QltcardMain(int argc, char **argv);

int QltcardMain(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("qltcard"));
    QCoreApplication::setApplicationVersion(Version::dotted());

    QTextStream out(stdout);
    QTextStream err(stderr);
    const QList<Verb> verbs = allVerbs();
    QStringList args = app.arguments().mid(1);

    if (args.isEmpty()) {
        printHelp(err, verbs);
        return Exit::Usage;
    }
    const QString first = args.takeFirst();
    if (first == QLatin1String("--help") || first == QLatin1String("-h") || first == QLatin1String("help")) {
        printHelp(out, verbs);
        return Exit::Ok;
    }
    if (first == QLatin1String("--version") || first == QLatin1String("-v")) {
        out << "qltcard " << Version::ProductName << " Ver." << Version::dotted() << '\n';
        return Exit::Ok;
    }
    for (const Verb &v : verbs) {
        if (v.name == first) {
            VerbIo io{out, err};
            int status = Exit::FileError;
            try {
                status = v.run(args, io);
            } catch (const std::bad_alloc &) {
                // A file too large for the memory, met somewhere the readers
                // did not catch it (the writers, a search).
                out.flush();
                err << "qltcard " << first << ": not enough memory for the file\n";
            }
            out.flush();
            err.flush();
            return status;
        }
    }
    err << "qltcard: unknown verb \"" << first << "\"; see qltcard --help\n";
    return Exit::Usage;
}
