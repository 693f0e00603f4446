#include "gui/common/actionbuilder.h"

#include "gui/common/functionbar.h"

#include <QAction>
#include <QCheckBox>
#include <QIcon>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

ActionBuilder::ActionBuilder(CommandRegistry &registry, QObject *parent) : QObject(parent), m_registry(registry)
{
    connect(&registry, &CommandRegistry::enabledChanged, this, &ActionBuilder::resync);
    connect(&registry, &CommandRegistry::checkedChanged, this, &ActionBuilder::resync);
    connect(&registry, &CommandRegistry::visibleChanged, this, &ActionBuilder::resync);
    connect(&registry, &CommandRegistry::textChanged, this, &ActionBuilder::resync);
}

// ---------------------------------------------------------------- building

void ActionBuilder::buildMenus(QMenuBar *bar, const QList<MenuEntry> &menus)
{
    QMenu *top = nullptr;
    QMenu *sub = nullptr;
    auto addMenu = [this](QMenu *menu, const MenuEntry &e) {
        menu->setObjectName(e.name);
        menu->menuAction()->setObjectName(e.name);
        menu->menuAction()->setVisible(!e.hidden);
        m_menus.insert(e.name, menu);
        m_menuActions.insert(e.name, menu->menuAction());
    };
    for (qsizetype i = 0; i < menus.size(); ++i) {
        const MenuEntry &e = menus.at(i);
        const bool opensSub = e.level == 1 && i + 1 < menus.size() && menus.at(i + 1).level == 2;
        if (e.level == 0) {
            top = bar->addMenu(e.caption);
            addMenu(top, e);
            sub = nullptr;
            continue;
        }
        QMenu *holder = e.level == 2 ? sub : top;
        if (!holder)
            continue;
        if (e.isSeparator()) {
            holder->addSeparator();
            continue;
        }
        if (opensSub) {
            sub = holder->addMenu(e.caption);
            addMenu(sub, e);
            continue;
        }
        QAction *action = holder->addAction(e.displayCaption());
        action->setObjectName(e.objectName());
        if (!e.shortcut.isEmpty())
            action->setShortcut(QKeySequence(e.shortcut, QKeySequence::PortableText));
        action->setCheckable(e.checkable);
        action->setVisible(!e.hidden);
        m_menuActions.insert(e.objectName(), action);
        if (e.command.isEmpty()) {
            action->setEnabled(false);
            continue;
        }
        trackAction(action, e.command, true);
    }
}

void ActionBuilder::buildToolbar(QToolBar *toolbar, const QList<ToolbarButton> &buttons, const IconSource &icons)
{
    for (const ToolbarButton &b : buttons) {
        if (b.separatorBefore)
            toolbar->addSeparator();
        auto *action = new QAction(b.caption, toolbar);
        if (!b.icon.isEmpty() && icons)
            action->setIcon(icons(b.icon));
        action->setObjectName(b.key);
        action->setToolTip(b.tooltip);
        action->setCheckable(b.twoState);
        toolbar->addAction(action);
        m_toolbarActions.insert(b.key, action);
        m_toolbarOf.insert(b.key, toolbar);
        trackAction(action, b.command, false);

        auto *button = qobject_cast<QToolButton *>(toolbar->widgetForAction(action));
        if (button)
            button->setObjectName(b.key);
        if (b.dropDown.isEmpty() || !button)
            continue;
        auto *dropDown = new QMenu(button);
        dropDown->setObjectName(b.key + QStringLiteral("_menu"));
        for (const ToolbarDropDownEntry &d : b.dropDown) {
            QAction *entry = dropDown->addAction(d.caption);
            entry->setObjectName(d.key);
            entry->setVisible(!d.hidden);
            m_toolbarActions.insert(d.key, entry);
            trackAction(entry, d.command, false);
        }
        button->setMenu(dropDown);
        button->setPopupMode(QToolButton::MenuButtonPopup);
    }
}

