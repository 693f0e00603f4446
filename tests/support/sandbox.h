#pragma once
// Test sandbox. The test mains point HOME, the XDG folders, TMPDIR and
// QLT_HOME into one fresh temporary folder before anything else runs, removed
// when the process ends (QLT_KEEP_SANDBOX=1 keeps it); a test
// that needs a program folder of its own takes a ScopedProgramFolder.

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace Sandbox {

// Sets up the process-wide sandbox; called once by the test mains.
void install();

// The sandbox root of this test process.
QString root();

QByteArray readBytes(const QString &path);
bool writeBytes(const QString &path, const QByteArray &bytes);

} // namespace Sandbox

// A fresh, empty program folder (QLT_HOME) for the life of the object.
class ScopedProgramFolder
{
public:
    ScopedProgramFolder();
    ~ScopedProgramFolder();
    QString path() const { return m_dir.path(); }
    QString file(const QString &name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
    QByteArray m_previous;
};
