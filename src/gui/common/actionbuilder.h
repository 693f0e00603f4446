#pragma once
// Builds a window's controls from its tables (windowtables.h) and wires them
// to the window's command registry: the menu bar with its menus and
// sub-menus, the toolbar with its drop-down menus, the buttons of a search
// strip and the function bar. Every action and button runs its command
// through the registry and follows the command's enabled state, check mark
// and (menu entries) visibility and caption. Keys go the same way: runKey()
// runs the command the window's key table gives a key press.
//
//     auto *actions = new ActionBuilder(commands, this);
//     actions->buildMenus(menuBar(), EditorTables::menus());
//     actions->buildToolbar(addToolBar(QString()), EditorTables::toolbar());
//     setStatusBar(actions->makeFunctionBar(EditorTables::functionBar(), this, [] { return true; }));

#include "core/window/commandregistry.h"
#include "core/window/windowtables.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSet>

#include <functional>

class FunctionBar;
class QAbstractButton;
class QAction;
class QIcon;
class QKeyEvent;
class QMenu;
class QMenuBar;
class QToolBar;
class QToolButton;
class QWidget;

class ActionBuilder : public QObject
{
    Q_OBJECT
public:
    // An icon by the resource name a toolbar button gives.
    using IconSource = std::function<QIcon(const QString &name)>;

    // registry must outlive the controls built here.
    explicit ActionBuilder(CommandRegistry &registry, QObject *parent = nullptr);

    CommandRegistry &registry() const { return m_registry; }

    // The menu tree into bar: menus, sub-menus and entries with their
    // captions, shortcut keys, check marks and visibility. An entry without a
    // command is shown disabled.
    void buildMenus(QMenuBar *bar, const QList<MenuEntry> &menus);
    // The buttons into toolbar, with their drop-down menus; a button naming an
    // icon gets it from icons.
    void buildToolbar(QToolBar *toolbar, const QList<ToolbarButton> &buttons, const IconSource &icons = {});
    // A button of a search strip (a check box for a check-box control), for
    // the caller to place.
    QAbstractButton *makeButton(const SearchBarControl &control, QWidget *parent);
    // A function bar with the panels; a click on a panel runs its command
    // while clicksOn() says so.
    FunctionBar *makeFunctionBar(const QList<FunctionBarPanel> &panels, QWidget *parent,
                                 std::function<bool()> clicksOn);

    // Runs the command the key table gives the key press in the focus scope
    // (CommandRegistry::claimKey). True when the window took the key: the
    // event is accepted. overrideOnly: the key is only claimed (a shortcut
    // override), nothing runs.
    bool runKey(const KeyTable &keys, QKeyEvent *event, KeyScope focus, const KeyContext &context,
                bool overrideOnly = false);

    // --- The controls built, by their system names
    QAction *menuAction(const QString &name, int index = -1) const;
    QMenu *menu(const QString &name) const;
    QAction *toolbarAction(const QString &key) const;
    QToolButton *toolbarButton(const QString &key) const;

private:
    void trackAction(QAction *action, const QString &command, bool menuEntry);
    void syncAction(QAction *action, const QString &command) const;
    void syncButton(QAbstractButton *button, const QString &command) const;
    void resync(const QString &command);

    CommandRegistry &m_registry;
    QHash<QString, QPointer<QAction>> m_menuActions; // by object name
    QHash<QString, QPointer<QMenu>> m_menus;         // by control name
    QHash<QString, QPointer<QAction>> m_toolbarActions;
    QHash<QString, QPointer<QToolBar>> m_toolbarOf;
    QMultiHash<QString, QPointer<QAction>> m_actionsByCommand;
    QMultiHash<QString, QPointer<QAbstractButton>> m_buttonsByCommand;
    QSet<const QAction *> m_menuEntries; // visibility and caption follow the registry
};
