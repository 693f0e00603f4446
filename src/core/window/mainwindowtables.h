#pragma once
// The main window as data: the whole menu tree, the toolbar buttons with
// their drop-down entries, the function-bar panels and the search-bar
// buttons. Every entry names a command id (commandids.h). MainForm builds its
// controls from these tables and nothing else, so a test of the tables is a
// test of what the window carries.

#include <QList>
#include <QString>
#include <QStringList>

// One line of the menu tree, in display order. Level 0 is a menu of the menu
// bar (or a hidden pop-up menu), level 1 an entry in it, level 2 an entry of a
// sub-menu; an entry followed by entries one level deeper is a sub-menu.
struct MenuEntry {
    int level = 1;
    QString name;         // control name; empty for a separator
    int index = -1;       // control-array index, -1 for a single control
    QString caption;      // with its "&" accelerator; "-" for a separator
    QString shortcut;     // menu shortcut key (QKeySequence text), may be empty
    QString shortcutText; // display-only key text appended after a tab at load
    bool hidden = false;  // not shown at start
    bool checkable = false;
    bool checked = false; // initial check mark
    QString command;      // empty for menus, sub-menus, separators and titles
    QString parent;       // control name of the menu holding the entry; empty at level 0

    bool isSeparator() const { return caption == QLatin1String("-"); }
    // The caption as shown: caption, then a tab and the display-only key text.
    QString displayCaption() const;
    // "MenuDispChange_4", "MenuFile": the object name of the entry's action.
    QString objectName() const;
};

struct ToolbarDropDownEntry {
    QString key;
    QString caption;
    QString command;
};

struct ToolbarButton {
    QString key;
    QString tooltip;
    QString command;
    QString icon; // resource name below ":/icons/"
    bool separatorBefore = false;
    bool twoState = false; // a pressed/released button (its command is checkable)
    QString popupMenu;     // control name of a menu popped up below the button instead of a command
    QList<ToolbarDropDownEntry> dropDown;
};

struct FunctionBarPanel {
    QString text;
    QString tooltip;
    QString command; // empty: the panel runs nothing
};

// Buttons and the check box of the search bar.
struct SearchBarControl {
    QString name;
    int index = -1;
    QString caption;
    QString tooltip;
    QString command;
    QString objectName() const;
};

namespace MainWindowTables {

const QList<MenuEntry> &menuTree();
const QList<ToolbarButton> &toolbar();
const QList<FunctionBarPanel> &functionBar();
const QList<SearchBarControl> &searchBar();
// The search box txtSearch: its tooltip.
QString searchBoxTooltip();
// The one column of the group list and its first entry.
QString groupListCaption();
QString allGroupsText();
QString allGroupsKey();

// The menu entry with the control name and index; null when there is none.
const MenuEntry *findMenuEntry(const QString &name, int index = -1);
// The command a click on a function-bar panel runs: none when the panel text
// matches no entry, when the panel has no command, or when function-bar clicks
// are switched off (NoFunctionBarClickEvent = 1).
QString functionBarCommand(const QString &panelText, bool clicksSwitchedOff);

// Every command id named by any table or by the key map, each once.
QStringList allCommandIds();
// The commands the window wires itself; every other command stays disabled
// until its owner wires it.
const QStringList &windowCommandIds();

// "name_index" for control arrays, the plain name otherwise.
QString controlObjectName(const QString &name, int index);

} // namespace MainWindowTables
