#pragma once
// The recent-file list: the card files last opened or saved, newest first,
// in "Recent.ini" in the program folder as "RecentFile0" (newest) to
// "RecentFile" + last index. QLTWIN rewrites it; QLTLaunch only reads it.
// Both show it in 51 menu items with the captions of BuildRecentMenuCaptions.
//
// Paths are compared the way the file system compares names (FilePaths):
// exactly on Linux, so Memo.qlw and memo.qlw stay two entries.

#include "core/common/inimente.h"

#include <QString>
#include <QStringList>

namespace RecentFiles {

inline const QString ListFileName = QStringLiteral("Recent.ini");
inline const QString EntryKey = QStringLiteral("RecentFile");
inline constexpr int MenuItemCount = 51;
inline constexpr int MainWindowShortening = 50;
inline constexpr int LauncherShortening = 30;

// The entries to show: entry 0 up to lastIndex, stopping at the first missing
// or empty one, never more than the 51 menu items. Reads add nothing.
QStringList Entries(iniMente &store, int lastIndex);

// The caption of menu item n for path: for n 0 to 25 "&" + the letter A + n,
// a space; from 26 on two spaces; then the file's name, a tab and the path
// cut to shortenLength characters + "..." when longer. A "&" in the name or
// path is doubled so that the menu shows it instead of taking it for an
// accelerator.
QString MenuCaption(int n, const QString &path, int shortenLength);

// The captions of the visible menu items, one per entry (see Entries).
QStringList BuildRecentMenuCaptions(const QStringList &paths, int lastIndex, int shortenLength);
QStringList BuildRecentMenuCaptions(iniMente &store, int lastIndex, int shortenLength);

} // namespace RecentFiles

// QLTWIN's recent-file store iniRecentFile with its one changing operation.
class RecentFileList
{
public:
    // lastIndex: "MAXOFRECENTFILE" - 1 (UserValues::ReadMaxOfRecentFile).
    // listFile: empty means "Recent.ini" in the program folder.
    explicit RecentFileList(int lastIndex, const QString &listFile = QString());

    // Loads the list at start-up; a missing file leaves it empty.
    void load();

    // Puts path at the top: reloads the file, moves an entry naming the same
    // file (or, when there is none, every entry) one place down, writes path
    // as entry 0 exactly as given and saves, all under the file's lock. A
    // missing file keeps the entries in memory and is created. False when the
    // file could not be written, and for an empty path or one the file cannot
    // hold (LockedIniFile::isStorableValue), which is not added. The caller
    // rebuilds the menu afterwards.
    bool AddRecentFile(const QString &path);

    // Entry index as held in memory (the menu's command opens it).
    QString entry(int index);
    QStringList entries() { return RecentFiles::Entries(m_store, m_lastIndex); }
    QStringList menuCaptions(int shortenLength = RecentFiles::MainWindowShortening)
    {
        return RecentFiles::BuildRecentMenuCaptions(m_store, m_lastIndex, shortenLength);
    }

    int lastIndex() const { return m_lastIndex; }
    QString listFile() const { return m_listFile; }
    iniMente &iniRecentFile() { return m_store; }

private:
    iniMente m_store;
    int m_lastIndex;
    QString m_listFile;
};
