#pragma once
// The command line that starts the external editor, built from the ExtEditor
// setting:
//  - empty: nothing is started;
//  - beginning with a double quote: the program path is the text between the
//    first two quotes; when that file exists the setting is the command,
//    unchanged;
//  - otherwise the program path is the text before a switch, a switch being
//    " /" or (on this system, where switches are written so) " -" from the
//    second character on; when that file exists the command is the path in
//    double quotes followed by the switches from that space on, unchanged.
//    Without a switch, a setting that names an existing file as a whole is
//    the command in double quotes. A path may itself hold " -" or " /"
//    ("/opt/My -Tools/ed"), so each such place is tried from the left and the
//    first one whose left part is an existing file is taken.
// Nothing is started when no existing program is named (the round trip then
// tells the person where to name one).

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace ExternalEditCommand {

// Whether a path names an existing file (tests pass their own).
using FileTest = std::function<bool(const QString &path)>;
bool isExistingFile(const QString &path);

struct Command {
    QString program;     // the program path, unquoted
    QString commandLine; // "\"program\" switches"
};

std::optional<Command> build(const QString &setting, const FileTest &isFile = isExistingFile);

// The command line with the file to edit: commandLine + " \"" + file + "\"".
QString withFile(const QString &commandLine, const QString &file);

// A command line split into the program and its arguments, double quotes
// grouping (as the command lines of this system are written).
QStringList splitCommandLine(const QString &commandLine);

} // namespace ExternalEditCommand
