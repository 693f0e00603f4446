#include "core/settings/recentfiles.h"

#include "core/common/lockedinifile.h"
#include "core/common/programfolder.h"
#include "core/common/tool.h"
#include "core/settings/filepaths.h"

namespace RecentFiles {

namespace {

QString entryKey(int n)
{
    return EntryKey + QString::number(n);
}

QString entryValue(iniMente &store, int n)
{
    const QVariant value = store.GetiniValue(entryKey(n));
    return value.isValid() ? value.toString() : QString();
}

// The first entry naming the same file, searched like a numbered family: up
// to the first missing or empty entry. -1 when there is none.
int find(iniMente &store, const QString &path)
{
    for (int n = 0;; ++n) {
        const QString value = entryValue(store, n);
        if (value.isEmpty())
            return -1;
        if (FilePaths::same(value, path))
            return n;
    }
}

QString escapeAmpersands(QString text)
{
    return text.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

} // namespace

QStringList Entries(iniMente &store, int lastIndex)
{
    QStringList out;
    const int last = qMin(lastIndex, MenuItemCount - 1);
    for (int n = 0; n <= last; ++n) {
        const QString value = entryValue(store, n);
        if (value.isEmpty())
            break;
        out.append(value);
    }
    return out;
}

QString MenuCaption(int n, const QString &path, int shortenLength)
{
    const QString lead = n <= 25 ? QStringLiteral("&") + QChar(u'A' + n) + QLatin1Char(' ') : QStringLiteral("  ");
    return lead + escapeAmpersands(Tool::FileNameOf(path)) + QLatin1Char('\t')
           + escapeAmpersands(Tool::ShortenWithEllipsis(path, shortenLength));
}

QStringList BuildRecentMenuCaptions(const QStringList &paths, int lastIndex, int shortenLength)
{
    QStringList out;
    const int last = qMin(lastIndex, MenuItemCount - 1);
    for (int n = 0; n <= last && n < paths.size(); ++n) {
        if (paths.at(n).isEmpty())
            break;
        out.append(MenuCaption(n, paths.at(n), shortenLength));
    }
    return out;
}

QStringList BuildRecentMenuCaptions(iniMente &store, int lastIndex, int shortenLength)
{
    return BuildRecentMenuCaptions(Entries(store, lastIndex), lastIndex, shortenLength);
}

} // namespace RecentFiles

RecentFileList::RecentFileList(int lastIndex, const QString &listFile)
    : m_store(iniMente::Build::QltWin), m_lastIndex(lastIndex),
      m_listFile(listFile.isEmpty() ? ProgramFolder::file(RecentFiles::ListFileName) : listFile)
{}

void RecentFileList::load()
{
    LockedIniFile::Options options;
    options.whenMissing = LockedIniFile::WhenMissing::KeepEntries;
    // An unreadable list keeps what the menu showed; the next save rewrites it.
    (void)LockedIniFile::reload(m_store, m_listFile, options);
}

bool RecentFileList::AddRecentFile(const QString &path)
{
    using RecentFiles::entryKey;
    // A path the file cannot hold would come back as another path.
    if (path.isEmpty() || !LockedIniFile::isStorableValue(path))
        return false;
    LockedIniFile::Options options;
    options.whenMissing = LockedIniFile::WhenMissing::KeepEntries;
    const LockedIniFile::Result result = LockedIniFile::update(
        m_store, m_listFile,
        [&](iniMente &store) {
            const int found = RecentFiles::find(store, path);
            // Not found: everything moves down and the last entry falls off.
            // Found at n: only the entries above it move; its old place is
            // overwritten and the entries after it keep theirs.
            const int from = found < 0 ? m_lastIndex - 1 : found - 1;
            for (int i = from; i >= 0; --i)
                store.SetiniValue(entryKey(i + 1), RecentFiles::entryValue(store, i));
            store.SetiniValue(entryKey(0), path);
            return true;
        },
        options);
    return result.saved;
}

QString RecentFileList::entry(int index)
{
    return RecentFiles::entryValue(m_store, index);
}
