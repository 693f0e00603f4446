#pragma once
// QLTLaunch's pop-up menu MenuPopMenu: the launcher's items as QActions,
// hidden placeholders included, popped up at a point until it closes.

#include "core/launch/launcher.h"

#include <QMenu>

#include <memory>

class LauncherMenu
{
public:
    explicit LauncherMenu(Launcher &launcher);
    ~LauncherMenu();

    QMenu &menu() { return *m_menu; }

    // Pops up at pos and waits; the chosen item's action runs (nothing when
    // the menu is dismissed, Esc included). Returns whether an item was
    // chosen.
    bool popup(const QPoint &pos);

private:
    Launcher &m_launcher;
    std::unique_ptr<QMenu> m_menu;
};
