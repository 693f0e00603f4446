#include "core/editor/externaleditcommand.h"

#include <QFileInfo>
#include <QProcess>

namespace ExternalEditCommand {

bool isExistingFile(const QString &path)
{
    return !path.isEmpty() && QFileInfo(path).isFile();
}

namespace {

QString quoted(const QString &path)
{
    return QLatin1Char('"') + path + QLatin1Char('"');
}

// The next switch start (" /" or " -") at or after from; -1 when none.
qsizetype nextSwitch(const QString &setting, qsizetype from)
{
    const qsizetype slash = setting.indexOf(QLatin1String(" /"), from);
    const qsizetype dash = setting.indexOf(QLatin1String(" -"), from);
    if (slash < 0)
        return dash;
    if (dash < 0)
        return slash;
    return std::min(slash, dash);
}

} // namespace

std::optional<Command> build(const QString &setting, const FileTest &isFile)
{
    if (setting.isEmpty())
        return std::nullopt;

    if (setting.startsWith(QLatin1Char('"'))) {
        const qsizetype close = setting.indexOf(QLatin1Char('"'), 1);
        if (close < 0 || setting.size() <= 1)
            return std::nullopt;
        const QString program = setting.mid(1, close - 1);
        if (!isFile(program))
            return std::nullopt;
        return Command{program, setting};
    }

    for (qsizetype at = nextSwitch(setting, 1); at >= 1; at = nextSwitch(setting, at + 1)) {
        const QString program = setting.left(at);
        if (isFile(program))
            return Command{program, quoted(program) + setting.mid(at)};
    }
    if (isFile(setting))
        return Command{setting, quoted(setting)};
    return std::nullopt;
}

QString withFile(const QString &commandLine, const QString &file)
{
    return commandLine + QStringLiteral(" \"") + file + QLatin1Char('"');
}

QStringList splitCommandLine(const QString &commandLine)
{
    return QProcess::splitCommand(commandLine);
}

} // namespace ExternalEditCommand
