#pragma once
// What every window's tables must hold to, for the tests of each window's
// tables: keys that parse, no key bound twice in one scope, no control key
// that a window key always takes first, menu entries with unique names, and
// every command named by a table known to the registry built from them.
// Each check returns the faults as readable lines; none when the tables are
// sound.

#include "core/window/commandregistry.h"
#include "core/window/windowtables.h"

#include <QHash>
#include <QSet>
#include <QStringList>

namespace TableChecks {

inline QString describe(const KeyBinding &b)
{
    return QStringLiteral("%1 in %2 runs %3").arg(b.keys, b.control(), b.command);
}

inline QStringList keyFaults(const KeyTable &keys)
{
    QStringList faults;
    QHash<QString, const KeyBinding *> seen; // scope, condition, key
    for (const KeyBinding &b : keys.bindings()) {
        const QKeyCombination combination = KeyTable::normalised(b.combination());
        if (combination.key() == Qt::Key_unknown) {
            faults << QStringLiteral("unknown key: ") + describe(b);
            continue;
        }
        if (b.command.isEmpty())
            faults << QStringLiteral("no command: ") + describe(b);
        const QString slot =
            QStringLiteral("%1/%2/%3").arg(int(b.scope)).arg(int(b.condition)).arg(combination.toCombined());
        if (const KeyBinding *other = seen.value(slot))
            faults << QStringLiteral("bound twice: ") + describe(b) + QStringLiteral(", ") + describe(*other);
        seen.insert(slot, &b);
    }
    // A control key under a window key of the same combination that always
    // applies can never run.
    for (const KeyBinding &b : keys.bindings()) {
        if (b.scope == KeyScope::Window)
            continue;
        for (const KeyBinding &w : keys.bindings()) {
            if (w.scope == KeyScope::Window && w.condition == KeyCondition::Always
                && KeyTable::normalised(w.combination()) == KeyTable::normalised(b.combination()))
                faults << QStringLiteral("never runs: ") + describe(b) + QStringLiteral(", taken by ") + describe(w);
        }
    }
    return faults;
}

inline QStringList menuFaults(const QList<MenuEntry> &menus)
{
    QStringList faults;
    QSet<QString> names;
    for (const MenuEntry &e : menus) {
        if (e.isSeparator()) {
            if (!e.command.isEmpty())
                faults << QStringLiteral("a separator runs ") + e.command;
            continue;
        }
        if (e.name.isEmpty())
            faults << QStringLiteral("an entry without a name: ") + e.caption;
        if (names.contains(e.objectName()))
            faults << QStringLiteral("two entries named ") + e.objectName();
        names.insert(e.objectName());
        if (!e.shortcut.isEmpty() && KeyTable::parse(e.shortcut).key() == Qt::Key_unknown)
            faults << QStringLiteral("unknown shortcut ") + e.shortcut + QStringLiteral(" of ") + e.objectName();
    }
    return faults;
}

// The commands named by the tables that a registry built from them does not
// know: none when every trigger reaches the registry.
inline QStringList unknownCommands(const WindowTables &tables)
{
    const CommandRegistry registry(tables);
    QStringList faults;
    QStringList named;
    for (const MenuEntry &e : tables.menus)
        named << e.command;
    for (const ToolbarButton &b : tables.toolbar) {
        named << b.command;
        for (const ToolbarDropDownEntry &d : b.dropDown)
            named << d.command;
    }
    for (const FunctionBarPanel &p : tables.functionBar)
        named << p.command;
    for (const SearchBarControl &c : tables.searchBar)
        named << c.command;
    for (const KeyBinding &k : tables.keys.bindings())
        named << k.command;
    for (const QString &id : std::as_const(named)) {
        if (!id.isEmpty() && !registry.isDefined(id))
            faults << id;
    }
    return faults;
}

} // namespace TableChecks
