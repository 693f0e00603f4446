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

// One "/" at the joint; an empty folder gives the name unchanged.
QString JoinPath(const QString &folder, const QString &name);
bool IsDriveSpec(const QString &text);
QString FileNameOf(const QString &path);
QString ExtensionOf(const QString &path);
// "/" for a file in the root folder; empty when the path has no "/".
QString ParentFolderOf(const QString &path);
QString BaseNameOf(const QString &path);

bool CanOpenForReading(const QString &path);
bool CanOpenForAppending(const QString &path);
QString ReadWholeFile(const QString &path);

// ask = true: the question and failure messages go through dialogs (with
// no dialogs given, nothing is asked).
bool EnsureFolder(const QString &path, bool ask, Dialogs *dialogs = nullptr);

QString CleanFileName(const QString &text, bool replaceBackslash);
QString ShortenWithEllipsis(const QString &text, int n);
// Each component as the directory listing spells it. "//..." and any path
// with a missing folder on the way come back unchanged; a relative path is
// looked up from the current folder and stays relative.
QString NormaliseLongPath(const QString &path);
QString CutAtNul(const QString &text);
// Text from the platform (the clipboard, a drop, an external editor, a file
// inserted as a card) with every line end made CR LF, the line end of the
// card texts: LF and a lone CR become CR LF, CR LF stays. On this system the
// platform usually gives LF, and the card rules split lines at CR LF only.
QString WithCrLf(QStringView text);
QString Unquote(const QString &text);

// A new, uniquely named file base + n + "." + extension (n = 0, 1, ...) in
// folder, or in QDir::tempPath() when folder is empty, created exclusively
// (never an existing name or a planted link).
struct TempFile {
    std::unique_ptr<QFile> file; // open for writing; null on failure
    QString path;                // empty on failure
    bool ok() const { return file != nullptr; }
};
TempFile MakeTempFile(const QString &base, const QString &extension, const QString &folder = QString());

// "mailto:", "http://", "https://" and "ftp://" addresses go to the shell
// (true); otherwise an existing file does (the shell's answer); else false.
bool OpenWithShell(Shell &shell, const QString &target);
void ShellOpen(Shell &shell, const QString &target);
// newName is a name in the file's folder (a text holding "/" is taken as a
// whole path). 0 on success or when nothing changes, 1 on error; an existing
// file of the new name is never replaced.
int RenameFile(const QString &path, const QString &newName);
// 0 on success, 5 on error. Without force a read-only file (no write bit for
// its owner) is kept. Folders are never removed.
int RemoveFile(const QString &path, bool force);
// Dialogs::chooseFolder, cut at its first NUL; empty when cancelled.
QString BrowseForFolder(Dialogs &dialogs, const QString &startFolder, const QString &prompt);

} // namespace Tool
