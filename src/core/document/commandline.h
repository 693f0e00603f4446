#pragma once
// QLTWIN's command line: the whole text after the program name is one card
// file path, optionally in one pair of double quotes. There are no switches;
// several files cannot be passed.

#include <QString>
#include <QStringList>

namespace CommandLine {

// The program's arguments as the one command line: joined with one space
// each, so a path with spaces passed unquoted (as several arguments) comes
// back whole.
QString Join(const QStringList &arguments);

// Whether QLTWIN opens a file of this extension from the command line
// (qlw, qlt, txt, stk, csv; any letter case).
bool IsCardFileExtension(const QString &extension);

// The card file the command line names, or an empty text when it names
// none (empty, or another extension such as "ini" or "htm"): one enclosing
// pair of quotes removed (inner quotes stay), a relative path made absolute
// against currentFolder, then every component as the directory listing
// spells it.
QString CardFilePath(const QString &commandLine, const QString &currentFolder);

} // namespace CommandLine
