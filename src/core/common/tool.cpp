#include "core/common/tool.h"

#include "core/common/dialogs.h"
#include "core/common/services.h"
#include "core/common/win31j.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <optional>
#include <sys/stat.h>

namespace Tool {

namespace {

const QChar kSep = QLatin1Char('/');

// Whether something of that name is there, a dangling link included.
bool entryExists(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

bool startsWithNoCase(const QString &text, QLatin1StringView prefix)
{
    return text.startsWith(prefix, Qt::CaseInsensitive);
}

// Whether the entry name of folderPath (given: its lstat) can only be stored
// as name: name has no letter of another case, or the file system tells the
// cases apart there (the name in another case is no other name of the entry).
bool storedAsGiven(const struct stat &given, const QString &folderPath, const QString &name)
{
    QString other = name.toUpper();
    if (other == name)
        other = name.toLower();
    if (other == name)
        return true;
    struct stat cased = {};
    if (::lstat(QFile::encodeName(folderPath + kSep + other).constData(), &cased) != 0)
        return true;
    return given.st_dev != cased.st_dev || given.st_ino != cased.st_ino;
}

// The name the directory listing of folder gives for the entry name: the
// stored spelling, which differs from name only on a case-insensitive file
// system. None when there is no such entry. A folder is only listed where
// the spelling may differ: listing one of many thousand entries is slow.
std::optional<QString> listedName(const QString &folder, const QString &name)
{
    const QString lookup = folder.isEmpty() ? QStringLiteral(".") : folder;
    // lstat: a dangling link is an entry too.
    struct stat given = {};
    if (::lstat(QFile::encodeName(lookup + kSep + name).constData(), &given) != 0)
        return std::nullopt;
    if (storedAsGiven(given, lookup, name))
        return name;
    QString folded;
    QDirIterator it(lookup, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        const QString entry = it.nextFileInfo().fileName();
        if (entry == name)
            return entry;
        if (folded.isEmpty() && entry.compare(name, Qt::CaseInsensitive) == 0)
            folded = entry;
    }
    // The entry exists but the folder cannot be listed (search right only):
    // the name as given is the best answer there is.
    return folded.isEmpty() ? name : folded;
}

// Creates every missing folder of path (ending with "/") from the left.
bool createLevelByLevel(const QString &path)
{
    QDir dir;
    // The root of an absolute path is not created.
    qsizetype from = path.startsWith(kSep) ? 1 : 0;
    for (qsizetype i = path.indexOf(kSep, from); i >= 0; i = path.indexOf(kSep, i + 1)) {
        const QString prefix = path.left(i);
        if (prefix.isEmpty() || QFileInfo(prefix).isDir())
            continue;
        dir.mkdir(prefix); // a failure shows in the final check
    }
    return QFileInfo(path).isDir();
}

} // namespace

QString JoinPath(const QString &folder, const QString &name)
{
    if (folder.isEmpty())
        return name;
    QString base = folder;
    if (base.size() == 2 && base.at(1) == QLatin1Char(':'))
        base += kSep;
    const bool folderHas = base.endsWith(kSep);
    const bool nameHas = name.startsWith(kSep);
    if (folderHas && nameHas)
        return base + name.mid(1);
    if (folderHas || nameHas)
        return base + name;
    return base + kSep + name;
}

bool IsDriveSpec(const QString &text)
{
    return (text.size() == 2 || text.size() == 3) && text.at(1) == QLatin1Char(':');
}

QString FileNameOf(const QString &path)
{
    return path.mid(path.lastIndexOf(kSep) + 1);
}

QString ExtensionOf(const QString &path)
{
    const QString name = FileNameOf(path);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot + 1);
}

QString ParentFolderOf(const QString &path)
{
    const qsizetype sep = path.lastIndexOf(kSep);
    if (sep < 0)
        return QString();
    // "/name": the parent is the root itself, not the empty text, which would
    // read as the current folder.
    if (sep == 0)
        return QString(kSep);
    return path.left(sep);
}

QString BaseNameOf(const QString &path)
{
    const QString name = FileNameOf(path);
    if (name.startsWith(QLatin1Char('.')))
        return QString();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? name : name.left(dot);
}

bool CanOpenForReading(const QString &path)
{
    if (path.isEmpty() || QFileInfo(path).isDir())
        return false;
    QFile file(path);
    return file.open(QIODevice::ReadOnly);
}

bool CanOpenForAppending(const QString &path)
{
    if (path.isEmpty() || QFileInfo(path).isDir())
        return false;
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Append);
}

QString ReadWholeFile(const QString &path)
{
    if (path.isEmpty() || QFileInfo(path).isDir())
        return QString();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return Win31J::decode(file.readAll());
}

bool EnsureFolder(const QString &path, bool ask, Dialogs *dialogs)
{
    if (QFileInfo(path).isDir())
        return true;
    const bool talk = ask && dialogs;
    if (talk) {
        const QString question =
            QStringLiteral("フォルダ \"") + path + QStringLiteral("\" は存在しません。\n作成しますか？");
        if (dialogs->message(question, MsgIcon::Question, MsgButtons::YesNo, QStringLiteral("フォルダ作成"))
            == MsgAnswer::No)
            return false;
    }
    if (!path.isEmpty() && QDir().mkdir(path))
        return true;

    QString levels = path;
    if (!levels.endsWith(kSep))
        levels += kSep;
    if (createLevelByLevel(levels))
        return true;
    if (talk)
        dialogs->message(QStringLiteral("フォルダ \"") + levels + QStringLiteral("\" の作成に失敗しました"),
                         MsgIcon::Warning, MsgButtons::Ok, QStringLiteral("エラー"));
    return false;
}

