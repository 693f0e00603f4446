#pragma once
// The keyboard map of the main window (keytable.h): every key with the
// command it runs and the control it applies to, then the menu shortcut keys
// of the menu tree as window keys.
//
//     KeyMap::commandFor(event->keyCombination(), KeyScope::CardList, context);

#include "core/window/keytable.h"

namespace KeyMap {

// The main window's key table (the keys of MainWindowTables::tables()).
const KeyTable &table();
// The table made anew from the data.
KeyTable makeTable();

// The window's keyboard table, then the control keys, then the menu shortcut
// keys.
const QList<KeyBinding> &bindings();

// "Ctrl+Shift+A" to a key combination; an unknown key name gives Qt::Key_unknown.
inline QKeyCombination parse(const QString &keys)
{
    return KeyTable::parse(keys);
}
// Keypad Enter counts as Enter; the keypad modifier is dropped.
inline QKeyCombination normalised(QKeyCombination key)
{
    return KeyTable::normalised(key);
}

// The binding a key press runs when the focus is in the given control
// (Window: the focus is elsewhere in the window): a window key first, then a
// key of the focused control whose condition holds. Null when none applies.
const KeyBinding *lookup(QKeyCombination key, KeyScope focus, const KeyContext &context);

// The command for a key, or an empty id.
QString commandFor(QKeyCombination key, KeyScope focus, const KeyContext &context);

} // namespace KeyMap
