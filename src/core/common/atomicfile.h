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
