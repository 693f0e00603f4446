#pragma once
// The main window as data: the whole menu tree, the toolbar buttons with
// their drop-down entries, the function-bar panels, the search-bar buttons
// and the keys (keymap.h), in the schema of windowtables.h. Every entry names
// a command id (commandids.h). MainForm builds its controls from these tables
// and nothing else, so a test of the tables is a test of what the window
// carries.

#include "core/window/windowtables.h"

namespace MainWindowTables {

// All of the main window's tables, keys included.
const WindowTables &tables();

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
// The commands nothing runs yet: the window shows their entries disabled on
// purpose until the HTML output, the browser views, the other formats of the
// toolbar drop-downs and the options dialog give them a meaning.
const QStringList &disabledCommandIds();

// "name_index" for control arrays, the plain name otherwise.
QString controlObjectName(const QString &name, int index);

} // namespace MainWindowTables
