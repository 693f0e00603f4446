#include "core/document/commandline.h"

#include "core/common/tool.h"

#include <QDir>

namespace CommandLine {

QString Join(const QStringList &arguments)
{
    return arguments.join(QLatin1Char(' '));
}

bool IsCardFileExtension(const QString &extension)
{
    static const QStringList known{QStringLiteral("qlw"), QStringLiteral("qlt"), QStringLiteral("txt"),
                                   QStringLiteral("stk"), QStringLiteral("csv")};
    return known.contains(extension.toLower());
}

QString CardFilePath(const QString &commandLine, const QString &currentFolder)
{
    if (commandLine.isEmpty())
        return QString();
    QString path = Tool::Unquote(commandLine);
    if (path.isEmpty() || !IsCardFileExtension(Tool::ExtensionOf(path)))
        return QString();
    // The launcher and the wizard pass absolute paths; a relative one typed
    // in a terminal means the folder the program was started in, and the
    // guard and the recent list need one spelling per file.
    if (QDir::isRelativePath(path))
        path = QDir::cleanPath(QDir(currentFolder).absoluteFilePath(path));
    return Tool::NormaliseLongPath(path);
}

} // namespace CommandLine