QString CleanFileName(const QString &text, bool replaceBackslash)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        switch (c.unicode()) {
        case '?': out += QChar(0xFF1F); break;                         // ？
        case '/': out += QChar(0xFF0F); break;                         // ／
        case ':': out += i < 2 ? c : QChar(0xFF1A); break;             // ： (a drive letter survives)
        case ',': out += QChar(0xFF0C); break;                         // ，
        case ';': out += QChar(0xFF1B); break;                         // ；
        case '*': out += QChar(0xFF0A); break;                         // ＊
        case '~': out += QChar(0xFF5E); break;                         // ～
        case '<': out += QChar(0xFF1C); break;                         // ＜
        case '>': out += QChar(0xFF1E); break;                         // ＞
        case '|': out += QChar(0xFF5C); break;                         // ｜
        case '\\': out += replaceBackslash ? QChar(0xFFE5) : c; break; // ￥
        default: out += c;
        }
    }
    return out;
}

QString ShortenWithEllipsis(const QString &text, int n)
{
    if (n < 0)
        n = 0;
    if (text.size() > n)
        return text.left(n) + QStringLiteral("...");
    return text;
}

QString NormaliseLongPath(const QString &path)
{
    if (path.isEmpty() || path.startsWith(QStringLiteral("//")))
        return path;
    const QStringList parts = path.split(kSep);
    const bool absolute = path.startsWith(kSep);
    // An absolute path starts at the root (the empty first part); a relative
    // one is looked up from the current folder and stays relative.
    QString result;
    QString folder = absolute ? QString(kSep) : QString();
    for (qsizetype i = absolute ? 1 : 0; i < parts.size(); ++i) {
        const QString &part = parts.at(i);
        const bool last = i == parts.size() - 1;
        QString name = part;
        if (!part.isEmpty() && part != QLatin1String(".") && part != QLatin1String("..")) {
            const std::optional<QString> listed = listedName(folder, part);
            if (listed)
                name = *listed;
            else if (!last)
                return path; // a folder on the way is missing
        }
        result = (i == 0) ? name : result + kSep + name;
        folder = result.isEmpty() ? QString(kSep) : result;
    }
    return result;
}

QString CutAtNul(const QString &text)
{
    const qsizetype nul = text.indexOf(QChar(0));
    return nul < 0 ? text : text.left(nul);
}

QString WithCrLf(QStringView text)
{
    qsizetype bare = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
            ++i;
        else if (text[i] == QLatin1Char('\r') || text[i] == QLatin1Char('\n'))
            ++bare;
    }
    if (bare == 0)
        return text.toString();
    QString out;
    out.reserve(text.size() + bare);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            out += QLatin1String("\r\n");
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
                ++i;
        } else {
            out += c;
        }
    }
    return out;
}

QString Unquote(const QString &text)
{
    if (text.size() > 1 && text.startsWith(QLatin1Char('"')) && text.endsWith(QLatin1Char('"')))
        return text.mid(1, text.size() - 2);
    return text;
}

TempFile MakeTempFile(const QString &base, const QString &extension, const QString &folder)
{
    const QString dir = folder.isEmpty() ? QDir::tempPath() : folder;
    for (int n = 0; n <= 600000; ++n) {
        const QString candidate = JoinPath(dir, base + QString::number(n) + QLatin1Char('.') + extension);
        if (entryExists(candidate))
            continue;
        // NewOnly is O_CREAT|O_EXCL: the open fails on a name made since the
        // check above, and on any symbolic link, dangling or not, so a link
        // planted in a shared temporary folder is never followed.
        auto file = std::make_unique<QFile>(candidate);
        if (file->open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return TempFile{std::move(file), candidate};
        if (entryExists(candidate))
            continue; // lost a race for this name
        break;        // the folder is missing or not writable
    }
    return TempFile{};
}

bool OpenWithShell(Shell &shell, const QString &target)
{
    if (startsWithNoCase(target, QLatin1StringView("mailto:")) || startsWithNoCase(target, QLatin1StringView("http://"))
        || startsWithNoCase(target, QLatin1StringView("https://"))
        || startsWithNoCase(target, QLatin1StringView("ftp://"))) {
        shell.open(target);
        return true;
    }
    if (target.isEmpty() || !QFileInfo(target).isFile())
        return false;
    return shell.open(target);
}

void ShellOpen(Shell &shell, const QString &target)
{
    shell.open(target);
}

int RenameFile(const QString &path, const QString &newName)
{
    if (path.isEmpty() || newName.isEmpty())
        return 1;
    const QString target = newName.contains(kSep) ? newName : JoinPath(ParentFolderOf(path), newName);
    if (target == path)
        return 0;
    return QFile::rename(path, target) ? 0 : 1;
}

int RemoveFile(const QString &path, bool force)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !entryExists(path) || (info.isDir() && !info.isSymLink()))
        return 5;
    // Read-only is the owner's missing write bit, as the file's own attribute;
    // access rights would make every file writable for root.
    if (!force && !info.isSymLink() && !(info.permissions() & QFileDevice::WriteOwner))
        return 5;
    return QFile::remove(path) ? 0 : 5;
}

QString BrowseForFolder(Dialogs &dialogs, const QString &startFolder, const QString &prompt)
{
    const std::optional<QString> chosen = dialogs.chooseFolder(prompt, startFolder);
    return chosen ? CutAtNul(*chosen) : QString();
}

} // namespace Tool
