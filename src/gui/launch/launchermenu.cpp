#include "gui/launch/launchermenu.h"

#include <QAction>

LauncherMenu::LauncherMenu(Launcher &launcher) : m_launcher(launcher), m_menu(std::make_unique<QMenu>())
{
    m_menu->setObjectName(QStringLiteral("MenuPopMenu"));
    const QList<LauncherMenuItem> items = launcher.menu();
    for (qsizetype i = 0; i < items.size(); ++i) {
        const LauncherMenuItem &item = items.at(i);
        QAction *action =
            item.kind == LauncherMenuItem::Kind::Separator ? m_menu->addSeparator() : m_menu->addAction(item.caption);
        action->setObjectName(item.index >= 0 ? item.name + QString::number(item.index) : item.name);
        action->setVisible(item.visible);
        action->setData(int(i));
    }
}

LauncherMenu::~LauncherMenu() = default;

bool LauncherMenu::popup(const QPoint &pos)
{
    QAction *chosen = m_menu->exec(pos);
    if (!chosen)
        return false;
    const QList<LauncherMenuItem> items = m_launcher.menu();
    const int index = chosen->data().toInt();
    if (index < 0 || index >= items.size())
        return false;
    m_launcher.choose(items.at(index));
    return true;
}
