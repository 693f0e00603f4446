#pragma once
// The program folder holds the general settings file, "OpenCheck.ini",
// "Recent.ini", the templates and the preview files. It is $QLT_HOME when set;
// else, for an installed program (one with <prefix>/share/qltwin beside its
// <prefix>/bin) or one whose folder is not writable, the per-user data folder
// ~/.local/share/QLTWIN, seeded from the delivered data; else the
// executable's folder (a build tree).

#include <QString>

namespace ProgramFolder {

QString path();
// Full path of a file in the program folder.
QString file(const QString &name);
// The running executable (no ".exe" on Linux) and its base name.
QString executablePath();
QString executableBaseName();

// <prefix>/share/qltwin for a program installed as <prefix>/bin/NAME, when
// that folder exists; else empty.
QString installedDataFolder();

// Copies each file below from that folder does not hold yet (keeping
// the person's own changes); "RegInfo.txt" stays with the installed program,
// so that each version shows its own. Returns the number of files copied,
// -1 when one could not be.
int seed(const QString &from, const QString &folder);

} // namespace ProgramFolder
