#pragma once
// Tool: plain functions on paths, files, folders, temporary files and the
// shell, shared by all three programs. None keeps state. Paths use "/"; the
// drive-letter rules apply only to a text of the form "X:".

#include <QFile>
#include <QString>

#include <memory>

class Dialogs;
class Shell;

namespace Tool {

QString JoinPath(const QString &folder, const QString &name);
bool IsDriveSpec(const QString &text);
QString FileNameOf(const QString &path);
QString ExtensionOf(const QString &path);
QString ParentFolderOf(const QString &path);
QString BaseNameOf(const QString &path);

bool CanOpenForReading(const QString &path);
bool CanOpenForAppending(const QString &path);
QString ReadWholeFile(const QString &path);

// ask = true: the question and failure messages go through dialogs.
bool EnsureFolder(const QString &path, bool ask, Dialogs *dialogs = nullptr);

QString CleanFileName(const QString &text, bool replaceBackslash);
QString ShortenWithEllipsis(const QString &text, int n);
QString NormaliseLongPath(const QString &path);
QString CutAtNul(const QString &text);
QString Unquote(const QString &text);

// A new, uniquely named file base + n + "." + extension in the temporary
// folder, created exclusively (never an existing name or a planted link).
struct TempFile {
    std::unique_ptr<QFile> file; // open for writing; null on failure
    QString path;                // empty on failure
    bool ok() const { return file != nullptr; }
};
TempFile MakeTempFile(const QString &base, const QString &extension, const QString &folder = QString());

bool OpenWithShell(Shell &shell, const QString &target);
void ShellOpen(Shell &shell, const QString &target);
int RenameFile(const QString &path, const QString &newName);
int RemoveFile(const QString &path, bool force);
QString BrowseForFolder(Dialogs &dialogs, const QString &startFolder, const QString &prompt);

} // namespace Tool
