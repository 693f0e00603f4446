#pragma once
// A window as data: its menu tree, its toolbar buttons with their drop-down
// entries, its function-bar panels, the buttons of its search strip and its
// keys. Every entry names a command id; the window's CommandRegistry runs
// the command and holds its enabled and checked state. The gui layer builds
// the controls from these tables and nothing else (ActionBuilder), so a test
// of a window's tables is a test of what the window carries.
//
//     WindowTables t;
//     t.window = QStringLiteral("EditForm");
//     t.menus = MenuBuilder()
//                   .menu(QStringLiteral("MenuFile"), QStringLiteral("ファイル(&F)"))
//                   .item(QStringLiteral("MenuGo"), QStringLiteral("反映(&R)"), EditorCmd::Go)
//                   .take();
//     t.keys = KeyTable(t.window, {KeyTable::window(QStringLiteral("Ctrl+W"), EditorCmd::Go)}, t.menus);

#include "core/window/keytable.h"

#include <QList>
#include <QString>
#include <QStringList>

// One line of a menu tree, in display order. Level 0 is a menu of the menu
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
    bool hidden = false; // a format this program does not have
};

struct ToolbarButton {
    QString key;
    QString tooltip;
    QString command;
    QString icon; // resource name below ":/icons/"; empty: a text button
    bool separatorBefore = false;
    bool twoState = false; // a pressed/released button (its command is checkable)
    QString popupMenu;     // control name of a menu the button's command pops up below it
    QList<ToolbarDropDownEntry> dropDown;
    QString caption; // the text shown on a text button
};

struct FunctionBarPanel {
    QString text;
    QString tooltip;
    QString command; // empty: the panel runs nothing
};

// A button (or check box) of a window's search strip.
struct SearchBarControl {
    QString name;
    int index = -1;
    QString caption;
    QString tooltip;
    QString command;
    bool checkBox = false; // a check box showing its command's check mark
    QString objectName() const;
};

// Appends menu entries in display order and fills in each entry's parent
// from the levels.
class MenuBuilder
{
public:
    MenuBuilder &menu(const QString &name, const QString &caption, bool hidden = false);
    // An entry at level 1 (or 2 after sub()).
    MenuBuilder &item(const QString &name, const QString &caption, const QString &command,
                      const QString &shortcut = QString());
    MenuBuilder &indexed(const QString &name, int index, const QString &caption, const QString &command,
                         const QString &shortcut = QString());
    MenuBuilder &separator();
    // A sub-menu entry; the following entries go into it until endSub().
    MenuBuilder &sub(const QString &name, const QString &caption, bool hidden = false);
    MenuBuilder &endSub();
    // Modifiers of the entry added last.
    MenuBuilder &hidden();
    MenuBuilder &checkable(bool checked = false);
    MenuBuilder &shown(const QString &keyText);
    QList<MenuEntry> take() { return std::move(m_entries); }

private:
    MenuEntry make(const QString &name, int index, const QString &caption, const QString &command,
                   const QString &shortcut) const;
    MenuBuilder &add(MenuEntry e);

    QList<MenuEntry> m_entries;
    QString m_top;
    QString m_sub;
    int m_level = 1;
};

struct WindowTables {
    QString window; // the window's object name: "MainForm", "EditForm"
    QList<MenuEntry> menus;
    QList<ToolbarButton> toolbar;
    QList<FunctionBarPanel> functionBar;
    QList<SearchBarControl> searchBar;
    KeyTable keys;

    // Every command id the tables name, each once: menus, toolbar (drop-down
    // entries after their button), function bar, search strip, keys.
    QStringList commandIds() const;
    // The menu entry with the control name and index; null when there is none.
    const MenuEntry *findMenuEntry(const QString &name, int index = -1) const;
    // The command of the function-bar panel with the text; empty when the
    // text matches no panel or the panel runs nothing.
    QString functionBarCommand(const QString &panelText) const;
    // The commands whose menu entries start checked.
    QStringList initiallyChecked() const;

    // "name_index" for control arrays, the plain name otherwise.
    static QString objectName(const QString &name, int index);
};
