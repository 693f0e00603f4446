#pragma once
// QLTLaunch's rules: which QLTWIN to start, the pop-up menu of recent card
// files and what each of its items starts. The menu itself is drawn by the
// widgets layer from menu().

#include <QList>
#include <QString>
#include <QStringList>

class Processes;
class UserStore;

namespace LauncherTexts {
inline const QString LaunchCaption = QStringLiteral("●Quillery Launcher(&1)");
inline const QString CancelCaption = QStringLiteral("キャンセル(&0)");
// The design caption of hidden placeholder n (never shown).
QString placeholderCaption(int n);
} // namespace LauncherTexts

// One item of the pop-up menu, in menu order.
struct LauncherMenuItem {
    enum class Kind { LaunchEmpty, Cancel, Separator, Recent };
    Kind kind = Kind::Separator;
    QString name;    // MenuFileLaunchQLT, MenuFileCancel, MenuBar2, MenuFileRecent
    int index = -1;  // recent entry number for Kind::Recent, else -1
    QString caption; // "" for the separator
    bool visible = true;
};

class Launcher
{
public:
    // launcherFolder: the folder QLTLaunch runs from, where QLTWIN is looked
    // for when "Path" does not name it. recentListFile: "Recent.ini" in the
    // program folder when empty.
    Launcher(UserStore &userStore, Processes &processes, const QString &launcherFolder,
             const QString &recentListFile = QString());

    // The start: finds QLTWIN, reads "MAXOFRECENTFILE" and writes it back,
    // then either hands the arguments on to QLTWIN unchanged (true: the
    // launcher is done) or loads the recent-file list for the menu (false).
    bool start(const QStringList &arguments);

    // QLTWIN as the per-user value "Path" names it when that is a program
    // that exists, else "QLTWIN" beside the launcher.
    QString qltwinPath() const { return m_qltwin; }
    int lastIndex() const { return m_lastIndex; }
    QStringList recentEntries() const { return m_entries; }

    // The launch and cancel items, the separator and the 51 recent-file
    // items; only those with an entry are visible.
    QList<LauncherMenuItem> menu() const;

    // What the items do. The start of QLTWIN is the only effect; a failed
    // start is silent, as every failure of the launcher.
    void choose(const LauncherMenuItem &item);
    void launchEmpty();
    void launchRecent(int n);

    static QString findQltwin(UserStore &userStore, const QString &launcherFolder);

private:
    UserStore &m_userStore;
    Processes &m_processes;
    QString m_launcherFolder;
    QString m_listFile;
    QString m_qltwin;
    int m_lastIndex = 25;
    QStringList m_entries;
};
