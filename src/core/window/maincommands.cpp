#include "core/window/maincommands.h"

#include "core/window/mainwindowtables.h"

MainCommands::MainCommands(QObject *parent) : QObject(parent)
{
    for (const QString &id : MainWindowTables::allCommandIds())
        define(id);
    for (const MenuEntry &e : MainWindowTables::menuTree()) {
        if (e.checked && !e.command.isEmpty())
            m_commands[e.command].checked = true;
    }
}

void MainCommands::define(const QString &id)
{
    if (id.isEmpty() || m_commands.contains(id))
        return;
    m_commands.insert(id, Command());
    m_order.append(id);
}

bool MainCommands::isDefined(const QString &id) const
{
    return m_commands.contains(id);
}

QStringList MainCommands::ids() const
{
    return m_order;
}

MainCommands::Command *MainCommands::find(const QString &id)
{
    auto it = m_commands.find(id);
    return it == m_commands.end() ? nullptr : &*it;
}

const MainCommands::Command *MainCommands::find(const QString &id) const
{
    auto it = m_commands.constFind(id);
    return it == m_commands.constEnd() ? nullptr : &*it;
}

void MainCommands::wire(const QString &id, Handler handler)
{
    define(id);
    Command *c = find(id);
    if (!c)
        return;
    const bool before = effective(*c);
    c->handler = std::move(handler);
    c->enabledFlag = true;
    if (effective(*c) != before)
        emit enabledChanged(id, effective(*c));
}

void MainCommands::unwire(const QString &id)
{
    Command *c = find(id);
    if (!c)
        return;
    const bool before = effective(*c);
    c->handler = nullptr;
    if (before)
        emit enabledChanged(id, false);
}

bool MainCommands::isWired(const QString &id) const
{
    const Command *c = find(id);
    return c && c->handler;
}

QStringList MainCommands::unwiredIds() const
{
    QStringList ids;
    for (const QString &id : m_order) {
        if (!m_commands.value(id).handler)
            ids.append(id);
    }
    return ids;
}

bool MainCommands::trigger(const QString &id)
{
    const Command *c = find(id);
    if (!c || !effective(*c))
        return false;
    // A copy: the handler may rewire or unwire its own command.
    const Handler handler = c->handler;
    handler();
    emit triggered(id);
    return true;
}

bool MainCommands::isEnabled(const QString &id) const
{
    const Command *c = find(id);
    return c && effective(*c);
}

void MainCommands::setEnabled(const QString &id, bool enabled)
{
    Command *c = find(id);
    if (!c)
        return;
    const bool before = effective(*c);
    c->enabledFlag = enabled;
    if (effective(*c) != before)
        emit enabledChanged(id, effective(*c));
}

bool MainCommands::isChecked(const QString &id) const
{
    const Command *c = find(id);
    return c && c->checked;
}

void MainCommands::setChecked(const QString &id, bool checked)
{
    Command *c = find(id);
    if (!c || c->checked == checked)
        return;
    c->checked = checked;
    emit checkedChanged(id, checked);
}

std::optional<bool> MainCommands::visibleOverride(const QString &id) const
{
    const Command *c = find(id);
    return c ? c->visible : std::nullopt;
}

void MainCommands::setVisible(const QString &id, bool visible)
{
    Command *c = find(id);
    if (!c || c->visible == visible)
        return;
    c->visible = visible;
    emit visibleChanged(id, visible);
}

std::optional<QString> MainCommands::textOverride(const QString &id) const
{
    const Command *c = find(id);
    return c ? c->text : std::nullopt;
}

void MainCommands::setText(const QString &id, const QString &text)
{
    Command *c = find(id);
    if (!c || c->text == text)
        return;
    c->text = text;
    emit textChanged(id, text);
}
