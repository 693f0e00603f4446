#include "core/launch/launcher.h"

#include "core/common/inimente.h"
#include "core/common/programfolder.h"
#include "core/common/services.h"
#include "core/common/tool.h"
#include "core/settings/recentfiles.h"
#include "core/settings/uservalues.h"

#include <QFileInfo>

namespace LauncherTexts {

QString placeholderCaption(int n)
{
    return n < 10 ? QStringLiteral("最近使ったファイル") : QStringLiteral("RecentFile");
}

} // namespace LauncherTexts

Launcher::Launcher(UserStore &userStore, Processes &processes, const QString &launcherFolder,
                   const QString &recentListFile)
    : m_userStore(userStore), m_processes(processes), m_launcherFolder(launcherFolder), m_listFile(recentListFile)
{}

QString Launcher::findQltwin(UserStore &userStore, const QString &launcherFolder)
{
    // A "Path" left behind by a copy of QLTWIN that has since been removed
    // (an old build tree, an uninstalled package) would make the launcher
    // start nothing while a QLTWIN sits right beside it.
    const QString published = userStore.value(UserValues::PathKey).value_or(QString());
    if (!published.isEmpty()) {
        const QFileInfo info(published);
        if (info.isFile() && info.isExecutable())
            return published;
    }
    return Tool::JoinPath(launcherFolder, QStringLiteral("QLTWIN"));
}

bool Launcher::start(const QStringList &arguments)
{
    m_qltwin = findQltwin(m_userStore, m_launcherFolder);
    m_lastIndex = UserValues::ReadMaxOfRecentFile(m_userStore) - 1;
    if (!arguments.isEmpty()) {
        m_processes.startDetached(m_qltwin, arguments);
        return true;
    }
    iniMente store(iniMente::Build::QltLaunch);
    // A missing or unreadable list shows the menu without recent files.
    (void)store.iniLoader(m_listFile.isEmpty() ? ProgramFolder::file(RecentFiles::ListFileName) : m_listFile);
    m_entries = RecentFiles::Entries(store, m_lastIndex);
    return false;
}

QList<LauncherMenuItem> Launcher::menu() const
{
    using Kind = LauncherMenuItem::Kind;
    QList<LauncherMenuItem> items{
        {Kind::LaunchEmpty, QStringLiteral("MenuFileLaunchQLT"), -1, LauncherTexts::LaunchCaption, true},
        {Kind::Cancel, QStringLiteral("MenuFileCancel"), -1, LauncherTexts::CancelCaption, true},
        {Kind::Separator, QStringLiteral("MenuBar2"), -1, QString(), true},
    };
    const QStringList captions =
        RecentFiles::BuildRecentMenuCaptions(m_entries, m_lastIndex, RecentFiles::LauncherShortening);
    for (int n = 0; n < RecentFiles::MenuItemCount; ++n) {
        const bool shown = n < captions.size();
        items.append({Kind::Recent, QStringLiteral("MenuFileRecent"), n,
                      shown ? captions.at(n) : LauncherTexts::placeholderCaption(n), shown});
    }
    return items;
}

void Launcher::choose(const LauncherMenuItem &item)
{
    switch (item.kind) {
    case LauncherMenuItem::Kind::LaunchEmpty: launchEmpty(); break;
    case LauncherMenuItem::Kind::Recent: launchRecent(item.index); break;
    case LauncherMenuItem::Kind::Cancel:
    case LauncherMenuItem::Kind::Separator: break;
    }
}

void Launcher::launchEmpty()
{
    m_processes.startDetached(m_qltwin, {});
}

void Launcher::launchRecent(int n)
{
    if (n < 0 || n >= m_entries.size())
        return;
    m_processes.startDetached(m_qltwin, {m_entries.at(n)});
}