QAbstractButton *ActionBuilder::makeButton(const SearchBarControl &control, QWidget *parent)
{
    QAbstractButton *button = nullptr;
    if (control.checkBox) {
        button = new QCheckBox(control.caption, parent);
        button->setCheckable(true);
    } else {
        button = new QToolButton(parent);
        button->setText(control.caption);
    }
    button->setObjectName(control.objectName());
    button->setToolTip(control.tooltip);
    const QString command = control.command;
    m_buttonsByCommand.insert(command, button);
    syncButton(button, command);
    connect(button, &QAbstractButton::clicked, this, [this, button, command] {
        m_registry.trigger(command);
        // A check box shows the command's state, whatever the click did.
        syncButton(button, command);
    });
    return button;
}

FunctionBar *ActionBuilder::makeFunctionBar(const QList<FunctionBarPanel> &panels, QWidget *parent,
                                            std::function<bool()> clicksOn)
{
    auto *bar = new FunctionBar(panels, parent);
    bar->setObjectName(QStringLiteral("sbStatusBar"));
    connect(bar, &FunctionBar::panelClicked, this, [this, panels, clicksOn](const QString &text) {
        if (clicksOn && !clicksOn())
            return;
        for (const FunctionBarPanel &p : panels) {
            if (p.text == text) {
                if (!p.command.isEmpty())
                    m_registry.trigger(p.command);
                return;
            }
        }
    });
    return bar;
}

// ---------------------------------------------------------------- keys

bool ActionBuilder::runKey(const KeyTable &keys, QKeyEvent *event, KeyScope focus, const KeyContext &context,
                           bool overrideOnly)
{
    const KeyBinding *binding = m_registry.claimKey(keys, event->keyCombination(), focus, context);
    if (!binding)
        return false;
    event->accept();
    if (!overrideOnly)
        m_registry.trigger(binding->command);
    return true;
}

// ---------------------------------------------------------------- following the registry

void ActionBuilder::trackAction(QAction *action, const QString &command, bool menuEntry)
{
    m_actionsByCommand.insert(command, action);
    if (menuEntry)
        m_menuEntries.insert(action);
    syncAction(action, command);
    connect(action, &QAction::triggered, this, [this, action, command] {
        m_registry.trigger(command);
        // A checkable action shows the command's state, not what the click toggled.
        syncAction(action, command);
    });
    connect(action, &QObject::destroyed, this, [this, action] { m_menuEntries.remove(action); });
}

void ActionBuilder::syncAction(QAction *action, const QString &command) const
{
    action->setEnabled(m_registry.isEnabled(command));
    if (action->isCheckable())
        action->setChecked(m_registry.isChecked(command));
    if (m_menuEntries.contains(action)) {
        if (const std::optional<bool> visible = m_registry.visibleOverride(command))
            action->setVisible(*visible);
        if (const std::optional<QString> text = m_registry.textOverride(command))
            action->setText(*text);
    }
}

void ActionBuilder::syncButton(QAbstractButton *button, const QString &command) const
{
    button->setEnabled(m_registry.isEnabled(command));
    if (button->isCheckable())
        button->setChecked(m_registry.isChecked(command));
}

void ActionBuilder::resync(const QString &command)
{
    for (auto it = m_actionsByCommand.constFind(command); it != m_actionsByCommand.constEnd() && it.key() == command;
         ++it) {
        if (it.value())
            syncAction(it.value(), command);
    }
    for (auto it = m_buttonsByCommand.constFind(command); it != m_buttonsByCommand.constEnd() && it.key() == command;
         ++it) {
        if (it.value())
            syncButton(it.value(), command);
    }
}

// ---------------------------------------------------------------- controls

QAction *ActionBuilder::menuAction(const QString &name, int index) const
{
    return m_menuActions.value(WindowTables::objectName(name, index));
}

QMenu *ActionBuilder::menu(const QString &name) const
{
    return m_menus.value(name);
}

QAction *ActionBuilder::toolbarAction(const QString &key) const
{
    return m_toolbarActions.value(key);
}

QToolButton *ActionBuilder::toolbarButton(const QString &key) const
{
    QAction *action = m_toolbarActions.value(key);
    QToolBar *toolbar = m_toolbarOf.value(key);
    return action && toolbar ? qobject_cast<QToolButton *>(toolbar->widgetForAction(action)) : nullptr;
}
