#include "core/settings/externaleditor.h"

#include <QStandardPaths>
#include <QStringList>

namespace ExternalEditor {

namespace {

struct Candidate {
    const char *program;
    const char *switches; // empty: none
};

const Candidate kGedit{"gedit", "-s"};
const Candidate kGnomeTextEditor{"gnome-text-editor", "--standalone"};
const Candidate kKate{"kate", "-b"};
const Candidate kKWrite{"kwrite", ""};
const Candidate kMousepad{"mousepad", "--disable-server"};
const Candidate kFeatherPad{"featherpad", "--standalone"};
const Candidate kLeafpad{"leafpad", ""};
const Candidate kGeany{"geany", "-i"};

QList<Candidate> desktopEditors(const QString &desktop)
{
    QList<Candidate> out;
    for (const QString &name : desktop.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        const QString d = name.trimmed().toLower();
        if (d == QLatin1String("gnome") || d == QLatin1String("unity") || d == QLatin1String("budgie"))
            out << kGedit << kGnomeTextEditor;
        else if (d == QLatin1String("kde"))
            out << kKate << kKWrite;
        else if (d == QLatin1String("xfce"))
            out << kMousepad;
        else if (d == QLatin1String("lxqt"))
            out << kFeatherPad;
        else if (d == QLatin1String("lxde"))
            out << kLeafpad;
    }
    return out;
}

QString command(const QString &path, const QString &switches)
{
    QString out = QLatin1Char('"') + path + QLatin1Char('"');
    if (!switches.isEmpty())
        out += QLatin1Char(' ') + switches;
    return out;
}

} // namespace

QString defaultCommand(const Lookup &lookup, const QString &desktop)
{
    QList<Candidate> order = desktopEditors(desktop);
    order << kGedit << kGnomeTextEditor << kKate << kKWrite << kMousepad << kFeatherPad << kLeafpad << kGeany;
    for (const Candidate &c : order) {
        const QString path = lookup(QString::fromLatin1(c.program));
        if (!path.isEmpty())
            return command(path, QString::fromLatin1(c.switches));
    }

    QString terminalEditor = lookup(QStringLiteral("nano"));
    if (terminalEditor.isEmpty())
        terminalEditor = lookup(QStringLiteral("vi"));
    if (terminalEditor.isEmpty())
        return QString();
    for (const char *terminal : {"xterm", "x-terminal-emulator"}) {
        const QString path = lookup(QString::fromLatin1(terminal));
        if (!path.isEmpty())
            return command(path, QStringLiteral("-e ") + terminalEditor);
    }
    return QString();
}

QString defaultCommand()
{
    return defaultCommand([](const QString &name) { return QStandardPaths::findExecutable(name); },
                          qEnvironmentVariable("XDG_CURRENT_DESKTOP"));
}

} // namespace ExternalEditor
