#pragma once
// The program folder holds the general settings file, "OpenCheck.ini",
// "Recent.ini", the templates and the preview files. It is $QLT_HOME when set,
// else the executable's folder when it is writable, else a per-user data
// folder.

#include <QString>

namespace ProgramFolder {

QString path();
// Full path of a file in the program folder.
QString file(const QString &name);
// The running executable (no ".exe" on Linux) and its base name.
QString executablePath();
QString executableBaseName();

} // namespace ProgramFolder
