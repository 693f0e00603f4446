#pragma once
// The one way the system writes a file: the bytes go to a file beside the
// target and replace it by a rename only when every byte was written and
// flushed. A failed write leaves the old file exactly as it was.

#include <QByteArrayView>
#include <QString>

namespace AtomicFile {

// Replaces (or creates) path with data. False, and a reason in *error, when
// anything went wrong; the old file is then untouched.
[[nodiscard]] bool write(const QString &path, QByteArrayView data, QString *error = nullptr);

} // namespace AtomicFile

namespace AtomicFile {

// The same replace-by-rename for output written by the thousand and easy to
// make again (HTML pages): the temporary file has a short name of its own
// (".qlt" + 8 hex digits + ".tmp" in the target's folder, so a target name
// of 255 bytes still fits) and is not flushed to the disk before the rename;
// the rename alone keeps every reader from seeing a partial file. The new
// file gets the permissions the umask allows (0666 & ~umask).
bool writeQuick(const QString &path, QByteArrayView data, QString *error = nullptr);

} // namespace AtomicFile
