#include "core/window/commandregistry.h"

#include "core/window/keytable.h"
#include "core/window/windowtables.h"

CommandRegistry::CommandRegistry(QObject *parent) : QObject(parent) {}

CommandRegistry::CommandRegistry(const WindowTables &tables, QObject *parent) : QObject(parent)
{
    define(tables);
}

void CommandRegistry::define(const WindowTables &tables)
{
    for (const QString &id : tables.commandIds())
        define(id);
    for (const QString &id : tables.initiallyChecked())
        m_commands[id].checked = true;
}

void CommandRegistry::define(const QString &id)
{
    if (id.isEmpty() || m_commands.contains(id))
        return;
    m_commands.insert(id, Command());
    m_order.append(id);
}

bool CommandRegistry::isDefined(const QString &id) const
{
    return m_commands.contains(id);
}

QStringList CommandRegistry::ids() const
{
    return m_order;
}

CommandRegistry::Command *CommandRegistry::find(const QString &id)
{
    auto it = m_commands.find(id);
    return it == m_commands.end() ? nullptr : &*it;
}

const CommandRegistry::Command *CommandRegistry::find(const QString &id) const
{
    auto it = m_commands.constFind(id);
    return it == m_commands.constEnd() ? nullptr : &*it;
}

void CommandRegistry::wire(const QString &id, Handler handler)
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

void CommandRegistry::unwire(const QString &id)
{
    Command *c = find(id);
    if (!c)
        return;
    const bool before = effective(*c);
    c->handler = nullptr;
    if (before)
        emit enabledChanged(id, false);
}

bool CommandRegistry::isWired(const QString &id) const
{
    const Command *c = find(id);
    return c && c->handler;
}

QStringList CommandRegistry::unwiredIds() const
{
    QStringList ids;
    for (const QString &id : m_order) {
        if (!m_commands.value(id).handler)
            ids.append(id);
    }
    return ids;
}

bool CommandRegistry::trigger(const QString &id)
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

bool CommandRegistry::isEnabled(const QString &id) const
{
    const Command *c = find(id);
    return c && effective(*c);
}

void CommandRegistry::setEnabled(const QString &id, bool enabled)
{
    Command *c = find(id);
    if (!c)
        return;
    const bool before = effective(*c);
    c->enabledFlag = enabled;
    if (effective(*c) != before)
        emit enabledChanged(id, effective(*c));
}

bool CommandRegistry::isChecked(const QString &id) const
{
    const Command *c = find(id);
    return c && c->checked;
}

void CommandRegistry::setChecked(const QString &id, bool checked)
{
    Command *c = find(id);
    if (!c || c->checked == checked)
        return;
    c->checked = checked;
    emit checkedChanged(id, checked);
}

std::optional<bool> CommandRegistry::visibleOverride(const QString &id) const
{
    const Command *c = find(id);
    return c ? c->visible : std::nullopt;
}

void CommandRegistry::setVisible(const QString &id, bool visible)
{
    Command *c = find(id);
    if (!c || c->visible == visible)
        return;
    c->visible = visible;
    emit visibleChanged(id, visible);
}

std::optional<QString> CommandRegistry::textOverride(const QString &id) const
{
    const Command *c = find(id);
    return c ? c->text : std::nullopt;
}

void CommandRegistry::setText(const QString &id, const QString &text)
{
    Command *c = find(id);
    if (!c || c->text == text)
        return;
    c->text = text;
    emit textChanged(id, text);
}

const KeyBinding *CommandRegistry::claimKey(const KeyTable &keys, QKeyCombination key, KeyScope focus,
                                            const KeyContext &context) const
{
    const KeyBinding *binding = keys.lookup(key, focus, context);
    if (!binding)
        return nullptr;
    if (binding->scope != KeyScope::Window && !isEnabled(binding->command))
        return nullptr;
    return binding;
}
