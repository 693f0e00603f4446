#include "core/window/windowtables.h"

#include <QSet>

QString MenuEntry::displayCaption() const
{
    if (shortcutText.isEmpty())
        return caption;
    return caption + QLatin1Char('\t') + shortcutText;
}

QString MenuEntry::objectName() const
{
    return WindowTables::objectName(name, index);
}

QString SearchBarControl::objectName() const
{
    return WindowTables::objectName(name, index);
}

// ---------------------------------------------------------------- MenuBuilder

MenuBuilder &MenuBuilder::menu(const QString &name, const QString &caption, bool hidden)
{
    MenuEntry e;
    e.level = 0;
    e.name = name;
    e.caption = caption;
    e.hidden = hidden;
    return add(e);
}

MenuBuilder &MenuBuilder::item(const QString &name, const QString &caption, const QString &command,
                               const QString &shortcut)
{
    return add(make(name, -1, caption, command, shortcut));
}

MenuBuilder &MenuBuilder::indexed(const QString &name, int index, const QString &caption, const QString &command,
                                  const QString &shortcut)
{
    return add(make(name, index, caption, command, shortcut));
}

MenuBuilder &MenuBuilder::separator()
{
    MenuEntry e;
    e.level = m_level;
    e.caption = QStringLiteral("-");
    return add(e);
}

MenuBuilder &MenuBuilder::sub(const QString &name, const QString &caption, bool hidden)
{
    MenuEntry e = make(name, -1, caption, QString(), QString());
    e.hidden = hidden;
    add(e);
    m_level = 2;
    return *this;
}

MenuBuilder &MenuBuilder::endSub()
{
    m_level = 1;
    return *this;
}

MenuBuilder &MenuBuilder::hidden()
{
    m_entries.last().hidden = true;
    return *this;
}

MenuBuilder &MenuBuilder::checkable(bool checked)
{
    m_entries.last().checkable = true;
    m_entries.last().checked = checked;
    return *this;
}

MenuBuilder &MenuBuilder::shown(const QString &keyText)
{
    m_entries.last().shortcutText = keyText;
    return *this;
}

MenuEntry MenuBuilder::make(const QString &name, int index, const QString &caption, const QString &command,
                            const QString &shortcut) const
{
    MenuEntry e;
    e.level = m_level;
    e.name = name;
    e.index = index;
    e.caption = caption;
    e.command = command;
    e.shortcut = shortcut;
    return e;
}

MenuBuilder &MenuBuilder::add(MenuEntry e)
{
    if (e.level == 0) {
        m_top = e.name;
        m_level = 1;
    } else {
        e.parent = e.level == 1 ? m_top : m_sub;
    }
    if (e.level == 1 && !e.isSeparator())
        m_sub = e.name;
    m_entries.append(e);
    return *this;
}

// ---------------------------------------------------------------- WindowTables

QStringList WindowTables::commandIds() const
{
    QStringList ids;
    QSet<QString> seen;
    auto add = [&](const QString &id) {
        if (!id.isEmpty() && !seen.contains(id)) {
            seen.insert(id);
            ids.append(id);
        }
    };
    for (const MenuEntry &e : menus)
        add(e.command);
    for (const ToolbarButton &b : toolbar) {
        add(b.command);
        for (const ToolbarDropDownEntry &d : b.dropDown)
            add(d.command);
    }
    for (const FunctionBarPanel &p : functionBar)
        add(p.command);
    for (const SearchBarControl &c : searchBar)
        add(c.command);
    for (const KeyBinding &k : keys.bindings())
        add(k.command);
    return ids;
}

const MenuEntry *WindowTables::findMenuEntry(const QString &name, int index) const
{
    for (const MenuEntry &e : menus) {
        if (e.name == name && e.index == index)
            return &e;
    }
    return nullptr;
}

QString WindowTables::functionBarCommand(const QString &panelText) const
{
    for (const FunctionBarPanel &p : functionBar) {
        if (p.text == panelText)
            return p.command;
    }
    return QString();
}

QStringList WindowTables::initiallyChecked() const
{
    QStringList ids;
    for (const MenuEntry &e : menus) {
        if (e.checked && !e.command.isEmpty())
            ids.append(e.command);
    }
    return ids;
}

QString WindowTables::objectName(const QString &name, int index)
{
    if (index < 0)
        return name;
    return name + QLatin1Char('_') + QString::number(index);
}
