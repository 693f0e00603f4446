#pragma once
// The keyboard map of the main window: every key with the command it runs
// and the control it applies to. Window keys are seen before any control
// (also while the search box or a card list has the focus); control keys act
// only while that control has the focus, and only when no window key claims
// the same key. The menu shortcut keys of the menu tree are window keys too.
//
// Keys are written in QKeySequence's portable text ("Ctrl+Enter", "Shift+F2",
// "Del") and parsed here without Qt Gui, so the map is usable headless.

#include <QKeyCombination>
#include <QList>
#include <QString>

enum class KeyScope {
    Window,    // MainForm: every key of the window, before its controls
    CardList,  // lvData(0) or lvData(1) has the focus
    SearchBox, // txtSearch has the focus
};

enum class KeyCondition {
    Always,
    KeywordEmpty, // only while the search box is empty
    BrowseMode,   // only while browse mode is on
};

struct KeyBinding {
    QString keys; // "Ctrl+Enter"
    KeyScope scope = KeyScope::Window;
    KeyCondition condition = KeyCondition::Always;
    QString command;
    bool fromMenu = false; // a menu shortcut key (from the menu tree)

    QKeyCombination combination() const;
    // "MainForm", "lvData", "txtSearch"
    QString control() const;
};

struct KeyContext {
    bool keywordEmpty = true;
    bool browseMode = false;
};

namespace KeyMap {

// The window's keyboard table, then the control keys, then the menu shortcut
// keys.
const QList<KeyBinding> &bindings();

// "Ctrl+Shift+A" to a key combination; an unknown key name gives Qt::Key_unknown.
QKeyCombination parse(const QString &keys);
// Keypad Enter counts as Enter; the keypad modifier is dropped.
QKeyCombination normalised(QKeyCombination key);

// The binding a key press runs when the focus is in the given control
// (Window: the focus is elsewhere in the window): a window key first, then a
// key of the focused control whose condition holds. Null when none applies.
const KeyBinding *lookup(QKeyCombination key, KeyScope focus, const KeyContext &context);

// The command for a key, or an empty id.
QString commandFor(QKeyCombination key, KeyScope focus, const KeyContext &context);

} // namespace KeyMap
